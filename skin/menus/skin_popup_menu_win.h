#pragma once
// TmnSkinPopupMenu: a popup menu whose items open as a skinned chain of the menu owner found on
// its form (or the one it is given), instead of the platform's own menu.
#include <windows.h>

#include "platform/win/menus.h"
#include "skin/menus/menu_owner_win.h"

namespace fn {

class TmnSkinData;

class TmnSkinPopupMenu : public TPopupMenu {
public:
    explicit TmnSkinPopupMenu(TComponent* owner);
    ~TmnSkinPopupMenu() override;
    const wchar_t* ClassName() const override { return L"TmnSkinPopupMenu"; }

    TmnSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TmnSkinData* skinData);
    // Raised once when the chain this menu opened closes.
    TNotifyEvent OnMenuClose;
    // Opens on a right click or from a tray icon only while set.
    bool AutoPopup = true;
    // The window told (MSG_SKIN_MENU_CLOSED, MSG_SKIN_MENU_COMMAND) about this menu's chain.
    HWND PopupComponent = nullptr;

    // The owner whose chain shows the menu: the one set here, else the first menu owner among the
    // components of the menu's form (for an MDI child, of the frame holding it), else of the menu's
    // owner or its owner's owner.
    void SetMenuOwner(TmnMenuOwner* owner) { menuOwner_ = owner; }
    TmnMenuOwner* FindMenuOwner() const;

    // Opens at screen point (x, y); window is not used (the owner's chain decides).
    void Popup(int x, int y, HWND window) override;
    void Popup(int x, int y) { Popup(x, y, nullptr); }
    // Opens at a screen rectangle, upward when popupUp (caption buttons).
    void PopupAtRect(const RECT& anchor, bool popupUp) { Open(anchor, popupUp, PopupComponent); }
    // The same for a skin object of a form: opener, not PopupComponent, hears about the chain.
    void PopupAtRect(const RECT& anchor, bool popupUp, HWND opener) { Open(anchor, popupUp, opener); }
    // WM_CONTEXTMENU of window: at the mouse, or for Shift+F10 and the Apps key (-1, -1) below
    // the top-left of the window's client area.
    void PopupForContextMenu(HWND window, LPARAM lParam);

    void Notification(TComponent* component, Operation operation) override;

private:
    void Open(const RECT& anchor, bool popupUp, HWND opener);

    TmnSkinData* skinData_ = nullptr;
    TmnMenuOwner* menuOwner_ = nullptr;
};

}  // namespace fn
