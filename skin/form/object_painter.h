#pragma once
// What a skin object draws with. The objects decide what goes where (portable); a painter
// carries it out: on a device context through GDI (object_painter_win.h), or in a test by
// recording the calls. Every operation names its target: 0 is the window canvas, any other
// number a scratch image made by NewImage, which lives until ReleaseImages.
#include <cstdint>

#include "platform/core/bitmap_data.h"
#include "platform/core/graph_types.h"
#include "skin/skin_geometry.h"
#include "platform/core/strings.h"

namespace fn {

class TCanvas;

struct TmnObjectFont {
    String Name = L"Arial";
    int Height = 14;  // cell height in pixels, as the skin gives it
    TFontStyles Style = 0;
    uint8_t CharSet = 1;
    friend bool operator==(const TmnObjectFont&, const TmnObjectFont&) = default;
};

struct TmnTextSize {
    int Width = 0, Height = 0;
};

// The built-in look of a caption button when no skin is loaded.
enum class TmnPlainLook { Normal, Hover, Pressed };
enum class TmnPlainGlyph { None, Close, Maximize, Restore, Minimize, SysMenu, RollUp, RollDown, Tray };

class TmnObjectPainter {
public:
    static constexpr int CanvasTarget = 0;

    virtual ~TmnObjectPainter() = default;
    // The platform canvas of a target (handed to the application's paint events); null where
    // there is none.
    virtual TCanvas* Canvas(int target) = 0;

    // A scratch image of w x h (black); its number is never 0.
    virtual int NewImage(int w, int h) = 0;
    virtual void ReleaseImages() = 0;
    // Copies src of the picture into dst of the target, stretched when the sizes differ.
    virtual void Copy(int target, const TBitmapData& picture, const TSkinRect& src, const TSkinRect& dst) = 0;
    // A three-part strip of src (fixed ends lo and ro, middle stretched or tiled) dst.Width wide
    // and src.Height high, drawn at dst's top-left.
    virtual void Strip(int target, const TBitmapData& picture, const TSkinRect& src, int lo, int ro, bool stretch,
                       const TSkinRect& dst) = 0;
    // Moves the normal image towards hover at k by the morph kind; the result is in normal.
    virtual void Morph(int normal, int hover, int morphKind, double k) = 0;
    virtual void InactiveEffect(int image, int inactiveEffect) = 0;
    // Draws a scratch image onto target 0 at (x, y).
    virtual void DrawImage(int image, int x, int y) = 0;

    virtual TmnTextSize MeasureText(const TmnObjectFont& font, const String& text) = 0;
    // One line with a transparent background, its cell's top-left at (x, y).
    virtual void Text(int target, const TmnObjectFont& font, TColor color, int x, int y, const String& text) = 0;

    virtual void PlainButton(const TSkinRect& dst, TmnPlainLook look, TmnPlainGlyph glyph, bool enabled) = 0;
};

}  // namespace fn
