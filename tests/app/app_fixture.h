#pragma once
// Shared set-up for window tests: the program's start-up without the blocking loop, and a
// dialog service that answers message boxes and common dialogs from the test's script.
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"
#include "platform/win/rich_edit.h"

namespace fn::test {

class ScriptedDialogs : public TDialogService {
public:
    ScriptedDialogs() { SetDialogService(this); }
    ~ScriptedDialogs() override { SetDialogService(nullptr); }

    std::deque<int> answers;             // results of the next MessageDlg calls
    std::vector<String> messages;        // every text shown, in order
    std::function<bool(TCommonDialog&)> onExecute;  // answers common dialogs (default: cancel)
    int executes = 0;

    int MessageDlg(const String& text, TMsgDlgType, unsigned, int) override;
    void ShowMessage(const String& text) override { messages.push_back(text); }
    bool Execute(TCommonDialog& dialog) override;
};

// Runs the program's start-up once per test executable (title, main form, shown, messages
// handled) and returns the main window.
TForm1* StartProgram();
void Pump();
// The MDI children of the main window that are still open.
std::vector<TForm*> OpenDocuments();

// The control's text without the paragraph mark the control keeps at its end.
String TextOf(TRichEdit* edit);
// Keys as typed: Return starts a new paragraph, every other character is a WM_CHAR.
void Type(TRichEdit* edit, std::wstring_view text);
void Select(TRichEdit* edit, int start, int length);
// A file's whole content written and read back as bytes.
void WriteBytes(const String& path, std::string_view bytes);
std::string ReadBytes(const String& path);
// The names of the files in a folder; a folder emptied of its files and removed.
std::vector<String> FilesIn(const String& folder);
void RemoveFolder(const String& folder);

}  // namespace fn::test
