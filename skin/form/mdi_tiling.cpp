#include "skin/form/mdi_tiling.h"

#include <algorithm>

namespace fn {

namespace {

// Splits length into parts of at least minimum: part i of count starts at Start(i) and ends at
// Start(i + 1); the last part takes the rest. When even the minimum does not fit, every part has
// the minimum and they run past the length.
int Start(int i, int count, int length, int minimum) {
    if (length / count < minimum) return i * minimum;
    return static_cast<int>(static_cast<long long>(length) * i / count);
}

// Tiles count windows as lines (columns when side by side) across `across` and along `along`.
std::vector<TSkinRect> Lines(int count, int across, int along, int minAcross, int minAlong, bool columns) {
    const int lines = std::clamp(across / std::max(1, minAcross), 1, count);
    std::vector<TSkinRect> out;
    out.reserve(static_cast<size_t>(count));
    // The first lines take the smaller share; the later ones one window more (as the platform does).
    const int base = count / lines, extra = count % lines;
    for (int line = 0; line < lines; ++line) {
        const int inLine = base + (line >= lines - extra ? 1 : 0);
        const int a0 = Start(line, lines, across, minAcross), a1 = Start(line + 1, lines, across, minAcross);
        for (int k = 0; k < inLine; ++k) {
            const int b0 = Start(k, inLine, along, minAlong), b1 = Start(k + 1, inLine, along, minAlong);
            out.push_back(columns ? TSkinRect{a0, b0, a1, b1} : TSkinRect{b0, a0, b1, a1});
        }
    }
    return out;
}

}  // namespace

std::vector<TSkinRect> TileDocuments(const TmnTileRequest& r) {
    if (r.Count <= 0) return {};
    const int w = std::max(0, r.AreaWidth), h = std::max(0, r.AreaHeight);
    const int minW = std::max(1, r.MinWidth), minH = std::max(1, r.MinHeight);
    if (r.SideBySide) return Lines(r.Count, w, h, minW, minH, true);
    return Lines(r.Count, h, w, minH, minW, false);
}

}  // namespace fn
