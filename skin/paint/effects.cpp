#include "skin/paint/effects.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace fn {

namespace {

// Round to nearest, ties to even, by the floating-point unit's own rounding: after adding
// 1.5 * 2^52 no fraction bits are left, so the addition rounds. Exact for |x| < 2^51.
inline double RoundEven(double x) {
    constexpr double kMagic = 6755399441055744.0;
    return (x + kMagic) - kMagic;
}

inline uint8_t ToByte(double x) {
    const double r = RoundEven(x);
    if (!(r > 0)) return 0;  // also NaN
    if (r >= 255) return 255;
    return static_cast<uint8_t>(r);
}

inline double Clamp01(double v) {
    if (!(v >= 0)) return 0;
    return v > 1 ? 1 : v;
}

// round(n * k) for k in 0..1.
inline int RoundedPart(int n, double k) { return static_cast<int>(RoundEven(n * k)); }

// pixel = w * S + (1 - w) * O over a run of bytes with one weight.
void BlendBytes(uint8_t* s, const uint8_t* o, int count, double w) {
    if (w == 1) return;
    if (w == 0) {
        std::memcpy(s, o, static_cast<size_t>(count));
        return;
    }
    const double v = 1 - w;
    for (int i = 0; i < count; ++i) s[i] = ToByte(w * s[i] + v * o[i]);
}

// Every row: column x becomes weight[x] * S + (1 - weight[x]) * O.
void BlendColumns(TPixelBuffer& s, const TPixelBuffer& o, const std::vector<double>& weight) {
    for (int y = 0; y < s.Height; ++y) {
        uint8_t* row = s.RowPointer(y);
        const uint8_t* other = o.RowPointer(y);
        for (int x = 0; x < s.Width; ++x) BlendBytes(row + 3 * x, other + 3 * x, 3, weight[static_cast<size_t>(x)]);
    }
}

// Weights for the cells from..to (walking by dir), starting at 0 and growing by step, capped at 1.
void Ramp(std::vector<double>& weight, int from, int to, int dir, double step) {
    double w = 0;
    for (int i = from;; i += dir) {
        weight[static_cast<size_t>(i)] = w;
        if (i == to) break;
        w = std::min(w + step, 1.0);
    }
}

void ApplyTable(TPixelBuffer& b, const uint8_t (&table)[256]) {
    for (int y = 0; y < b.Height; ++y) {
        uint8_t* row = b.RowPointer(y);
        for (int i = 0; i < 3 * b.Width; ++i) row[i] = table[row[i]];
    }
}

thread_local uint64_t noise_state = 0x9E3779B97F4A7C15ull;

// xorshift64*: the upper 32 bits of the scrambled state.
inline uint32_t NextRandom() {
    uint64_t x = noise_state;
    x ^= x >> 12;
    x ^= x << 25;
    x ^= x >> 27;
    noise_state = x;
    return static_cast<uint32_t>((x * 0x2545F4914F6CDD1Dull) >> 32);
}

// Uniform in 0..n-1 (n > 0) by multiply-and-reject, without modulo bias.
inline uint32_t UniformBelow(uint32_t n) {
    uint64_t m = static_cast<uint64_t>(NextRandom()) * n;
    if (static_cast<uint32_t>(m) < n) {
        const uint32_t threshold = (0u - n) % n;
        while (static_cast<uint32_t>(m) < threshold) m = static_cast<uint64_t>(NextRandom()) * n;
    }
    return static_cast<uint32_t>(m >> 32);
}

}  // namespace

void TmnEffectBmp::SetNoiseSeed(uint64_t seed) { noise_state = seed ? seed : 0x9E3779B97F4A7C15ull; }

TPixel24 TmnEffectBmp::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return {};
    const uint8_t* p = PixelPointer(x, y);
    return {p[0], p[1], p[2]};
}

void TmnEffectBmp::SetPixel(int x, int y, TPixel24 value) {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return;
    uint8_t* p = PixelPointer(x, y);
    p[0] = value.B;
    p[1] = value.G;
    p[2] = value.R;
}

void TmnEffectBmp::GetRow(int y, uint8_t* row) const {
    if (y >= 0 && y < Height) std::memcpy(row, RowPointer(y), 3 * static_cast<size_t>(Width));
}

void TmnEffectBmp::SetRow(int y, const uint8_t* row) {
    if (y >= 0 && y < Height) std::memcpy(RowPointer(y), row, 3 * static_cast<size_t>(Width));
}

void TmnEffectBmp::MorphBlend(const TmnEffectBmp& other, double k) {
    if (!SameSize(other)) return;
    k = Clamp01(k);
    // All 256 x 256 results of (1 - k) * S + k * O, indexed by S * 256 + O.
    double fs[256], fo[256];
    for (int i = 0; i < 256; ++i) {
        fs[i] = (1 - k) * i;
        fo[i] = k * i;
    }
    std::vector<uint8_t> table(65536);
    for (int s = 0; s < 256; ++s)
        for (int o = 0; o < 256; ++o) table[static_cast<size_t>(s << 8 | o)] = ToByte(fs[s] + fo[o]);
    for (int y = 0; y < Height; ++y) {
        uint8_t* row = RowPointer(y);
        const uint8_t* orow = other.RowPointer(y);
        for (int i = 0; i < 3 * Width; ++i) row[i] = table[static_cast<size_t>(row[i] << 8 | orow[i])];
    }
}

void TmnEffectBmp::MorphGradient(const TmnEffectBmp& other, double k) {
    if (Width < Height)
        MorphVGradient(other, k);
    else
        MorphHGradient(other, k);
}

void TmnEffectBmp::MorphHGradient(const TmnEffectBmp& other, double k) {
    if (!SameSize(other)) return;
    k = Clamp01(k);
    const int a = RoundedPart(Width, k);   // fully revealed band
    const int f = (Width - a) / 2;         // each soft edge
    const double step = f == 0 ? 1.0 : 1.0 / f;
    const int c0 = std::max(0, Width / 2 - a / 2);
    const int c1 = std::min(Width - 1, Width / 2 + a / 2);
    std::vector<double> weight(static_cast<size_t>(Width), 0.0);  // the band shows O
    Ramp(weight, c0, 0, -1, step);
    Ramp(weight, c1, Width - 1, 1, step);
    BlendColumns(*this, other, weight);
}

void TmnEffectBmp::MorphVGradient(const TmnEffectBmp& other, double k) {
    if (!SameSize(other)) return;
    k = Clamp01(k);
    const int b = RoundedPart(Height, k);
    const int e = (Height - 1 - b) / 2;
    const double step = e == 0 ? 0.0 : 1.0 / e;
    const int r0 = std::max(0, Height / 2 - b / 2);
    const int r1 = std::min(Height - 1, Height / 2 + b / 2);
    std::vector<double> weight(static_cast<size_t>(Height), 0.0);
    Ramp(weight, r0, 0, -1, step);
    Ramp(weight, r1, Height - 1, 1, step);
    for (int y = 0; y < Height; ++y)
        BlendBytes(RowPointer(y), other.RowPointer(y), 3 * Width, weight[static_cast<size_t>(y)]);
}

void TmnEffectBmp::MorphLeftGradient(const TmnEffectBmp& other, double k) {
    if (!SameSize(other)) return;
    const int a = std::max(1, std::min(RoundedPart(Width, Clamp01(k)), Width - 1));
    std::vector<double> weight(static_cast<size_t>(Width), 1.0);  // beyond a: S
    for (int x = 0; x <= std::min(a, Width - 1); ++x)
        weight[static_cast<size_t>(x)] = std::min(static_cast<double>(x) / a, 1.0);
    BlendColumns(*this, other, weight);
}

void TmnEffectBmp::MorphRightGradient(const TmnEffectBmp& other, double k) {
    if (!SameSize(other)) return;
    const int a = std::max(0, std::min(Width - RoundedPart(Width, Clamp01(k)), Width - 1));
    const double step = Width - a > 0 ? 1.0 / (Width - a) : 1.0;
    std::vector<double> weight(static_cast<size_t>(Width), 1.0);  // left of a: S
    Ramp(weight, Width - 1, a, -1, step);
    BlendColumns(*this, other, weight);
}

void TmnEffectBmp::MorphLeftSlide(const TmnEffectBmp& other, double k) {
    if (!SameSize(other)) return;
    const int b = std::max(1, std::min(RoundedPart(Width, Clamp01(k)), Width - 1));
    for (int y = 0; y < Height; ++y)
        std::memcpy(RowPointer(y), other.PixelPointer(Width - b, y), 3 * static_cast<size_t>(b));
}

void TmnEffectBmp::MorphRightSlide(const TmnEffectBmp& other, double k) {
    if (!SameSize(other)) return;
    const int b = std::max(1, std::min(RoundedPart(Width, Clamp01(k)), Width - 1));
    for (int y = 0; y < Height; ++y)
        std::memcpy(PixelPointer(Width - b, y), other.RowPointer(y), 3 * static_cast<size_t>(b));
}

void TmnEffectBmp::MorphPush(const TmnEffectBmp& other, double k) {
    if (!SameSize(other)) return;
    const int a = std::max(0, std::min(RoundedPart(Width, Clamp01(k)), Width - 1));
    for (int y = 0; y < Height; ++y) {
        uint8_t* row = RowPointer(y);
        // The normal picture moves right by a + 1 columns; the active picture's last a + 1
        // columns fill the gap.
        std::memmove(row + 3 * (a + 1), row, 3 * static_cast<size_t>(Width - a - 1));
        std::memcpy(row, other.PixelPointer(Width - a - 1, y), 3 * static_cast<size_t>(a + 1));
    }
}

void TmnEffectBmp::Brightness(double amount) {
    amount = Clamp01(amount);
    uint8_t table[256];
    for (int v = 0; v < 256; ++v) table[v] = ToByte((1 - amount) * v + amount * 255);
    ApplyTable(*this, table);
}

void TmnEffectBmp::Darkness(double amount) {
    amount = Clamp01(amount);
    uint8_t table[256];
    for (int v = 0; v < 256; ++v) table[v] = ToByte((1 - amount) * v);
    ApplyTable(*this, table);
}

void TmnEffectBmp::Grayscale() {
    double red[256], green[256], blue[256];
    for (int v = 0; v < 256; ++v) {
        red[v] = 0.3 * v;
        green[v] = 0.59 * v;
        blue[v] = 0.11 * v;
    }
    for (int y = 0; y < Height; ++y) {
        uint8_t* p = RowPointer(y);
        for (int x = 0; x < Width; ++x, p += 3) p[0] = p[1] = p[2] = ToByte(red[p[2]] + green[p[1]] + blue[p[0]]);
    }
}

void TmnEffectBmp::Noise(int amount) {
    if (amount <= 1) return;  // a draw from 0..amount-1 minus amount div 2 is then always 0
    const int half = amount / 2;
    for (int y = 0; y < Height; ++y) {
        uint8_t* p = RowPointer(y);
        for (int x = 0; x < Width; ++x, p += 3) {
            const int n = std::clamp(static_cast<int>(UniformBelow(static_cast<uint32_t>(amount))) - half, -255, 255);
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(std::clamp(p[c] + n, 0, 255));
        }
    }
}

void TmnEffectBmp::SplitBlur(int distance) {
    // Works in place: upper samples come from rows already blurred. A sample beyond an edge
    // falls back to the pixel's own row or column, on every side.
    const int d = distance;
    if (d <= 0) return;
    for (int y = 0; y < Height; ++y) {
        uint8_t* row = RowPointer(y);
        const uint8_t* up = RowPointer(y - d < 0 ? y : y - d);
        const uint8_t* down = RowPointer(y + d >= Height ? y : y + d);
        for (int x = 0; x < Width; ++x) {
            const int l = 3 * (x - d < 0 ? x : x - d);
            const int r = 3 * (x + d >= Width ? x : x + d);
            for (int c = 0; c < 3; ++c)
                row[3 * x + c] = static_cast<uint8_t>((up[l + c] + up[r + c] + down[l + c] + down[r + c]) / 4);
        }
    }
}

void TmnEffectBmp::Invert() {
    for (int y = 0; y < Height; ++y) {
        uint8_t* row = RowPointer(y);
        for (int i = 0; i < 3 * Width; ++i) row[i] ^= 0xFF;
    }
}

void TmnEffectBmp::FlipVertical(TmnEffectBmp& target) const {
    if (target.Width != Width || target.Height != Height || &target == this) return;
    for (int y = 0; y < Height; ++y)
        std::memcpy(target.RowPointer(Height - 1 - y), RowPointer(y), 3 * static_cast<size_t>(Width));
}

const TMorphOperation MorphOperations[MorphKindCount] = {
    &TmnEffectBmp::MorphBlend,         &TmnEffectBmp::MorphGradient,  &TmnEffectBmp::MorphLeftGradient,
    &TmnEffectBmp::MorphRightGradient, &TmnEffectBmp::MorphLeftSlide, &TmnEffectBmp::MorphRightSlide,
    &TmnEffectBmp::MorphPush,
};

void ApplyMorph(TmnEffectBmp& normal, int morphKind, const TmnEffectBmp& active, double k) {
    if (morphKind >= 0 && morphKind < MorphKindCount) (normal.*MorphOperations[morphKind])(active, k);
}

const TInactiveOperation InactiveOperations[InactiveEffectCount] = {
    [](TmnEffectBmp& b) { b.Brightness(0.5); }, [](TmnEffectBmp& b) { b.Darkness(0.3); },
    [](TmnEffectBmp& b) { b.Grayscale(); },      [](TmnEffectBmp& b) { b.Noise(50); },
    [](TmnEffectBmp& b) { b.SplitBlur(1); },     [](TmnEffectBmp& b) { b.Invert(); },
};

void ApplyInactiveEffect(TmnEffectBmp& bmp, int inactiveEffect) {
    if (inactiveEffect >= 0 && inactiveEffect < InactiveEffectCount) InactiveOperations[inactiveEffect](bmp);
}

}  // namespace fn
