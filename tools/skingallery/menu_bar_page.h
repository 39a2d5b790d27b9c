#pragma once
// The gallery's page of the skinned main menu bar: a bar with a whole main menu whose items open
// skinned popups (the popup follows the mouse along the bar, F10 starts the keyboard menu mode),
// a narrow bar whose last items hide behind the overflow marker, and a bar showing a maximised
// document's merged menu with its caption buttons. Stand-in owners play the form skinning
// component's part around menu modes.
#include <memory>

#include "platform/win/forms.h"
#include "skin/form/main_menu_bar_win.h"
#include "tools/skingallery/menus_page.h"

namespace fn {

// The stand-in owner of a bar: the main-menu mode and the closed-chain handling.
class TGalleryMenuBarOwner : public TGalleryMenuOwner, public TmnMenuBarOwner {
public:
    using TGalleryMenuOwner::TGalleryMenuOwner;
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

private:
    bool inMain_ = false, inSkin_ = false;
};

class TMenuBarPage : public TGalleryPage {
public:
    explicit TMenuBarPage(TComponent* owner);
    const wchar_t* Title() const override { return L"Menüleiste"; }
    void SetSkinData(TmnSkinData* skinData) override;
    TmnSkinMainMenuBar& Bar() { return *bar_; }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void HandleCreated() override;

private:
    TMenuItem* Add(TMenuItem* parent, const wchar_t* caption, TShortCut shortCut = 0);
    void FillMainMenu(TMenuItem* root);
    int BarWidth() const;
    TmnSkinMainMenuBar* MakeBar(TGalleryMenuBarOwner* owner, TMainMenu* menu, int x, int y, int width);

    // One owner per bar: each bar's menu mode ends with its own chain.
    TGalleryMenuBarOwner* owner_;
    TGalleryMenuBarOwner* narrowOwner_;
    TGalleryMenuBarOwner* childOwner_;
    TmnSkinData* skin_ = nullptr;
    TMainMenu* menu_;
    TMainMenu* childMenu_;
    TForm* child_;
    TmnSkinMainMenuBar *bar_ = nullptr, *narrow_ = nullptr, *merged_ = nullptr;
    HWND status_ = nullptr;
    std::vector<std::pair<POINT, String>> labels_;
};

}  // namespace fn
