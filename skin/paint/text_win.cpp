#include "skin/paint/text_win.h"

#include "skin/paint/text_fit.h"

namespace fn {

int DrawTextWide(TCanvas& canvas, const String& text, RECT& r, UINT format) {
    canvas.PrepareText();
    return DrawTextW(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &r, format);
}

namespace {

RECT Measure(TCanvas& canvas, std::wstring_view text) {
    RECT r{0, 0, 0, 0};
    canvas.PrepareText();
    DrawTextW(canvas.Handle(), text.data(), static_cast<int>(text.size()), &r, DT_CALCRECT);
    return r;
}

}  // namespace

int MeasureTextWidth(TCanvas& canvas, const String& text) {
    const RECT r = Measure(canvas, text);
    return r.right - r.left;
}

int MeasureTextHeight(TCanvas& canvas, const String& text) {
    const RECT r = Measure(canvas, text);
    return r.bottom - r.top;
}

void FitTextWithEllipsis(TCanvas& canvas, String& text, int width) {
    text = FitTextWithEllipsis(text, width, [&](std::wstring_view t) {
        const RECT r = Measure(canvas, t);
        return static_cast<int>(r.right - r.left);
    });
}

void DrawTextLine(TCanvas& canvas, const String& text, const RECT& r) {
    if (text.empty()) return;
    RECT box = r;
    DrawTextWide(canvas, text, box, DT_SINGLELINE | DT_VCENTER);
}

}  // namespace fn
