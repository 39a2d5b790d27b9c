#include "skin/menus/skin_menu_win.h"

#include <oleacc.h>

#include <algorithm>

#include "platform/win/application.h"
#include "skin/data/skin_messages.h"
#include "skin/paint/effects.h"
#include "skin/paint/glyphs_win.h"
#include "skin/paint/images_win.h"
#include "skin/paint/regions_win.h"
#include "skin/paint/system_win.h"

namespace fn {

namespace {

constexpr UINT_PTR MouseTimerId = 1, ScrollTimerId = 2, MorphTimerId = 3, FadeTimerId = 4;
constexpr UINT_PTR WaitTimerId = 1;
constexpr UINT WM_RUN_PENDING_CLICK = WM_APP + 1, WM_CLOSE_STALE = WM_APP + 2;
constexpr UINT MouseInterval = 50, ScrollInterval = 100, MorphInterval = 20, FadeInterval = 5;
constexpr UINT WaitInterval = 500;
constexpr TColor UnskinnedFrameColor = 0x800000, UnskinnedHoverColor = 0xD2BDB6;

RECT ToRect(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
TSkinRect ToSkinRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

bool InsidePicture(const TSkinRect& r, const TBitmap* picture) {
    return picture && !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= picture->Width() &&
           r.Bottom <= picture->Height();
}

// The menus open in this thread; the two hooks act on them while any is open.
std::vector<TmnSkinMenu*>& OpenMenus() {
    static std::vector<TmnSkinMenu*> menus;
    return menus;
}
// Installed while any chain is open: every message the thread sends passes through them.
THookHandle messageHook, callHook;

String ItemText(const TMenuItem& item) {
    String text = item.Caption();
    if (item.ShortCut()) text += L"  " + ShortCutToText(item.ShortCut());
    return text;
}

// The popup window behind a handle, while it lives (its pointer is cleared before it goes).
TAccessibleSource* PopupSourceOf(HWND window) {
    return reinterpret_cast<TmnSkinPopupWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Appends the visible sub-items of parent from index from on; a linked action is brought up to
// date first, so the item shows its current caption and states (or stays hidden).
void AppendShownItems(std::vector<TMenuItem*>& out, const TMenuItem& parent, int from) {
    for (int i = std::max(0, from); i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        item->UpdateAction();
        if (item->Visible()) out.push_back(item);
    }
}

bool IsButtonDown(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN: case WM_NCXBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

}  // namespace

wchar_t KeyChar(const MSG& msg) {
    BYTE state[256] = {};
    if (!::GetKeyboardState(state)) return 0;
    for (int vk : {VK_MENU, VK_LMENU, VK_RMENU, VK_CONTROL, VK_LCONTROL, VK_RCONTROL}) state[vk] = 0;
    wchar_t buffer[4] = {};
    const UINT scan = (static_cast<UINT>(msg.lParam) >> 16) & 0xFF;
    // Flag 4: leave the keyboard's dead-key state as it is.
    const int n = ::ToUnicode(static_cast<UINT>(msg.wParam), scan, state, buffer, 4, 4);
    return n == 1 && buffer[0] >= 32 ? buffer[0] : 0;
}


bool IsMenuClosingMessage(UINT msg) {
    switch (msg) {
    case WM_MOVE: case WM_SIZE: case WM_ACTIVATE: case WM_KILLFOCUS: case WM_CANCELMODE:
    case WM_MOUSEACTIVATE: case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_PARENTNOTIFY:
        return true;
    default:
        return false;
    }
}

TmnMenuDesktopSettings ReadMenuDesktopSettings() {
    TmnMenuDesktopSettings s;
    BOOL value = TRUE;
    if (::SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &value, 0)) s.MenuAnimation = value != FALSE;
    value = TRUE;
    if (::SystemParametersInfoW(SPI_GETMENUFADE, 0, &value, 0)) s.MenuFade = value != FALSE;
    return s;
}

// ---------------------------------------------------------------------------------------------
// TmnSkinMenuItem

TmnSkinMenuItem::TmnSkinMenuItem(TmnSkinPopupWindow& parent, TMenuItem* menuItem)
    : Parent(parent), Record(parent.ItemRecord), ActivePicture(parent.ItemPicture()), MenuItem(menuItem) {}

bool TmnSkinMenuItem::HasSubItems() const { return MenuItem && MenuItem->Count() > 0; }

bool TmnSkinMenuItem::MorphingEnabled() const {
    const TmnSkinData* skin = Parent.ParentMenu.Skin();
    return Record && Record->Morphing && skin && skin->EnableSkinEffects() && ActivePicture &&
           InsidePicture(Record->SkinRect, ActivePicture) && InsidePicture(Record->ActiveSkinRect, ActivePicture);
}

int TmnSkinMenuItem::FrameCount() const {
    if (!Record || Record->FrameCount <= 0 || !InsidePicture(Record->AnimateSkinRect, ActivePicture)) return 0;
    const TSkinRect& a = Record->AnimateSkinRect;
    const bool stacked = a.Height() > Record->SkinRect.Height();
    // Every frame at least one pixel: never more frames than the strip holds.
    return std::min(Record->FrameCount, stacked ? a.Height() : a.Width());
}

bool TmnSkinMenuItem::AnimationEnabled() const {
    const TmnSkinData* skin = Parent.ParentMenu.Skin();
    return skin && skin->EnableSkinEffects() && FrameCount() > 0;
}

UINT TmnSkinMenuItem::AnimateInterval() const {
    const int ms = Record ? Record->AnimateInterval : 25;
    return static_cast<UINT>(std::clamp(ms, 10, 1000));
}

void TmnSkinMenuItem::Draw(TCanvas& canvas) {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    const HDC dc = canvas.Handle();
    TSavedDC saved(dc);
    ::IntersectClipRect(dc, ObjectRect.Left, ObjectRect.Top, ObjectRect.Right, ObjectRect.Bottom);
    ::SetViewportOrgEx(dc, ObjectRect.Left, ObjectRect.Top, nullptr);
    if (Record) DrawSkinned(canvas, w, h);
    else DrawUnskinned(canvas, w, h);
}

void TmnSkinMenuItem::DrawStateImage(HDC dc, int w, bool active) {
    const TSkinRect& r = active ? Record->ActiveSkinRect : Record->SkinRect;
    if (!InsidePicture(r, ActivePicture)) return;
    TBitmap& strip = Parent.ItemStrip(r, Record->ItemLeftOffset, Record->ItemRightOffset, w,
                                      active ? Record->StretchEffect : Record->InactiveStretchEffect);
    ::BitBlt(dc, 0, 0, strip.Width(), strip.Height(), strip.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TmnSkinMenuItem::DrawSkinned(TCanvas& c, int w, int h) {
    const HDC dc = c.Handle();
    if (IsSeparator()) {
        if (!InsidePicture(Record->DividerRect, ActivePicture)) return;
        TBitmap& strip = Parent.ItemStrip(Record->DividerRect, Record->DividerLeftOffset, Record->DividerRightOffset, w,
                                          Record->DividerStretchEffect);
        ::BitBlt(dc, 0, 0, strip.Width(), strip.Height(), strip.Canvas().Handle(), 0, 0, SRCCOPY);
        return;
    }
    const bool active = Active || Down;
    const int frames = AnimationEnabled() ? FrameCount() : 0;
    if (frames > 0 && CurrentFrame >= 1 && CurrentFrame <= frames) {
        const TSkinRect& a = Record->AnimateSkinRect;
        TSkinRect f = a;
        if (a.Height() > Record->SkinRect.Height()) {
            const int fh = a.Height() / frames;
            f.Top = a.Top + (CurrentFrame - 1) * fh;
            f.Bottom = f.Top + fh;
        } else {
            const int fw = a.Width() / frames;
            f.Left = a.Left + (CurrentFrame - 1) * fw;
            f.Right = f.Left + fw;
        }
        TBitmap& strip = Parent.ItemStrip(f, Record->ItemLeftOffset, Record->ItemRightOffset, w,
                                          Record->StretchEffect && !Record->InactiveStretchEffect);
        ::BitBlt(dc, 0, 0, strip.Width(), strip.Height(), strip.Canvas().Handle(), 0, 0, SRCCOPY);
    } else if (MorphingEnabled() && MorphFactor > 0 && MorphFactor < 1) {
        TBitmap normal(w, h), hover(w, h);
        ::BitBlt(normal.Canvas().Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
        ::BitBlt(hover.Canvas().Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
        DrawStateImage(normal.Canvas().Handle(), w, false);
        DrawStateImage(hover.Canvas().Handle(), w, true);
        TmnEffectBmp a = TmnEffectBmp::CreateFromBitmap(normal.Handle());
        TmnEffectBmp b = TmnEffectBmp::CreateFromBitmap(hover.Handle());
        ApplyMorph(a, static_cast<int>(Record->MorphKind), b, MorphFactor);
        a.Draw(dc, 0, 0);
    } else {
        DrawStateImage(dc, w, active);
    }
    RECT t = ToRect(Record->TextRect);
    t.right += w - Record->SkinRect.Width();
    const int column = !Record->ImageRect.IsEmpty() ? 0 : Parent.ImageList() ? Parent.GlyphWidth : 16;
    const TColor color = active ? Record->ActiveFontColor
                                : (Enabled() ? Record->FontColor : Record->UnenabledFontColor);
    DrawContent(c, t, column, color, true);
}

void TmnSkinMenuItem::DrawUnskinned(TCanvas& c, int w, int h) {
    const int column = Parent.GlyphWidth;
    if (IsSeparator()) {
        c.Brush().SetColor(clBtnFace);
        c.FillRect({0, 0, column, h});
        c.Brush().SetColor(clWindow);
        c.FillRect({column, 0, w, h});
        c.Pen().SetColor(clGrayText);
        c.MoveTo(column, h / 2);
        c.LineTo(w, h / 2);
        return;
    }
    const bool active = Active || Down;
    if (active) {
        c.Brush().SetColor(UnskinnedHoverColor);
        c.FillRect({0, 0, w, h});
        c.Brush().SetColor(UnskinnedFrameColor);
        c.FrameRect({0, 0, w, h});
    } else {
        c.Brush().SetColor(clBtnFace);
        c.FillRect({0, 0, column, h});
        c.Brush().SetColor(clWindow);
        c.FillRect({column, 0, w, h});
    }
    const TColor color = (active || Enabled()) ? clWindowText : clGrayText;
    DrawContent(c, {0, 0, w, h}, column, color, false);
}

SIZE TmnSkinMenuItem::ImageSize() const {
    if (MenuItem->HasBitmap()) return {MenuItem->Bitmap().Width(), MenuItem->Bitmap().Height()};
    const TImageList* images = Parent.ImageList();
    const int index = MenuItem->ImageIndex();
    if (images && index >= 0 && index < images->Count()) return {images->Width(), images->Height()};
    return {0, 0};
}

bool TmnSkinMenuItem::DrawImage(TCanvas& c, int x, int middle, TColor color, bool skinned) {
    const SIZE size = ImageSize();
    if (size.cx <= 0 || size.cy <= 0) return false;
    int y = middle - size.cy / 2;
    if (skinned && !Record->ImageRect.IsEmpty()) {
        const TSkinRect& r = Record->ImageRect;
        x = r.Left + (r.Width() - size.cx) / 2;
        y = r.Top + (r.Height() - size.cy) / 2;
    }
    if (MenuItem->HasBitmap()) {
        // The bitmap's bottom-left colour is its background.
        TBitmap& b = MenuItem->Bitmap();
        const HDC source = b.Canvas().Handle();
        ::TransparentBlt(c.Handle(), x, y, size.cx, size.cy, source, 0, 0, size.cx, size.cy,
                         ::GetPixel(source, 0, size.cy - 1));
    } else {
        Parent.ImageList()->Draw(c, x, y, MenuItem->ImageIndex(), Enabled());
    }
    if (MenuItem->Checked()) {
        c.Brush().SetColor(color);
        c.FrameRect({x - 1, y - 1, x + size.cx + 1, y + size.cy + 1});
    }
    return true;
}

void TmnSkinMenuItem::DrawContent(TCanvas& c, const RECT& t, int column, TColor color, bool skinned) {
    const HDC dc = c.Handle();
    if (MenuItem->OnDrawItem) {
        // The program draws the item itself; nothing else is drawn.
        MenuItem->OnDrawItem(this, c, t, Active || Down);
        return;
    }
    // The window's font, made once per window, selected for the texts only.
    TSelectObject font(dc, Parent.Font().Handle());
    ::SetTextColor(dc, ColorToColorRef(color));
    ::SetBkMode(dc, TRANSPARENT);
    const bool rtl = Parent.ParentMenu.MenuOwner() && Parent.ParentMenu.MenuOwner()->MenuRightToLeft();
    const UINT flags = DT_SINGLELINE | DT_VCENTER | (rtl ? DT_RTLREADING | DT_RIGHT : DT_LEFT);
    // Skinned: the text rectangle and glyph column; unskinned: the whole item with 2-pixel margins.
    const int left = skinned ? t.left + column : 2 + column;
    const int right = skinned ? t.right - 16 : t.right - 2 - 19;
    RECT captionRect{left, t.top, right, t.bottom};
    String caption = MenuItem->Caption();
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &captionRect, flags);
    if (MenuItem->ShortCut()) {
        String shortcut = ShortCutToText(MenuItem->ShortCut());
        RECT r{left, t.top, right, t.bottom};
        ::DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &r,
                    DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    const int middle = (t.top + t.bottom) / 2;
    c.Pen().SetColor(color);
    if (HasSubItems()) {
        const int x = skinned ? t.right - 7 : t.right - 2 - 7, y = middle - 4;
        for (int i = 0; i <= 3; ++i) {
            c.MoveTo(x + i, y + i);
            c.LineTo(x + i, y + 7 - i);
        }
    }
    TColor glyphColor = color;
    if (skinned && Record->UseImageColor) glyphColor = (Active || Down) ? Record->ActiveImageColor : Record->ImageColor;
    int gx = skinned ? t.left + 2 : 4, gy = middle - 4;
    if (skinned && !Record->ImageRect.IsEmpty()) {
        gx = (Record->ImageRect.Left + Record->ImageRect.Right) / 2 - 4;
        gy = (Record->ImageRect.Top + Record->ImageRect.Bottom) / 2 - 4;
    }
    if (DrawImage(c, skinned ? t.left + 2 : 4, middle, color, skinned)) return;
    const String& name = MenuItem->Name();
    if (name == L"MTL_CLOSE" || name == L"TRAY_MTL_CLOSE") DrawCloseGlyph(c, gx, gy, glyphColor);
    else if (name == L"MTL_MINITEM") DrawMinimizeGlyph(c, gx, gy, glyphColor);
    else if (name == L"MTL_MAXITEM") DrawMaximizeGlyph(c, gx, gy, glyphColor);
    else if (name == L"MTL_RESTORE" || name == L"TRAY_MTL_RESTORE") DrawRestoreGlyph(c, gx, gy, glyphColor);
    else if (name == L"MTL_ROLLUP") DrawRollUpGlyph(c, gx, gy, glyphColor);
    else if (name == L"MTL_MINTOTRAY") DrawTrayGlyph(c, gx, gy, glyphColor);
    else if (MenuItem->Checked() && MenuItem->RadioItem()) {
        // A filled 6 x 6 dot, one pixel below the middle of the 8 x 8 glyph box.
        c.Pen().SetColor(glyphColor);
        c.Brush().SetColor(glyphColor);
        TSelectObject pen(dc, c.Pen().Handle()), brush(dc, c.Brush().Handle());
        ::Ellipse(dc, gx + 1, gy + 2, gx + 7, gy + 8);
    } else if (MenuItem->Checked()) {
        DrawCheckGlyph(c, gx, gy, glyphColor);
    }
}

// ---------------------------------------------------------------------------------------------
// TmnSkinPopupWindow

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
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_SAVEBITS | (DropShadowAvailable() ? CS_DROPSHADOW : 0);
        wc.lpfnWndProc = &TmnSkinPopupWindow::StaticWndProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpszClassName = L"TmnSkinPopupWindow";
        return ::RegisterClassExW(&wc);
    }();
    handle_ = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE,
                                reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(atom)), text.c_str(), WS_POPUP, x, y, width,
                                height, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
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
    PW = &pw;
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
    int width = widest + 2 + GlyphWidth + 19;
    (void)merged;
    if (Skinned()) {
        width += windowPicture_->Width - PW->ItemsRect.Width();
        if (ItemRecord) width += ItemRecord->SkinRect.Width() - ItemRecord->TextRect.Width();
    } else {
        width += 10;
    }
    return std::max(width, 1);
}

void TmnSkinPopupWindow::LayoutItems() {
    std::vector<TItemPlace> places;
    VisibleCount = LayoutPopupItems(ItemHeights(), NewItemsRect, VisibleStartIndex, Scroll, places);
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
    if (PW && ItemRecord && ParentMenu.UseSkinFont) {
        font_.SetName(ItemRecord->FontName);
        font_.SetHeight(ItemRecord->FontHeight);
        font_.SetStyle(ItemRecord->FontStyle);
    } else {
        ParentMenu.DefaultMenuItemFont.AssignTo(font_);
    }
    font_.SetCharSet(SkinLibraryCharSet(skin, static_cast<uint8_t>(ParentMenu.DefaultMenuItemFont.charset)));
    if (!PW) ItemRecord = nullptr;
    for (TMenuItem* item : items) {
        Items.push_back(std::make_unique<TmnSkinMenuItem>(*this, item));
        ParentMenu.Watch(item);
    }
    const TImageList* images = ImageList();
    GlyphWidth = images ? images->Width() + 5 : 19;

    const RECT& work = ParentMenu.WorkArea;
    const int width = MeasureWidth(merged);
    const std::vector<int> heights = ItemHeights();
    int frame, rowHeight;
    if (Skinned()) {
        frame = windowPicture_->Height - PW->ItemsRect.Height();
        rowHeight = ItemRecord ? ValidItemHeight(ItemRecord->SkinRect.Height(), ParentMenu.DefaultMenuItemHeight)
                               : ValidItemHeight(ParentMenu.DefaultMenuItemHeight, 20);
    } else {
        frame = merged ? 6 : 4;
        rowHeight = ValidItemHeight(ParentMenu.DefaultMenuItemHeight, 20);
    }
    const TPopupHeight ph = PopupWindowHeight(heights, frame, rowHeight, std::max(0, ParentMenu.MaxMenuItemsInWindow),
                                              work.bottom - work.top);
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
        TBitmap& background = ParentMenu.PopupBackground(*PW, *windowBitmap_, geometry_, newGeometry_, w, h, Scroll);
        ::BitBlt(target.Canvas().Handle(), 0, 0, w, h, background.Canvas().Handle(), 0, 0, SRCCOPY);
        return;
    }
    TCanvas& c = target.Canvas();
    const int column = ImageList() ? GlyphWidth + 2 : 21;
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
    if (Skinned()) {
        top = {NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + PopupMarkerHeight};
        bottom = {NewItemsRect.Left, NewItemsRect.Bottom - PopupMarkerHeight, NewItemsRect.Right, NewItemsRect.Bottom};
        normal = PW->ScrollMarkerColor;
        active = PW->ScrollMarkerActiveColor;
    } else {
        top = {3, 3, w - 3, 13};
        bottom = {3, h - 10, w - 3, h - 3};
        normal = clGrayText;
        active = clBtnText;
    }
    DrawArrowGlyph(c, top, ScrollCode == 1 ? active : normal, 3);
    DrawArrowGlyph(c, bottom, ScrollCode == 2 ? active : normal, 4);
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

TMenuScroll TmnSkinPopupWindow::ScrollState() const {
    TMenuScroll s;
    s.Scroll = Scroll;
    s.Start = VisibleStartIndex;
    s.VisibleFrom = [heights = ItemHeights(), rect = NewItemsRect, scroll = Scroll](int start) {
        return VisibleItemsFrom(heights, rect, start, scroll);
    };
    return s;
}

void TmnSkinPopupWindow::ScrollTo(int start) {
    const int last = LastPageStart(ItemHeights(), NewItemsRect, Scroll);
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
    if (ScrollCode == 1 && VisibleStartIndex > 0) ScrollTo(VisibleStartIndex - 1);
    else if (ScrollCode == 2 && VisibleStartIndex + VisibleCount < n) ScrollTo(VisibleStartIndex + 1);
    else {
        scrollTimer_.Stop();
        ScrollCode = 0;
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
        if (depth + 1 < static_cast<int>(ParentMenu.PopupList.size())) {
            TmnSkinPopupWindow& sub = *ParentMenu.PopupList[static_cast<size_t>(depth + 1)];
            for (auto& s : sub.Items) {
                if (s->Down) {
                    s->Down = false;
                    sub.StartMorph(*s);
                }
            }
        }
    } else {
        StartMorph(item);
        ParentMenu.ItemChosen(*this, item, byKeyboard, false);
    }
    // The window still lives: choosing without a click never closes this window.
    Hint = item.MenuItem->Hint();
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
        if (ScrollCode != 0) {
            ScrollCode = 0;
            scrollTimer_.Stop();
            Redraw();
        }
        return;
    }
    POINT c = pt;
    ::ScreenToClient(handle_, &c);
    if (Scroll) {
        const bool inTop = c.y >= NewItemsRect.Top && c.y < NewItemsRect.Top + PopupMarkerHeight;
        const bool inBottom = c.y >= NewItemsRect.Bottom - PopupMarkerHeight && c.y < NewItemsRect.Bottom;
        const bool canUp = VisibleStartIndex > 0;
        const bool canDown = VisibleStartIndex + VisibleCount < static_cast<int>(Items.size());
        const int code = (inTop && canUp) ? 1 : (inBottom && canDown) ? 2 : 0;
        if (code != ScrollCode) {
            ScrollCode = code;
            if (code != 0) {
                ParentMenu.CloseFrom(ParentMenu.IndexOf(this) + 1);
                scrollTimer_.Start(handle_, ScrollTimerId, ScrollInterval);
            } else {
                scrollTimer_.Stop();
            }
            Redraw();
        }
        if (code != 0) return;
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

LRESULT CALLBACK TmnSkinPopupWindow::StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        static_cast<TmnSkinPopupWindow*>(cs->lpCreateParams)->handle_ = window;
    }
    auto* self = reinterpret_cast<TmnSkinPopupWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, msg, wParam, lParam);
    return self->WndProc(msg, wParam, lParam);
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
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(handle_, &ps);
        PaintTo(dc);
        ::EndPaint(handle_, &ps);
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

// ---------------------------------------------------------------------------------------------
// TmnSkinMenu

TmnSkinMenu::TmnSkinMenu(TComponent* owner, TmnMenuOwner* menuOwner) : TComponent(owner), owner_(menuOwner) {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TmnSkinMenu::StaticMessageProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TmnSkinMenuMessages";
        return ::RegisterClassExW(&wc);
    }();
    messageWindow_ = ::CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(atom)), L"", 0, 0, 0, 0, 0,
                                       HWND_MESSAGE, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(messageWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TmnSkinMenu::~TmnSkinMenu() {
    OnMenuClose = nullptr;
    PopupCtrl = nullptr;
    CloseFrom(0);
    ClearPending();
    waitTimer_.Stop();
    auto& open = OpenMenus();
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
    if (open.empty()) { messageHook.Reset(); callHook.Reset(); }
    if (messageWindow_) {
        ::SetWindowLongPtrW(messageWindow_, GWLP_USERDATA, 0);
        ::DestroyWindow(messageWindow_);
    }
}

int TmnSkinMenu::IndexOf(const TmnSkinPopupWindow* window) const {
    for (size_t i = 0; i < PopupList.size(); ++i)
        if (PopupList[i].get() == window) return static_cast<int>(i);
    return static_cast<int>(PopupList.size());
}

TBitmap& TmnSkinMenu::PictureBitmap(const TBitmapData& picture) {
    for (CachedPicture& c : pictures_)
        if (c.Source == picture) return *c.Bitmap;
    if (pictures_.size() >= 8) pictures_.erase(pictures_.begin());
    strips_.clear();
    background_ = {};
    CachedPicture c{picture, std::make_unique<TBitmap>()};
    c.Bitmap->Assign(picture);
    pictures_.push_back(std::move(c));
    return *pictures_.back().Bitmap;
}

TRegionHandle TmnSkinMenu::PopupRegion(const TFrameGeometry& g, const TFrameGeometry& n, const TBitmapData& mask, int w, int h) {
    CachedRegion& c = region_;
    if (!c.Region || c.W != w || c.H != h || !(c.From == g) || !(c.To == n) || !(c.Mask == mask)) {
        c.Region = BuildFrameRegion(g, n, PictureBitmap(mask), w, h);
        c.Mask = mask;
        c.From = g;
        c.To = n;
        c.W = w;
        c.H = h;
    }
    if (!c.Region) return {};
    // Each window gets a copy: the one handed to SetWindowRgn belongs to the system.
    TRegionHandle copy(::CreateRectRgn(0, 0, 0, 0));
    ::CombineRgn(copy.Get(), c.Region.Get(), nullptr, RGN_COPY);
    return copy;
}

TBitmap& TmnSkinMenu::PopupBackground(const TmnDataSkinPopupWindow& pw, TBitmap& picture, const TFrameGeometry& g,
                                      const TFrameGeometry& n, int w, int h, bool scroll) {
    CachedBackground& c = background_;
    const bool stretch[4] = {pw.LeftStretch, pw.TopStretch, pw.RightStretch, pw.BottomStretch};
    if (!c.Image || c.Picture != &picture || !(c.From == g) || !(c.To == n) || c.W != w || c.H != h ||
        c.Scroll != scroll || !std::equal(stretch, stretch + 4, c.Stretch) || c.StretchEffect != pw.StretchEffect ||
        c.StretchType != pw.StretchType) {
        c.Image = std::make_unique<TBitmap>(w, h);
        BuildNinePartImage(g, n, *c.Image, picture, {0, 0, picture.Width(), picture.Height()}, w, h, scroll,
                           {stretch[0], stretch[1], stretch[2], stretch[3]}, pw.StretchEffect, pw.StretchType);
        c.Picture = &picture;
        c.From = g;
        c.To = n;
        c.W = w;
        c.H = h;
        c.Scroll = scroll;
        std::copy(stretch, stretch + 4, c.Stretch);
        c.StretchEffect = pw.StretchEffect;
        c.StretchType = pw.StretchType;
    }
    return *c.Image;
}

TBitmap& TmnSkinMenu::PaintBuffer(int w, int h) {
    if (!paintBuffer_ || paintBuffer_->Width() != w || paintBuffer_->Height() != h)
        paintBuffer_ = std::make_unique<TBitmap>(w, h);
    return *paintBuffer_;
}

TBitmap& TmnSkinMenu::ItemStrip(TBitmap& picture, const TSkinRect& r, int leftOffset, int rightOffset, int w,
                                bool stretch) {
    for (CachedStrip& s : strips_) {
        if (s.Picture == &picture && s.Rect == r && s.Left == leftOffset && s.Right == rightOffset && s.Width == w &&
            s.Stretch == stretch)
            return *s.Image;
    }
    // Bounded: a few states times a few widths are all a skin uses at once.
    if (strips_.size() >= 32) strips_.erase(strips_.begin());
    auto image = std::make_unique<TBitmap>();
    BuildHStripImage(leftOffset, rightOffset, *image, picture, r, w, stretch);
    strips_.push_back({&picture, r, leftOffset, rightOffset, w, stretch, std::move(image)});
    return *strips_.back().Image;
}

bool TmnSkinMenu::IsChainWindow(HWND window) const {
    for (const auto& w : PopupList)
        if (w->Handle() == window) return true;
    return false;
}

void TmnSkinMenu::OpenChain(HWND popupCtrl, TmnSkinData* skinData, const RECT& anchor) {
    PopupCtrl = popupCtrl;
    SkinData = skinData;
    effects_ = DesktopSettings ? DesktopSettings() : TmnMenuDesktopSettings{};
    if (WorkAreaOverride) {
        WorkArea = *WorkAreaOverride;
    } else {
        // The monitor the menu opens on, not the one of the form (a tray menu, a second screen).
        MONITORINFO info{};
        info.cbSize = sizeof info;
        HMONITOR monitor = ::MonitorFromRect(&anchor, MONITOR_DEFAULTTONEAREST);
        if (monitor && ::GetMonitorInfoW(monitor, &info)) WorkArea = info.rcWork;
        else GetPrimaryScreenRect(true, WorkArea);
    }
    Visible = true;
}

void TmnSkinMenu::OpenWindow(const RECT& anchor, const std::vector<TMenuItem*>& items, bool popupUp, bool subMenu,
                             bool merged, const String& title) {
    auto window = std::make_unique<TmnSkinPopupWindow>(*this);
    TmnSkinPopupWindow* raw = window.get();
    PopupList.push_back(std::move(window));
    raw->Show(anchor, items, popupUp, subMenu, merged, title);
}

void TmnSkinMenu::Popup(HWND popupCtrl, TmnSkinData* skinData, bool popupUp, TMenuItem* item, const RECT& anchor,
                        int startIndex) {
    First = !Visible;
    // The old chain closes (and tells its own opener) before the new opener is remembered.
    if (Visible) CloseAll();
    std::vector<TMenuItem*> items;
    if (item && startIndex >= 0) AppendShownItems(items, *item, startIndex);
    if (!items.empty()) {
        OpenChain(popupCtrl, skinData, anchor);
        OpenWindow(anchor, items, popupUp, false, false, item->Caption());
        // After the window is up: the messages of its creation need not pass through the hooks.
        InstallHooks();
    }
    First = false;
}

void TmnSkinMenu::PopupMerged(HWND popupCtrl, TmnSkinData* skinData, bool popupUp, TMenuItem* firstItem,
                              TMenuItem* secondItem, const RECT& anchor, int startIndex) {
    First = !Visible;
    if (Visible) CloseAll();
    std::vector<TMenuItem*> items;
    if (firstItem && firstItem->Count() > 0 && startIndex >= 0) {
        const int firstCount = firstItem->Count();
        AppendShownItems(items, *firstItem, startIndex);
        if (secondItem) AppendShownItems(items, *secondItem, startIndex - firstCount);
    }
    if (!items.empty()) {
        OpenChain(popupCtrl, skinData, anchor);
        OpenWindow(anchor, items, popupUp, false, true, firstItem->Caption());
        InstallHooks();
    }
    First = false;
}

void TmnSkinMenu::CloseFrom(int depth) {
    if (depth < 0) depth = 0;
    // Whatever the depth, a pending sub-menu wait ends: its item may be in a window going now.
    waitTimer_.Stop();
    WaitItem = nullptr;
    while (static_cast<int>(PopupList.size()) > depth) PopupList.pop_back();
    if (depth != 0 || !Visible) return;
    Visible = false;
    auto& open = OpenMenus();
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
    if (open.empty()) { messageHook.Reset(); callHook.Reset(); }
    LastCtrl = PopupCtrl;
    const HWND ctrl = std::exchange(PopupCtrl, nullptr);
    if (ctrl && ::IsWindow(ctrl)) ::SendMessageW(ctrl, MSG_SKIN_MENU_CLOSED, 0, 0);
    // One-shot: cleared before it runs, so a handler that opens a new menu keeps its own.
    TNotifyEvent onClose = std::move(OnMenuClose);
    OnMenuClose = nullptr;
    if (onClose) onClose(this);
}

void TmnSkinMenu::CloseAll() {
    CloseFrom(0);
    waitTimer_.Stop();
    WaitItem = nullptr;
    const HWND form = owner_ ? owner_->MenuOwnerWindow() : nullptr;
    if (form && ::IsWindow(form)) ::SendMessageW(form, MSG_SKIN_MENU_CLOSED, 0, 0);
    if (PopupCtrl && ::IsWindow(PopupCtrl)) ::SendMessageW(PopupCtrl, MSG_SKIN_MENU_CLOSED, 0, 0);
}

void TmnSkinMenu::ClearPending() {
    if (pending_.Item) Unwatch(pending_.Item);
    pending_ = {};
}

void TmnSkinMenu::Watch(TMenuItem* item) {
    if (watched_[item]++ == 0) item->FreeNotification(this);
}

void TmnSkinMenu::Unwatch(TMenuItem* item) {
    const auto it = watched_.find(item);
    if (it == watched_.end()) return;  // freed already: its links went with it
    if (--it->second > 0) return;
    watched_.erase(it);
    item->RemoveFreeNotification(this);
}

bool TmnSkinMenu::CloseStale() {
    for (size_t depth = 0; depth < PopupList.size(); ++depth) {
        if (!PopupList[depth]->Stale()) continue;
        if (depth == 0) {
            CloseAll();
            return true;
        }
        CloseFrom(static_cast<int>(depth));
        // The window above shows its opening item as no longer open.
        TmnSkinPopupWindow& last = *PopupList.back();
        for (auto& item : last.Items) {
            if (!item->Down) continue;
            item->Down = false;
            last.StartMorph(*item);
        }
        return true;
    }
    return false;
}

void TmnSkinMenu::PostClick(TmnSkinPopupWindow& window, TmnSkinMenuItem& item) {
    ClearPending();
    pending_ = {&window, item.MenuItem};
    Watch(item.MenuItem);
    ::PostMessageW(messageWindow_, WM_RUN_PENDING_CLICK, 0, 0);
}

void TmnSkinMenu::RunPendingClick() {
    const Pending p = pending_;
    ClearPending();
    CloseStale();
    if (!p.Item || !Visible) return;
    const int depth = IndexOf(p.Window);
    if (depth >= static_cast<int>(PopupList.size())) return;
    TmnSkinPopupWindow& window = *PopupList[static_cast<size_t>(depth)];
    for (auto& item : window.Items) {
        if (item->MenuItem == p.Item) {
            ItemChosen(window, *item, false, true);
            return;
        }
    }
}

void TmnSkinMenu::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation != Operation::Remove || watched_.erase(component) == 0) return;
    if (component == pending_.Item) pending_ = {};
    // Called from the item's destructor, perhaps inside a handler of a window of this chain:
    // the windows showing it stop using it now and are closed once that handler has returned.
    bool stale = false;
    for (auto& window : PopupList) {
        for (auto& item : window->Items) {
            if (item->MenuItem != component) continue;
            item->MenuItem = nullptr;
            window->MarkStale();
            stale = true;
        }
    }
    if (!stale) return;
    if (WaitItem && WaitItem->Parent.Stale()) {
        waitTimer_.Stop();
        WaitItem = nullptr;
    }
    ::PostMessageW(messageWindow_, WM_CLOSE_STALE, 0, 0);
}

void TmnSkinMenu::ItemChosen(TmnSkinPopupWindow& window, TmnSkinMenuItem& item, bool byKeyboard, bool click) {
    const int depth = IndexOf(&window);
    if (depth >= static_cast<int>(PopupList.size())) return;
    TMenuItem* menuItem = item.MenuItem;
    if (!item.HasSubItems()) {
        waitTimer_.Stop();
        WaitItem = nullptr;
        if (!click) {
            CloseFrom(depth + 1);
            return;
        }
        // The chain goes first; the window and item are gone after this, the platform item is not
        // (it belongs to the menu), but it is watched in case a close handler frees it.
        pending_ = {nullptr, menuItem};
        Watch(menuItem);
        CloseAll();
        TMenuItem* run = pending_.Item;
        ClearPending();
        if (!run) return;
        run->Click();
        const HWND last = std::exchange(LastCtrl, nullptr);
        if (last && ::IsWindow(last)) ::SendMessageW(last, MSG_SKIN_MENU_COMMAND, 0, 0);
        return;
    }
    if (!click) {
        CloseFrom(depth + 1);
        if (!byKeyboard) {
            WaitItem = &item;
            waitTimer_.Start(messageWindow_, WaitTimerId, WaitInterval);
        }
        return;
    }
    // A parent item's OnClick runs before its sub-menu opens; it may close the chain or free the
    // window (a dialog, a closed form), so everything is looked up again afterwards.
    pending_ = {&window, menuItem};
    Watch(menuItem);
    menuItem->Click();
    const Pending after = pending_;
    ClearPending();
    CloseStale();
    waitTimer_.Stop();
    WaitItem = nullptr;
    if (!after.Item || !Visible) return;
    const int nowDepth = IndexOf(after.Window);
    if (nowDepth >= static_cast<int>(PopupList.size())) return;
    TmnSkinPopupWindow& owner = *PopupList[static_cast<size_t>(nowDepth)];
    TmnSkinMenuItem* parent = nullptr;
    for (auto& candidate : owner.Items)
        if (candidate->MenuItem == after.Item) parent = candidate.get();
    if (!parent || !::IsWindow(owner.Handle())) return;
    std::vector<TMenuItem*> items;
    AppendShownItems(items, *after.Item, 0);
    CloseFrom(nowDepth + 1);
    if (items.empty()) return;
    parent->Down = true;
    owner.Redraw();
    RECT anchor{owner.ShowX + parent->ObjectRect.Left, owner.ShowY + parent->ObjectRect.Top,
                owner.ShowX + parent->ObjectRect.Right, owner.ShowY + parent->ObjectRect.Bottom};
    // As for the first window: made and shown with no hook installed, then hooked again.
    RemoveHooks();
    OpenWindow(anchor, items, false, true, false, after.Item->Caption());
    InstallHooks();
}

bool TmnSkinMenu::KeyDown(WORD key, wchar_t ch) {
    // A key that finds a stale window closes it and is used up by that.
    if (CloseStale()) return true;
    if (!Visible || PopupList.empty()) return false;
    const int count = static_cast<int>(PopupList.size());
    if (key == VK_ESCAPE || (key == VK_LEFT && count >= 2)) {
        // The last window closes; the one below shows its opening item as no longer open.
        CloseFrom(count - 1);
        if (!PopupList.empty()) {
            TmnSkinPopupWindow& last = *PopupList.back();
            if (last.ActiveItem >= 0 && last.ActiveItem < static_cast<int>(last.Items.size())) {
                TmnSkinMenuItem& item = *last.Items[static_cast<size_t>(last.ActiveItem)];
                item.Down = false;
                last.StartMorph(item);
            }
        }
        return true;
    }
    if (key == VK_MENU || key == VK_F10) {
        CloseAll();
        return true;
    }
    return PopupList.back()->KeyDown(key, ch);
}

bool TmnSkinMenu::HasAccelerator(wchar_t ch) const {
    return ch && Visible && !PopupList.empty() && !PopupList.back()->Stale() &&
           FindAccelItem(PopupList.back()->NavItems(), ch) >= 0;
}

void TmnSkinMenu::RemoveHooks() {
    messageHook.Reset();
    callHook.Reset();
}

void TmnSkinMenu::InstallHooks() {
    auto& open = OpenMenus();
    if (std::find(open.begin(), open.end(), this) == open.end()) open.push_back(this);
    const DWORD thread = ::GetCurrentThreadId();
    if (!messageHook) messageHook.Reset(::SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, thread));
    if (!callHook) callHook.Reset(::SetWindowsHookExW(WH_CALLWNDPROC, &CallWndHook, nullptr, thread));
}

LRESULT CALLBACK TmnSkinMenu::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && !OpenMenus().empty()) {
        MSG& msg = *reinterpret_cast<MSG*>(lParam);
        TmnSkinMenu* menu = OpenMenus().back();
        switch (msg.message) {
        case WM_KEYDOWN: case WM_SYSKEYDOWN:
            if (menu->owner_ && menu->owner_->RoutesMenuKeys()) break;
            if (menu->KeyDown(static_cast<WORD>(msg.wParam), KeyChar(msg))) msg.message = WM_NULL;
            break;
        case WM_CHAR: case WM_SYSCHAR: case WM_DEADCHAR: case WM_SYSDEADCHAR: case WM_MOUSEWHEEL:
            // While a menu is open no character and no wheel turn reaches the window below.
            msg.message = WM_NULL;
            break;
        default:
            if (IsButtonDown(msg.message) && !menu->IsChainWindow(msg.hwnd)) menu->CloseAll();
            break;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TmnSkinMenu::CallWndHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && !OpenMenus().empty()) {
        const CWPSTRUCT& cwp = *reinterpret_cast<CWPSTRUCT*>(lParam);
        const bool appLost = cwp.message == WM_ACTIVATEAPP && cwp.wParam == FALSE;
        const std::vector<TmnSkinMenu*> open = OpenMenus();
        for (TmnSkinMenu* menu : open) {
            // Closing one menu sends messages whose handlers may close or free another: only a
            // menu still open is touched.
            const auto& live = OpenMenus();
            if (std::find(live.begin(), live.end(), menu) == live.end()) continue;
            const HWND form = menu->owner_ ? menu->owner_->MenuOwnerWindow() : nullptr;
            if (appLost || (form && cwp.hwnd == form && IsMenuClosingMessage(cwp.message))) menu->CloseAll();
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TmnSkinMenu::StaticMessageProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TmnSkinMenu*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        if (msg == WM_TIMER && wParam == WaitTimerId) {
            self->waitTimer_.Stop();
            self->CloseStale();
            TmnSkinMenuItem* item = std::exchange(self->WaitItem, nullptr);
            if (item) self->ItemChosen(item->Parent, *item, false, true);
            return 0;
        }
        if (msg == WM_RUN_PENDING_CLICK) {
            self->RunPendingClick();
            return 0;
        }
        if (msg == WM_CLOSE_STALE) {
            self->CloseStale();
            return 0;
        }
    }
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace fn
