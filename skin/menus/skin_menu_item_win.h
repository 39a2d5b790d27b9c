#pragma once
// TmnSkinMenuItem: one item of a skinned popup window, drawn from the skin's menu-item record
// (state pictures, morph between them, frame animation) or in the unskinned look.
#include <windows.h>

#include "platform/core/classes.h"
#include "platform/win/graphics.h"
#include "platform/win/menus.h"
#include "skin/data/object_records.h"
#include "skin/skin_geometry.h"

namespace fn {

class TmnSkinPopupWindow;

// Drawn items are the sender of their platform item's OnDrawItem.
class TmnSkinMenuItem : public TObject {
public:
    TmnSkinMenuItem(TmnSkinPopupWindow& parent, TMenuItem* menuItem);

    TmnSkinPopupWindow& Parent;
    const TmnDataSkinMenuItem* Record = nullptr;
    TBitmap* ActivePicture = nullptr;  // the window's copy of the record's picture, or none
    double MorphFactor = 0;
    TMenuItem* MenuItem;  // null once the platform item was freed (its window is stale then)
    TSkinRect ObjectRect;
    bool Active = false;
    bool Down = false;
    bool Visible = true;
    bool WaitCommand = false;
    int CurrentFrame = 0;

    // A freed platform item reads as a disabled plain item until its stale window is closed.
    bool IsSeparator() const { return MenuItem && MenuItem->IsLine(); }
    bool Enabled() const { return MenuItem && MenuItem->Enabled(); }
    bool HasSubItems() const;
    bool Selectable() const { return Enabled() && !IsSeparator(); }
    bool MorphingEnabled() const;
    bool AnimationEnabled() const;
    int FrameCount() const;  // the record's frame count bounded by the frames its picture holds
    UINT AnimateInterval() const;
    // Draws the item at ObjectRect on the window's off-screen canvas.
    void Draw(TCanvas& canvas);

private:
    // All in item coordinates (the canvas origin is moved to ObjectRect), w x h.
    void DrawSkinned(TCanvas& c, int w, int h);
    void DrawUnskinned(TCanvas& c, int w, int h);
    void DrawStateImage(HDC dc, int w, bool active);
    void DrawContent(TCanvas& c, const RECT& textRect, int glyphColumn, TColor color, bool skinned);
    // The item's bitmap, else its image-list image, at (x, y) (or centred in the record's image
    // rectangle); false when it has neither. A checked item's image gets a frame in color.
    bool DrawImage(TCanvas& c, int x, int middle, TColor color, bool skinned);
    // The size of that image, or {0, 0}.
    SIZE ImageSize() const;
};

}  // namespace fn
