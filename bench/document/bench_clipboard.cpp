// Times Strg+C on a whole 2 MB rich-text note through the document window's Copy command and,
// in the same run, putting the same plain text on the clipboard directly; then what a program
// pays when it asks for the rich text, and (with --platform) the rich-edit control's own copy.
//
//   scripts/wine-run build/win/bin/bench_clipboard.exe [repetitions] [--platform]
//
// FN_BENCH_SMOKE=1: one run on a 32 KB note, the control's own copy included.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/document_window.h"
#include "app/main_window.h"
#include "bench/document/bench_program.h"
#include "bench/smoke.h"
#include "platform/win/application.h"
#include "platform/win/clipboard.h"

using namespace fn;
using namespace fn::bench;

namespace {

// The rich text on the clipboard as a pasting program gets it (rendered on request).
size_t AskForRichText() {
    if (!::OpenClipboard(nullptr)) return 0;
    size_t bytes = 0;
    if (HANDLE data = ::GetClipboardData(TClipboard::RichTextFormat())) bytes = ::GlobalSize(data);
    ::CloseClipboard();
    return bytes;
}

int Run(int repetitions, bool smoke, bool platformCopy) {
    ConsoleDialogs dialogs;
    StartProgram(dialogs);
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const String path = String(temp) + L"fn_bench_clipboard.rtf";
    {
        const std::string rtf = RichNote(smoke ? 32u << 10 : 2u << 20);
        TFileStream f(path, FileMode::Create);
        f.WriteBuffer(rtf.data(), rtf.size());
    }
    auto* doc = new TForm2(Form1);
    Application()->ProcessMessages();
    doc->OpenDocument(path);
    ::DeleteFileW(path.c_str());
    const String text = doc->RichEdit1->Lines().Text();
    std::printf("note: %s rich text, %zu characters; best of %d runs%s\n", smoke ? "32 KB" : "2 MB", text.size(),
                repetitions, smoke ? " (smoke run)" : "");

    double copy = 1e300, direct = 1e300, render = 1e300, platform = 1e300, fetch = 1e300;
    size_t rendered = 0;
    for (int i = 0; i < repetitions; ++i) {
        doc->Allesauswaehlen1Click(doc->Allesauswaehlen1);
        copy = std::min(copy, Milliseconds([&] { doc->KopierenClick(doc->Kopieren1); }));
        const bool same = Clipboard()->AsText() == text.substr(0, Clipboard()->AsText().size()) &&
                          Clipboard()->AsText().size() + 2 >= text.size();
        if (!same) {
            std::printf("bench_clipboard: the clipboard does not hold the note's text\n");
            return 1;
        }
        render = std::min(render, Milliseconds([&] { rendered = AskForRichText(); }));
        direct = std::min(direct, Milliseconds([&] { Clipboard()->SetAsText(text); }));
        fetch = std::min(fetch, Milliseconds([&] { doc->RichEdit1->TextRange(0, doc->RichEdit1->GetTextLen()); }));
    }
    std::printf("Strg+C (Kopieren)          %10.1f ms   plain text put directly %10.1f ms   ratio %.2f (goal <= 2)\n",
                copy, direct, copy / direct);
    std::printf("rich text asked for later  %10.1f ms   (%zu bytes)\n", render, rendered);
    std::printf("of Strg+C: reading the text from the control %8.1f ms (the platform's part)\n", fetch);
    if (rendered == 0) {
        std::printf("bench_clipboard: no rich text was rendered\n");
        return 1;
    }
    if (platformCopy) {
        doc->Allesauswaehlen1Click(doc->Allesauswaehlen1);
        platform = Milliseconds([&] { doc->RichEdit1->DefaultHandler(WM_COPY, 0, 0); });
        std::printf("the control's own WM_COPY  %10.1f ms   ratio to plain text %.2f\n", platform, platform / direct);
    }
    CloseWithoutSaving(doc);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // "--platform" anywhere adds the control's own copy; the other argument is the repetitions.
    bool platformCopy = bench::SmokeRun();
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::strcmp(argv[i], "--platform") == 0) platformCopy = true;
        else args.push_back(argv[i]);
    }
    return bench::RunBenchmark("bench_clipboard", static_cast<int>(args.size()), args.data(), 3,
                               [&](int repetitions, bool smoke) { return Run(repetitions, smoke, platformCopy); });
}
