#include "skin/data/picture_scale.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/core/exceptions.h"

namespace fn {

namespace {

constexpr uint32_t kRgb = 0xFFFFFF;
constexpr uint32_t kKeyColour = 0xFF00FF;

// One device pixel of an axis: at scales of 100 % and more it lies within one source pixel
// (Near = 256) or reaches into the next (Near of 256ths from First, the rest from First + 1).
struct TTap {
    int First = 0;
    uint32_t Near = 256;
    bool Two = false;
};

// The area each device pixel of one axis covers, in source pixels, computed once per axis.
std::vector<TTap> AreaTaps(const TSkinAxisMap& map, int sourceLength, int length) {
    std::vector<TTap> taps(static_cast<size_t>(length));
    // Shares under a thousandth are rounding noise of the map, not coverage.
    constexpr double noise = 1e-3;
    const double end = sourceLength;
    double next = map.Unmap(0);
    for (int x = 0; x < length; ++x) {
        const double lo = std::clamp(next, 0.0, end);
        next = map.Unmap(x + 1);
        const double hi = std::clamp(next, lo, end);
        int i = std::min(static_cast<int>(std::floor(lo + noise)), sourceLength - 1);
        TTap& tap = taps[static_cast<size_t>(x)];
        tap.First = i;
        double shares[2];
        int n = 0;
        for (; i < sourceLength && i < hi - noise && n < 2; ++i)
            shares[n++] = std::max(std::min(hi, i + 1.0) - std::max(lo, double(i)), 0.0);
        if (n < 2) continue;
        // In 256ths summing to a whole pixel; the larger share takes what rounding left.
        const double total = shares[0] + shares[1];
        const uint32_t a = static_cast<uint32_t>(std::lround(shares[0] / total * 256));
        const uint32_t b = static_cast<uint32_t>(std::lround(shares[1] / total * 256));
        tap.Near = b > a ? a : 256 - b;
        tap.Two = true;
    }
    return taps;
}

// The average of two pixels, near weighing near/256, the key colour kept apart: red and
// blue, then alpha and green, two channels at once in 16-bit lanes.
uint32_t Blend(uint32_t a, uint32_t b, uint32_t near) {
    const uint32_t far = 256 - near;
    const bool keyA = (a & kRgb) == kKeyColour, keyB = (b & kRgb) == kKeyColour;
    if (!keyA && !keyB) {
        const uint32_t rb = (a & 0x00FF00FF) * near + (b & 0x00FF00FF) * far;
        const uint32_t ag = ((a >> 8) & 0x00FF00FF) * near + ((b >> 8) & 0x00FF00FF) * far;
        return (((rb + 0x00800080) >> 8) & 0x00FF00FF) | ((ag + 0x00800080) & 0xFF00FF00);
    }
    const uint32_t key = (keyA ? near : 0) + (keyB ? far : 0);
    if (2 * key >= 256) return kKeyColour;
    // The other pixel alone, in its own proportion.
    const uint32_t px = keyA ? b : a, weight = keyA ? far : near;
    const uint32_t rb = (px & 0x00FF00FF) * weight, ag = ((px >> 8) & 0x00FF00FF) * weight;
    const uint32_t total = 256 - key;
    auto channel = [&](uint32_t lanes, int shift) { return ((((lanes >> shift) & 0xFFFF) + total / 2) / total) & 0xFF; };
    return channel(rb, 0) | channel(ag, 0) << 8 | channel(rb, 16) << 16 | channel(ag, 16) << 24;
}

bool TwoColourPixels(const uint32_t* begin, const uint32_t* end) {
    return std::all_of(begin, end, [](uint32_t px) {
        const uint32_t rgb = px & kRgb;
        return rgb == 0 || rgb == kRgb;
    });
}

// Whole factors: every source pixel becomes a kx by ky block. A source row of w pixels is
// widened once into the first of its ky device rows (target, sw pixels each) and copied down.
void ReplicateRow(const uint32_t* source, size_t w, int kx, int ky, uint32_t* target, size_t sw) {
    if (kx == 2) {
        for (size_t x = 0; x < w; ++x) target[2 * x] = target[2 * x + 1] = source[x];
    } else {
        for (size_t x = 0; x < w; ++x) std::fill_n(target + x * size_t(kx), kx, source[x]);
    }
    for (int k = 1; k < ky; ++k) std::memcpy(target + k * sw, target, sw * sizeof(uint32_t));
}

void Replicate(const TBitmapData& picture, int kx, int ky, TBitmapData& out) {
    const size_t w = size_t(picture.Width), sw = size_t(out.Width);
    for (int y = 0; y < picture.Height; ++y)
        ReplicateRow(&picture.Pixels[y * w], w, kx, ky, &out.Pixels[size_t(y) * ky * sw], sw);
}

// A picture of the scaled size, its pixels not yet written.
TBitmapData ScaledFrame(int width, int height, const TSkinScale& scale) {
    TBitmapData out;
    out.Width = scale.X.Map(width);
    out.Height = scale.Y.Map(height);
    // A picture at the reading limit would grow past it with the scale (to gigabytes at 500 %).
    if (int64_t(out.Width) * out.Height > MaxBitmapPixels)
        throw EInvalidGraphic(L"Das Bild des Skins ist für diese Anzeigegröße zu groß");
    out.Pixels.resize(static_cast<size_t>(out.Width) * out.Height);  // every pixel is written by the scaling
    return out;
}

// A scaled mask keeps its source's depth and colour table; anything else is 24 bits (32 for a
// 32-bit source, whose alpha it keeps).
void SetDepth(TBitmapData& out, bool mask, int sourceBits, const std::vector<uint32_t>& sourcePalette) {
    if (mask) {
        out.BitsPerPixel = sourceBits;
        out.Palette = sourcePalette;
    } else {
        out.BitsPerPixel = sourceBits == 32 ? 32 : 24;
    }
}

// The whole factors of the map when they take the picture's size exactly, else 0.
int WholeFactor(const TSkinAxisMap& map, int length) {
    const int k = map.WholeFactor();
    return k > 0 && map.Map(length) == length * k ? k : 0;
}

// Masks: each device pixel takes the source pixel under its centre, so only two colours remain.
void SampleCentres(const TBitmapData& picture, const TSkinScale& scale, TBitmapData& out) {
    auto centres = [](const TSkinAxisMap& map, int sourceLength, int length) {
        std::vector<int> at(static_cast<size_t>(length));
        for (int x = 0; x < length; ++x)
            at[size_t(x)] = std::clamp(static_cast<int>(std::floor(map.Unmap(x + 0.5))), 0, sourceLength - 1);
        return at;
    };
    const int w = picture.Width, sw = out.Width;
    const std::vector<int> xs = centres(scale.X, w, sw), ys = centres(scale.Y, picture.Height, out.Height);
    for (int y = 0; y < out.Height; ++y) {
        const uint32_t* row = &picture.Pixels[size_t(ys[size_t(y)]) * w];
        uint32_t* target = &out.Pixels[size_t(y) * sw];
        if (y > 0 && ys[size_t(y)] == ys[size_t(y) - 1]) {
            std::memcpy(target, target - sw, size_t(sw) * sizeof(uint32_t));
            continue;
        }
        for (int x = 0; x < sw; ++x) target[x] = row[xs[size_t(x)]];
    }
}

// Other scales: separable. Source rows are averaged across into device columns, then device
// rows between two source rows average the two resampled rows (the last two are kept).
void AreaAverage(const TBitmapData& picture, const TSkinScale& scale, TBitmapData& out) {
    const int w = picture.Width, sw = out.Width;
    const std::vector<TTap> across = AreaTaps(scale.X, w, sw), down = AreaTaps(scale.Y, picture.Height, out.Height);
    auto resampleRow = [&](int sy, uint32_t* target) {
        const uint32_t* row = &picture.Pixels[size_t(sy) * w];
        for (const TTap& t : across)
            *target++ = t.Two ? Blend(row[t.First], row[t.First + 1], t.Near) : row[t.First];
    };
    std::vector<uint32_t> older(static_cast<size_t>(sw)), newer(static_cast<size_t>(sw));
    int olderRow = -1, newerRow = -1;
    auto acrossRow = [&](int sy) -> const uint32_t* {
        if (sy == newerRow) return newer.data();
        if (sy == olderRow) return older.data();
        std::swap(older, newer);  // buffers move, pointers handed out stay valid
        olderRow = newerRow;
        resampleRow(sy, newer.data());
        newerRow = sy;
        return newer.data();
    };
    for (size_t y = 0; y < down.size(); ++y) {
        uint32_t* target = &out.Pixels[y * size_t(sw)];
        const TTap& t = down[y];
        if (!t.Two) {
            // Rows replicated from one source row are copied from the row above.
            if (y > 0 && !down[y - 1].Two && down[y - 1].First == t.First)
                std::memcpy(target, target - sw, size_t(sw) * sizeof(uint32_t));
            else
                resampleRow(t.First, target);
            continue;
        }
        const uint32_t* upper = acrossRow(t.First);
        const uint32_t* lower = acrossRow(t.First + 1);
        for (int x = 0; x < sw; ++x) target[x] = Blend(upper[x], lower[x], t.Near);
    }
}

}  // namespace

bool IsTwoColourMask(const TBitmapData& picture) {
    return TwoColourPixels(picture.Pixels.data(), picture.Pixels.data() + picture.Pixels.size());
}

TBitmapData ScalePicture(const TBitmapData& picture, const TSkinScale& scale) {
    if (picture.Empty() || scale.Unscaled()) return picture;
    TBitmapData out = ScaledFrame(picture.Width, picture.Height, scale);
    const bool mask = IsTwoColourMask(picture);
    SetDepth(out, mask, picture.BitsPerPixel, picture.Palette);
    // At whole factors every device pixel lies inside one source pixel, which is where area
    // average and centre sampling agree: plain replication.
    const int kx = WholeFactor(scale.X, picture.Width), ky = WholeFactor(scale.Y, picture.Height);
    if (kx > 0 && ky > 0)
        Replicate(picture, kx, ky, out);
    else if (mask)
        SampleCentres(picture, scale, out);
    else
        AreaAverage(picture, scale, out);
    return out;
}

TBitmapData ScalePicture(const TBitmapRows& rows, const TSkinScale& scale) {
    const int kx = WholeFactor(scale.X, rows.Width()), ky = WholeFactor(scale.Y, rows.Height());
    if (rows.Empty() || scale.Unscaled() || rows.RunLength() || kx == 0 || ky == 0) {
        TBitmapData picture;
        rows.Decode(picture);
        if (picture.Empty() || scale.Unscaled()) return picture;  // moved, not copied
        return ScalePicture(picture, scale);
    }
    // Each row decoded once, straight into its block: one buffer and one write per picture.
    TBitmapData out = ScaledFrame(rows.Width(), rows.Height(), scale);
    const size_t w = size_t(rows.Width()), sw = size_t(out.Width);
    // A colour table of black and white alone makes a mask whatever the indexes (one past the
    // table is black); other pictures are looked at row by row.
    const std::vector<uint32_t>& palette = rows.Palette();
    bool mask = true;
    bool look = !(rows.BitsPerPixel() <= 8 && TwoColourPixels(palette.data(), palette.data() + palette.size()));
    rows.ForEachRow([&](int y, const uint32_t* row) {
        if (look && !TwoColourPixels(row, row + w)) mask = look = false;
        ReplicateRow(row, w, kx, ky, &out.Pixels[size_t(y) * ky * sw], sw);
    });
    SetDepth(out, mask, rows.BitsPerPixel(), rows.Palette());
    return out;
}

}  // namespace fn
