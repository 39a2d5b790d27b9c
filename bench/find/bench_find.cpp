// Times one search for a word that stands only at the end of a 20 MB note: the note's search
// (FindNext, as Weitersuchen runs it: from the caret, selecting and showing the match) beside
// one EM_FINDTEXTEXW sent to the same rich-edit control over the same text.
//
//   scripts/wine-run build/win/bin/bench_find.exe [repetitions]
//
// FN_BENCH_SMOKE=1: one run on a 64 KB note.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/document_window.h"
#include "app/find_replace.h"
#include "bench/document/bench_program.h"
#include "bench/smoke.h"

using namespace fn;
using namespace fn::bench;

namespace {

int Run(int repetitions, bool smoke) {
    ConsoleDialogs dialogs;
    StartProgram(dialogs);
    auto* doc = new TForm2(Form1);
    Application()->ProcessMessages();
    TRichEdit& edit = *doc->RichEdit1;
    edit.Lines().SetText(PlainNote(smoke ? 64u << 10 : 20u << 20) + L"Zielwort");  // the word searched, at the end
    const int length = edit.GetTextLen();
    TSearchOptions options;
    options.what = L"Zielwort";
    double note = 1e300, bare = 1e300;
    LONG noteAt = -1, bareAt = -1;
    for (int i = 0; i < repetitions; ++i) {
        edit.SetSelStart(0);
        note = std::min(note, Milliseconds([&] { FindNext(edit, options); }));
        noteAt = edit.SelStart();
        edit.SetSelStart(0);
        FINDTEXTEXW request{};
        request.chrg = {0, -1};
        request.lpstrText = options.what.c_str();
        bare = std::min(bare, Milliseconds([&] {
            bareAt = static_cast<LONG>(::SendMessageW(edit.Handle(), EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&request)));
        }));
    }
    std::printf("best of %d runs, note of %d characters%s\n", repetitions, length, smoke ? " (smoke run)" : "");
    std::printf("one search: note's search %8.1f ms   bare control EM_FINDTEXTEXW %8.1f ms   ratio %.3f (goal <= 1.2)\n",
                note, bare, note / bare);
    std::printf("found at: note's search %ld, bare control %ld\n", static_cast<long>(noteAt), static_cast<long>(bareAt));
    edit.SetModified(false);
    delete doc;
    return noteAt > 0 && noteAt == bareAt ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) { return fn::bench::RunBenchmark("bench_find", argc, argv, 3, Run); }
