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

TRegionData MaskToRegionData(const TmnFBitmap& mask, int dx, int dy) {
    if (mask.Empty()) return {};
    std::vector<TSkinRect> runs;
    const int width = mask.Width;
    for (int y = 0; y < mask.Height; ++y) {
        const uint8_t* row = mask.Rows[static_cast<size_t>(y)];
        int x = 0;
        while (x < width) {
            // Skip pixels outside: any byte of blue, green or red that is not 0.
            while (x < width && (row[3 * x] | row[3 * x + 1] | row[3 * x + 2]) != 0) ++x;
            if (x == width) break;
            const int x0 = x;
            while (x < width && (row[3 * x] | row[3 * x + 1] | row[3 * x + 2]) == 0) ++x;
            runs.push_back({dx + x0, dy + y, dx + x, dy + y + 1});
        }
    }
    return MakeRegionData(runs, {dx, dy, dx + width, dy + mask.Height});
}

}  // namespace fn
