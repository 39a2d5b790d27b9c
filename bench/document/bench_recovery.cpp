// Times writing the recovery copy of a 5 MB rich-text note beside saving the same note to its
// file through the document window, in the same run (the goal: the copy takes at most 1.2
// times the save).
//
//   scripts/wine-run build/win/bin/bench_recovery.exe [repetitions]
//
// FN_BENCH_SMOKE=1: one run on a note of 16 KB.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "app/document_window.h"
#include "app/recovery.h"
#include "bench/document/bench_program.h"
#include "bench/smoke.h"

using namespace fn;
using namespace fn::bench;

namespace {

int Run(int repetitions, bool smoke) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const String folder = String(temp) + L"fn_bench_recovery";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    // The copies go to a folder of the benchmark's, not the user's.
    Recovery().UseFolder(folder + L"\\Wiederherstellung");
    ConsoleDialogs dialogs;
    StartProgram(dialogs);

    const String source = folder + L"\\note.rtf", saved = folder + L"\\gespeichert.rtf";
    {
        TFileStream f(source, FileMode::Create);
        const std::string rtf = RichNote(smoke ? 16u << 10 : 5u << 20);
        f.WriteBuffer(rtf.data(), rtf.size());
    }
    auto* note = new TForm2(Form1);
    Application()->ProcessMessages();
    note->OpenDocument(source);
    note->FileName = saved;
    double copy = 1e300, save = 1e300;
    size_t copyBytes = 0;
    for (int i = 0; i < repetitions; ++i) {
        note->RichEdit1->SetModified(true);
        Recovery().Changed(note);
        copy = std::min(copy, Milliseconds([&] { Recovery().WriteChanged(); }));
        const String path = Recovery().CopyOf(note);
        copyBytes = path.empty() ? 0 : ReadFileBytes(path).size();
        save = std::min(save, Milliseconds([&] { note->Speichern1Click(note); }));
    }
    const size_t savedBytes = ReadFileBytes(saved).size();
    std::printf("best of %d runs%s\n", repetitions, smoke ? " (smoke run: 16 KB note)" : "");
    std::printf("%s rich text: recovery copy %8.1f ms (%zu bytes)   save %8.1f ms (%zu bytes)   ratio %.3f (goal <= 1.2)\n",
                smoke ? "16 KB" : "5 MB", copy, copyBytes, save, savedBytes, copy / save);
    delete note;
    Recovery().End();
    for (const String& path : {source, saved}) ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW((folder + L"\\Wiederherstellung").c_str());
    ::RemoveDirectoryW(folder.c_str());
    // Both wrote the note; the copy's record carries it beside a short header.
    return copyBytes > savedBytes && savedBytes > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) { return fn::bench::RunBenchmark("bench_recovery", argc, argv, 5, Run); }
