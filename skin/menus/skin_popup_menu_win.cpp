#include "skin/menus/skin_popup_menu_win.h"

#include "platform/win/forms.h"
#include "skin/data/skin_data.h"
#include "skin/menus/skin_menu_win.h"

namespace fn {

namespace {

TmnMenuOwner* OwnerAmong(const TComponent* component) {
    if (!component) return nullptr;
    for (int i = 0; i < component->ComponentCount(); ++i)
        if (auto* owner = dynamic_cast<TmnMenuOwner*>(component->Components(i))) return owner;
    return nullptr;
}

}  // namespace

TmnSkinPopupMenu::TmnSkinPopupMenu(TComponent* owner) : TPopupMenu(owner) {}

TmnSkinPopupMenu::~TmnSkinPopupMenu() = default;

void TmnSkinPopupMenu::SetSkinData(TmnSkinData* skinData) {
    SetReference(skinData_, skinData);
}

void TmnSkinPopupMenu::Notification(TComponent* component, Operation operation) {
    TPopupMenu::Notification(component, operation);
    if (operation == Operation::Remove && component == skinData_) skinData_ = nullptr;
}

TmnMenuOwner* TmnSkinPopupMenu::FindMenuOwner() const {
    if (menuOwner_) return menuOwner_;
    TComponent* owner = Owner();
    TForm* form = dynamic_cast<TForm*>(owner);
    if (!form && owner) form = dynamic_cast<TForm*>(owner->Owner());
    if (form) {
        // A document window's menus open through its frame: the form that holds the MDI client
        // the document lives in (not necessarily the program's main form).
        if (TForm* frame = form->ParentFrame()) form = frame;
        return OwnerAmong(form);
    }
    if (TmnMenuOwner* found = OwnerAmong(owner)) return found;
    return owner ? OwnerAmong(owner->Owner()) : nullptr;
}

void TmnSkinPopupMenu::Open(const RECT& anchor, bool popupUp, HWND opener) {
    if (OnPopup) OnPopup(this);
    TmnMenuOwner* owner = FindMenuOwner();
    if (!owner) return;
    TmnSkinData* skin = skinData_ ? skinData_ : owner->MenusSkinData();
    TmnSkinMenu& menu = owner->SkinMenu();
    if (menu.Visible) owner->ResetMenuButtons();
    owner->StartMenuRouting();
    menu.Popup(opener, skin, popupUp, Items(), anchor, 0);
    if (menu.Visible) menu.OnMenuClose = OnMenuClose;
}

void TmnSkinPopupMenu::Popup(int x, int y, HWND) { Open({x, y, x, y}, false, PopupComponent); }

void TmnSkinPopupMenu::PopupForContextMenu(HWND window, LPARAM lParam) {
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (pt.x == -1 && pt.y == -1) {
        // From the keyboard: the platform's menus open at the window, not at the mouse.
        pt = {4, 4};
        ::ClientToScreen(window, &pt);
    }
    Popup(pt.x, pt.y);
}

}  // namespace fn
