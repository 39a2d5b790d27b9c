#pragma once
// A page of the skin gallery: a child window of the gallery's form that shows one group of
// skinned elements (controls, menus and hints, frame objects) dressed by the loaded skin.
#include <initializer_list>
#include <vector>

#include "platform/win/controls.h"
#include "platform/win/gdi.h"
#include "platform/win/menus.h"

namespace fn {

// The gallery's text font (Tahoma, 11 pixels at 96 dots per inch) at dpi.
TFontHandle MakeGalleryFont(int dpi);
// Gives the windows the gallery's font at dpi (the system's when it cannot be made); held keeps
// it while they use it, and the font it held before goes.
void ApplyGalleryFont(std::initializer_list<HWND> windows, int dpi, TFontHandle& held);

class TmnSkinData;
class TmnMantle;

class TGalleryPage : public TWinControl {
public:
    using TWinControl::TWinControl;
    // The page's name on its tab.
    virtual const wchar_t* Title() const = 0;
    // The gallery loaded a skin (or reloaded it after a change on disk): show it. Null means the
    // unskinned look.
    virtual void SetSkinData(TmnSkinData* skinData) = 0;
    // The page's background and its static texts in the button face colour.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The page's controls move and grow with it; its plain child windows and its font too.
    void ChangeScale(int dpi, int fromDpi) override;

protected:
    // The mantle of the gallery's window (the page's owner): its menu chain runs the page's menus.
    TmnMantle& Mantle() const;
    // The gallery window's dots per inch, and a length of the page's layout (pixels at 96 dots
    // per inch) at that scale.
    int Dpi() const;
    int Px(int at96) const;
    // The gallery's font at the window's scale, for the page's texts.
    HFONT Font();
    // A plain child window of the page (a button, a static text) in the page's font; its place
    // and size (pixels at 96 dots per inch) follow the window's scale.
    HWND AddChildWindow(const wchar_t* className, const wchar_t* text, DWORD style, RECT at96, int id = 0);
    // The line that tells which menu item was chosen last, in the dialog font (place and width
    // at 96 dots per inch).
    void CreateStatusLine(const wchar_t* text, int x, int y, int width);
    // A new item of the page's menus under parent; choosing it (an item without sub-menu at that
    // time) writes its caption into the status line.
    TMenuItem* Add(TMenuItem* parent, const wchar_t* caption, TShortCut shortCut = 0);
    // The sub-menu "Zuletzt geöffnet" with two notes under parent, as the pages' menus show it.
    TMenuItem* AddRecentNotes(TMenuItem* parent);

private:
    struct ChildWindow {
        HWND Window;
        RECT At96;
    };
    HWND status_ = nullptr;
    std::vector<ChildWindow> children_;
    TFontHandle font_;
};

}  // namespace fn
