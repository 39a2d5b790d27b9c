#include "skin/data/picture_scale.h"

#include <algorithm>
#include <cmath>

namespace fn {

namespace {

constexpr uint32_t kRgb = 0xFFFFFF;
constexpr uint32_t kKeyColour = 0xFF00FF;

// The source pixels under one device pixel, with the share of each.
struct TSpan {
    int first = 0;
    std::vector<float> weights;
};

std::vector<TSpan> AreaSpans(const TSkinAxisMap& map, int sourceLength, int length) {
    std::vector<TSpan> spans(static_cast<size_t>(length));
    for (int x = 0; x < length; ++x) {
        const double lo = std::clamp(map.Unmap(x), 0.0, double(sourceLength));
        const double hi = std::clamp(map.Unmap(x + 1), lo, double(sourceLength));
        TSpan& span = spans[static_cast<size_t>(x)];
        // Shares under a thousandth are rounding noise of the map, not coverage.
        constexpr double noise = 1e-3;
        int i = std::min(static_cast<int>(std::floor(lo + noise)), sourceLength - 1);
        span.first = i;
        for (; i < sourceLength && i < hi - noise; ++i) {
            const double share = std::min(hi, i + 1.0) - std::max(lo, double(i));
            span.weights.push_back(static_cast<float>(std::max(share, 0.0)));
        }
        if (span.weights.empty()) span.weights.push_back(1.0f);
    }
    return spans;
}

std::vector<int> CentreSamples(const TSkinAxisMap& map, int sourceLength, int length) {
    std::vector<int> at(static_cast<size_t>(length));
    for (int x = 0; x < length; ++x)
        at[static_cast<size_t>(x)] = std::clamp(static_cast<int>(std::floor(map.Unmap(x + 0.5))), 0, sourceLength - 1);
    return at;
}

// One pass along rows (stride 1) or columns (stride = row length): count lines of the source,
// each resampled through spans into the target.
uint32_t Blend(const uint32_t* source, ptrdiff_t stride, const TSpan& span) {
    if (span.weights.size() == 1) return source[span.first * stride];
    float sum[4] = {}, total = 0, key = 0;
    for (size_t k = 0; k < span.weights.size(); ++k) {
        const uint32_t px = source[(span.first + static_cast<ptrdiff_t>(k)) * stride];
        const float w = span.weights[k];
        if ((px & kRgb) == kKeyColour) {
            key += w;
            continue;
        }
        for (int c = 0; c < 4; ++c) sum[c] += w * float((px >> (8 * c)) & 0xFF);
        total += w;
    }
    if (key >= total) return kKeyColour;
    uint32_t out = 0;
    for (int c = 0; c < 4; ++c) out |= uint32_t(std::lround(sum[c] / total)) << (8 * c);
    return out;
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

    // Across first (w x h -> sw x h), then down.
    const std::vector<TSpan> across = AreaSpans(scale.X, w, sw), down = AreaSpans(scale.Y, h, sh);
    RawVector<uint32_t> wide;
    wide.resize(static_cast<size_t>(sw) * h);
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = &picture.Pixels[static_cast<size_t>(y) * w];
        uint32_t* target = &wide[static_cast<size_t>(y) * sw];
        for (int x = 0; x < sw; ++x) target[x] = Blend(row, 1, across[static_cast<size_t>(x)]);
    }
    for (int y = 0; y < sh; ++y) {
        const TSpan& span = down[static_cast<size_t>(y)];
        uint32_t* target = &out.Pixels[static_cast<size_t>(y) * sw];
        for (int x = 0; x < sw; ++x) target[x] = Blend(&wide[static_cast<size_t>(x)], sw, span);
    }
    return out;
}

}  // namespace fn
