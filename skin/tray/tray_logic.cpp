#include "skin/tray/tray_logic.h"

#include <algorithm>

namespace fn {

std::array<wchar_t, 128> TrayTip(const String& hint, bool showHint) {
    std::array<wchar_t, 128> tip{};
    if (showHint && !hint.empty()) {
        const size_t n = std::min<size_t>(hint.size(), tip.size() - 1);
        std::copy_n(hint.data(), n, tip.data());
    }
    return tip;
}

}  // namespace fn
