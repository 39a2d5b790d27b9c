#pragma once
// What a menu chain and the skinned popup-menu component ask of the component that owns them on
// a form. The form skinning component implements it; tests and tools use small stand-ins.
#include <windows.h>

namespace fn {

class TmnSkinData;
class TmnSkinMenu;

class TmnMenuOwner {
public:
    virtual ~TmnMenuOwner() = default;
    // The owner's form window: it receives MSG_SKIN_MENU_CLOSED when a chain closes, and the
    // menu-closing messages it receives (IsMenuClosingMessage) close the open chain.
    virtual HWND MenuOwnerWindow() const = 0;
    // The owner's one chain of popup windows.
    virtual TmnSkinMenu& SkinMenu() = 0;
    // The skin of popup menus that name none (the owner's menus skin, else its skin); null
    // gives the unskinned look.
    virtual TmnSkinData* MenusSkinData() const = 0;
    // A popup menu opens while the owner's own menu is open: put the owner's menu-bar and
    // caption buttons back to normal.
    virtual void ResetMenuButtons() {}
    // A popup menu opens: the owner's menu routing starts (its application-message hook).
    virtual void StartMenuRouting() {}
    // The owner routes the keys of the open chain itself (its menu-bar mode): the chain's own
    // message hook leaves key presses to it.
    virtual bool RoutesMenuKeys() const { return false; }
    // The form reads right to left: item texts are drawn that way.
    virtual bool MenuRightToLeft() const { return false; }
};

}  // namespace fn
