#pragma once
// The gallery's page of menus, hints and the tray icon: a button that opens a skinned popup
// menu with sub-menus, a long menu that scrolls, buttons with skinned hints, and a tray icon
// with its menu. The menus run in the chain of the gallery window's mantle.
#include <memory>

#include "platform/win/image_list.h"
#include "skin/form/mantle_win.h"
#include "skin/menus/skin_hint_win.h"
#include "skin/menus/skin_menu_win.h"
#include "skin/menus/skin_popup_menu_win.h"
#include "skin/tray/tray_icon_win.h"
#include "tools/skingallery/gallery_page.h"

namespace fn {

class TMenusPage : public TGalleryPage {
public:
    explicit TMenusPage(TComponent* owner);
    const wchar_t* ClassName() const override { return L"TMenusPage"; }
    const wchar_t* Title() const override { return L"Menüs und Hinweise"; }
    void SetSkinData(TmnSkinData* skinData) override;

    // What the buttons do (also for a screenshot without a mouse).
    void OpenMainMenu();
    void OpenLongMenu();
    void OpenSubMenu();
    void ShowHintAt(int button);
    TmnSkinMenu& Chain() { return Mantle().SkinMenu(); }
    TmnTrayIcon& Tray() { return *tray_; }

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void HandleCreated() override;

private:
    // Small pictures for the menu's items, drawn here (a page, a folder, a door).
    void DrawImages();
    HWND Button(int id) const;
    void PollHints();

    TmnSkinPopupMenu* mainMenu_;
    TmnSkinPopupMenu* longMenu_;
    TmnSkinHint* hint_;
    TImageList* images_;
    TmnTrayIcon* tray_;
    HWND hovered_ = nullptr;
    TWindowTimer hintPoll_;
};

}  // namespace fn
