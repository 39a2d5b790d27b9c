#include "skin/paint/text_fit.h"

namespace fn {

std::wstring FitTextWithEllipsis(const std::wstring& text, int width, const TTextMeasure& measure) {
    if (measure(text) <= width) return text;
    static constexpr std::wstring_view kEllipsis = L"...";
    std::wstring rest = text;
    while (!rest.empty()) {
        const bool pair = rest.size() >= 2 && rest.back() >= 0xDC00 && rest.back() <= 0xDFFF &&
                          rest[rest.size() - 2] >= 0xD800 && rest[rest.size() - 2] <= 0xDBFF;
        rest.resize(rest.size() - (pair ? 2 : 1));
        if (measure(rest + std::wstring(kEllipsis)) <= width) break;
    }
    return rest + std::wstring(kEllipsis);
}

}  // namespace fn
