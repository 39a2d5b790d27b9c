// One live-resize step of a window dressed with the default skin (geometry, frame paint, the
// region from the mask strips, SetWindowRgn) beside the same step of the same window in the
// platform's own frame, at 1920×1080 and at 800×600, at the system's display scale: the skin is
// scaled for the screen's dots per inch as the program does, and the platform frame is the
// system's at the same scale.
//   bench_form_resize [runs]      FN_BENCH_SMOKE=1: three runs at small sizes, to see that it works
//   FN_WINE_DPI=192 scripts/wine-run build/win/bench/form/bench_form_resize.exe    (at 200 %)
#include <cstdlib>
#include <memory>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "skin/form/mantle_win.h"
#include "smoke.h"
#include "timing.h"

using namespace fn;
using namespace fn::bench;

namespace {

// Lets both windows grow past the screen, so that the sizes are the ones asked for.
TWndProcHook Unbounded(TForm& form) {
    return TWndProcHook(form.WindowProc(), [](HWND, UINT m, WPARAM w, LPARAM l, const TWndProcNext& next) {
        const LRESULT r = next(m, w, l);
        if (m == WM_GETMINMAXINFO) {
            auto* info = reinterpret_cast<MINMAXINFO*>(l);
            info->ptMaxTrackSize = {8000, 8000};
            info->ptMaxSize = {8000, 8000};
        }
        return r;
    });
}

// The step a drag of the sizing border makes: a new size, then everything it shows painted.
void Step(HWND window, int w, int h) {
    ::SetWindowPos(window, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();
}

}  // namespace

int main(int argc, char** argv) {
    const bool smoke = SmokeRun();
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 101;
    if (smoke) runs = 3;
    // Sizes in device pixels at any scale, as the program declares itself.
    ::SetProcessDPIAware();
    Application()->Initialize();
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);

    TmnCompressedStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(Utf8ToWide(FN_SOURCE_DIR) + L"/skins/fennick/skin.ini");
    TmnSkinData skin(nullptr);
    skin.SetDpi(dpi);
    skin.LoadFromCompressedStoredSkin(stored);

    TForm skinned(nullptr), plain(nullptr);
    skinned.SetCaption(L"Fennick Notizen");
    plain.SetCaption(L"Fennick Notizen");
    auto* mantle = new TmnMantle(&skinned);
    mantle->SetBorderIcons(DefaultBorderIcons);
    TWndProcHook a = Unbounded(skinned), b = Unbounded(plain);
    skinned.Show();
    plain.Show();
    mantle->SetSkinData(&skin);
    // A live resize drags the border of the active window.
    ::SetActiveWindow(skinned.Handle());
    ::SendMessageW(skinned.Handle(), WM_NCACTIVATE, TRUE, 0);
    if (!mantle->Skinned() || !mantle->IsFormActive()) {
        std::fprintf(stderr, "the default skin did not load, or the window is not active\n");
        return 1;
    }

    std::printf("Live-resize step of a window at %d dpi (%d %%; medians of %d runs, each beside the platform frame)\n\n",
                dpi, dpi * 100 / 96, runs);
    const SIZE sizes[] = {{1920, 1080}, {800, 600}};
    for (SIZE s : sizes) {
        if (smoke) s = {s.cx / 4, s.cy / 4};
        int k = 0;
        const auto [skinnedMs, plainMs] = CompareMs(
            [&] { Step(skinned.Handle(), s.cx - (k++ & 1), s.cy); },
            [&] { Step(plain.Handle(), s.cx - (k & 1), s.cy); }, runs);
        RECT r;
        ::GetWindowRect(skinned.Handle(), &r);
        if (r.right - r.left < s.cx - 1 || r.bottom - r.top != s.cy) {
            std::fprintf(stderr, "the window did not take %ldx%ld\n", s.cx, s.cy);
            return 1;
        }
        char name[64];
        std::snprintf(name, sizeof name, "skinned step %ldx%ld at %d %%", s.cx, s.cy, dpi * 100 / 96);
        Report(name, skinnedMs, "platform frame", plainMs, 1.5);
    }
    return 0;
}
