#pragma once
// Painting a window's frame and cutting its region: the skinned frame from four border images
// (with the skin objects drawn into them and the inactive effect), the built-in frame drawn when
// no skin is loaded, and the window region from the mask's four border strips plus the mask
// rectangle. The plans come from frame_layout; this unit only executes them with GDI.
#include <functional>
#include <memory>
#include <vector>

#include "platform/win/graphics.h"
#include "skin/form/form_background.h"
#include "skin/form/frame_layout.h"
#include "skin/form/frame_hit_test.h"
#include "skin/form/object_painter_win.h"
#include "skin/form/skin_object_list.h"
#include "skin/paint/pixel_buffer.h"
#include "skin/paint/plan_painter.h"
#include "skin/paint/region_data.h"
#include "skin/paint/rects.h"
#include "skin/paint/tiling.h"

namespace fn {

class TmnSkinCache;

// The skin's own frame geometry (unresized) in the paint layer's terms; mask: the mask area
// stands in for the client rectangle.
TFrameGeometry SkinFrame(const TmnSkinFormInfo& info, bool mask = false);
TFrameGeometry ResizedFrame(const TmnFrameGeometry& g, bool mask = false);

// The four border images of the skinned frame, kept between paints of the same size. The two
// side images hold no objects: windows of one skin share them through the skin's cache.
class TmnSkinnedFramePainter {
public:
    // Paints the frame of a w × h window into dc (window coordinates); the client rectangle is
    // excluded from dc's clipping for the drawing and the clipping is restored afterwards.
    void Paint(HDC dc, const TmnSkinData& skin, const TmnFrameGeometry& g, int w, int h, bool active,
               TmnSkinObjectList& objects, TmnSkinPictures& pictures);
    // Forgets the images kept between paints (the skin's pictures are about to go).
    void Clear();
    // How many of the two side images the last Paint took anew (drew, or found drawn by another
    // window of the skin).
    int SidesDrawn() const { return sidesDrawn_; }

private:
    // A side image holds no objects: while its plan, picture and effect stay, it is kept as it
    // is, so a drag of the right edge draws the top and bottom images only.
    struct TSide {
        std::shared_ptr<TBitmap> Image;
        TImagePlan Plan;
        const TBitmap* Source = nullptr;
        int Effect = -1;
        bool Empty() const { return !Image || Image->Empty(); }
        int Width() const { return Image ? Image->Width() : 0; }
    };
    // What a side image is drawn from: its plan, the skin picture and the inactive effect.
    struct TSideKey {
        TImagePlan Plan;
        const TBitmapData* Source;
        int Effect;
        friend bool operator==(const TSideKey&, const TSideKey&) = default;
    };
    static bool UpdateSide(TSide& side, const TImagePlan& plan, TBitmap& picture, const TBitmapData& source, int effect,
                           TmnSkinCache* cache);
    // The top and bottom images change with every width: their bitmaps grow in steps and may be
    // wider than the part in use, so a drag does not make a new bitmap at every step.
    struct TBand {
        TBitmap Image;
        int Width = 0;  // the part in use
        int Height() const { return Image.Height(); }
    };
    static void UpdateBand(TBand& band, const TImagePlan& plan, TBitmap& picture);

    TBand top_, bottom_;
    TSide left_, right_;
    int sidesDrawn_ = 0;
};

// What the built-in frame's caption shows.
struct TmnBuiltInCaption {
    String Text;
    bool Active = true;
    TFont* Font = nullptr;        // the default caption font for the state
    bool RightToLeft = false;
    std::function<void(TCanvas& canvas, const RECT& r, bool active)> Paint;  // replaces the text
};

// Paints the built-in frame of a w × h window laid out as f into dc; objects are the built-in
// buttons (already placed).
void PaintBuiltInFrame(HDC dc, const TmnBuiltInFrame& f, int w, int h, const TmnBuiltInCaption& caption,
                       TmnSkinObjectList& objects, TmnSkinPictures& pictures);

// The scaled background tile as a pattern brush, kept while picture, part and scale stay the
// same (a live resize repaints the background at every step).
class TmnTileBrush {
public:
    HBRUSH Get(TBitmap& picture, const TSkinRect& src, int tileWidth, int tileHeight);
    void Clear() { brush_.Reset(); picture_ = nullptr; }

private:
    TBrushHandle brush_;
    const TBitmap* picture_ = nullptr;
    TSkinRect src_;
    int width_ = 0, height_ = 0;
};

// Draws the part src of picture by the background plan into dc (client coordinates).
void PaintBackgroundPlan(HDC dc, const TmnBackgroundPlan& plan, TBitmap& picture, const TSkinRect& src,
                         TmnTileBrush& brushes);

// One mask strip of a frame region: 24-bit rows of Width pixels drawn from the mask by a plan,
// and the region of its black pixels at (0, 0). Immutable once drawn; windows of one skin
// share it through the skin's cache.
struct TmnMaskStripImage {
    std::vector<uint8_t> Bytes;
    int Width = 0, Height = 0;
    TRegionData Region;
    int Stride() const { return (3 * Width + 3) / 4 * 4; }
    const uint8_t* Pixel(int x, int y) const { return Bytes.data() + static_cast<size_t>(y) * Stride() + 3 * x; }
};

// The window region of a skin with a mask: the four mask strips (kept for hit-testing) and the
// region made from them and the mask rectangle.
class TmnFrameRegion {
public:
    // Builds the strips for a w × h window and returns the new region (none when the frame is
    // degenerate).
    TRegionHandle Build(const TmnSkinData& skin, const TmnFrameGeometry& g, int w, int h, TmnSkinPictures& pictures);
    // Forgets the strips (also what they were drawn from): the next Build draws every strip.
    void Clear();
    bool Empty() const { return top_.Empty() && bottom_.Empty() && left_.Empty() && right_.Empty(); }
    // Whether the pixel (x, y) of a strip is black; false outside the strip.
    bool Black(TmnMaskStrip strip, int x, int y) const;
    // How many strips the last Build took anew (drew, or found drawn by another window of the
    // skin); the others it kept.
    int StripsDrawn() const { return stripsDrawn_; }

private:
    // One mask strip and the plan it was drawn by. A strip whose plan is unchanged is kept, so a
    // drag of one edge takes two strips anew, not four.
    struct TStrip {
        std::shared_ptr<const TmnMaskStripImage> Image;
        TImagePlan Plan;
        bool Empty() const { return !Image || Image->Width <= 0 || Image->Height <= 0; }
        // Takes the strip of plan (from cache when given, else drawn from mask) unless it holds
        // that already; true when it took one anew.
        bool Update(const TImagePlan& plan, const std::function<TPixelView()>& mask, TmnSkinCache* cache);
    };
    TStrip top_, bottom_, left_, right_;
    int stripsDrawn_ = 0;
};

}  // namespace fn
