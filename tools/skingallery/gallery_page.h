#pragma once
// A page of the skin gallery: a child window of the gallery's form that shows one group of
// skinned elements (controls, menus and hints, frame objects) dressed by the loaded skin.
#include "platform/win/controls.h"

namespace fn {

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

protected:
    // The mantle of the gallery's window (the page's owner): its menu chain runs the page's menus.
    TmnMantle& Mantle() const;
    // A length of the page's layout (pixels at 96 dots per inch) at the window's scale.
    int Px(int at96) const;
};

}  // namespace fn
