// What a skinned note costs in memory beyond an unskinned one: 100 document windows of each
// kind opened in one run, each shown and painted, and the growth of the process's working set
// (GetProcessMemoryInfo) divided by the count.
//
// The unskinned notes are the document window from its form data without the four skin
// components (see plain_document.h). The two batches stay open together, so neither reuses
// memory the other freed; the batches run in both orders and each kind's figure is the mean of
// its two. What every note of a process shares (the decoded skin, its bitmaps) is counted once,
// spread over the notes.
//
//   scripts/wine-run build/win/bin/bench_note_memory.exe [notes]
//
// FN_BENCH_SMOKE=1: five notes of each kind, to see that both open, skin and paint.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "bench/document/bench_program.h"
#include "bench/document/plain_document.h"

using namespace fn;
using namespace fn::bench;

namespace {

constexpr double kGoalKiB = 512;

double WorkingSetKiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize / 1024.0;
}

// Opens count windows by open, each painted before the next; the working set's growth per window.
double GrowthPerNoteKiB(int count, const std::function<TForm*()>& open, std::vector<TForm*>& opened) {
    Application()->ProcessMessages();
    const double before = WorkingSetKiB();
    for (int i = 0; i < count; ++i) {
        opened.push_back(open());
        Application()->ProcessMessages();
    }
    return (WorkingSetKiB() - before) / count;
}

void CloseAll(std::vector<TForm*>& opened) {
    for (TForm* form : opened) delete form;
    opened.clear();
    Application()->ProcessMessages();
}

int Run(int notes) {
    ConsoleDialogs dialogs;
    StartProgram(dialogs);
    while (Form1->MDIChildCount() > 0) delete Form1->MDIChildren(0);
    Application()->ProcessMessages();

    const String plainData = WithoutObjects(DocumentFormData(), {L"mnSkinMainMenuBar1", L"mnMantle1", L"mnSkinData1", L"mnStoredSkin1"});
    bool ok = true;
    auto openSkinned = [&]() -> TForm* {
        auto* doc = new TForm2(Form1);
        if (!doc->mnMantle1->Skinned() || doc->mnSkinData1->Empty()) ok = false;
        return doc;
    };
    auto openPlain = [&]() -> TForm* {
        auto* doc = new TPlainDocument(Form1, plainData);
        if (doc->FindComponent(L"mnMantle1")) ok = false;
        return doc;
    };
    // One of each first: what the process loads once (code, the first skin) is no note's cost.
    std::vector<TForm*> warm;
    warm.push_back(openSkinned());
    warm.push_back(openPlain());
    Application()->ProcessMessages();

    double skinned = 0, plain = 0;
    for (bool skinnedFirst : {false, true}) {
        std::vector<TForm*> a, b;
        if (skinnedFirst) {
            skinned += GrowthPerNoteKiB(notes, openSkinned, a);
            plain += GrowthPerNoteKiB(notes, openPlain, b);
        } else {
            plain += GrowthPerNoteKiB(notes, openPlain, b);
            skinned += GrowthPerNoteKiB(notes, openSkinned, a);
        }
        CloseAll(a);
        CloseAll(b);
    }
    CloseAll(warm);
    if (!ok) {
        std::fprintf(stderr, "a note did not open as it should (skinned or plain)\n");
        return 1;
    }
    skinned /= 2, plain /= 2;
    const double extra = skinned - plain;
    std::printf("Working set per note, %d notes of each kind open (mean of both orders)\n\n", notes);
    std::printf("  unskinned note                  %8.1f KiB  (baseline)\n", plain);
    std::printf("  skinned note                    %8.1f KiB\n", skinned);
    std::printf("  what the skin adds per note     %8.1f KiB  (goal <= %.0f KiB) %s\n", extra, kGoalKiB,
                extra <= kGoalKiB ? "ok" : "OVER");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmark("bench_note_memory", argc, argv, 100, [](int notes, bool smoke) { return Run(smoke ? 5 : notes); });
}
