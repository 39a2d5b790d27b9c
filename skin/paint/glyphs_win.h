#pragma once
// Glyphs: one picture out of a strip of glyphs, and the built-in line glyphs drawn where a skin
// has no picture for a caption button, a menu check mark or an arrow.
#include "platform/win/graphics.h"

namespace fn {

// Glyph number glyph (from 1) of a strip of count glyphs, drawn at (x, y) with the strip's
// bottom-left colour left out.
void DrawGlyphFrame(TCanvas& canvas, int x, int y, TBitmap& strip, int count, int glyph);

// Fixed glyphs at (x, y) in the colour; lines include their start and exclude their end point.
void DrawCheckGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawCloseGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawSysMenuGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawMinimizeGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawMaximizeGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawRestoreGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawRollDownGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawRollUpGlyph(TCanvas& canvas, int x, int y, TColor color);
void DrawTrayGlyph(TCanvas& canvas, int x, int y, TColor color);

// One of the fixed glyphs (or any drawn within 12 x 12 pixels from (x, y)) at a display scale.
// At 96 dpi it is drawn as it is; otherwise drawn once at its own size, then each of its
// pixels filled as the block of device pixels it maps to, so its lines stay solid and sharp.
// (x, y) is where the glyph's own (0, 0) lands, in device pixels.
using TGlyphDraw = void (*)(TCanvas& canvas, int x, int y, TColor color);
void DrawGlyphAtDpi(TCanvas& canvas, TGlyphDraw draw, int x, int y, TColor color, int dpi);

// A triangle centred in r, 4 pixels deep and 7 wide at 96 dpi and as much larger as the dpi
// makes it; direction 1 left, 2 right, 3 up, 4 down, others nothing.
void DrawArrowGlyph(TCanvas& canvas, const RECT& r, TColor color, int direction, int dpi);

}  // namespace fn
