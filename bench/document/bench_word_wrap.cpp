// Times switching word wrap on and off on a note of one 50,000-character paragraph through the
// document window's command and, in the same run, the steps it takes one by one: the control's
// own switch (EM_SETTARGETDEVICE) and the scroll bars (EM_SHOWSCROLLBAR).
//
//   scripts/wine-run build/win/bin/bench_word_wrap.exe [repetitions [characters]]
//
// FN_BENCH_SMOKE=1: one run on a 2,000-character paragraph.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "app/document_window.h"
#include "app/main_window.h"
#include "bench/document/bench_program.h"
#include "bench/smoke.h"
#include "platform/win/application.h"

using namespace fn;
using namespace fn::bench;

namespace {

int Run(int repetitions, bool smoke, size_t characters) {
    ConsoleDialogs dialogs;
    StartProgram(dialogs);
    auto* doc = new TForm2(Form1);
    Application()->ProcessMessages();
    const size_t length = smoke ? 2000 : characters;
    String paragraph;
    for (unsigned i = 0; paragraph.size() < length; ++i) paragraph += (i % 7 == 0 ? L"Grüße " : L"Wort ");
    paragraph.resize(length);
    doc->RichEdit1->Lines().SetText(paragraph);
    HWND edit = doc->RichEdit1->Handle();
    auto lines = [&] { return static_cast<int>(::SendMessageW(edit, EM_GETLINECOUNT, 0, 0)); };
    std::printf("one paragraph of %zu characters; best of %d runs%s\n", length, repetitions, smoke ? " (smoke run)" : "");

    double commandOn = 1e300, commandOff = 1e300, controlOn = 1e300, controlOff = 1e300, bars = 1e300, hidden = 1e300;
    for (int i = 0; i < repetitions; ++i) {
        commandOn = std::min(commandOn, Milliseconds([&] { doc->Zeilenumbruch1Click(doc->Zeilenumbruch1); }));
        const int wrapped = lines();
        commandOff = std::min(commandOff, Milliseconds([&] { doc->Zeilenumbruch1Click(doc->Zeilenumbruch1); }));
        if (wrapped <= 1 || lines() != 1) {
            std::printf("bench_word_wrap: word wrap did not switch (%d lines wrapped, %d unwrapped)\n", wrapped, lines());
            return 1;
        }
        controlOn = std::min(controlOn, Milliseconds([&] { ::SendMessageW(edit, EM_SETTARGETDEVICE, 0, 0); }));
        controlOff = std::min(controlOff, Milliseconds([&] { ::SendMessageW(edit, EM_SETTARGETDEVICE, 0, 1); }));
        hidden = std::min(hidden, Milliseconds([&] {
                              ::SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
                              ::SendMessageW(edit, EM_SETTARGETDEVICE, 0, 0);
                              ::SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
                          }));
        ::SendMessageW(edit, EM_SETTARGETDEVICE, 0, 1);
        bars = std::min(bars, Milliseconds([&] {
                            ::SendMessageW(edit, EM_SHOWSCROLLBAR, SB_VERT, TRUE);
                            ::SendMessageW(edit, EM_SHOWSCROLLBAR, SB_HORZ, TRUE);
                        }));
    }
    std::printf("word wrap on:  Zeilenumbruch %10.1f ms   the control's EM_SETTARGETDEVICE %10.1f ms   ratio %.2f\n",
                commandOn, controlOn, commandOn / controlOn);
    std::printf("word wrap off: Zeilenumbruch %10.1f ms   the control's EM_SETTARGETDEVICE %10.1f ms   ratio %.2f\n",
                commandOff, controlOff, commandOff / controlOff);
    std::printf("scroll bars shown again        %10.1f ms\n", bars);
    std::printf("the control's switch, not drawing %7.1f ms\n", hidden);
    CloseWithoutSaving(doc);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const size_t characters = argc > 2 ? static_cast<size_t>(std::max(100, std::atoi(argv[2]))) : 50000;
    return bench::RunBenchmark("bench_word_wrap", argc, argv, 3,
                               [&](int repetitions, bool smoke) { return Run(repetitions, smoke, characters); });
}
