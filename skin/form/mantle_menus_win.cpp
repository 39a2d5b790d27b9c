// TmnMantle's menus: the system menu, popups opened by caption buttons, the shortcut routine and
// the two menu modes with the application-message hook that routes keys to the open menus.
#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "skin/data/resource_strings.h"
#include "skin/data/skin_data.h"
#include "skin/form/mantle_win.h"
#include "skin/menus/skin_menu_win.h"
#include "skin/menus/skin_popup_menu_win.h"

namespace fn {

namespace {

String Caption(const TmnSkinData* skin, std::wstring_view key) { return SkinLibraryText(skin, key); }

TMenuKey MenuKeyOf(WORD key) {
    switch (key) {
        case VK_LEFT: return TMenuKey::Left;
        case VK_RIGHT: return TMenuKey::Right;
        case VK_UP: return TMenuKey::Up;
        case VK_DOWN: return TMenuKey::Down;
        case VK_RETURN: return TMenuKey::Enter;
        case VK_ESCAPE: return TMenuKey::Escape;
        default: return TMenuKey::Other;
    }
}

TMenuChainFacts ChainFacts(const TmnSkinMenu& chain, wchar_t ch) {
    TMenuChainFacts facts;
    if (!chain.Visible || chain.PopupList.empty()) return facts;
    facts.Levels = static_cast<int>(chain.PopupList.size());
    const TmnSkinPopupWindow& last = *chain.PopupList.back();
    const int a = last.ActiveItem;
    facts.OnSubmenu = a >= 0 && a < static_cast<int>(last.Items.size()) && last.Items[static_cast<size_t>(a)]->HasSubItems();
    facts.HasAccel = chain.HasAccelerator(ch);
    return facts;
}

// The window-list item of a document window is named after it with this suffix.
constexpr std::wstring_view ChildItemSuffix = L"_MTLCHILDITEM";

bool IsChildItem(const TMenuItem& item) { return item.Name().find(ChildItemSuffix) != String::npos; }

TMenuItem* FindItem(TMenuItem* parent, const String& name) {
    for (int i = 0; parent && i < parent->Count(); ++i)
        if (parent->Items(i)->Name() == name) return parent->Items(i);
    return nullptr;
}

}  // namespace

// ---- the frame's window list ----

void TmnMantle::AddWindowListItem() {
    TForm* frame = FrameForm();
    TMenuItem* list = frame ? frame->WindowMenu() : nullptr;
    if (!list || form_.Name().empty()) return;
    const String name = form_.Name() + String(ChildItemSuffix);
    if (TMenuItem* item = FindItem(list, name)) {
        item->SetCaption(form_.Caption());
        return;
    }
    auto* item = new TMenuItem(frame);
    item->SetName(name);
    item->SetCaption(form_.Caption());
    // The item finds its window by name when clicked: the window may be gone by then.
    item->OnClick = [frame, childName = form_.Name()](TComponent*) {
        for (int i = 0; i < frame->MDIChildCount(); ++i) {
            TForm* f = frame->MDIChildren(i);
            if (f->Name() != childName) continue;
            if (TmnMantle* m = Of(f); m && m->SkinWindowState() == swsMinimized) m->RunWindowAction(TmnWindowAction::Restore);
            f->Show();
            return;
        }
    };
    list->Add(item);
    item->SetChecked(frame->ActiveMDIChild() == &form_);
}

void TmnMantle::RemoveWindowListItem() {
    TForm* frame = FrameForm();
    TMenuItem* list = frame ? frame->WindowMenu() : nullptr;
    if (!list) return;
    // An open menu may show the items about to go: it closes first.
    if (TmnMantle* m = FrameMantle(); m && m->skinMenu_->Visible) m->CloseMenus();
    if (skinMenu_->Visible) CloseMenus();
    delete FindItem(list, form_.Name() + String(ChildItemSuffix));
    // With no other document window left, no stale item stays behind either.
    int others = 0;
    for (int i = 0; i < frame->MDIChildCount(); ++i) others += frame->MDIChildren(i) != &form_;
    if (others == 0) {
        for (int i = 0; i < list->Count(); ++i) {
            if (IsChildItem(*list->Items(i))) {
                delete list->Items(i);
                break;
            }
        }
    }
}

void TmnMantle::UpdateWindowListCaption() {
    TForm* frame = FrameForm();
    if (TMenuItem* item = frame ? FindItem(frame->WindowMenu(), form_.Name() + String(ChildItemSuffix)) : nullptr)
        item->SetCaption(form_.Caption());
}

void TmnMantle::CheckWindowListItems(bool active) {
    TForm* frame = FrameForm();
    TMenuItem* list = frame ? frame->WindowMenu() : nullptr;
    if (!list) return;
    // Activated, this window is the frame's active one; deactivated, the frame says which is.
    const TForm* current = active ? &form_ : frame->ActiveMDIChild();
    if (!active && current == &form_) current = nullptr;
    const String checked = current ? current->Name() + String(ChildItemSuffix) : String();
    for (int i = 0; i < list->Count(); ++i) {
        TMenuItem* item = list->Items(i);
        if (IsChildItem(*item)) item->SetChecked(item->Name() == checked);
    }
}

// ---- the tray menu ----

void TmnMantle::BuildTrayMenu() {
    // Built before a skin is attached: the captions are the built-in ones.
    trayPopupMenu_ = new TmnSkinPopupMenu(this);
    trayPopupMenu_->SetMenuOwner(this);
    AddActionItem(*trayPopupMenu_, L"TRAY_MTL_RESTORE", Caption(nullptr, L"MI_RESTORECAPTION"),
                  TmnWindowAction::RestoreFromTray);
    AddLine(*trayPopupMenu_);
    AddCloseItem(*trayPopupMenu_, L"TRAY_MTL_CLOSE", Caption(nullptr, L"MI_CLOSECAPTION"));
}

TMenuItem* TmnMantle::AddActionItem(TMenu& menu, const wchar_t* name, const String& caption, TmnWindowAction action) {
    auto* item = new TMenuItem(&menu);
    item->SetName(name);
    item->SetCaption(caption);
    item->OnClick = [this, action](TComponent*) { PostWindowAction(action); };
    menu.Items()->Add(item);
    return item;
}

void TmnMantle::AddCloseItem(TMenu& menu, const wchar_t* name, const String& caption) {
    AddActionItem(menu, name, caption, TmnWindowAction::Close)
        ->SetShortCut(IsMDIChild() ? ShortCut(VK_F4, ssCtrl) : ShortCut(VK_F4, ssAlt));
}

void TmnMantle::AddLine(TMenu& menu) {
    auto* line = new TMenuItem(&menu);
    line->SetCaption(L"-");
    menu.Items()->Add(line);
}

HWND TmnMantle::MenuOwnerWindow() const {
    return form_.HandleAllocated() ? const_cast<TForm&>(form_).Handle() : nullptr;
}

// ---- the system menu ----

void TmnMantle::RebuildDefaultSysMenu() {
    struct Entry {
        const wchar_t* name;
        std::wstring_view captionKey;
        TmnWindowAction action;
    };
    static const Entry entries[] = {
        {L"MTL_MINITEM", L"MI_MINCAPTION", TmnWindowAction::Minimize},
        {L"MTL_MAXITEM", L"MI_MAXCAPTION", TmnWindowAction::Maximize},
        {L"MTL_RESTORE", L"MI_RESTORECAPTION", TmnWindowAction::Restore},
        {L"MTL_ROLLUP", L"MI_ROLLUPCAPTION", TmnWindowAction::RollUp},
        {L"MTL_MINTOTRAY", L"MI_MINTOTRAYCAPTION", TmnWindowAction::MinimizeToTray},
    };
    TMenuItem* root = defaultSysMenu_->Items();
    while (root->Count() > 0) delete root->Items(root->Count() - 1);
    const std::vector<std::wstring_view> wanted = StandardSystemMenuItems(state_.State, state_.RolledUp, IsMDIChild(), borderIcons_);
    for (std::wstring_view name : wanted) {
        for (const Entry& e : entries)
            if (name == e.name) AddActionItem(*defaultSysMenu_, e.name, Caption(skinData_, e.captionKey), e.action);
    }
    if (root->Count() > 0) AddLine(*defaultSysMenu_);
}

TMenuItem* TmnMantle::SystemMenuItem() {
    if (systemMenu_ && !UseDefaultSysMenu) return systemMenu_->Items();
    RebuildDefaultSysMenu();
    if (!systemMenu_) return defaultSysMenu_->Items();
    // A user menu: the standard items go first, close last.
    TMenuItem* root = systemMenu_->Items();
    for (int i = root->Count() - 1; i >= 0; --i) {
        const String& n = root->Items(i)->Name();
        if (n == L"MTL_MINITEM" || n == L"MTL_MAXITEM" || n == L"MTL_CLOSE" || n == L"MTL_MINTOTRAY" ||
            n == L"MTL_ROLLUP" || n == L"MTL_RESTORE")
            delete root->Items(i);
    }
    // Merged in the order minimise, restore, maximise, roll-up, tray (the standard menu's own
    // order puts maximise before restore).
    TMenuItem* standard = defaultSysMenu_->Items();
    int at = 0;
    for (const wchar_t* name : {L"MTL_MINITEM", L"MTL_RESTORE", L"MTL_MAXITEM", L"MTL_ROLLUP", L"MTL_MINTOTRAY"}) {
        for (int i = 0; i < standard->Count(); ++i) {
            TMenuItem* item = standard->Items(i);
            if (item->Name() != name) continue;
            standard->Remove(item);
            root->Insert(at++, item);
            break;
        }
    }
    AddCloseItem(*systemMenu_, L"MTL_CLOSE", Caption(skinData_, L"MI_CLOSECAPTION"));
    return root;
}

void TmnMantle::ShowSystemMenu(const RECT& anchor, HWND opener) {
    // An MDI child shows it through its frame's chain.
    TmnMantle* shower = IsMDIChild() && FrameMantle() ? FrameMantle() : this;
    TMenuItem* root = SystemMenuItem();
    bool any = false;
    for (int i = 0; root && i < root->Count() && !any; ++i) any = root->Items(i)->Visible() && !root->Items(i)->IsLine();
    // An empty system menu opens nothing and begins no menu mode.
    if (!any || !shower->form_.HandleAllocated()) return;
    shower->StartMenuRouting();
    shower->skinMenu_->Popup(opener ? opener : shower->form_.Handle(), shower->MenusSkinData(), false, root, anchor, 0);
    if (!shower->skinMenu_->Visible) shower->MenuClosed();
}

bool TmnMantle::ShowContextMenu(HWND clicked, LPARAM lParam) {
    TPopupMenu* menu = form_.PopupMenu();
    if (!menu || dynamic_cast<TmnSkinPopupMenu*>(menu) || !form_.HandleAllocated()) return false;
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (pt.x == -1 && pt.y == -1) {
        // From the keyboard (Shift+F10, the menu key): at the control, not at the mouse.
        pt = {4, 4};
        ::ClientToScreen(clicked && ::IsWindow(clicked) ? clicked : form_.Handle(), &pt);
    }
    if (menu->OnPopup) menu->OnPopup(menu);
    TMenuItem* root = menu->Items();
    TmnMantle* shower = IsMDIChild() && FrameMantle() ? FrameMantle() : this;
    if (!root || root->Count() == 0 || !shower->form_.HandleAllocated()) return true;
    shower->StartMenuRouting();
    shower->skinMenu_->Popup(form_.Handle(), shower->MenusSkinData(), false, root, {pt.x, pt.y, pt.x, pt.y}, 0);
    if (!shower->skinMenu_->Visible) shower->MenuClosed();
    return true;
}

TmnBorderIcons TmnMantle::ChildBorderIcons(TForm* child) const {
    const TmnMantle* m = Of(child);
    return m ? m->borderIcons_ : 0;
}

void TmnMantle::ShowChildSystemMenu(TForm* child, const RECT& anchor, HWND opener) {
    if (TmnMantle* m = Of(child)) m->ShowSystemMenu(anchor, opener);
}

void TmnMantle::ShowChildSystemMenu(TForm* child, POINT screen) {
    ShowChildSystemMenu(child, RECT{screen.x, screen.y, screen.x, screen.y}, nullptr);
}

void TmnMantle::ChildWindowAction(TForm* child, TmnWindowAction action) {
    if (TmnMantle* m = Of(child)) m->PostWindowAction(action);
}

// ---- popups of caption buttons ----

bool TmnMantle::OpenPopup(TmnActiveSkinObject& object, TMenuItem* item, const TSkinRect& r) {
    if (!item || item->Count() == 0 || !form_.HandleAllocated()) return false;
    RECT wr;
    ::GetWindowRect(form_.Handle(), &wr);
    const RECT anchor{wr.left + r.Left, wr.top + r.Top, wr.left + r.Right, wr.top + r.Bottom};
    popupObject_ = -1;
    for (int i = 0; i < objects_.Count(); ++i)
        if (&objects_[i] == &object) popupObject_ = i;
    if (auto* component = dynamic_cast<TmnSkinPopupMenu*>(item->GetParentMenu())) {
        // The item belongs to a skinned popup-menu component: it opens itself (its OnPopup runs,
        // its skin applies) through the owner it finds; this form still hears of the close.
        component->PopupAtRect(anchor, false, form_.Handle());
        TmnMenuOwner* owner = component->FindMenuOwner();
        if (owner && owner->SkinMenu().Visible) return true;
        if (auto* mantle = dynamic_cast<TmnMantle*>(owner)) mantle->MenuClosed();
        return false;
    }
    TmnMantle* shower = IsMDIChild() && FrameMantle() ? FrameMantle() : this;
    shower->StartMenuRouting();
    shower->skinMenu_->Popup(form_.Handle(), shower->MenusSkinData(), false, item, anchor, 0);
    if (!shower->skinMenu_->Visible) {
        shower->MenuClosed();
        return false;
    }
    return true;
}

// ---- menu modes ----

void TmnMantle::StartMenuRouting() {
    const bool was = inSkinMenu_;
    inSkinMenu_ = true;
    HookMessages();
    if (!was && OnSkinMenuOpen) OnSkinMenuOpen(this);
}

void TmnMantle::ResetMenuButtons() {
    if (TmnActiveSkinObject* o = objects_.Object(popupObject_)) objects_.MenuClosed(*o);
    popupObject_ = -1;
}

void TmnMantle::CloseMenus() {
    if (!skinMenu_->Visible) return;
    // The bar is about to open another popup: the main-menu mode goes on.
    switchingPopup_ = true;
    skinMenu_->CloseAll();
    switchingPopup_ = false;
}

void TmnMantle::MainMenuEnter() {
    if (inMainMenu_) return;
    inMainMenu_ = true;
    HookMessages();
    if (OnMainMenuEnter) OnMainMenuEnter(this);
}

void TmnMantle::MainMenuExit() {
    if (!inMainMenu_) return;
    inMainMenu_ = false;
    if (skinMenu_->Visible) skinMenu_->CloseAll();
    inSkinMenu_ = false;
    if (mainMenuBar_) mainMenuBar_->LeaveMenuMode();
    UnhookMessages();
    if (OnMainMenuExit) OnMainMenuExit(this);
}

void TmnMantle::MenuClosed() {
    inSkinMenu_ = false;
    ResetMenuButtons();
    if (switchingPopup_) return;
    UnhookMessages();
    if (OnSkinMenuClose) OnSkinMenuClose(this);
    if (inMainMenu_) {
        inMainMenu_ = false;
        if (mainMenuBar_) mainMenuBar_->LeaveMenuMode();
        if (OnMainMenuExit) OnMainMenuExit(this);
    }
}

void TmnMantle::HookMessages() {
    if (messageHook_.Installed() || IsDesigning()) return;
    messageHook_.Install(Application()->MessageFilters(), [this](MSG& msg, bool& handled, const auto& next) {
        ApplicationMessage(msg, handled, next);
    });
}

void TmnMantle::UnhookMessages() {
    messageHook_.Remove();
}

void TmnMantle::ApplicationMessage(MSG& msg, bool& handled, const TApplication::TMessageFilters::TNext& next) {
    switch (msg.message) {
    case WM_MOUSEWHEEL:
        handled = true;  // the wheel does nothing while a menu is open
        return;
    case WM_KEYDOWN:
        if (inMainMenu_ || inSkinMenu_) handled = MenuKeyDown(static_cast<WORD>(msg.wParam), KeyChar(msg)) || inMainMenu_;
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
        // In the bar's menu mode no character reaches the window below.
        if (inMainMenu_) handled = true;
        break;
    default:
        break;
    }
    if (!handled) next(msg, handled);
}

bool TmnMantle::MenuKeyDown(WORD key, wchar_t ch) {
    if (IsMDIChild()) {
        if (TmnMantle* frame = FrameMantle(); frame && (frame->inMainMenu_ || frame->skinMenu_->Visible))
            return frame->MenuKeyDown(key, ch);
    }
    TmnSkinMenu& chain = *skinMenu_;
    if (inMainMenu_ && mainMenuBar_ && mainMenuBar_->MenuKey(MenuKeyOf(key), ch, ChainFacts(chain, ch))) return true;
    if (!chain.Visible) return false;
    const bool used = chain.KeyDown(key, ch);
    if (key == VK_ESCAPE && (!chain.Visible || chain.PopupList.empty())) {
        if (inMainMenu_) {
            inSkinMenu_ = false;
            if (mainMenuBar_) mainMenuBar_->PopupClosed();
            if (OnSkinMenuClose) OnSkinMenuClose(this);
        } else {
            MenuClosed();
        }
    }
    return used;
}

// ---- shortcuts ----

bool TmnMantle::FormShortCut(WORD key, TShiftState shift, const TForm::TShortCutFilters::TNext& next) {
    if (key == VK_MENU) altTap_.Pressed();
    const bool taken = TakeShortCut(key, shift, next);
    // The platform never saw a key a shortcut took: letting go of Alt would toggle the menu mode.
    if ((shift & ssAlt) && key != VK_MENU) altTap_.KeyWithAlt(taken);
    return taken;
}

bool TmnMantle::TakeShortCut(WORD key, TShiftState shift, const TForm::TShortCutFilters::TNext& next) {
    if (OnShortCut && OnShortCut(key, shift)) return true;
    if (next && next(key, shift)) return true;
    if (shift == ssAlt && key == VK_SPACE) {
        // Under the system-menu object: the last enabled one with command 3.
        TSkinRect r;
        for (int i = 0; i < objects_.Count(); ++i) {
            TmnActiveSkinObject& o = objects_[i];
            auto* b = dynamic_cast<TmnSkinStdButtonObject*>(&o);
            auto* a = dynamic_cast<TmnSkinAnimateObject*>(&o);
            if (o.Enabled && ((b && b->Command == cmSysMenu) || (a && a->Command == cmSysMenu))) r = o.ObjectRect;
        }
        if (!r.IsEmpty() && form_.HandleAllocated()) {
            RECT wr;
            ::GetWindowRect(form_.Handle(), &wr);
            ShowSystemMenu({wr.left + r.Left, wr.top + r.Top, wr.left + r.Right, wr.top + r.Bottom});
        }
        return true;
    }
    auto tryMenu = [&](TMainMenu* menu) {
        if (!menu) return false;
        if (shift == ssAlt && key != VK_F4 && mainMenuBar_) {
            wchar_t ch = static_cast<wchar_t>(::MapVirtualKeyW(key, MAPVK_VK_TO_CHAR) & 0xFFFF);
            if (ch && mainMenuBar_->HandleAccelerator(ch)) return true;
        }
        return menu->IsShortCut(key, shift);
    };
    if (mainMenuBar_) {
        if (tryMenu(mainMenuBar_->MainMenu())) return true;
        TMainMenu* child = mainMenuBar_->MergedChildMenu();
        return child && tryMenu(child);
    }
    // Without a menu bar the menu taken off the form keeps its shortcuts.
    return takenMenu_ && takenMenu_->IsShortCut(key, shift);
}

}  // namespace fn
