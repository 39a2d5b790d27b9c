#include "skin/menus/skin_menu_win.h"

#include <algorithm>

#include "platform/win/handles.h"
#include "platform/win/object_window.h"
#include "skin/data/skin_messages.h"
#include "skin/paint/images_win.h"
#include "skin/paint/regions_win.h"
#include "skin/paint/system_win.h"

namespace fn {

namespace {

constexpr UINT_PTR WaitTimerId = 1;
constexpr UINT WM_RUN_PENDING_CLICK = WM_APP + 1, WM_CLOSE_STALE = WM_APP + 2;
constexpr UINT WaitInterval = 500;

// The menus open in this thread; the two hooks act on them while any is open.
std::vector<TmnSkinMenu*>& OpenMenus() {
    static std::vector<TmnSkinMenu*> menus;
    return menus;
}
// Installed while any chain is open: every message the thread sends passes through them.
THookHandle messageHook, callHook;

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


TmnSkinMenu::TmnSkinMenu(TComponent* owner, TmnMenuOwner* menuOwner) : TComponent(owner), owner_(menuOwner) {}

// Made when a menu first needs it: every skinned window has a menu component, most never open one.
HWND TmnSkinMenu::MessageWindow() {
    if (messageWindow_) return messageWindow_;
    static const ATOM atom = RegisterObjectWindowClass(L"TmnSkinMenuMessages", &TmnSkinMenu::StaticMessageProc);
    messageWindow_ = ::CreateWindowExW(0, WindowClassOf(atom), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
    if (messageWindow_) ::SetWindowLongPtrW(messageWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return messageWindow_;
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

TRegionHandle TmnSkinMenu::PopupRegion(const TFrameGeometry& geometry, const TFrameGeometry& resized,
                                       const TBitmapData& mask, int w, int h) {
    CachedRegion& cache = region_;
    if (!cache.Region || cache.W != w || cache.H != h || !(cache.Geometry == geometry) || !(cache.Resized == resized) ||
        !(cache.Mask == mask)) {
        cache.Region = BuildFrameRegion(geometry, resized, PictureBitmap(mask), w, h);
        cache.Mask = mask;
        cache.Geometry = geometry;
        cache.Resized = resized;
        cache.W = w;
        cache.H = h;
    }
    if (!cache.Region) return {};
    // Each window gets a copy: the one handed to SetWindowRgn belongs to the system.
    TRegionHandle copy(::CreateRectRgn(0, 0, 0, 0));
    ::CombineRgn(copy.Get(), cache.Region.Get(), nullptr, RGN_COPY);
    return copy;
}

TBitmap& TmnSkinMenu::PopupBackground(const TmnDataSkinPopupWindow& pw, TBitmap& picture, const TFrameGeometry& geometry,
                                      const TFrameGeometry& resized, int w, int h, bool scroll) {
    CachedBackground& cache = background_;
    const bool stretch[4] = {pw.LeftStretch, pw.TopStretch, pw.RightStretch, pw.BottomStretch};
    if (!cache.Image || cache.Picture != &picture || !(cache.Geometry == geometry) || !(cache.Resized == resized) ||
        cache.W != w || cache.H != h || cache.Scroll != scroll || !std::equal(stretch, stretch + 4, cache.Stretch) ||
        cache.StretchEffect != pw.StretchEffect || cache.StretchType != pw.StretchType) {
        cache.Image = std::make_unique<TBitmap>(w, h);
        BuildNinePartImage(geometry, resized, *cache.Image, picture, {0, 0, picture.Width(), picture.Height()}, w, h,
                           scroll, {stretch[0], stretch[1], stretch[2], stretch[3]}, pw.StretchEffect, pw.StretchType);
        cache.Picture = &picture;
        cache.Geometry = geometry;
        cache.Resized = resized;
        cache.W = w;
        cache.H = h;
        cache.Scroll = scroll;
        std::copy(stretch, stretch + 4, cache.Stretch);
        cache.StretchEffect = pw.StretchEffect;
        cache.StretchType = pw.StretchType;
    }
    return *cache.Image;
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

void TmnSkinMenu::OpenFirstWindow(HWND popupCtrl, TmnSkinData* skinData, bool popupUp, const RECT& anchor, bool merged,
                                  TMenuItem* titleItem, const std::function<void(std::vector<TMenuItem*>&)>& collect) {
    First = !Visible;
    // The old chain closes (and tells its own opener) before the new opener is remembered.
    if (Visible) CloseAll();
    std::vector<TMenuItem*> items;
    collect(items);
    if (!items.empty()) {
        OpenChain(popupCtrl, skinData, anchor);
        OpenWindow(anchor, items, popupUp, false, merged, titleItem->Caption());
        // After the window is up: the messages of its creation need not pass through the hooks.
        InstallHooks();
    }
    First = false;
}

void TmnSkinMenu::Popup(HWND popupCtrl, TmnSkinData* skinData, bool popupUp, TMenuItem* item, const RECT& anchor,
                        int startIndex) {
    OpenFirstWindow(popupCtrl, skinData, popupUp, anchor, false, item, [&](std::vector<TMenuItem*>& items) {
        if (item && startIndex >= 0) AppendShownItems(items, *item, startIndex);
    });
}

void TmnSkinMenu::PopupMerged(HWND popupCtrl, TmnSkinData* skinData, bool popupUp, TMenuItem* firstItem,
                              TMenuItem* secondItem, const RECT& anchor, int startIndex) {
    OpenFirstWindow(popupCtrl, skinData, popupUp, anchor, true, firstItem, [&](std::vector<TMenuItem*>& items) {
        if (!firstItem || firstItem->Count() == 0 || startIndex < 0) return;
        const int firstCount = firstItem->Count();
        AppendShownItems(items, *firstItem, startIndex);
        if (secondItem) AppendShownItems(items, *secondItem, startIndex - firstCount);
    });
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
        PopupList.back()->ReleaseOpenedItems();
        return true;
    }
    return false;
}

void TmnSkinMenu::PostClick(TmnSkinPopupWindow& window, TmnSkinMenuItem& item) {
    ClearPending();
    pending_ = {&window, item.MenuItem};
    Watch(item.MenuItem);
    ::PostMessageW(MessageWindow(), WM_RUN_PENDING_CLICK, 0, 0);
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
    ::PostMessageW(MessageWindow(), WM_CLOSE_STALE, 0, 0);
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
            waitTimer_.Start(MessageWindow(), WaitTimerId, WaitInterval);
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
