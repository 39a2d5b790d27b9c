#pragma once
// The form skinning component (TmnMantle) and the two bars it works with, the skinned main menu
// bar and the MDI tabs bar, meet through these interfaces, so that each side can be built and
// tested alone. TmnMantle implements the owner sides; the bars implement the partner sides.
#include <windows.h>

#include "skin/form/border_icons.h"
#include "skin/form/menu_bar_state.h"
#include "skin/form/skin_object_owner.h"
#include "skin/menus/menu_owner_win.h"

namespace fn {

class TForm;
class TMainMenu;
class TMenuItem;

// What the skinned main menu bar asks of the form skinning component of its form.
class TmnMenuBarOwner : public virtual TmnMenuOwner {
public:
    // The bar's menu mode (keyboard or an open item popup) and the skinned-popup mode.
    virtual bool InMainMenu() const = 0;
    virtual bool InSkinMenu() const = 0;
    // The main-menu mode starts: the application's keys are routed to the menus and
    // OnMainMenuEnter is raised. Nothing when it is already on.
    virtual void MainMenuEnter() = 0;
    // The main-menu mode ends: an open popup closes, the bar's LeaveMenuMode runs, routing stops
    // and OnMainMenuExit is raised. Nothing when it is off.
    virtual void MainMenuExit() = 0;
    // Closes any skinned popup open from this form (before the bar opens its own).
    virtual void CloseMenus() = 0;
    // On an MDI frame: the maximised child whose menu is merged into the bar and whose caption
    // buttons the bar shows; null when none (and on any other form).
    virtual TForm* MaximizedChild() const = 0;
    // The caption buttons the child's own form skinning component offers (its BorderIcons): the
    // bar's child buttons are enabled from them.
    virtual TmnBorderIcons ChildBorderIcons(TForm* child) const = 0;
    // A caption button of the maximised child was clicked: the child runs the command after the
    // current message (posted). Close, Minimize and Restore are the ones the bar shows.
    virtual void ChildWindowAction(TForm* child, TmnWindowAction action) = 0;
    // Opens the maximised child's system menu under anchor (screen coordinates) as a chain of
    // the owner's SkinMenu whose opener is the window opener (it gets MSG_SKIN_MENU_CLOSED).
    virtual void ShowChildSystemMenu(TForm* child, const RECT& anchor, HWND opener) = 0;
};

// What the form skinning component asks of the skinned main menu bar it was given.
class TmnMenuBarPartner {
public:
    virtual ~TmnMenuBarPartner() = default;
    virtual TMainMenu* MainMenu() const = 0;
    // The merged menu of a maximised MDI child shown in the bar, or null.
    virtual TMainMenu* MergedChildMenu() const = 0;
    // Keyboard menu mode (Alt, F10). EnterMenuMode does nothing when no enabled item fits.
    virtual void EnterMenuMode() = 0;
    virtual void LeaveMenuMode() = 0;
    virtual void NextItem() = 0;
    virtual void PreviousItem() = 0;
    virtual bool PressHotItem() = 0;
    // An accelerator letter (the key's character, any case): opens or runs the first enabled item
    // that fits and carries it. Returns whether one was found.
    virtual bool HandleAccelerator(wchar_t key) = 0;
    // A key in the menu mode: true when the bar took it, false when it is the open popup chain's.
    virtual bool MenuKey(TMenuKey key, wchar_t ch, const TMenuChainFacts& chain) = 0;
    // The last popup window closed by Escape while the bar stays in menu mode.
    virtual void PopupClosed() = 0;
    // Rebuilds the items from the menus (captions, enabled states, the merged child menu).
    virtual void RebuildItems() = 0;
    // A child became maximised / was restored or closed (MDI frames).
    virtual void ShowChildButtons() = 0;
    virtual void UpdateChildButtons() = 0;
};

// What the form skinning component of an MDI frame and of its children asks of the frame's MDI
// tabs bar. Each call tolerates a form it does not know (nothing happens).
class TmnMDITabsPartner {
public:
    virtual ~TmnMDITabsPartner() = default;
    virtual void AddTab(TForm* child) = 0;
    virtual void RemoveTab(TForm* child) = 0;
    // The child's caption changed: its tab is redrawn.
    virtual void DrawTab(TForm* child) = 0;
    // The frame's active child changed: the tabs' active marks follow.
    virtual void UpdateActiveTabs() = 0;
};

// What the MDI tabs bar asks of the form skinning component of its frame.
class TmnMDITabsOwner : public virtual TmnMenuOwner {
public:
    // Opens a child's system menu (a skinned popup) at a screen point.
    virtual void ShowChildSystemMenu(TForm* child, POINT screen) = 0;
};

}  // namespace fn
