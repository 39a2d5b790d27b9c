// Pixel work of the skin on a 1920 x 1080 picture and on the small pictures of caption buttons
// and menu items: every morph kind and inactive effect beside a memcpy of the same buffer, and
// the mask scan beside one pass reading the same pixel bytes.
#include <cstring>
#include <random>

#include "skin/paint/effects.h"
#include "skin/paint/region_data.h"
#include "bench/smoke.h"
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

// Per call of a piece of work on a small picture, beside memcpy of the same buffer; no goal: a
// call's fixed cost is what these figures show.
void ReportPerCall(const char* name, double us, double baselineUs) {
    std::printf("%-34s %8.3f us   %-22s %8.3f us   %6.2fx\n", name, us, "memcpy", baselineUs, us / baselineUs);
}

}  // namespace

int main() {
    const bool smoke = SmokeRun();
    const int runs = smoke ? 1 : kRuns;
    std::printf("Skin pixel work (medians of %d runs, each run beside its baseline)%s\n", runs,
                smoke ? " -- smoke run, figures mean nothing" : "");
    static const char* const morphs[MorphKindCount] = {"mkdefault (MorphBlend)",       "mkgradient (MorphGradient)",
                                                        "mkleftgradient",               "mkrightgradient",
                                                        "mkleftslide",                  "mkrightslide",
                                                        "mkpush"};
    static const char* const effects[InactiveEffectCount] = {"iebrightness (0.5)", "iedarkness (0.3)", "iegrayscale",
                                                             "ienoise (50)",       "iesplitblur (1)",  "ieinvert"};
    // The full-screen picture, and the sizes of the real callers: a caption button (16 x 16) and
    // a menu item (64 x 24). A small picture is worked on many times per run, so that a run
    // covers about as many pixels as one full-screen call and the clock's resolution does not
    // matter; the figure is the time per call.
    for (auto [width, height] : {std::pair{kWidth, kHeight}, {64, 24}, {16, 16}}) {
        const bool full = width == kWidth;
        const int calls = smoke ? 1 : std::max(1, kWidth * kHeight / (width * height));
        std::printf("\n%d x %d%s\n", width, height, full ? "" : " (time per call)");
        TmnEffectBmp normal(width, height), active(width, height), work(width, height), copyTarget(width, height);
        FillRandom(normal, 1);
        FillRandom(active, 2);
        auto copy = [&] {
            for (int i = 0; i < calls; ++i) {
                std::memcpy(copyTarget.Bits, normal.Bits, static_cast<size_t>(normal.ByteSize));
                sink = sink + copyTarget.Bits[i % normal.ByteSize];
            }
        };
        auto measure = [&](const char* name, auto&& step, double goal) {
            std::memcpy(work.Bits, normal.Bits, static_cast<size_t>(normal.ByteSize));
            auto run = [&] {
                for (int i = 0; i < calls; ++i) step();
            };
            const auto [ms, base] = CompareMs(run, copy, runs);
            if (full) Report(name, ms, "memcpy", base, goal);
            else ReportPerCall(name, 1000 * ms / calls, 1000 * base / calls);
        };
        for (int kind = 0; kind < MorphKindCount; ++kind)
            measure(morphs[kind], [&] { ApplyMorph(work, kind, active, 0.5); }, 8);
        for (int effect = 0; effect < InactiveEffectCount; ++effect)
            measure(effects[effect], [&] { ApplyInactiveEffect(work, effect); }, 8);
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
        const auto [scan, base] = CompareMs([&] { rects = MaskToRegionData(mask, 0, 0).RectCount(); }, read, runs);
        char name[80];
        std::snprintf(name, sizeof name, "mask scan (%d runs)", rects);
        Report(name, scan, "one reading pass", base, 4);
        if (rects == 0) {
            std::printf("the mask scan found no rectangles\n");
            return 1;
        }
    }
    return 0;
}
