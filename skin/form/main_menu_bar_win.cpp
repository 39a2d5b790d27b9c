// The menu bar as a component: its properties, skin, items and child buttons, timers, screen
// reader view and window messages. Layout and painting are in main_menu_bar_paint_win.cpp, the
// mouse and keyboard in main_menu_bar_input_win.cpp.
#include "skin/form/main_menu_bar_win.h"

#include <oleacc.h>

#include <algorithm>
#include <iterator>

#include "platform/win/forms.h"
#include "skin/menus/menu_navigation.h"
#include "skin/menus/skin_menu_win.h"
#include "skin/paint/effects.h"

namespace fn {

namespace {

// The object record of a section, of the class wanted, or null.
template <class Record>
const Record* FindObjectRecord(const TmnSkinData* skin, const String& name) {
    if (!skin || name.empty()) return nullptr;
    const int i = skin->GetObjectIndex(name);
    if (i < 0 || static_cast<size_t>(i) >= skin->SkinObjects().size()) return nullptr;
    return dynamic_cast<const Record*>(skin->SkinObjects()[static_cast<size_t>(i)].get());
}

TMainMenu* FirstMainMenu(const TComponent* form) {
    for (int i = 0; form && i < form->ComponentCount(); ++i)
        if (auto* m = dynamic_cast<TMainMenu*>(form->Components(i))) return m;
    return nullptr;
}

}  // namespace

// ---- TmnSkinMainMenuBar ----

TmnSkinMainMenuBar::TmnSkinMainMenuBar(TComponent* owner) : TmnSkinControl(owner) {
    skinDataName_ = L"mainmenubar";
    defItemFont_.SetName(L"Arial");
    defItemFont_.SetHeight(14);
    defItemFont_.SetColor(clBtnText);
    defItemFont_.OnChange = [this] { Invalidate(); };
    measure_.SetSize(1, 1);
    SetAlign(TAlign::alTop);
    bounds_ = {0, 0, 100, defaultHeight_};
}

TmnSkinMainMenuBar::~TmnSkinMainMenuBar() {
    hoverTimer_.Stop();
    morphTimer_.Stop();
    animateTimer_.Stop();
    Objects.clear();
}

void TmnSkinMainMenuBar::Register() {
    RegisterComponentClass(L"TmnSkinMainMenuBar", [](TComponent* owner) { return new TmnSkinMainMenuBar(owner); });
}

TmnSkinMainMenuBarItem* TmnSkinMainMenuBar::Item(int index) const {
    if (index < 0 || index >= ItemCount()) return nullptr;
    return Objects[static_cast<size_t>(ButtonCount + index)]->AsItem();
}

int TmnSkinMainMenuBar::IndexOf(const TmnMenuBarObject* object) const {
    for (size_t i = 0; i < Objects.size(); ++i)
        if (Objects[i].get() == object) return static_cast<int>(i);
    return -1;
}

void TmnSkinMainMenuBar::SetScrollMenu(bool scroll) { scrollMenu_ = scroll; LayoutAnew(); }
void TmnSkinMainMenuBar::SetUseSkinFont(bool use) { useSkinFont_ = use; LayoutAnew(); }

void TmnSkinMainMenuBar::LayoutAnew() {
    Layout();
    Invalidate();
}

void TmnSkinMainMenuBar::SetDefaultWidth(int width) {
    defaultWidth_ = width;
    if (!Skinned() && width > 0) SetBounds(bounds_.left, bounds_.top, width, Height());
}

void TmnSkinMainMenuBar::SetDefaultHeight(int height) {
    defaultHeight_ = height;
    if (!Skinned() && height > 0) SetBounds(bounds_.left, bounds_.top, Width(), height);
}

void TmnSkinMainMenuBar::SetMantle(TmnMenuBarOwner* mantle) {
    SetReference(mantle_, mantle);
}

void TmnSkinMainMenuBar::SetMainMenu(TMainMenu* menu) {
    if (mainMenu_ == menu) return;
    SetReference(mainMenu_, menu);
    Rebuild();
    Invalidate();
}

bool TmnSkinMainMenuBar::PopupOpen() const {
    TmnSkinMenu* menu = Menu();
    return menu && menu->Visible;
}

RECT TmnSkinMainMenuBar::ScreenRect(const TSkinRect& r) {
    RECT s = MenuBarRect(r);
    if (handle_) ::MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&s), 2);
    return s;
}

void TmnSkinMainMenuBar::SelectItemFont(TCanvas& canvas, const TmnSkinMainMenuBarItem& item) {
    TFont& f = canvas.Font();
    if (item.SkinSupport && useSkinFont_) {
        f.SetName(item.TextFont.Name);
        f.SetHeight(item.TextFont.Height);
        f.SetStyle(item.TextFont.Style);
    } else {
        f.SetName(defItemFont_.Name());
        f.SetHeight(defItemFont_.Height());
        f.SetStyle(defItemFont_.Style());
    }
    f.SetCharSet(SkinLibraryCharSet(skinData_, static_cast<uint8_t>(defItemFont_.CharSet())));
}

void TmnSkinMainMenuBar::PostClick(TMenuItem* item) {
    if (!item) return;
    SetReference(pendingClick_, item);
    if (handle_) ::PostMessageW(handle_, MsgClick, 0, 0);
}

void TmnSkinMainMenuBar::StartTimer(int which) {
    if (!handle_) return;
    switch (which) {
        case HoverTimer: hoverTimer_.Start(handle_, HoverTimer, 50); break;
        case MorphTimer:
            if (!morphTimer_.Active()) morphTimer_.Start(handle_, MorphTimer, 25);
            break;
        case AnimateTimer: {
            // The interval of the item that animates last.
            UINT ms = 25;
            for (int i = 0; i < ItemCount(); ++i)
                if (Item(i)->AnimationEnabled()) ms = static_cast<UINT>(std::clamp(Item(i)->AnimateInterval, 10, 1000));
            if (!animateTimer_.Active() || animateTimer_.Interval() != ms) animateTimer_.Start(handle_, AnimateTimer, ms);
            break;
        }
        default: break;
    }
}

void TmnSkinMainMenuBar::StopTimer(int which) {
    switch (which) {
        case HoverTimer: hoverTimer_.Stop(); break;
        case MorphTimer: morphTimer_.Stop(); break;
        case AnimateTimer: animateTimer_.Stop(); break;
        default: break;
    }
}

// ---- skin ----

void TmnSkinMainMenuBar::GetSkinData() {
    TmnSkinControl::GetSkinData();
    record_ = dynamic_cast<const TmnDataSkinMainMenuBar*>(Record());
    itemRecord_ = record_ ? FindObjectRecord<TmnDataSkinMainMenuItem>(Skin(), record_->MenuBarItem) : nullptr;
}

int TmnSkinMainMenuBar::RequiredHeight() const {
    if (Skinned() && record_->SkinRect.Height() > 0) return record_->SkinRect.Height();
    return defaultHeight_ > 0 ? defaultHeight_ : Height();
}

void TmnSkinMainMenuBar::ChangeSkinData() {
    pictures_.Clear();
    GetSkinData();
    if (Skin()) pictures_.Share(Skin()->DecodedSkin());
    Rebuild();
    int w = Width();
    if (!Skinned() && defaultWidth_ > 0) w = defaultWidth_;
    SetBounds(bounds_.left, bounds_.top, w, RequiredHeight());
    if (Parent()) Parent()->AlignControls();
    Layout();
    Invalidate();
}

void TmnSkinMainMenuBar::BeforeChangeSkinData() {
    // Nothing of the old skin survives: its records and pictures are about to be freed.
    TmnSkinControl::BeforeChangeSkinData();
    FreeObjects();
    record_ = nullptr;
    itemRecord_ = nullptr;
    pictures_.Clear();
}

void TmnSkinMainMenuBar::ParentBackgroundChanged() {
    if (Skinned() && Skin() && Skin()->MainMenuBarTransparent) Invalidate();
}

// ---- items ----

void TmnSkinMainMenuBar::FreeObjects() {
    if (state_.Pressed() >= 0 && handle_ && ::GetCapture() == handle_) ::ReleaseCapture();
    for (int i = 0; i < ItemCount(); ++i)
        if (TMenuItem* item = Item(i)->MenuItem) RemoveFreeNotification(item);  // each object's own link
    Objects.clear();
    ButtonCount = 0;
    state_.Reset();
    built_.reset();
}

TmnSkinMainMenuBar::TLook TmnSkinMainMenuBar::Look() const {
    TLook look;
    if (!mainMenu_) return look;
    TForm* child = mantle_ ? mantle_->MaximizedChild() : nullptr;
    TMainMenu* childMenu = FirstMainMenu(child);
    if (childMenu && childMenu != mainMenu_) {
        look.Child = child;
        look.ChildMenu = childMenu;
    }
    look.Buttons = ChildButtonsShown;
    if (ChildButtonsShown && child) look.Icons = mantle_->ChildBorderIcons(child);

    std::vector<TMenuItem*> shown;
    TMenuItem* root = mainMenu_->Items();
    if (look.ChildMenu) {
        TMenuItem* childRoot = look.ChildMenu->Items();
        std::vector<int> barGroups, childGroups;
        for (int i = 0; i < root->Count(); ++i) barGroups.push_back(root->Items(i)->GroupIndex());
        for (int i = 0; i < childRoot->Count(); ++i) childGroups.push_back(childRoot->Items(i)->GroupIndex());
        for (const TMenuBarMergeEntry& e : MergeMenuBarItems(barGroups, childGroups))
            shown.push_back((e.FromChild ? childRoot : root)->Items(e.Index));
    } else {
        for (int i = 0; i < root->Count(); ++i) shown.push_back(root->Items(i));
    }
    for (TMenuItem* mi : shown)
        if (mi->Visible()) look.Items.push_back({mi, mi->Caption(), mi->Enabled()});
    return look;
}

void TmnSkinMainMenuBar::Rebuild() {
    FreeObjects();
    rebuildPending_ = false;
    SetReference(childForm_, nullptr);
    SetReference(childMenu_, nullptr);
    Merged = false;
    if (!mainMenu_) return;

    TLook look = Look();
    if (look.ChildMenu) {
        SetReference(childForm_, look.Child);
        SetReference(childMenu_, look.ChildMenu);
        Merged = true;
        scrollMenu_ = false;
    }
    for (const TLook::Item& shown : look.Items) {
        FreeNotification(shown.MenuItem);
        Objects.push_back(std::make_unique<TmnSkinMainMenuBarItem>(*this, itemRecord_, shown.MenuItem));
    }
    if (ChildButtonsShown) {
        CreateChildButtons();
        RefreshButtonStates();
    }
    built_ = std::move(look);
    Layout();
}

void TmnSkinMainMenuBar::RebuildItems() {
    bool open = MenuMode();
    for (int i = 0; i < ItemCount(); ++i) open = open || Item(i)->Down;
    if (open) {
        // The open popup shows the items' sub-menus: the bar keeps them until the mode ends.
        rebuildPending_ = true;
        return;
    }
    // Every activation of a window asks; most change nothing the bar shows, and the objects
    // (with their hover states) stay.
    if (!rebuildPending_ && built_ && *built_ == Look()) return;
    Rebuild();
    Invalidate();
    lastPointer_ = kNoPointer;  // the new items are tracked where the pointer is
    StartTimer(HoverTimer);
}

void TmnSkinMainMenuBar::CreateChildButtons() {
    struct ButtonKind {
        String TmnDataSkinMainMenuBar::*Section;
        int Command;
        const wchar_t* Name;
    };
    static const ButtonKind kinds[] = {
        {&TmnDataSkinMainMenuBar::SysMenuButton, TmnSkinMainMenuBarButton::cmdSysMenu, L"SysMenuButton"},
        {&TmnDataSkinMainMenuBar::CloseButton, TmnSkinMainMenuBarButton::cmdClose, L"CloseButton"},
        {&TmnDataSkinMainMenuBar::MaxButton, TmnSkinMainMenuBarButton::cmdRestore, L"MaxButton"},
        {&TmnDataSkinMainMenuBar::MinButton, TmnSkinMainMenuBarButton::cmdMinimize, L"MinButton"},
    };
    std::vector<std::unique_ptr<TmnMenuBarObject>> buttons;
    for (const ButtonKind& s : kinds) {
        const TmnDataSkinStdButton* r = record_ ? FindObjectRecord<TmnDataSkinStdButton>(Skin(), record_->*s.Section) : nullptr;
        buttons.push_back(std::make_unique<TmnSkinMainMenuBarButton>(*this, r, s.Command, s.Name));
    }
    Objects.erase(Objects.begin(), Objects.begin() + ButtonCount);
    Objects.insert(Objects.begin(), std::make_move_iterator(buttons.begin()), std::make_move_iterator(buttons.end()));
    ButtonCount = static_cast<int>(buttons.size());
}

void TmnSkinMainMenuBar::RefreshButtonStates() {
    TForm* child = mantle_ ? mantle_->MaximizedChild() : nullptr;
    if (!child) return;
    const TmnBorderIcons icons = mantle_->ChildBorderIcons(child);
    for (int i = 0; i < ButtonCount; ++i) {
        auto& b = static_cast<TmnSkinMainMenuBarButton&>(*Objects[static_cast<size_t>(i)]);
        b.Enabled = !(b.Command == TmnSkinMainMenuBarButton::cmdMinimize && !(icons & BorderIconBit(biMinimize))) &&
                    !(b.Command == TmnSkinMainMenuBarButton::cmdSysMenu && !(icons & BorderIconBit(biSystemMenu)));
    }
}

void TmnSkinMainMenuBar::ShowChildButtons() {
    if (ChildButtonsShown) return;
    ChildButtonsShown = true;
    state_.Reset();
    CreateChildButtons();
    RefreshButtonStates();
    Layout();
    Invalidate();
}

void TmnSkinMainMenuBar::UpdateChildButtons() {
    TForm* child = mantle_ ? mantle_->MaximizedChild() : nullptr;
    if (!child && ChildButtonsShown) {
        if (state_.Pressed() >= 0 && state_.Pressed() < ButtonCount && handle_ && ::GetCapture() == handle_) ::ReleaseCapture();
        Objects.erase(Objects.begin(), Objects.begin() + ButtonCount);
        ButtonCount = 0;
        ChildButtonsShown = false;
        state_.Reset();
        Layout();
        Invalidate();
    } else if (child) {
        RefreshButtonStates();
        Invalidate();
    }
}

// ---- screen readers ----

TAccessibleInfo TmnSkinMainMenuBar::AccessibleInfo() {
    TAccessibleInfo info;
    info.Role = ROLE_SYSTEM_MENUBAR;
    return info;
}

TAccessibleInfo TmnSkinMainMenuBar::AccessibleChild(int index) {
    TAccessibleInfo info;
    const TmnSkinMainMenuBarItem* item = Item(index);
    if (!item || !item->MenuItem) return info;
    info.Role = ROLE_SYSTEM_MENUITEM;
    info.Name = StripAccel(item->MenuItem->Caption());
    if (!item->MenuItem->Enabled()) info.State |= STATE_SYSTEM_UNAVAILABLE;
    if (item->HasSubItems()) info.State |= STATE_SYSTEM_HASPOPUP;
    if (item->Active || item->Down) info.State |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED;
    if (item->Down) info.State |= STATE_SYSTEM_PRESSED;
    if (!item->Fits) info.State |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
    else info.Bounds = ScreenRect(item->ObjectRect);
    return info;
}

// ---- component ----

void TmnSkinMainMenuBar::ChangeScale(int dpi, int fromDpi) {
    TmnSkinControl::ChangeScale(dpi, fromDpi);
    defItemFont_.SetHeight(ScaledForDpi(defItemFont_.Height(), dpi, fromDpi));
    SetDefaultWidth(ScaledForDpi(defaultWidth_, dpi, fromDpi));
    SetDefaultHeight(ScaledForDpi(defaultHeight_, dpi, fromDpi));
}

bool TmnSkinMainMenuBar::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (name == L"ScrollMenu") scrollMenu_ = value.AsBool();
    else if (name == L"UseSkinFont") useSkinFont_ = value.AsBool();
    else if (name == L"DefaultWidth") SetDefaultWidth(reader.Scaled(value));
    else if (name == L"DefaultHeight") SetDefaultHeight(reader.Scaled(value));
    else if (name == L"PopupToUp") popupToUp_ = value.AsBool();
    else if (name == L"OnMouseEnter") OnMouseEnter = reader.Method<TNotifyEvent>(value);
    else if (name == L"OnMouseLeave") OnMouseLeave = reader.Method<TNotifyEvent>(value);
    else if (name.rfind(L"DefItemFont.", 0) == 0) {
        if (!ReadFontProperty(defItemFont_, name.substr(12), value, reader)) return false;
    } else if (name == L"Mantle") {
        reader.FixupReference<TmnMenuBarOwner>(name, value, L"ist keine Skin-Formularkomponente",
                                               [this](TmnMenuBarOwner* owner) { SetMantle(owner); });
    } else if (name == L"MainMenu") {
        reader.FixupReference<TMainMenu>(name, value, L"ist kein Hauptmenü",
                                         [this](TMainMenu* menu) { SetMainMenu(menu); });
    } else return TmnSkinControl::ReadProperty(name, value, reader);
    return true;
}

void TmnSkinMainMenuBar::Notification(TComponent* component, Operation operation) {
    TmnSkinControl::Notification(component, operation);
    if (operation != Operation::Remove) return;
    ReleaseReference(pendingClick_, component);
    ReleaseReference(mantle_, component);
    bool rebuild = ReleaseReference(mainMenu_, component);
    if (ReleaseReference(childMenu_, component) | ReleaseReference(childForm_, component)) {
        // The other half of the merge is let go too.
        SetReference(childMenu_, nullptr);
        SetReference(childForm_, nullptr);
        Merged = false;
        rebuild = true;
    }
    // An item that goes takes its object out of reach at once; the list is rebuilt later.
    for (int i = 0; i < ItemCount(); ++i)
        if (Item(i)->MenuItem == component) {
            Item(i)->MenuItem = nullptr;
            Item(i)->Enabled = Item(i)->Visible = false;
            rebuild = true;
        }
    if (rebuild && !IsDestroying()) {
        if (mainMenu_ == nullptr && !MenuMode()) FreeObjects();
        rebuildPending_ = true;
        if (handle_) ::PostMessageW(handle_, MsgRebuild, 0, 0);
        Invalidate();
    }
}

void TmnSkinMainMenuBar::HandleCreated() {
    TmnSkinControl::HandleCreated();
    if (!IsDesigning() && Skin()) ChangeSkinData();
    else Layout();
}

void TmnSkinMainMenuBar::MorphTick() {
    bool stepped = false;
    for (size_t i = 0; i < Objects.size(); ++i) {
        TmnMenuBarObject& o = *Objects[i];
        if (!o.MorphEnabled() || !o.MorphPending()) continue;
        o.MorphFactor = NextMorphFactor(o.MorphFactor, o.Active);
        RedrawObject(o);
        stepped = true;
    }
    if (!stepped) StopTimer(MorphTimer);
}

void TmnSkinMainMenuBar::AnimateTick() {
    bool changed = false;
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        if (!item.AnimationEnabled()) continue;
        if (!StepFrame(item.CurrentFrame, item.FrameCount, item.Active)) continue;
        RedrawObject(item);
        changed = true;
    }
    if (!changed) StopTimer(AnimateTimer);
}

LRESULT TmnSkinMainMenuBar::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (msg) {
        case WM_WINDOWPOSCHANGING: {
            // However the bar is sized (the program, alignment), a skinned bar keeps its picture's height.
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!(pos->flags & SWP_NOSIZE) && Skinned() && record_->SkinRect.Height() > 0) {
                pos->cy = record_->SkinRect.Height();
                // A request that ends at the current size changes nothing and is not reported
                // back: the bounds take the kept height here.
                bounds_.bottom = bounds_.top + pos->cy;
            }
            break;
        }
        case WM_WINDOWPOSCHANGED: {
            LRESULT r = TmnSkinControl::WndProc(msg, wParam, lParam);
            RECT wr;
            if (handle_ && ::GetWindowRect(handle_, &wr)) {
                if (HWND parent = ::GetParent(handle_)) ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&wr), 2);
                bounds_ = wr;
            }
            return r;
        }
        case WM_SIZE: {
            LRESULT r = TmnSkinControl::WndProc(msg, wParam, lParam);
            Layout();
            Invalidate();
            return r;
        }
        case WM_MOVE:
            if (Align() == TAlign::alNone) ParentBackgroundChanged();
            break;
        case WM_MOUSEMOVE: {
            LRESULT r = TmnSkinControl::WndProc(msg, wParam, lParam);
            // The platform also reports a pointer that did not move (a window moved under it).
            POINT screen{x, y};
            ::ClientToScreen(handle_, &screen);
            if (PointerMoved(screen)) Track(x, y);
            StartTimer(HoverTimer);
            return r;
        }
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
            const bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
            const int button = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK ? 0
                               : msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK ? 1 : 2;
            ButtonDown(x, y, button, dbl);
            return 0;
        }
        case WM_LBUTTONUP: ButtonUp(x, y, 0); return 0;
        case WM_RBUTTONUP: ButtonUp(x, y, 1); return 0;
        case WM_MBUTTONUP: ButtonUp(x, y, 2); return 0;
        case WM_CAPTURECHANGED:
            // Another window took the mouse during a press: the button lets go without acting.
            if (reinterpret_cast<HWND>(lParam) != handle_ && state_.Pressed() >= 0 && state_.Pressed() < ButtonCount) {
                TmnMenuBarObject& b = *Objects[static_cast<size_t>(state_.Pressed())];
                if (static_cast<TmnSkinMainMenuBarButton&>(b).Command != TmnSkinMainMenuBarButton::cmdSysMenu) {
                    b.Down = false;
                    RedrawObject(b);
                    state_.PressLost();
                }
            }
            break;
        case WM_TIMER:
            switch (wParam) {
                case HoverTimer: HoverTick(); return 0;
                case MorphTimer: MorphTick(); return 0;
                case AnimateTimer: AnimateTick(); return 0;
                default: break;
            }
            break;
        case MsgClick:
            if (TMenuItem* item = pendingClick_) {
                SetReference(pendingClick_, nullptr);
                item->Click();
            }
            return 0;
        case MsgRebuild:
            if (rebuildPending_) RebuildItems();
            return 0;
        case MsgClosed:
            state_.ClosingPressHandled();
            return 0;
        case MSG_SKIN_MENU_CLOSED:
            // Remember the item whose popup closed until the messages already taken are handled:
            // when a press on that same item closed it, that press must not open it again.
            for (int i = 0; i < ItemCount(); ++i)
                if (Item(i)->Down && Item(i)->HasSubItems()) {
                    state_.PopupClosed(ButtonCount + i);
                    if (handle_) ::PostMessageW(handle_, MsgClosed, 0, 0);
                }
            for (int i = 0; i < ButtonCount; ++i)
                static_cast<TmnSkinMainMenuBarButton&>(*Objects[static_cast<size_t>(i)]).MenuClosed(i == HotIndex());
            return 0;
        case WM_DESTROY:
            hoverTimer_.Stop();
            morphTimer_.Stop();
            animateTimer_.Stop();
            break;
        default: break;
    }
    return TmnSkinControl::WndProc(msg, wParam, lParam);
}

}  // namespace fn
