#include "skin/paint/glyphs_win.h"

#include <algorithm>

#include "platform/core/form_data.h"
#include "skin/paint/tiling.h"

namespace fn {

namespace {

// Sets the pen (and a clear or solid brush) for one glyph and puts the canvas's own back after.
class TGlyphPen {
public:
    TGlyphPen(TCanvas& canvas, TColor color, bool filled) : canvas_(canvas) {
        pen_.Assign(canvas.Pen());
        brush_.Assign(canvas.Brush());
        canvas.Pen().SetColor(color);
        canvas.Pen().SetWidth(1);
        canvas.Pen().SetStyle(TPenStyle::psSolid);
        if (filled)
            canvas.Brush().SetColor(color);
        else
            canvas.Brush().SetStyle(TBrushStyle::bsClear);
    }
    ~TGlyphPen() {
        canvas_.Pen().Assign(pen_);
        canvas_.Brush().Assign(brush_);
    }

private:
    TCanvas& canvas_;
    TPen pen_;
    TBrush brush_;
};

void Line(TCanvas& c, int x0, int y0, int x1, int y1) {
    c.MoveTo(x0, y0);
    c.LineTo(x1, y1);
}

}  // namespace

void DrawGlyphFrame(TCanvas& canvas, int x, int y, TBitmap& strip, int count, int glyph) {
    const TSkinRect src = GlyphFrameRect(strip.Width(), strip.Height(), count, glyph);
    if (src.IsEmpty()) return;
    TBitmap piece(src.Width(), src.Height());
    piece.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, strip.Canvas(),
                            {src.Left, src.Top, src.Right, src.Bottom});
    piece.SetTransparent(true);
    canvas.Draw(x, y, piece);
}

void DrawCheckGlyph(TCanvas& canvas, int x, int y, TColor color) {
    TGlyphPen pen(canvas, color, false);
    for (int i = 0; i < 3; ++i) {
        canvas.MoveTo(x, y + 5 - i);
        canvas.LineTo(x + 2, y + 7 - i);
        canvas.LineTo(x + 7, y + 2 - i);
    }
}

void DrawCloseGlyph(TCanvas& canvas, int x, int y, TColor color) {
    TGlyphPen pen(canvas, color, false);
    Line(canvas, x + 1, y + 1, x + 9, y + 9);
    Line(canvas, x + 9, y + 1, x + 1, y + 9);
    Line(canvas, x + 2, y + 1, x + 10, y + 9);
    Line(canvas, x + 8, y + 1, x, y + 9);
}

void DrawSysMenuGlyph(TCanvas& canvas, int x, int y, TColor color) {
    TGlyphPen pen(canvas, color, false);
    canvas.Rectangle(x + 1, y + 3, x + 9, y + 6);
}

void DrawMinimizeGlyph(TCanvas& canvas, int x, int y, TColor color) {
    TGlyphPen pen(canvas, color, false);
    Line(canvas, x + 1, y + 8, x + 9, y + 8);
    Line(canvas, x + 1, y + 9, x + 9, y + 9);
}

void DrawMaximizeGlyph(TCanvas& canvas, int x, int y, TColor color) {
    TGlyphPen pen(canvas, color, false);
    canvas.Rectangle(x, y, x + 11, y + 10);
    canvas.Rectangle(x, y, x + 11, y + 2);
}

void DrawRestoreGlyph(TCanvas& canvas, int x, int y, TColor color) {
    TGlyphPen pen(canvas, color, false);
    canvas.Rectangle(x + 2, y, x + 10, y + 6);
    canvas.Rectangle(x + 2, y, x + 10, y + 2);
    canvas.Rectangle(x, y + 4, x + 7, y + 10);
    canvas.Rectangle(x, y + 4, x + 7, y + 6);
}

void DrawRollDownGlyph(TCanvas& canvas, int x, int y, TColor color) {
    TGlyphPen pen(canvas, color, false);
    for (int i = 0; i <= 4; ++i) Line(canvas, x + 5 - i, y + 6 - i, x + 5 + i, y + 6 - i);
}

void DrawRollUpGlyph(TCanvas& canvas, int x, int y, TColor color) {
    TGlyphPen pen(canvas, color, false);
    for (int i = 0; i <= 4; ++i) Line(canvas, x + 1 + i, y + 6 - i, x + 9 - i, y + 6 - i);
}

void DrawTrayGlyph(TCanvas& canvas, int x, int y, TColor color) {
    TGlyphPen pen(canvas, color, true);
    canvas.Rectangle(x + 2, y + 2, x + 7, y + 7);
}

void DrawGlyphAtDpi(TCanvas& canvas, TGlyphDraw draw, int x, int y, TColor color, int dpi) {
    if (dpi == 96) {
        draw(canvas, x, y, color);
        return;
    }
    constexpr int box = 12;
    TBitmap glyph(box, box);
    TCanvas& g = glyph.Canvas();
    g.Brush().SetColor(clWhite);
    g.FillRect({0, 0, box, box});
    draw(g, 0, 0, clBlack);
    TCanvasState state(canvas);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(color);
    auto at = [dpi](int v) { return ScaledForDpi(v, dpi); };
    for (int j = 0; j < box; ++j) {
        const uint8_t* row = glyph.ScanLine(j);  // blue, green, red; the background is white
        for (int i = 0; i < box; ++i)
            if (row[3 * i] != 255 || row[3 * i + 1] != 255 || row[3 * i + 2] != 255)
                canvas.FillRect({x + at(i), y + at(j), x + at(i + 1), y + at(j + 1)});
    }
}

void DrawArrowGlyph(TCanvas& canvas, const RECT& r, TColor color, int direction, int dpi) {
    if (direction < 1 || direction > 4) return;
    TGlyphPen pen(canvas, color, false);
    const int cx = r.left + (r.right - r.left) / 2;
    const int cy = r.top + (r.bottom - r.top) / 2;
    // Lines of 1, 3, 5, ... pixels from the tip, which lies half the depth before the centre.
    const int depth = std::max(4, ScaledForDpi(4, dpi)), tip = depth / 2;
    for (int i = 0; i < depth; ++i) {
        switch (direction) {
            case 1: Line(canvas, cx - tip + i, cy - i, cx - tip + i, cy + i + 1); break;
            case 2: Line(canvas, cx + tip - i, cy - i, cx + tip - i, cy + i + 1); break;
            case 3: Line(canvas, cx - i, cy - tip + i, cx + i + 1, cy - tip + i); break;
            case 4: Line(canvas, cx - i, cy + tip - i, cx + i + 1, cy + tip - i); break;
        }
    }
}

}  // namespace fn
