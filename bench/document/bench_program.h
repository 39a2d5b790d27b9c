#pragma once
// The program started for a benchmark: its main window made and shown as at start-up, with
// messages going to the console instead of waiting for a person (start-up reports a missing
// help file when the program is not beside its help folder) and common dialogs cancelled.
#include <cstdio>

#include "app/main_window.h"
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

}  // namespace fn::bench
