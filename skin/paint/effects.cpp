#include "skin/paint/effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Two-picture blends, value = a * S + b * O per channel with a, b in 0..1, are computed in
// 14-bit fixed point with the tie going to the even neighbour. The fixed-point weights are
// within half a unit of a and b, so a result can differ from the exact double formula only when
// the fixed-point value lies within `Margin` units of a tie; those bytes are recomputed with
// doubles. Weights that are exact in 14 bits (k = 0.5, 0.25, ...) have no margin at all.
constexpr int kShift = 14;
constexpr int32_t kOne = 1 << kShift, kHalf = kOne >> 1, kFraction = kOne - 1;

struct TBlendWeight {
    double a = 1, b = 0;  // the formula's own factors
    int16_t A = kOne, B = 0;
    int32_t Margin = -1;
};

TBlendWeight MakeWeight(double a, double b) {
    TBlendWeight w;
    w.a = a;
    w.b = b;
    const double sa = a * kOne, sb = b * kOne;
    w.A = static_cast<int16_t>(RoundEven(sa));
    w.B = static_cast<int16_t>(RoundEven(sb));
    const double error = (std::abs(w.A - sa) + std::abs(w.B - sb)) * 255;
    w.Margin = error == 0 ? -1 : static_cast<int32_t>(std::ceil(error)) + 1;
    return w;
}

inline uint8_t FixedBlend(const TBlendWeight& w, uint8_t s, uint8_t o, bool& nearTie) {
    const int32_t num = w.A * s + w.B * o;
    const int32_t distance = (num & kFraction) - kHalf;
    nearTie = (distance < 0 ? -distance : distance) <= w.Margin;
    const int32_t rounded = (num + kHalf - 1 + ((num >> kShift) & 1)) >> kShift;
    return static_cast<uint8_t>(rounded > 255 ? 255 : rounded);
}

inline uint8_t ExactBlend(const TBlendWeight& w, uint8_t s, uint8_t o) { return ToByte(w.a * s + w.b * o); }

// One weight for a whole run, or one per pixel column of a row (kept per byte for the vector loop).
struct TConstantWeights {
    const TBlendWeight& w;
    const TBlendWeight& At(int) const { return w; }
};

struct TColumnWeights {
    std::vector<TBlendWeight> columns;
    std::vector<int16_t> pairs;     // A, B of every byte
    std::vector<int32_t> margins;   // margin + 1 of every byte
    const TBlendWeight& At(int i) const { return columns[static_cast<size_t>(i / 3)]; }

    explicit TColumnWeights(std::vector<TBlendWeight> perColumn) : columns(std::move(perColumn)) {
        for (const TBlendWeight& w : columns)
            for (int c = 0; c < 3; ++c) {
                pairs.push_back(w.A);
                pairs.push_back(w.B);
                margins.push_back(w.Margin + 1);
            }
    }
};

// s[i] = round(a * s[i] + b * o[i]) for the n bytes of a row.
template <class Weights>
void BlendRun(uint8_t* s, const uint8_t* o, int n, const Weights& w) {
    int i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: (S, O) pairs of 16-bit values times (A, B) pairs with madd.
    constexpr bool constant = std::is_same_v<Weights, TConstantWeights>;
    __m128i constPairs = _mm_setzero_si128(), constMargin = _mm_setzero_si128();
    if constexpr (constant) {
        constPairs = _mm_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(w.w.B)) << 16 |
                                                         static_cast<uint16_t>(w.w.A)));
        constMargin = _mm_set1_epi32(w.w.Margin + 1);
    }
    const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi32(1);
    const __m128i halfMinusOne = _mm_set1_epi32(kHalf - 1), half = _mm_set1_epi32(kHalf);
    const __m128i fraction = _mm_set1_epi32(kFraction);
    for (; i + 16 <= n; i += 16) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i ov = _mm_loadu_si128(reinterpret_cast<const __m128i*>(o + i));
        const __m128i s16[2] = {_mm_unpacklo_epi8(sv, zero), _mm_unpackhi_epi8(sv, zero)};
        const __m128i o16[2] = {_mm_unpacklo_epi8(ov, zero), _mm_unpackhi_epi8(ov, zero)};
        __m128i packed[2];
        int nearTies = 0;
        for (int h = 0; h < 2; ++h) {
            const __m128i pair[2] = {_mm_unpacklo_epi16(s16[h], o16[h]), _mm_unpackhi_epi16(s16[h], o16[h])};
            __m128i rounded[2];
            for (int q = 0; q < 2; ++q) {
                const int base = i + 8 * h + 4 * q;
                __m128i weights = constPairs, margin = constMargin;
                if constexpr (!constant) {
                    weights = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w.pairs.data() + 2 * base));
                    margin = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w.margins.data() + base));
                }
                const __m128i num = _mm_madd_epi16(pair[q], weights);
                const __m128i odd = _mm_and_si128(_mm_srli_epi32(num, kShift), one);
                rounded[q] = _mm_srli_epi32(_mm_add_epi32(num, _mm_add_epi32(halfMinusOne, odd)), kShift);
                const __m128i distance = _mm_sub_epi32(_mm_and_si128(num, fraction), half);
                const __m128i sign = _mm_srai_epi32(distance, 31);
                const __m128i magnitude = _mm_sub_epi32(_mm_xor_si128(distance, sign), sign);
                nearTies |= _mm_movemask_ps(_mm_castsi128_ps(_mm_cmplt_epi32(magnitude, margin))) << (8 * h + 4 * q);
            }
            packed[h] = _mm_packs_epi32(rounded[0], rounded[1]);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(s + i), _mm_packus_epi16(packed[0], packed[1]));
        if (nearTies) {
            alignas(16) uint8_t original[16];
            _mm_store_si128(reinterpret_cast<__m128i*>(original), sv);
            for (int j = 0; j < 16; ++j)
                if (nearTies >> j & 1) s[i + j] = ExactBlend(w.At(i + j), original[j], o[i + j]);
        }
    }
#endif
    for (; i < n; ++i) {
        bool nearTie = false;
        const uint8_t fixed = FixedBlend(w.At(i), s[i], o[i], nearTie);
        s[i] = nearTie ? ExactBlend(w.At(i), s[i], o[i]) : fixed;
    }
}

// Every row: column x becomes weight[x] * S + (1 - weight[x]) * O. Columns of weight 1 keep S,
// so only the span between the first and the last other column is worked on.
void BlendColumns(TPixelBuffer& s, const TPixelBuffer& o, const std::vector<double>& weight) {
    const int width = s.Width, height = s.Height;
    int first = 0, last = width - 1;
    while (first < width && weight[static_cast<size_t>(first)] == 1) ++first;
    while (last >= first && weight[static_cast<size_t>(last)] == 1) --last;
    if (first > last) return;
    std::vector<TBlendWeight> columns;
    for (int x = first; x <= last; ++x) columns.push_back(MakeWeight(weight[static_cast<size_t>(x)], 1 - weight[static_cast<size_t>(x)]));
    const TColumnWeights rowWeights(std::move(columns));
    const int bytes = 3 * (last - first + 1);
    for (int y = 0; y < height; ++y) BlendRun(s.PixelPointer(first, y), o.PixelPointer(first, y), bytes, rowWeights);
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

// A map of single channel values, applied byte by byte. The table is all the set-up there is, so
// a call on a caption button's picture costs little more than the pixels themselves.
void ApplyTable(TPixelBuffer& b, const uint8_t (&table)[256]) {
    const int height = b.Height, bytes = 3 * b.Width;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = b.RowPointer(y);
        for (int i = 0; i < bytes; ++i) row[i] = table[row[i]];
    }
}

thread_local uint64_t noise_state = 0x9E3779B97F4A7C15ull;

// Uniform draws from xorshift64*: each step of the generator gives four 16-bit numbers (two
// 32-bit ones for ranges above 65536), and a draw below n multiplies one of them by n, rejecting
// the few values that would bias it.
class TNoiseSource {
public:
    explicit TNoiseSource(uint64_t& state) : stored_(state), state_(state) {}
    ~TNoiseSource() { stored_ = state_; }
    TNoiseSource(const TNoiseSource&) = delete;
    TNoiseSource& operator=(const TNoiseSource&) = delete;

    // Offsets r - half for count pixels, each written to the three channel bytes of its pixel.
    void PixelOffsets(int32_t* out, int count, uint32_t n, int32_t half) {
        int x = 0;
        if (n <= 65536) {
            // Four 16-bit draws from each step; a draw in the biased few is replaced by a new
            // draw from Below.
            const uint32_t threshold = (65536 - n) % n;
            for (; x + 4 <= count; x += 4) {
                const uint64_t word = Step();
                for (int j = 0; j < 4; ++j) {
                    const uint32_t m = static_cast<uint32_t>(word >> (16 * j) & 0xFFFF) * n;
                    const uint32_t r = (m & 0xFFFF) < threshold ? Below(n) : m >> 16;
                    int32_t* o = out + 3 * (x + j);
                    o[0] = o[1] = o[2] = static_cast<int32_t>(r) - half;
                }
            }
        }
        for (; x < count; ++x) {
            int32_t* o = out + 3 * x;
            o[0] = o[1] = o[2] = static_cast<int32_t>(Below(n)) - half;
        }
    }

    uint32_t Below(uint32_t n) {
        if (n <= 65536) {
            uint32_t m = Next(16) * n;
            if ((m & 0xFFFF) < n) {
                const uint32_t threshold = (65536 - n) % n;
                while ((m & 0xFFFF) < threshold) m = Next(16) * n;
            }
            return m >> 16;
        }
        uint64_t m = static_cast<uint64_t>(Next(32)) * n;
        if (static_cast<uint32_t>(m) < n) {
            const uint32_t threshold = (0u - n) % n;
            while (static_cast<uint32_t>(m) < threshold) m = static_cast<uint64_t>(Next(32)) * n;
        }
        return static_cast<uint32_t>(m >> 32);
    }

private:
    uint64_t Step() {
        uint64_t x = state_;
        x ^= x >> 12;
        x ^= x << 25;
        x ^= x >> 27;
        state_ = x;
        return x * 0x2545F4914F6CDD1Dull;
    }

    uint32_t Next(int bits) {
        if (left_ < bits) {
            word_ = Step();
            left_ = 64;
        }
        const auto value = static_cast<uint32_t>(word_ & ((uint64_t{1} << bits) - 1));
        word_ >>= bits;
        left_ -= bits;
        return value;
    }

    uint64_t& stored_;  // the thread's generator state, written back at the end
    uint64_t state_;
    uint64_t word_ = 0;
    int left_ = 0;
};

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
    const TBlendWeight w = MakeWeight(1 - k, k);
    const int height = Height, bytes = 3 * Width;
    for (int y = 0; y < height; ++y) BlendRun(RowPointer(y), other.RowPointer(y), bytes, TConstantWeights{w});
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
    const int height = Height, bytes = 3 * Width;
    for (int y = 0; y < height; ++y) {
        const double w = weight[static_cast<size_t>(y)];
        if (w == 1) continue;  // the row keeps S
        if (w == 0)
            std::memcpy(RowPointer(y), other.RowPointer(y), static_cast<size_t>(bytes));
        else
            BlendRun(RowPointer(y), other.RowPointer(y), bytes, TConstantWeights{MakeWeight(w, 1 - w)});
    }
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
    // The weighted sum in 22-bit fixed point, with the exact double formula near ties (see
    // BlendRun); the margin covers the rounding of the three fixed-point weights.
    double red[256], green[256], blue[256];
    int32_t fixedRed[256], fixedGreen[256], fixedBlue[256];
    for (int v = 0; v < 256; ++v) {
        red[v] = 0.3 * v;
        green[v] = 0.59 * v;
        blue[v] = 0.11 * v;
        fixedRed[v] = static_cast<int32_t>(RoundEven(0.3 * kOne)) * v;
        fixedGreen[v] = static_cast<int32_t>(RoundEven(0.59 * kOne)) * v;
        fixedBlue[v] = static_cast<int32_t>(RoundEven(0.11 * kOne)) * v;
    }
    const int32_t margin = 3 * 255 / 2 + 2;
    const int height = Height, width = Width;
    for (int y = 0; y < height; ++y) {
        uint8_t* p = RowPointer(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const int32_t num = fixedRed[p[2]] + fixedGreen[p[1]] + fixedBlue[p[0]];
            const int32_t distance = (num & kFraction) - kHalf;
            uint8_t g;
            if ((distance < 0 ? -distance : distance) <= margin)
                g = ToByte(red[p[2]] + green[p[1]] + blue[p[0]]);
            else
                g = static_cast<uint8_t>(std::min((num + kHalf) >> kShift, 255));
            p[0] = p[1] = p[2] = g;
        }
    }
}

void TmnEffectBmp::Noise(int amount) {
    if (amount <= 1) return;  // a draw from 0..amount-1 minus amount div 2 is then always 0
    const int half = amount / 2;
    const int height = Height, width = Width, bytes = 3 * Width;
    TNoiseSource random(noise_state);
    // Each row: one draw per pixel into a row of offsets (one per channel byte), then the
    // offsets are added with clamping in one pass over the row.
    std::vector<int32_t> offsets(static_cast<size_t>(bytes));
    for (int y = 0; y < height; ++y) {
        random.PixelOffsets(offsets.data(), width, static_cast<uint32_t>(amount), half);
        uint8_t* row = RowPointer(y);
        const int32_t* add = offsets.data();
        // |offset| < 2^30, so the sums cannot overflow before they are clamped.
        for (int i = 0; i < bytes; ++i) row[i] = static_cast<uint8_t>(std::clamp(row[i] + add[i], 0, 255));
    }
}

void TmnEffectBmp::SplitBlur(int distance) {
    // Works in place, rows top to bottom and pixels left to right, so upper samples come from
    // rows already blurred. A sample beyond an edge falls back to the pixel's own row or column,
    // on every side.
    const int d = distance;
    if (d <= 0) return;
    const int height = Height, width = Width;
    std::vector<uint8_t> line(3 * static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        uint8_t* row = RowPointer(y);
        const uint8_t* up = RowPointer(y - d < 0 ? y : y - d);
        const uint8_t* down = RowPointer(y + d >= height ? y : y + d);
        auto blurPixel = [&](uint8_t* out, int x) {
            const int l = 3 * (x - d < 0 ? x : x - d);
            const int r = 3 * (x + d >= width ? x : x + d);
            for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>((up[l + c] + up[r + c] + down[l + c] + down[r + c]) / 4);
        };
        if (up == row || down == row) {
            // Samples from the row itself: strictly pixel by pixel.
            for (int x = 0; x < width; ++x) blurPixel(row + 3 * x, x);
            continue;
        }
        // The row is not sampled: compute it whole from the rows above and below.
        uint8_t* out = line.data();
        const int interiorEnd = std::max(d, width - d);
        for (int x = 0; x < std::min(d, width); ++x) blurPixel(out + 3 * x, x);
        const int shift = 3 * d;
        for (int i = 3 * d; i < 3 * interiorEnd; ++i)
            out[i] = static_cast<uint8_t>((up[i - shift] + up[i + shift] + down[i - shift] + down[i + shift]) >> 2);
        for (int x = interiorEnd; x < width; ++x) blurPixel(out + 3 * x, x);
        std::memcpy(row, out, line.size());
    }
}

void TmnEffectBmp::Invert() {
    const int height = Height, bytes = 3 * Width;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = RowPointer(y);
        for (int i = 0; i < bytes; ++i) row[i] ^= 0xFF;
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

double NextMorphFactor(double factor, bool active) {
    double next = active ? factor + MorphIncrement : factor - MorphIncrement;
    // Steps of 0.2 do not add up exactly in binary: a rest next to an end counts as the end,
    // so that a full fade takes five ticks either way.
    constexpr double rest = 1e-9;
    if (next < rest) next = 0;
    if (next > 1 - rest) next = 1;
    return next;
}

void ApplyInactiveEffect(TmnEffectBmp& bmp, int inactiveEffect) {
    if (inactiveEffect >= 0 && inactiveEffect < InactiveEffectCount) InactiveOperations[inactiveEffect](bmp);
}

}  // namespace fn
