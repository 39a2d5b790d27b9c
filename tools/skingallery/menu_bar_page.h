#pragma once
// The gallery's page of the skinned main menu bar: a bar with a whole main menu whose items open
// skinned popups (the popup follows the mouse along the bar, F10 starts the keyboard menu mode),
// a narrow bar whose last items hide behind the overflow marker, and a bar showing a maximised
// document's merged menu with its caption buttons. The first bar belongs to the gallery window's
// mantle; the other two have small stand-in owners (see TGalleryMenuBarOwner).
#include <memory>

#include "platform/win/forms.h"
#include "skin/form/main_menu_bar_win.h"
#include "skin/menus/skin_menu_win.h"
#include "tools/skingallery/gallery_page.h"

namespace fn {

// The stand-in owner of a demo bar: its own chain, the main-menu mode and the closed-chain
// handling. A mantle serves one bar, the form's main menu bar, and ends every menu mode on that
// bar; the narrow bar runs a menu mode of its own beside it, and the merged bar shows a maximised
// document's menu and buttons while the gallery window is no MDI frame. Those two keep this owner.
class TGalleryMenuBarOwner : public TComponent, public TmnMenuBarOwner {
public:
    explicit TGalleryMenuBarOwner(TComponent* owner) : TComponent(owner), menu_(new TmnSkinMenu(this, this)) {}
    HWND MenuOwnerWindow() const override { return window; }
    TmnSkinMenu& SkinMenu() override { return *menu_; }
    TmnSkinData* MenusSkinData() const override { return skin; }
    bool InMainMenu() const override { return inMain_; }
    bool InSkinMenu() const override { return inSkin_; }
    void StartMenuRouting() override { inSkin_ = true; }
    void MainMenuEnter() override { inMain_ = true; }
    void MainMenuExit() override;
    void CloseMenus() override { SkinMenu().CloseAll(); }
    TForm* MaximizedChild() const override { return child; }
    TmnBorderIcons ChildBorderIcons(TForm*) const override { return DefaultBorderIcons; }
    void ChildWindowAction(TForm*, TmnWindowAction) override {}
    void ShowChildSystemMenu(TForm*, const RECT& anchor, HWND opener) override;
    // MSG_SKIN_MENU_CLOSED reached the owner's window.
    void MenuClosed();

    TmnSkinMainMenuBar* bar = nullptr;
    TForm* child = nullptr;
    TMenuItem* systemMenu = nullptr;
    HWND window = nullptr;
    TmnSkinData* skin = nullptr;

private:
    TmnSkinMenu* menu_;
    bool inMain_ = false, inSkin_ = false;
};

class TMenuBarPage : public TGalleryPage {
public:
    explicit TMenuBarPage(TComponent* owner);
    const wchar_t* ClassName() const override { return L"TMenuBarPage"; }
    const wchar_t* Title() const override { return L"Menüleiste"; }
    void SetSkinData(TmnSkinData* skinData) override;
    TmnSkinMainMenuBar& Bar() { return *bar_; }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void HandleCreated() override;

private:
    void FillMainMenu(TMenuItem* root);
    int BarWidth() const;
    // A bar at x, y (pixels at 96 dots per inch), width pixels wide at the window's scale.
    TmnSkinMainMenuBar* MakeBar(TmnMenuBarOwner* owner, TMainMenu* menu, int x, int y, int width);

    // One owner per bar: each bar's menu mode ends with its own chain. The first bar's is the
    // gallery window's mantle, whose main menu bar it is while the page shows.
    TGalleryMenuBarOwner* narrowOwner_;
    TGalleryMenuBarOwner* childOwner_;
    TmnSkinData* skin_ = nullptr;
    TMainMenu* menu_;
    TMainMenu* childMenu_;
    TForm* child_;
    TmnSkinMainMenuBar *bar_ = nullptr, *narrow_ = nullptr, *merged_ = nullptr;
    std::vector<std::pair<POINT, String>> labels_;  // places at 96 dots per inch
};

}  // namespace fn
