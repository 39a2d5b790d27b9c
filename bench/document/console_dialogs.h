#pragma once
// Messages go to the console instead of waiting for a person (start-up reports a missing help
// file when the program is not beside its help folder); common dialogs are cancelled.
#include <cstdio>

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

}  // namespace fn::bench
