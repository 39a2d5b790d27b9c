// Times opening a document window until it has been painted once: its form data read (which
// unpacks and loads the embedded skin), the window created and shown in the skinned frame, the
// skinned menu bar laid out, and every pending paint of the window and its controls done.
//
// Baseline, measured in the same run, alternating with the skinned window: the same window
// from the same form data with its four skin components removed (mnSkinMainMenuBar1,
// mnMantle1, mnSkinData1, mnStoredSkin1). It keeps everything else — the rich-edit control,
// both menus with all their items, the dialogs, the events bound, FormCreate's work — and so
// opens in the platform's own frame without a menu bar (an MDI child has none of its own).
// The difference is what the skin costs when a note is opened. In both cases the measured
// window is the only document in the (skinned) main window, as at start-up.
//
// Beside the two figures it shows where the time goes: the window with the skin data alone
// (the skin loaded, nothing wearing it) and with the mantle as well (skinned frame, no bar),
// one resize step of the open window with and without skin, and how often each window is
// sized and painted while it is created.
//
//   scripts/wine-run build/win/bin/bench_document_open.exe [runs]
//
// Both windows are first opened in turn for two seconds, while the Wine session started with
// the process settles.
//
// FN_BENCH_SMOKE=1: three runs, to see that it still opens, skins and paints both windows.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/document_window.h"
#include "bench/document/bench_program.h"
#include "bench/document/plain_document.h"
#include "app/main_window.h"
#include "bench/paint/timing.h"
#include "bench/smoke.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"

using namespace fn;
using namespace fn::bench;

namespace {

// The skinned window may take up to 1.6x the plain one: beside the shared skin it still lays out
// its own frame, region and menu bar and paints its frame once.
constexpr double kGoal = 1.6;

// True when the window or any window inside it still waits for WM_PAINT.
bool PaintPending(HWND window) {
    if (::GetUpdateRect(window, nullptr, FALSE)) return true;
    bool pending = false;
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM flag) -> BOOL {
            if (!::GetUpdateRect(child, nullptr, FALSE)) return TRUE;
            *reinterpret_cast<bool*>(flag) = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&pending));
    return pending;
}

struct Phases {
    std::vector<double> create, paint, total;
    void Add(double c, double p) {
        create.push_back(c);
        paint.push_back(p);
        total.push_back(c + p);
    }
};

// Counts the messages sent to the new window and to its rich-edit control while `open` runs:
// how often each is sized and painted before the window has been shown once. Not timed, as the
// hook slows every message down.
struct SentCounts {
    int formSizes = 0, framePaints = 0, editPaints = 0, editErases = 0;
};
SentCounts* counting = nullptr;

LRESULT CALLBACK CountSent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && counting) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        wchar_t name[32] = {};
        ::GetClassNameW(sent->hwnd, name, 32);
        const bool form = String(name) == L"FnMDIChild", edit = String(name).starts_with(L"RichEdit");
        if (form && sent->message == WM_SIZE) ++counting->formSizes;
        if (form && sent->message == WM_NCPAINT) ++counting->framePaints;
        if (edit && sent->message == WM_PAINT) ++counting->editPaints;
        if (edit && sent->message == WM_ERASEBKGND) ++counting->editErases;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

template <class Open>
SentCounts CountWhileOpening(Open&& open) {
    SentCounts counts;
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, CountSent, nullptr, ::GetCurrentThreadId());
    counting = &counts;
    TForm* form = open();
    counting = nullptr;
    ::UnhookWindowsHookEx(hook);
    Application()->ProcessMessages();
    delete form;
    Application()->ProcessMessages();
    return counts;
}

// One step of resizing the open window by a pixel, with everything it shows painted: the
// frame's layout, region and paint that the skinned window repeats while it is created.
double ResizeStepMs(TForm* form, int runs) {
    RECT r;
    ::GetWindowRect(form->Handle(), &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int k = 0;
    return MedianMs(
        [&] {
            ::SetWindowPos(form->Handle(), nullptr, 0, 0, w + (k++ & 1), h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        },
        runs);
}

// Opens one window with `open`, lets it paint, checks that it did, and closes it again.
// Returns false when the window is not what it should be or left paint undone.
template <class Open>
bool OpenOnce(Open&& open, Phases& phases, const char* what) {
    const double t0 = NowMs();
    TForm* form = open();
    const double t1 = NowMs();
    Application()->ProcessMessages();
    const double t2 = NowMs();
    const bool shown = ::IsWindowVisible(form->Handle()) && !PaintPending(form->Handle());
    phases.Add(t1 - t0, t2 - t1);
    delete form;
    Application()->ProcessMessages();
    if (!shown) std::fprintf(stderr, "%s: the window was not shown and painted\n", what);
    return shown;
}

// Loading the embedded skin alone (unpack, parse, pictures), without telling any window.
double SkinLoadMs(TmnCompressedStoredSkin& stored, int runs) {
    TSkinMessageSink previous = SetSkinMessageSink(nullptr);
    const double ms = MedianMs(
        [&] {
            TmnSkinData data(nullptr);
            data.LoadFromCompressedStoredSkin(stored);
            sink = sink + (data.Empty() ? 0 : 1);
        },
        runs);
    SetSkinMessageSink(std::move(previous));
    return ms;
}

void PrintPhases(const char* what, const Phases& p) {
    std::printf("  %-26s create %8.3f ms   first paint %8.3f ms   total %8.3f ms\n", what, Median(p.create),
                Median(p.paint), Median(p.total));
}

int Run(int runs, double settleMs) {
    ConsoleDialogs dialogs;
    StartProgram(dialogs);
    // The measured window is to be the only document, as the first one is at start-up.
    while (Form1->MDIChildCount() > 0) delete Form1->MDIChildren(0);
    Application()->ProcessMessages();

    // The baseline, and two steps between it and the whole skinned window, to see which
    // component the time goes to.
    const String formData = DocumentFormData();
    const String plainData = WithoutObjects(formData, {L"mnSkinMainMenuBar1", L"mnMantle1", L"mnSkinData1", L"mnStoredSkin1"});
    const String skinOnlyData = WithoutObjects(formData, {L"mnSkinMainMenuBar1", L"mnMantle1"});
    const String frameData = WithoutObjects(formData, {L"mnSkinMainMenuBar1"});

    bool ok = true;
    auto fail = [&](const char* why) {
        std::fprintf(stderr, "%s\n", why);
        ok = false;
    };
    auto openSkinned = [&]() -> TForm* {
        auto* doc = new TForm2(Form1);
        if (!doc->mnMantle1->Skinned() || doc->mnSkinData1->Empty()) fail("the document window did not wear its skin");
        return doc;
    };
    auto openPlain = [&]() -> TForm* {
        auto* doc = new TPlainDocument(Form1, plainData);
        if (doc->FindComponent(L"mnMantle1") || doc->FindComponent(L"mnSkinData1") || !doc->FindComponent(L"RichEdit1") ||
            !doc->FindComponent(L"MainMenu1") || !doc->FindComponent(L"PrintDialog1"))
            fail("the baseline's form data is not the document's without its skin");
        return doc;
    };
    auto openSkinOnly = [&]() -> TForm* {
        auto* doc = new TPlainDocument(Form1, skinOnlyData);
        auto* data = static_cast<TmnSkinData*>(doc->FindComponent(L"mnSkinData1"));
        if (!data || data->Empty() || doc->FindComponent(L"mnMantle1")) fail("the skin-data step did not load the skin alone");
        return doc;
    };
    auto openFrame = [&]() -> TForm* {
        auto* doc = new TPlainDocument(Form1, frameData);
        auto* mantle = static_cast<TmnMantle*>(doc->FindComponent(L"mnMantle1"));
        if (!mantle || !mantle->Skinned() || doc->FindComponent(L"mnSkinMainMenuBar1")) fail("the frame step is not skinned");
        return doc;
    };

    // The Wine session started with this process keeps starting its services for the first
    // seconds and slows every window down, by up to ten times; both windows are opened until
    // that has passed, so that it is not taken for the skin's cost.
    Phases skinned, plain, skinOnly, frame, warm;
    for (const double start = NowMs(); ok && (warm.total.size() < 4 || NowMs() - start < settleMs);)
        ok = OpenOnce(openSkinned, warm, "skinned") && OpenOnce(openPlain, warm, "baseline") && ok;
    // Each skinned window is compared with the plain one opened right after it, so that a
    // change in the machine's load between pairs affects both alike.
    std::vector<double> ratios;
    for (int i = 0; i < runs && ok; ++i) {
        ok = OpenOnce(openSkinned, skinned, "skinned") && ok;
        ok = OpenOnce(openPlain, plain, "baseline") && ok;
        ok = OpenOnce(openSkinOnly, skinOnly, "skin data only") && ok;
        ok = OpenOnce(openFrame, frame, "skinned frame") && ok;
        if (ok) ratios.push_back(skinned.total.back() / plain.total.back());
    }
    if (!ok) return 1;

    std::printf("Opening a document window until it is painted once (medians of %d runs, after %zu to settle)\n\n",
                runs, warm.total.size() / 2);
    ReportRatio("skinned document window", Median(skinned.total), "without skin", Median(plain.total), Median(ratios),
                kGoal);
    std::printf("  (the figure is the median of the %d skinned/plain pairs' ratios)\n", runs);
    std::printf("\nwhere the time goes (each step adds components to the one above):\n");
    PrintPhases("without skin", plain);
    PrintPhases("+ skin data, stored skin", skinOnly);
    PrintPhases("+ mantle (skinned frame)", frame);
    PrintPhases("+ menu bar (the window)", skinned);

    auto* doc = new TForm2(Form1);
    Application()->ProcessMessages();
    std::printf("  %-26s %8.3f ms   (unpacking and reading the embedded skin, no window told)\n", "skin load alone",
                SkinLoadMs(*doc->mnStoredSkin1, runs));
    const double skinnedStep = ResizeStepMs(doc, runs);
    delete doc;
    Application()->ProcessMessages();
    auto* plainDoc = openPlain();
    Application()->ProcessMessages();
    const double plainStep = ResizeStepMs(plainDoc, runs);
    delete plainDoc;
    Application()->ProcessMessages();
    std::printf("  %-26s %8.3f ms   without skin %8.3f ms   (layout, region, paint of the open window)\n",
                "one resize step", skinnedStep, plainStep);

    const SentCounts a = CountWhileOpening(openSkinned), b = CountWhileOpening(openPlain);
    std::printf("\nwhile the window is created (skinned / without skin):\n");
    std::printf("  window sized (WM_SIZE)            %3d / %d\n", a.formSizes, b.formSizes);
    std::printf("  frame painted (WM_NCPAINT)        %3d / %d\n", a.framePaints, b.framePaints);
    std::printf("  text control erased, painted      %3d, %d / %d, %d\n", a.editErases, a.editPaints, b.editErases,
                b.editPaints);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool smoke = SmokeRun();
    const int runs = smoke ? 3 : argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    try {
        return Run(runs, smoke ? 0.0 : 2000.0);
    } catch (const Exception& e) {
        std::printf("bench_document_open: %s\n", WideToUtf8(e.Message()).c_str());
        return 1;
    }
}
