#include "skin/data/skin_scale.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/core/bitmap_data.h"

namespace fn {

int ClampSkinDpi(int dpi) { return std::clamp(dpi, SkinBaseDpi, SkinMaxDpi); }

int ScaleLength(int value, double s) {
    const double scaled = std::round(value * s);  // std::round takes halves away from zero
    return static_cast<int>(std::clamp(scaled, double(INT_MIN), double(INT_MAX)));
}

TSkinAxisMap::TSkinAxisMap(double s, const std::vector<int>& coordinates, const std::vector<TSkinAxisStrip>& strips)
    : s_(s) {
    struct Range {
        int64_t begin, end;
        int step, cell;
        int64_t origin = 0;
    };
    std::vector<Range> taken;
    std::vector<int> at(coordinates);
    at.push_back(0);
    for (const TSkinAxisStrip& strip : strips) {
        if (strip.Step <= 0 || strip.Count <= 0 || strip.Start < 0 || strip.Start >= MaxBitmapDimension) continue;
        // Cells past the largest picture are never drawn: they neither count nor allocate.
        const int64_t count = std::min<int64_t>(strip.Count, (MaxBitmapDimension - strip.Start) / strip.Step);
        if (count <= 0) continue;
        const int64_t begin = strip.Start, end = begin + count * strip.Step;
        if (std::any_of(taken.begin(), taken.end(), [&](const Range& r) { return begin < r.end && r.begin < end; }))
            continue;
        taken.push_back({begin, end, strip.Step, std::max(1, ScaleLength(strip.Step, s))});
        for (int64_t k = 0; k <= count; ++k) at.push_back(static_cast<int>(begin + k * strip.Step));
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    std::sort(taken.begin(), taken.end(), [](const Range& a, const Range& b) { return a.begin < b.begin; });

    // Left to right: a coordinate inside a strip keeps its place in its cell, counted from
    // where the strip begins; any other takes the rule, pushed on where a strip before it
    // rounded up, so no two anchors come closer than their coordinates.
    anchors_.reserve(at.size());
    size_t next = 0;  // the first strip not yet passed
    for (int x : at) {
        while (next < taken.size() && taken[next].end < x) ++next;
        int64_t to;
        if (next < taken.size() && taken[next].begin < x) {
            const Range& r = taken[next];
            const int64_t offset = x - r.begin, k = offset / r.step;
            to = r.origin + k * r.cell + std::llround(double(offset % r.step) * r.cell / r.step);
        } else {
            to = ScaleLength(x, s);
            if (!anchors_.empty()) to = std::max(to, int64_t(anchors_.back().to) + (x - anchors_.back().from));
        }
        // A strip begins where it is placed (also at the end of the strip before it).
        for (size_t i = next; i < taken.size() && taken[i].begin <= x; ++i)
            if (taken[i].begin == x) taken[i].origin = to;
        anchors_.push_back({x, static_cast<int>(std::clamp<int64_t>(to, INT_MIN, INT_MAX))});
    }
}

int TSkinAxisMap::Map(int x) const {
    if (anchors_.empty()) return x;
    auto it = std::upper_bound(anchors_.begin(), anchors_.end(), x, [](int v, const Anchor& a) { return v < a.from; });
    if (it == anchors_.begin()) return anchors_.front().to + ScaleLength(x - anchors_.front().from, s_);
    const Anchor& lo = *std::prev(it);
    if (lo.from == x) return lo.to;
    if (it == anchors_.end()) return lo.to + ScaleLength(x - lo.from, s_);
    return lo.to + static_cast<int>(std::llround(double(x - lo.from) * (it->to - lo.to) / (it->from - lo.from)));
}

double TSkinAxisMap::Unmap(double x) const {
    if (anchors_.empty()) return x;
    auto it = std::upper_bound(anchors_.begin(), anchors_.end(), x, [](double v, const Anchor& a) { return v < a.to; });
    if (it == anchors_.begin()) return anchors_.front().from + (x - anchors_.front().to) / s_;
    const Anchor& lo = *std::prev(it);
    if (it == anchors_.end()) return lo.from + (x - lo.to) / s_;
    return lo.from + (x - lo.to) * (it->from - lo.from) / double(it->to - lo.to);
}

int TSkinAxisMap::WholeFactor() const {
    const int k = static_cast<int>(s_);
    if (k != s_) return 0;
    for (const Anchor& a : anchors_)
        if (int64_t(a.from) * k != a.to) return 0;
    return k;
}

// ---- building the scale ----

void TSkinScaleBuilder::AddPictureSize(int width, int height) {
    xs_.push_back(width);
    ys_.push_back(height);
}

void TSkinScaleBuilder::Rect(std::wstring_view, TSkinRect& r) {
    xs_.insert(xs_.end(), {r.Left, r.Right});
    ys_.insert(ys_.end(), {r.Top, r.Bottom});
}

void TSkinScaleBuilder::Point(std::wstring_view, TSkinPoint& p) {
    xs_.push_back(p.X);
    ys_.push_back(p.Y);
}

void TSkinScaleBuilder::Strip(const TSkinStrip& strip) {
    const TSkinRect& f = strip.First;
    if (f.IsEmpty() || strip.Count <= 0) return;
    if (strip.Vertical)
        yStrips_.push_back({f.Top, f.Height(), strip.Count});
    else
        xStrips_.push_back({f.Left, f.Width(), strip.Count});
}

TSkinScale TSkinScaleBuilder::Build() const {
    TSkinScale scale;
    scale.Dpi = dpi_;
    if (dpi_ == SkinBaseDpi) return scale;
    const double s = double(dpi_) / SkinBaseDpi;
    scale.X = TSkinAxisMap(s, xs_, xStrips_);
    scale.Y = TSkinAxisMap(s, ys_, yStrips_);
    return scale;
}

// ---- scaling the fields ----

void TSkinFieldScaler::Rect(std::wstring_view, TSkinRect& r) {
    r = {scale_.X.Map(r.Left), scale_.Y.Map(r.Top), scale_.X.Map(r.Right), scale_.Y.Map(r.Bottom)};
}

void TSkinFieldScaler::Point(std::wstring_view, TSkinPoint& p) { p = {scale_.X.Map(p.X), scale_.Y.Map(p.Y)}; }

void TSkinFieldScaler::Size(std::wstring_view, int& value, int) { value = ScaleLength(value, scale_.Factor()); }

}  // namespace fn
