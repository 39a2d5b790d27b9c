#include "skin/menus/skin_popup_window_win.h"

#include <oleacc.h>

#include <algorithm>

#include "platform/win/application.h"
#include "platform/win/gdi.h"
#include "platform/win/image_list.h"
#include "platform/win/object_window.h"
#include "skin/data/skin_data.h"
#include "skin/menus/skin_menu_win.h"
#include "skin/paint/effects.h"
#include "skin/paint/glyphs_win.h"
#include "skin/paint/regions_win.h"
#include "skin/paint/system_win.h"

namespace fn {

namespace {

constexpr UINT_PTR MouseTimerId = 1, ScrollTimerId = 2, MorphTimerId = 3, FadeTimerId = 4;
constexpr UINT MouseInterval = 50, ScrollInterval = 100, MorphInterval = 20, FadeInterval = 5;

TSkinRect ToSkinRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

String ItemText(const TMenuItem& item) {
    String text = item.Caption();
    if (item.ShortCut()) text += L"  " + ShortCutToText(item.ShortCut());
    return text;
}

// The popup window behind a handle, while it lives (its pointer is cleared before it goes).
TAccessibleSource* PopupSourceOf(HWND window) {
    return reinterpret_cast<TmnSkinPopupWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

TmnSkinPopupWindow::TmnSkinPopupWindow(TmnSkinMenu& menu) : ParentMenu(menu) {}

TmnSkinPopupWindow::~TmnSkinPopupWindow() {
    mouseTimer_.Stop();
    morphTimer_.Stop();
    scrollTimer_.Stop();
    fadeTimer_.Stop();
    for (const auto& item : Items)
        if (item->MenuItem) ParentMenu.Unwatch(item->MenuItem);
    if (handle_) {
        ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, handle_, OBJID_CLIENT, CHILDID_SELF);
        SetWindowHintSource(handle_, nullptr);
        ::SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        ::DestroyWindow(handle_);
    }
}

void TmnSkinPopupWindow::CreateHandle(int x, int y, int width, int height, const String& text) {
    static const ATOM atom = RegisterObjectWindowClass(
        L"TmnSkinPopupWindow",
        &ObjectWindowProc<TmnSkinPopupWindow, &TmnSkinPopupWindow::handle_, &TmnSkinPopupWindow::WndProc>,
        CS_SAVEBITS | (DropShadowAvailable() ? CS_DROPSHADOW : 0));
    handle_ = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, WindowClassOf(atom), text.c_str(),
                                WS_POPUP, x, y, width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    SetWindowHintSource(handle_, this);
}

void TmnSkinPopupWindow::MarkStale() {
    stale_ = true;
    mouseTimer_.Stop();
    morphTimer_.Stop();
    scrollTimer_.Stop();
    fadeTimer_.Stop();
}

TImageList* TmnSkinPopupWindow::ImageList() const {
    if (Items.empty() || !Items.front()->MenuItem) return nullptr;
    const TMenu* menu = Items.front()->MenuItem->GetParentMenu();
    return menu ? menu->Images() : nullptr;
}

void TmnSkinPopupWindow::TakeSkin() {
    const TmnSkinData* skin = ParentMenu.Skin();
    if (!skin) return;
    const TmnDataSkinPopupWindow& pw = skin->PopupWindow();
    windowPicture_ = skin->ActivePicture(pw.WindowPictureIndex);
    if (!windowPicture_ || windowPicture_->Empty()) { windowPicture_ = nullptr; return; }
    WindowRecord = &pw;
    maskPicture_ = skin->ActivePicture(pw.MaskPictureIndex);
    if (maskPicture_ && maskPicture_->Empty()) maskPicture_ = nullptr;
    geometry_ = {pw.LeftTopPoint, pw.RightTopPoint, pw.LeftBottomPoint, pw.RightBottomPoint, pw.ItemsRect};
    for (const auto& object : skin->SkinObjects()) {
        if (auto* record = dynamic_cast<const TmnDataSkinMenuItem*>(object.get())) { ItemRecord = record; break; }
    }
    windowBitmap_ = &ParentMenu.PictureBitmap(*windowPicture_);
    if (ItemRecord) {
        if (const TBitmapData* picture = skin->ActivePicture(ItemRecord->ActivePictureIndex); picture && !picture->Empty())
            itemPicture_ = &ParentMenu.PictureBitmap(*picture);
    }
}

std::vector<int> TmnSkinPopupWindow::ItemHeights() const {
    std::vector<int> heights;
    heights.reserve(Items.size());
    const int def = ParentMenu.DefaultMenuItemHeight;
    for (const auto& item : Items) {
        if (ItemRecord) {
            heights.push_back(item->IsSeparator() ? ValidItemHeight(ItemRecord->DividerRect.Height(), 4)
                                                  : ValidItemHeight(ItemRecord->SkinRect.Height(), def));
        } else {
            heights.push_back(item->IsSeparator() ? 4 : ValidItemHeight(def, 20));
        }
    }
    return heights;
}

int TmnSkinPopupWindow::MeasureWidth(bool merged) {
    TMemoryDC dc;
    TSelectObject font(dc.Get(), font_.Handle());
    int widest = 0;
    for (const auto& item : Items) {
        if (item->IsSeparator()) continue;
        String text = ItemText(*item->MenuItem);
        RECT r{0, 0, 0, 0};
        ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
        widest = std::max(widest, static_cast<int>(r.right - r.left));
    }
    int width = widest + Px(2) + GlyphWidth + Px(19);
    (void)merged;
    if (Skinned()) {
        width += windowPicture_->Width - WindowRecord->ItemsRect.Width();
        if (ItemRecord) width += ItemRecord->SkinRect.Width() - ItemRecord->TextRect.Width();
    } else {
        width += Px(10);
    }
    return std::max(width, 1);
}

void TmnSkinPopupWindow::LayoutItems() {
    std::vector<TItemPlace> places;
    VisibleCount = LayoutPopupItems(ItemHeights(), NewItemsRect, VisibleStartIndex, Scroll, places, MarkerHeight());
    for (size_t i = 0; i < Items.size(); ++i) {
        TmnSkinMenuItem& item = *Items[i];
        item.ObjectRect = places[i].Rect;
        item.Visible = places[i].Visible;
        if (!item.Visible && item.MorphFactor != 0) {
            item.Active = false;
            item.MorphFactor = 0;
        }
    }
}

void TmnSkinPopupWindow::SetRegion(int width, int height) {
    if (!Skinned() || !maskPicture_) return;
    TRegionHandle region = ParentMenu.PopupRegion(geometry_, newGeometry_, *maskPicture_, width, height);
    if (region) SetWindowRegion(handle_, std::move(region), false);
}

void TmnSkinPopupWindow::Show(const RECT& anchor, const std::vector<TMenuItem*>& items, bool popupUp,
                              bool isSubMenu, bool merged, const String& title) {
    TakeSkin();
    const TmnSkinData* skin = ParentMenu.Skin();
    if (WindowRecord && ItemRecord && ParentMenu.UseSkinFont) {
        font_.SetName(ItemRecord->FontName);
        font_.SetHeight(ItemRecord->FontHeight);
        font_.SetStyle(ItemRecord->FontStyle);
    } else {
        ParentMenu.DefaultMenuItemFont.AssignTo(font_);
    }
    font_.SetCharSet(SkinLibraryCharSet(skin, static_cast<uint8_t>(ParentMenu.DefaultMenuItemFont.charset)));
    if (!WindowRecord) ItemRecord = nullptr;
    for (TMenuItem* item : items) {
        Items.push_back(std::make_unique<TmnSkinMenuItem>(*this, item));
        ParentMenu.Watch(item);
    }
    const TImageList* images = ImageList();
    GlyphWidth = images ? images->Width() + Px(5) : Px(19);

    const RECT& work = ParentMenu.WorkArea;
    const int width = MeasureWidth(merged);
    const std::vector<int> heights = ItemHeights();
    int frame, rowHeight;
    if (Skinned()) {
        frame = windowPicture_->Height - WindowRecord->ItemsRect.Height();
        rowHeight = ItemRecord ? ValidItemHeight(ItemRecord->SkinRect.Height(), ParentMenu.DefaultMenuItemHeight)
                               : ValidItemHeight(ParentMenu.DefaultMenuItemHeight, 20);
    } else {
        frame = merged ? 6 : 4;
        rowHeight = ValidItemHeight(ParentMenu.DefaultMenuItemHeight, 20);
    }
    const TPopupHeight ph = PopupWindowHeight(heights, frame, rowHeight, std::max(0, ParentMenu.MaxMenuItemsInWindow),
                                              work.bottom - work.top, MarkerHeight());
    const int height = std::max(ph.Height, 1);
    Scroll = ph.Scroll;
    LimitedByMax = ph.LimitedByMax;
    if (Skinned()) {
        newGeometry_ = ResizeGeometry(geometry_, width - windowPicture_->Width, height - windowPicture_->Height);
        NewItemsRect = newGeometry_.Cl;
    } else {
        NewItemsRect = {2, 2, width - 2, height - 2};
    }
    VisibleStartIndex = 0;
    LayoutItems();

    TPopupPlaceInput in;
    in.Anchor = ToSkinRect(anchor);
    in.WorkArea = ToSkinRect(work);
    in.Width = width;
    in.Height = height;
    in.ItemsTop = NewItemsRect.Top;
    in.SubMenu = isSubMenu;
    in.PopupUp = popupUp;
    in.ClampedToWork = Scroll && !LimitedByMax;
    const TPopupPlace place = PlacePopup(in);
    ShowX = place.X;
    ShowY = place.Y;
    // Made hidden at its final bounds, so the region and alpha are in place before it shows.
    CreateHandle(ShowX, ShowY, width, height, StripAccel(title));
    if (!handle_) return;
    SetRegion(width, height);

    const TmnMenuDesktopSettings& effects = ParentMenu.Effects();
    if (LayeredWindowsAvailable() && ParentMenu.AlphaBlend) {
        ::SetWindowLongPtrW(handle_, GWL_EXSTYLE, ::GetWindowLongPtrW(handle_, GWL_EXSTYLE) | WS_EX_LAYERED);
        fadeTarget_ = ParentMenu.AlphaBlendValue;
        const bool fade = ParentMenu.First && ParentMenu.AlphaBlendAnimation && effects.MenuAnimation && effects.MenuFade;
        Alpha = fade ? 0 : fadeTarget_;
        SetWindowAlpha(handle_, Alpha);
        // The fade runs on a timer: the window shows at once and nothing waits here.
        if (fade) fadeTimer_.Start(handle_, FadeTimerId, FadeInterval);
    }
    ::ShowWindow(handle_, SW_SHOWNOACTIVATE);
    ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, handle_, OBJID_CLIENT, CHILDID_SELF);

    // The cursor poll starts with the first mouse move over the window (see WM_MOUSEMOVE).
    ActiveItem = -1;
    // Opened from the keyboard, the first item is highlighted; opened by the mouse, none is
    // until the pointer or a key selects one.
    const bool byMouse = Application() && Application()->LastInputFromMouse();
    for (size_t i = 0; i < Items.size() && !byMouse; ++i) {
        if (!Items[i]->Selectable()) continue;
        Items[i]->WaitCommand = true;
        ActiveItem = static_cast<int>(i);
        EnterItem(ActiveItem, true);
        break;
    }
}

TBitmap& TmnSkinPopupWindow::ItemStrip(const TSkinRect& r, int leftOffset, int rightOffset, int w, bool stretch) {
    return ParentMenu.ItemStrip(*itemPicture_, r, leftOffset, rightOffset, w, stretch);
}

void TmnSkinPopupWindow::PaintBackground(TBitmap& target) {
    const int w = target.Width(), h = target.Height();
    if (Skinned()) {
        TBitmap& background =
            ParentMenu.PopupBackground(*WindowRecord, *windowBitmap_, geometry_, newGeometry_, w, h, Scroll);
        ::BitBlt(target.Canvas().Handle(), 0, 0, w, h, background.Canvas().Handle(), 0, 0, SRCCOPY);
        return;
    }
    TCanvas& c = target.Canvas();
    const int column = ImageList() ? GlyphWidth + Px(2) : Px(21);
    c.Brush().SetColor(clBtnFace);
    c.FillRect({0, 0, column, h});
    c.Brush().SetColor(clWindow);
    c.FillRect({column, 0, w, h});
    c.Brush().SetColor(clGrayText);
    c.FrameRect({0, 0, w, h});
    c.Brush().SetColor(clWindow);
    c.FrameRect({1, 1, w - 1, h - 1});
}

void TmnSkinPopupWindow::PaintMarkers(TBitmap& target) {
    if (!Scroll) return;
    TCanvas& c = target.Canvas();
    const int w = target.Width(), h = target.Height();
    RECT top, bottom;
    TColor normal, active;
    const int mh = MarkerHeight();
    if (Skinned()) {
        top = {NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + mh};
        bottom = {NewItemsRect.Left, NewItemsRect.Bottom - mh, NewItemsRect.Right, NewItemsRect.Bottom};
        normal = WindowRecord->ScrollMarkerColor;
        active = WindowRecord->ScrollMarkerActiveColor;
    } else {
        top = {3, 3, w - 3, 3 + mh};
        bottom = {3, h - mh, w - 3, h - 3};
        normal = clGrayText;
        active = clBtnText;
    }
    DrawArrowGlyph(c, top, ScrollMarker == TScrollMarker::Up ? active : normal, 3, Dpi());
    DrawArrowGlyph(c, bottom, ScrollMarker == TScrollMarker::Down ? active : normal, 4, Dpi());
}

void TmnSkinPopupWindow::PaintTo(HDC dc) {
    RECT client;
    ::GetClientRect(handle_, &client);
    if (stale_ || client.right <= 0 || client.bottom <= 0) return;
    TBitmap& buffer = ParentMenu.PaintBuffer(client.right, client.bottom);
    PaintBackground(buffer);
    for (auto& item : Items) {
        // An item's own drawing handler may free a platform item of this window.
        if (stale_) return;
        if (item->Visible) item->Draw(buffer.Canvas());
    }
    if (stale_) return;
    PaintMarkers(buffer);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, buffer.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TmnSkinPopupWindow::Redraw() {
    if (handle_) ::InvalidateRect(handle_, nullptr, FALSE);
}

std::vector<TMenuNavItem> TmnSkinPopupWindow::NavItems() const {
    std::vector<TMenuNavItem> nav;
    nav.reserve(Items.size());
    for (const auto& item : Items)
        nav.push_back({item->IsSeparator(), item->Enabled(), item->HasSubItems(), AccelChar(item->MenuItem->Caption())});
    return nav;
}

int TmnSkinPopupWindow::Dpi() const { return ParentMenu.SkinData ? ParentMenu.SkinData->Dpi() : SkinBaseDpi; }

int TmnSkinPopupWindow::Px(int at96) const { return ScaledForDpi(at96, Dpi()); }

TMenuScroll TmnSkinPopupWindow::ScrollState() const {
    TMenuScroll s;
    s.Scroll = Scroll;
    s.Start = VisibleStartIndex;
    s.VisibleFrom = [heights = ItemHeights(), rect = NewItemsRect, scroll = Scroll, mh = MarkerHeight()](int start) {
        return VisibleItemsFrom(heights, rect, start, scroll, mh);
    };
    return s;
}

void TmnSkinPopupWindow::ScrollTo(int start) {
    const int last = LastPageStart(ItemHeights(), NewItemsRect, Scroll, MarkerHeight());
    VisibleStartIndex = std::clamp(start, 0, std::max(0, last));
    LayoutItems();
    Redraw();
}

int TmnSkinPopupWindow::ItemAt(POINT pt) const {
    for (size_t i = 0; i < Items.size(); ++i) {
        const TSkinRect& r = Items[i]->ObjectRect;
        if (Items[i]->Visible && pt.x >= r.Left && pt.x < r.Right && pt.y >= r.Top && pt.y < r.Bottom)
            return static_cast<int>(i);
    }
    return -1;
}

void TmnSkinPopupWindow::StartMorph(TmnSkinMenuItem& item) {
    if (stale_) return;
    if (!ParentMenu.Effects().MenuAnimation) {
        // Desktop animations off: jump to the end state.
        item.MorphFactor = (item.Active || item.Down) ? 1 : 0;
        item.CurrentFrame = 0;
        Redraw();
        return;
    }
    if (item.AnimationEnabled()) {
        if (item.Active || (item.Record && item.Record->InactiveAnimation)) {
            morphTimer_.Start(handle_, MorphTimerId, item.AnimateInterval());
        } else {
            item.CurrentFrame = 0;
            Redraw();
        }
    } else if (item.MorphingEnabled()) {
        morphTimer_.Start(handle_, MorphTimerId, MorphInterval);
    } else {
        Redraw();
    }
}

void TmnSkinPopupWindow::MorphTick() {
    bool changed = false;
    for (auto& p : Items) {
        TmnSkinMenuItem& item = *p;
        if (!item.Visible && item.MorphFactor != 0) {
            item.Active = false;
            item.MorphFactor = 0;
        }
        const bool lit = item.Active || item.Down;
        if (item.MorphingEnabled() && item.Visible && MorphUnderWay(item.MorphFactor, lit)) {
            item.MorphFactor = NextMorphFactor(item.MorphFactor, lit);
            changed = true;
        }
        if (item.AnimationEnabled()) {
            if (lit && item.CurrentFrame <= item.FrameCount()) { ++item.CurrentFrame; changed = true; }
            else if (!lit && item.CurrentFrame > 0) { --item.CurrentFrame; changed = true; }
        }
    }
    if (changed) Redraw();
    else morphTimer_.Stop();
}

void TmnSkinPopupWindow::ScrollTick() {
    const int n = static_cast<int>(Items.size());
    if (ScrollMarker == TScrollMarker::Up && VisibleStartIndex > 0) ScrollTo(VisibleStartIndex - 1);
    else if (ScrollMarker == TScrollMarker::Down && VisibleStartIndex + VisibleCount < n)
        ScrollTo(VisibleStartIndex + 1);
    else {
        scrollTimer_.Stop();
        ScrollMarker = TScrollMarker::None;
        Redraw();
    }
}

void TmnSkinPopupWindow::FadeTick() {
    const int next = std::min<int>(Alpha + 10, fadeTarget_);
    Alpha = static_cast<BYTE>(next);
    SetWindowAlpha(handle_, Alpha);
    if (Alpha >= fadeTarget_) fadeTimer_.Stop();
}

void TmnSkinPopupWindow::EnterItem(int index, bool byKeyboard) {
    if (index < 0 || index >= static_cast<int>(Items.size())) return;
    TmnSkinMenuItem& item = *Items[static_cast<size_t>(index)];
    ActiveItem = index;
    item.Active = true;
    if (item.AnimationEnabled()) item.CurrentFrame = 0;
    for (auto& other : Items) {
        if (other.get() != &item && other->Down) {
            other->Down = false;
            StartMorph(*other);
        }
    }
    ::NotifyWinEvent(EVENT_OBJECT_FOCUS, handle_, OBJID_CLIENT, index + 1);
    if (item.WaitCommand && !byKeyboard) {
        StartMorph(item);
    } else if (item.Down) {
        // Its sub-menu is open: close what lies below that sub-menu and reset it.
        const int depth = ParentMenu.IndexOf(this);
        ParentMenu.CloseFrom(depth + 2);
        if (depth + 1 < static_cast<int>(ParentMenu.PopupList.size()))
            ParentMenu.PopupList[static_cast<size_t>(depth + 1)]->ReleaseOpenedItems();
    } else {
        StartMorph(item);
        ParentMenu.ItemChosen(*this, item, byKeyboard, false);
    }
    // The window still lives: choosing without a click never closes this window.
    Hint = item.MenuItem->Hint();
}

void TmnSkinPopupWindow::ReleaseOpenedItems() {
    for (auto& item : Items) {
        if (!item->Down) continue;
        item->Down = false;
        StartMorph(*item);
    }
}

void TmnSkinPopupWindow::LeaveItem(int index) {
    if (index < 0 || index >= static_cast<int>(Items.size())) return;
    TmnSkinMenuItem& item = *Items[static_cast<size_t>(index)];
    item.Active = false;
    if (item.AnimationEnabled()) item.CurrentFrame = item.FrameCount() + 1;
    item.WaitCommand = false;
    if (!item.Down) StartMorph(item);
    if (ParentMenu.WaitItem == &item) {
        ParentMenu.waitTimer_.Stop();
        ParentMenu.WaitItem = nullptr;
    }
}

void TmnSkinPopupWindow::MouseAt(POINT pt, bool overThis) {
    if (pt.x == lastMouse_.x && pt.y == lastMouse_.y) return;
    lastMouse_ = pt;
    if (!overThis) {
        if (ScrollMarker != TScrollMarker::None) {
            ScrollMarker = TScrollMarker::None;
            scrollTimer_.Stop();
            Redraw();
        }
        return;
    }
    POINT c = pt;
    ::ScreenToClient(handle_, &c);
    if (Scroll) {
        const TScrollMarker marker =
            ScrollMarkerAt(c.y, NewItemsRect, VisibleStartIndex, VisibleCount, static_cast<int>(Items.size()),
                           MarkerHeight());
        if (marker != ScrollMarker) {
            ScrollMarker = marker;
            if (marker != TScrollMarker::None) {
                ParentMenu.CloseFrom(ParentMenu.IndexOf(this) + 1);
                scrollTimer_.Start(handle_, ScrollTimerId, ScrollInterval);
            } else {
                scrollTimer_.Stop();
            }
            Redraw();
        }
        if (marker != TScrollMarker::None) return;
    }
    const int hit = ItemAt(c);
    if (hit < 0) return;
    if (hit == ActiveItem) {
        TmnSkinMenuItem& item = *Items[static_cast<size_t>(hit)];
        if (item.WaitCommand) {
            item.WaitCommand = false;
            if (item.HasSubItems()) EnterItem(hit, false);
        }
        return;
    }
    const int previous = ActiveItem;
    OldActiveItem = previous;
    ActiveItem = hit;
    if (previous >= 0 && previous < static_cast<int>(Items.size()) && Items[static_cast<size_t>(previous)]->Selectable())
        LeaveItem(previous);
    if (Items[static_cast<size_t>(hit)]->Selectable()) EnterItem(hit, false);
}

void TmnSkinPopupWindow::ButtonUpAt(POINT pt) {
    // The release is handled here, so a click without a mouse move in between is not lost.
    POINT screen = pt;
    ::ClientToScreen(handle_, &screen);
    MouseAt(screen, true);
    const int hit = ItemAt(pt);
    if (hit < 0 || hit != ActiveItem) return;
    TmnSkinMenuItem& item = *Items[static_cast<size_t>(hit)];
    if (item.IsSeparator()) return;
    item.WaitCommand = false;
    if (!item.Down && item.Enabled()) ParentMenu.PostClick(*this, item);
}

bool TmnSkinPopupWindow::KeyDown(WORD key, wchar_t ch) {
    const std::vector<TMenuNavItem> nav = NavItems();
    const int count = static_cast<int>(Items.size());
    auto click = [&](int index) {
        TmnSkinMenuItem& item = *Items[static_cast<size_t>(index)];
        item.WaitCommand = false;
        if (!item.Down && item.Enabled()) ParentMenu.PostClick(*this, item);
    };
    if (ch != 0) {
        const int i = FindAccelItem(nav, ch);
        if (i >= 0) {
            if (!IsSelectable(nav[static_cast<size_t>(i)])) return true;
            const int previous = ActiveItem;
            ScrollTo(EnsureVisible(ScrollState(), count, i));
            if (previous != i && previous >= 0 && previous < count) LeaveItem(previous);
            EnterItem(i, false);
            click(i);
            return true;
        }
    }
    const bool hasActive = ActiveItem >= 0 && ActiveItem < count;
    switch (key) {
    case VK_RETURN:
        if (hasActive && nav[static_cast<size_t>(ActiveItem)].Enabled && !nav[static_cast<size_t>(ActiveItem)].Separator)
            click(ActiveItem);
        return true;
    case VK_RIGHT:
        if (hasActive && nav[static_cast<size_t>(ActiveItem)].HasSubItems && nav[static_cast<size_t>(ActiveItem)].Enabled) {
            click(ActiveItem);
            return true;
        }
        return false;
    case VK_DOWN: case VK_UP: case VK_HOME: case VK_END: {
        const TMenuScroll scroll = ScrollState();
        const TNavResult r = key == VK_DOWN ? NextMenuItem(nav, ActiveItem, scroll)
                           : key == VK_UP   ? PrevMenuItem(nav, ActiveItem, scroll)
                           : key == VK_HOME ? FirstMenuItem(nav, scroll)
                                            : LastMenuItem(nav, scroll);
        if (r.Item < 0 || r.Item == ActiveItem) return true;
        if (r.Start != VisibleStartIndex) ScrollTo(r.Start);
        const int previous = ActiveItem;
        if (previous >= 0 && previous < count) LeaveItem(previous);
        EnterItem(r.Item, true);
        return true;
    }
    default:
        return false;
    }
}

TAccessibleInfo TmnSkinPopupWindow::AccessibleInfo() {
    TAccessibleInfo info;
    info.Role = ROLE_SYSTEM_MENUPOPUP;
    return info;  // the name is the window text, the opening item's caption
}

TAccessibleInfo TmnSkinPopupWindow::AccessibleChild(int index) {
    TAccessibleInfo info;
    if (stale_ || index < 0 || index >= static_cast<int>(Items.size())) return info;
    const TmnSkinMenuItem& item = *Items[static_cast<size_t>(index)];
    if (item.IsSeparator()) {
        info.Role = ROLE_SYSTEM_SEPARATOR;
    } else {
        info.Role = ROLE_SYSTEM_MENUITEM;
        info.Name = StripAccel(item.MenuItem->Caption());
        if (item.MenuItem->ShortCut()) info.Value = ShortCutToText(item.MenuItem->ShortCut());
    }
    if (index == ActiveItem && item.Selectable()) info.State |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
    if (!item.Enabled()) info.State |= STATE_SYSTEM_UNAVAILABLE;
    if (item.MenuItem->Checked()) info.State |= STATE_SYSTEM_CHECKED;
    if (item.HasSubItems()) info.State |= STATE_SYSTEM_HASPOPUP;
    if (!item.Visible) {
        info.State |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
    } else {
        const TSkinRect& r = item.ObjectRect;
        info.Bounds = {ShowX + r.Left, ShowY + r.Top, ShowX + r.Right, ShowY + r.Bottom};
    }
    return info;
}

LRESULT TmnSkinPopupWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A stale window only waits to be closed: no painting, tracking or answers from its items.
    if (stale_ && msg != WM_MOUSEACTIVATE) return ::DefWindowProcW(handle_, msg, wParam, lParam);
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT draws everything from one off-screen buffer
    case WM_PAINT: {
        TPaintDC paint(handle_);
        PaintTo(paint.Get());
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_GETOBJECT:
        if (LRESULT r = AnswerGetObject(handle_, wParam, lParam, &PopupSourceOf)) return r;
        return ::DefWindowProcW(handle_, msg, wParam, lParam);
    case WM_TIMER:
        switch (wParam) {
        case MouseTimerId: {
            POINT pt;
            if (::GetCursorPos(&pt)) MouseAt(pt, ::WindowFromPoint(pt) == handle_);
            return 0;
        }
        case ScrollTimerId: ScrollTick(); return 0;
        case MorphTimerId: MorphTick(); return 0;
        case FadeTimerId: FadeTick(); return 0;
        default: return 0;
        }
    case WM_MOUSEMOVE: {
        // Moves over the window come as messages; the poll sees the cursor leave it. A window
        // the cursor never reached needs no poll.
        if (!mouseTimer_.Active()) mouseTimer_.Start(handle_, MouseTimerId, MouseInterval);
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ClientToScreen(handle_, &pt);
        MouseAt(pt, true);
        return 0;
    }
    case WM_LBUTTONUP:
        ButtonUpAt({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    default:
        return ::DefWindowProcW(handle_, msg, wParam, lParam);
    }
}

}  // namespace fn
