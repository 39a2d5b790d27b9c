// Pixel work of the skin on a 1920 x 1080 picture: every morph kind and inactive effect beside a
// memcpy of the same buffer, and the mask scan beside one pass reading the same pixel bytes.
#include <cstring>
#include <random>

#include "skin/paint/effects.h"
#include "skin/paint/region_data.h"
#include "timing.h"

using namespace fn;
using namespace fn::bench;

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kRuns = 21;

void FillRandom(TPixelBuffer& b, unsigned seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < b.Height; ++y)
        for (int i = 0; i < b.RowStride; i += 4) {
            const uint32_t v = rng();
            std::memcpy(b.RowPointer(y) + i, &v, 4);
        }
}

// A frame mask: black with white cut corners, or striped with a white column every `period`.
TmnFBitmap Mask(int period) {
    TmnFBitmap m(kWidth, kHeight);  // all black
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int cx = std::min(x, kWidth - 1 - x), cy = std::min(y, kHeight - 1 - y);
            const bool corner = cx + cy < 6;
            if (corner || (period && x % period == 0)) std::memset(m.Rows[static_cast<size_t>(y)] + 3 * x, 255, 3);
        }
    return m;
}

}  // namespace

int main() {
    std::printf("Skin pixel work on %d x %d (medians of %d runs, each run beside its baseline)\n\n", kWidth, kHeight, kRuns);
    TmnEffectBmp normal(kWidth, kHeight), active(kWidth, kHeight), work(kWidth, kHeight);
    FillRandom(normal, 1);
    FillRandom(active, 2);
    TmnEffectBmp copyTarget(kWidth, kHeight);
    auto copy = [&] { std::memcpy(copyTarget.Bits, normal.Bits, static_cast<size_t>(normal.ByteSize)); };

    static const char* const morphs[MorphKindCount] = {"mkdefault (MorphBlend)",       "mkgradient (MorphGradient)",
                                                        "mkleftgradient",               "mkrightgradient",
                                                        "mkleftslide",                  "mkrightslide",
                                                        "mkpush"};
    for (int kind = 0; kind < MorphKindCount; ++kind) {
        std::memcpy(work.Bits, normal.Bits, static_cast<size_t>(normal.ByteSize));
        const auto [ms, base] = CompareMs([&] { ApplyMorph(work, kind, active, 0.5); }, copy, kRuns);
        Report(morphs[kind], ms, "memcpy", base, 8);
    }
    static const char* const effects[InactiveEffectCount] = {"iebrightness (0.5)", "iedarkness (0.3)", "iegrayscale",
                                                             "ienoise (50)",       "iesplitblur (1)",  "ieinvert"};
    for (int effect = 0; effect < InactiveEffectCount; ++effect) {
        std::memcpy(work.Bits, normal.Bits, static_cast<size_t>(normal.ByteSize));
        const auto [ms, base] = CompareMs([&] { ApplyInactiveEffect(work, effect); }, copy, kRuns);
        Report(effects[effect], ms, "memcpy", base, 8);
    }

    std::printf("\n");
    for (int period : {0, 64, 8}) {
        const TmnFBitmap mask = Mask(period);
        // The baseline reads every byte of every row once, eight at a time.
        auto read = [&] {
            uint64_t acc = 0;
            const int height = mask.Height, bytes = 3 * mask.Width;
            for (int y = 0; y < height; ++y) {
                const uint8_t* row = mask.Rows[static_cast<size_t>(y)];
                int i = 0;
                for (; i + 8 <= bytes; i += 8) {
                    uint64_t v;
                    std::memcpy(&v, row + i, 8);
                    acc ^= v;
                }
                for (; i < bytes; ++i) acc ^= row[i];
            }
            sink = acc;
        };
        int rects = 0;
        const auto [scan, base] = CompareMs([&] { rects = MaskToRegionData(mask, 0, 0).RectCount(); }, read, kRuns);
        char name[80];
        std::snprintf(name, sizeof name, "mask scan (%d runs)", rects);
        Report(name, scan, "one reading pass", base, 4);
    }
    return 0;
}
