// One resize step of a skinned window under the platform: the nine-part frame image at the new
// size, the frame region from the mask and SetWindowRgn, beside a plain BitBlt of a bitmap of
// the window's size.
#include <random>

#include "bench/smoke.h"
#include "skin/paint/images_win.h"
#include "skin/paint/regions_win.h"
#include "timing.h"

using namespace fn;
using namespace fn::bench;

namespace {

constexpr int kRuns = 31;

void FillRandom(TBitmap& b, unsigned seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < b.Height(); ++y)
        for (int i = 0; i < 3 * b.Width(); ++i) b.ScanLine(y)[i] = static_cast<uint8_t>(rng());
}

}  // namespace

int main() {
    const bool smoke = SmokeRun();
    const int runs = smoke ? 1 : kRuns;
    // A 200 x 150 frame picture and its mask (black with cut corners).
    const TFrameGeometry g{{40, 50}, {160, 50}, {40, 120}, {160, 120}, {8, 30, 192, 142}};
    TBitmap picture(200, 150), mask(200, 150);
    FillRandom(picture, 1);
    mask.Canvas().Brush().SetColor(clBlack);
    mask.Canvas().FillRect({0, 0, 200, 150});
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4 - i; ++j)
            for (auto [x, y] : {std::pair{i, j}, {199 - i, j}, {i, 149 - j}, {199 - i, 149 - j}})
                mask.Canvas().SetPixel(x, y, clWhite);

    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1920, 1080, nullptr, nullptr, nullptr, nullptr);
    std::printf("Resize step of a skinned window under the platform (medians of %d runs, each run beside its baseline)%s\n\n", runs,
                smoke ? " -- smoke run, figures mean nothing" : "");
    for (auto [aw, ah] : {std::pair{1920, 1080}, {800, 600}}) {
        const TFrameGeometry n = ResizeGeometry(g, aw - 200, ah - 150);
        TBitmap frame, source(aw, ah), target(aw, ah);
        FillRandom(source, 2);
        auto blit = [&] { BitBlt(target.Canvas().Handle(), 0, 0, aw, ah, source.Canvas().Handle(), 0, 0, SRCCOPY); };
        auto image = [&](TStretchFlags stretch, bool clientStretch) {
            BuildNinePartImage(g, n, frame, picture, {0, 0, 200, 150}, aw, ah, true, stretch, clientStretch, stFull);
        };
        char name[80];
        for (bool stretched : {false, true}) {
            const TStretchFlags flags{stretched, stretched, stretched, stretched};
            // Each run: the three parts of the step, then the baseline.
            std::vector<double> steps, images, regions, setRegions, blits;
            for (int i = 0; i <= runs; ++i) {
                TRegionHandle rgn;
                const double tImage = TimeMs([&] { image(flags, stretched); });
                const double tRegion = TimeMs([&] { rgn = BuildFrameRegion(g, n, mask, aw, ah); });
                const double tSet = TimeMs([&] {
                    SetWindowRgn(window, rgn.Release(), FALSE);  // the window owns the region now
                    MSG msg;
                    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
                });
                const double tBlit = TimeMs(blit);
                if (i == 0) continue;  // warm-up
                steps.push_back(tImage + tRegion + tSet);
                images.push_back(tImage);
                regions.push_back(tRegion);
                setRegions.push_back(tSet);
                blits.push_back(tBlit);
            }
            std::snprintf(name, sizeof name, "resize %dx%d, %s", aw, ah, stretched ? "stretched" : "tiled");
            Report(name, Median(steps), "BitBlt of the window", Median(blits), 3);
            std::printf("  parts: nine-part image %.3f ms, frame region %.3f ms, SetWindowRgn %.3f ms\n",
                        Median(images), Median(regions), Median(setRegions));
        }
    }
    DestroyWindow(window);
    return 0;
}
