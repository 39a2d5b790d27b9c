#include "skin/data/picture_scale.h"

#include <algorithm>
#include <cmath>

namespace fn {

namespace {

constexpr uint32_t kRgb = 0xFFFFFF;
constexpr uint32_t kKeyColour = 0xFF00FF;

// For each device pixel of one axis, the source pixels under it and the share of each; a
// device pixel inside one source pixel (every pixel at whole factors) is a plain copy.
struct TAxisPlan {
    std::vector<int> first, count, offset;  // per device pixel
    std::vector<uint32_t> weights;          // count entries from offset on, in 256ths, summing to 256
};

TAxisPlan AreaPlan(const TSkinAxisMap& map, int sourceLength, int length) {
    TAxisPlan plan;
    plan.first.resize(static_cast<size_t>(length));
    plan.count.resize(static_cast<size_t>(length));
    plan.offset.resize(static_cast<size_t>(length));
    // Shares under a thousandth are rounding noise of the map, not coverage.
    constexpr double noise = 1e-3;
    for (int x = 0; x < length; ++x) {
        const double lo = std::clamp(map.Unmap(x), 0.0, double(sourceLength));
        const double hi = std::clamp(map.Unmap(x + 1), lo, double(sourceLength));
        const size_t at = static_cast<size_t>(x);
        int i = std::min(static_cast<int>(std::floor(lo + noise)), sourceLength - 1);
        plan.first[at] = i;
        plan.offset[at] = static_cast<int>(plan.weights.size());
        // At scales of 100 % and more a device pixel is at most one source pixel long.
        double shares[2];
        int n = 0;
        for (; i < sourceLength && i < hi - noise && n < 2; ++i)
            shares[n++] = std::max(std::min(hi, i + 1.0) - std::max(lo, double(i)), 0.0);
        if (n == 0) shares[n++] = 1;
        double total = 0;
        for (int k = 0; k < n; ++k) total += shares[k];
        uint32_t sum = 0, largest = 0;
        for (int k = 0; k < n; ++k) {
            const uint32_t weight = static_cast<uint32_t>(std::lround(shares[k] / total * 256));
            plan.weights.push_back(weight);
            sum += weight;
            if (weight > plan.weights[plan.offset[at] + largest]) largest = static_cast<uint32_t>(k);
        }
        plan.weights[plan.offset[at] + largest] += 256 - sum;  // the shares sum to a whole pixel
        plan.count[at] = n;
    }
    return plan;
}

std::vector<int> CentreSamples(const TSkinAxisMap& map, int sourceLength, int length) {
    std::vector<int> at(static_cast<size_t>(length));
    for (int x = 0; x < length; ++x)
        at[static_cast<size_t>(x)] = std::clamp(static_cast<int>(std::floor(map.Unmap(x + 0.5))), 0, sourceLength - 1);
    return at;
}

// The area average of count pixels stride apart, the key colour kept apart: red and blue,
// then alpha and green, two channels at once in 16-bit lanes.
uint32_t Blend(const uint32_t* source, ptrdiff_t stride, const uint32_t* weights, int count) {
    uint32_t rb = 0, ag = 0, key = 0;
    for (int k = 0; k < count; ++k) {
        const uint32_t px = source[k * stride];
        if ((px & kRgb) == kKeyColour) {
            key += weights[k];
            continue;
        }
        rb += (px & 0x00FF00FF) * weights[k];
        ag += ((px >> 8) & 0x00FF00FF) * weights[k];
    }
    if (key == 0) return (((rb + 0x00800080) >> 8) & 0x00FF00FF) | ((ag + 0x00800080) & 0xFF00FF00);
    if (2 * key >= 256) return kKeyColour;
    // The other colours alone, in their own proportions.
    const uint32_t total = 256 - key;
    auto channel = [&](uint32_t lanes, int shift) { return ((((lanes >> shift) & 0xFFFF) + total / 2) / total) & 0xFF; };
    return channel(rb, 0) | channel(ag, 0) << 8 | channel(rb, 16) << 16 | channel(ag, 16) << 24;
}

}  // namespace

bool IsTwoColourMask(const TBitmapData& picture) {
    return std::all_of(picture.Pixels.begin(), picture.Pixels.end(), [](uint32_t px) {
        const uint32_t rgb = px & kRgb;
        return rgb == 0 || rgb == kRgb;
    });
}

TBitmapData ScalePicture(const TBitmapData& picture, const TSkinScale& scale) {
    if (picture.Empty() || scale.Unscaled()) return picture;
    const int w = picture.Width, h = picture.Height;
    const int sw = scale.X.Map(w), sh = scale.Y.Map(h);
    TBitmapData out;
    out.Width = sw;
    out.Height = sh;
    out.BitsPerPixel = picture.BitsPerPixel == 32 ? 32 : 24;
    out.Pixels.resize(static_cast<size_t>(sw) * sh);

    if (IsTwoColourMask(picture)) {
        const std::vector<int> xs = CentreSamples(scale.X, w, sw), ys = CentreSamples(scale.Y, h, sh);
        for (int y = 0; y < sh; ++y) {
            const uint32_t* row = &picture.Pixels[static_cast<size_t>(ys[static_cast<size_t>(y)]) * w];
            uint32_t* target = &out.Pixels[static_cast<size_t>(y) * sw];
            for (int x = 0; x < sw; ++x) target[x] = row[xs[static_cast<size_t>(x)]];
        }
        out.BitsPerPixel = picture.BitsPerPixel;
        out.Palette = picture.Palette;
        return out;
    }

    // Row by row: a device row inside one source row is that row resampled across; one
    // between two blends both, each resampled across once (the last two are kept).
    const TAxisPlan across = AreaPlan(scale.X, w, sw), down = AreaPlan(scale.Y, h, sh);
    const bool copiesAcross = std::all_of(across.count.begin(), across.count.end(), [](int n) { return n == 1; });
    auto resampleRow = [&](int sy, uint32_t* target) {
        const uint32_t* row = &picture.Pixels[static_cast<size_t>(sy) * w];
        if (copiesAcross) {
            for (size_t x = 0; x < size_t(sw); ++x) target[x] = row[across.first[x]];
            return;
        }
        for (size_t x = 0; x < size_t(sw); ++x)
            target[x] = across.count[x] == 1 ? row[across.first[x]]
                                             : Blend(row + across.first[x], 1, &across.weights[size_t(across.offset[x])],
                                                     across.count[x]);
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
    for (size_t y = 0; y < size_t(sh); ++y) {
        uint32_t* target = &out.Pixels[y * sw];
        if (down.count[y] == 1) {
            // Rows replicated from one source row are copied from the row above.
            if (y > 0 && down.count[y - 1] == 1 && down.first[y - 1] == down.first[y])
                std::copy(target - sw, target, target);
            else
                resampleRow(down.first[y], target);
            continue;
        }
        const uint32_t* upper = acrossRow(down.first[y]);
        const uint32_t* lower = acrossRow(down.first[y] + 1);
        const uint32_t* weights = &down.weights[size_t(down.offset[y])];
        for (int x = 0; x < sw; ++x) {
            const uint32_t column[2] = {upper[x], lower[x]};
            target[x] = Blend(column, 1, weights, 2);
        }
    }
    return out;
}

}  // namespace fn
