#pragma once
// TmnSkinCaptionObject: the skinned window title. Text with alignment, light and shadow, a frame
// picture behind the text, a frame animation on activation, the cross-fade between the inactive
// and active images and the skin's inactive effect. Portable (draws through the painter).
#include "skin/form/object_geometry.h"
#include "skin/form/skin_objects.h"

namespace fn {

// A colour of the caption for an inactive and for an active window.
struct TmnCaptionColor {
    TColor Inactive = 0, Active = 0;
    TColor For(bool active) const { return active ? Active : Inactive; }
};

class TmnSkinCaptionObject : public TmnActiveSkinObject {
public:
    TmnSkinCaptionObject(TmnSkinObjectOwner& owner, const TmnDataSkinCaption* record);

    void Draw(TmnObjectPainter& canvas, bool directRedraw) override;
    void MouseDown(int x, int y, int button) override;
    void MouseUp(int x, int y, int button) override;

    // The window's activation changed (the owner calls this on its first caption object).
    // With redraw the change animates; without, the morph factor jumps to its end.
    void SetActive(bool active, bool redraw);
    // One tick of the animation timer; true while the caption still moves.
    bool AnimateStep();
    bool AnimationEnabled() const;

    // The text drawn: the window's caption, with a maximised MDI child's caption appended.
    String CaptionText() const;
    // Draws the text (and the frame behind it) on target, shifted by (dx, dy).
    void DrawCaptionText(TmnObjectPainter& p, int target, int dx, int dy, bool active);
    // The text shortened to the text area and its position relative to the object.
    struct TextLayout {
        String Text;
        TmnTextPos Pos;
        int Width = 0, Height = 0;
        TSkinRect Area;
    };
    TextLayout LayoutText(TmnObjectPainter& p, const String& text);
    TmnObjectFont Font() const;

    TmnObjectFont TextFont;  // its character set is the library's, taken when drawn
    TmnCaptionColor TextColor;
    int Alignment = taCenter;
    TSkinRect TextRect;
    bool Shadow = false, Light = false;
    TmnCaptionColor ShadowColor, LightColor;
    TSkinRect FrameRect, ActiveFrameRect, FrameTextRect;
    TmnStripEnds FrameEnds;  // the frame picture's fixed ends
    bool FullFrame = false;
    bool StretchEffect = false;
    TSkinRect AnimateSkinRect;
    int FrameCount = 0;  // whole frames the strip holds inside the picture; 0: no animation
    int AnimateInterval = 25;
    bool InActiveAnimation = false;

    int CurrentFrame = 0;
    int Elapsed = 0;

private:
    // An image of the object's size from r of the picture, widened by the corner points; with
    // the text in the colours of textActive. Returns the image number, 0 when none was made.
    int CaptionImage(TmnObjectPainter& p, const TBitmapData* picture, const TSkinRect& r, bool textActive);
    void ApplyInactiveLook(TmnObjectPainter& p, int image);
    TmnFrameStrip strip_;
};

}  // namespace fn
