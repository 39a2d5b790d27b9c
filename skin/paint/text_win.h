#pragma once
// Text measured and drawn in a canvas's font.
#include "platform/win/graphics.h"

namespace fn {

// DrawTextW with the canvas's font, text colour and background mode; returns its result.
int DrawTextWide(TCanvas& canvas, const String& text, RECT& r, UINT format);
int MeasureTextWidth(TCanvas& canvas, const String& text);
int MeasureTextHeight(TCanvas& canvas, const String& text);
// Shortens text in place to fit width, ending it with "..." when shortened.
void FitTextWithEllipsis(TCanvas& canvas, String& text, int width);
// One line, vertically centred in r; nothing for an empty text.
void DrawTextLine(TCanvas& canvas, const String& text, const RECT& r);

}  // namespace fn
