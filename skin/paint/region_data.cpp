#include "skin/paint/region_data.h"

#include <cstring>

namespace fn {

namespace {

constexpr int kHeaderSize = 32;
constexpr int kRectSize = 16;

void Put32(uint8_t* p, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

void PutRect(uint8_t* p, const TSkinRect& r) {
    Put32(p, r.Left);
    Put32(p + 4, r.Top);
    Put32(p + 8, r.Right);
    Put32(p + 12, r.Bottom);
}

}  // namespace

int TRegionData::RectCount() const {
    return Bytes.size() < kHeaderSize ? 0 : static_cast<int>((Bytes.size() - kHeaderSize) / kRectSize);
}

TRegionData MakeRegionData(const std::vector<TSkinRect>& rects, const TSkinRect& bounds) {
    TRegionData data;
    data.Bytes.assign(kHeaderSize + kRectSize * rects.size(), 0);
    uint8_t* p = data.Bytes.data();
    Put32(p, kHeaderSize);
    Put32(p + 4, 1);  // a list of rectangles
    Put32(p + 8, static_cast<int32_t>(rects.size()));
    Put32(p + 12, 0);
    PutRect(p + 16, bounds);
    p += kHeaderSize;
    for (const TSkinRect& r : rects) {
        PutRect(p, r);
        p += kRectSize;
    }
    return data;
}

namespace {

inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// True when some byte of v is 0.
inline bool HasZeroByte(uint64_t v) {
    return ((v - 0x0101010101010101ull) & ~v & 0x8080808080808080ull) != 0;
}

// The first pixel at or after x that is not pure black (width when there is none). Black runs
// are skipped eight bytes at a time: the run ends in the pixel that holds the first non-zero byte.
int EndOfBlack(const uint8_t* row, int x, int width) {
    const int end = 3 * width;
    int b = 3 * x;
    while (b + 16 <= end && (Load64(row + b) | Load64(row + b + 8)) == 0) b += 16;
    while (b < end && row[b] == 0) ++b;
    return b / 3;
}

// The first pure black pixel at or after x (width when there is none). Eight bytes without a
// zero byte hold no part of a black pixel, so the search may start past them.
int NextBlack(const uint8_t* row, int x, int width) {
    const int end = 3 * width;
    while (x < width) {
        const int b = 3 * x;
        if (b + 8 <= end && !HasZeroByte(Load64(row + b))) {
            x = (b + 8 + 2) / 3;
            continue;
        }
        if ((row[b] | row[b + 1] | row[b + 2]) == 0) return x;
        ++x;
    }
    return width;
}

}  // namespace

TRegionData MaskToRegionData(const TPixelView& mask, int dx, int dy) {
    if (!mask.Bits || mask.Width <= 0 || mask.Height <= 0) return {};
    std::vector<TSkinRect> runs;
    const int width = mask.Width, height = mask.Height;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = mask.Row(y);
        for (int x = NextBlack(row, 0, width); x < width;) {
            const int x1 = EndOfBlack(row, x, width);
            runs.push_back({dx + x, dy + y, dx + x1, dy + y + 1});
            x = NextBlack(row, x1, width);
        }
    }
    return MakeRegionData(runs, {dx, dy, dx + width, dy + height});
}

}  // namespace fn
