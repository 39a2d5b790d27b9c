#pragma once
// The program started for a benchmark: its main window made and shown as at start-up, with
// messages going to the console instead of waiting for a person (start-up reports a missing
// help file when the program is not beside its help folder) and common dialogs cancelled.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <string>
#include <cwchar>

#include "app/document_window.h"
#include "app/main_window.h"
#include "bench/smoke.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"

namespace fn::bench {

class ConsoleDialogs : public TDialogService {
public:
    int MessageDlg(const String& text, TMsgDlgType, unsigned, int) override {
        ShowMessage(text);
        return mrCancel;
    }
    void ShowMessage(const String& text) override { std::printf("message: %s\n", WideToUtf8(text).c_str()); }
    bool Execute(TCommonDialog&) override { return false; }
};

// Starts the program as its entry point does, without the message loop; dialogs answer the
// messages from then on.
inline void StartProgram(ConsoleDialogs& dialogs) {
    SetDialogService(&dialogs);
    StartApplication();
    Form1->Show();
    Application()->ProcessMessages();
}

// Closes a note the benchmark changed, without the question whether to save it.
inline void CloseWithoutSaving(TForm2* note) {
    note->RichEdit1->SetModified(false);
    note->Close();
    Application()->ProcessMessages();
}

// A benchmark's entry: the repetitions from its first argument (defaultRepetitions without one,
// 1 in a smoke run), output unbuffered, an exception reported under the benchmark's name.
inline int RunBenchmark(const char* name, int argc, char** argv, int defaultRepetitions,
                        const std::function<int(int repetitions, bool smoke)>& run) {
    const bool smoke = SmokeRun();
    const int repetitions = smoke ? 1 : argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultRepetitions;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    try {
        return run(repetitions, smoke);
    } catch (const Exception& e) {
        std::printf("%s: %s\n", name, WideToUtf8(e.Message()).c_str());
        return 1;
    }
}

// The wall time of work in milliseconds.
inline double Milliseconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// About `size` characters of plain note text with umlauts, in lines of 60 to 90 characters.
inline String PlainNote(size_t size) {
    static const wchar_t* words[] = {L"Notiz", L"Grüße", L"und", L"Köln", L"Termin", L"übermorgen",
                                     L"bitte", L"nicht", L"vergessen", L"Einkauf", L"Müller", L"Straße"};
    String text;
    text.reserve(size + 128);
    size_t line = 0;
    for (unsigned i = 0; text.size() < size; ++i) {
        const wchar_t* w = words[(i * 7 + i / 13) % 12];
        text += w;
        line += std::wcslen(w);
        if (line > 60 + i % 30) { text += L"\r\n"; line = 0; }
        else { text += L' '; ++line; }
    }
    return text;
}

// About `size` bytes of rich text: paragraphs with bold, italic, two fonts, sizes, alignments
// and escaped umlauts.
inline std::string RichNote(size_t size) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}\r\n";
    static const char* aligns[] = {"\\ql", "\\qc", "\\qr"};
    for (unsigned i = 0; rtf.size() < size; ++i) {
        rtf += "\\pard";
        rtf += aligns[i % 3];
        rtf += "\\f" + std::to_string(i % 2) + "\\fs" + std::to_string(18 + 2 * (i % 5)) + " ";
        rtf += "Absatz " + std::to_string(i) + ": {\\b fett} und {\\i kursiv}, Gr\\'fc\\'dfe aus K\\'f6ln, ";
        rtf += "ein l\\'e4ngerer Satz mit normalem Text, der die Zeile f\\'fcllt.\\par\r\n";
    }
    rtf += "}";
    return rtf;
}

}  // namespace fn::bench
