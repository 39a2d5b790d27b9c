// The program's help end to end: start-up of the main window with the help
// file beside the program, the document window's help item, and shut-down.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/main_window.h"
#include "app/document_window.h"
#include "app/help_setup.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"

using namespace fn;

namespace {

struct CountingDialogs : TDialogService {
    std::vector<String> shown;
    void ShowMessage(const String& text) override { shown.push_back(text); }
    int ShowMessageBox(const String& text, const String&, unsigned) override {
        shown.push_back(text);
        return IDOK;
    }
    int MessageDlg(const String& text, TMsgDlgType, unsigned, int) override {
        shown.push_back(text);
        return mrNo;
    }
    bool Execute(TCommonDialog&) override { return false; }
};

int ViewerWindowCount() {
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t name[64] = {};
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId() && GetClassNameW(window, name, 64) && String(name) == L"HH Parent")
                ++*reinterpret_cast<int*>(param);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace

TEST(ApplicationHelp, DocumentHelpItemOpensTheHelpFileAndShutDownClosesIt) {
    CountingDialogs dialogs;
    SetDialogService(&dialogs);
    StartApplication();
    Form1->Show();
    Application()->ProcessMessages();

    // The help file lies beside this program and the viewer is recent: start-up is silent.
    EXPECT_TRUE(dialogs.shown.empty()) << WideToUtf8(dialogs.shown.empty() ? String() : dialogs.shown[0]);
    ASSERT_NE(HelpSystem, nullptr);
    EXPECT_EQ(HelpSystem->ChmFile, AppFolder + L"\\Hilfe\\FNHilfe.chm");

    ASSERT_EQ(Form1->MDIChildCount(), 1);
    auto* document = dynamic_cast<TForm2*>(Form1->MDIChildren(0));
    ASSERT_NE(document, nullptr);
    ASSERT_NE(document->Hilfe1, nullptr);
    document->Hilfe1->Click();
    EXPECT_EQ(Application()->HelpFile(), HelpSystem->ChmFile);
    EXPECT_EQ(ViewerWindowCount(), 1);
    EXPECT_TRUE(dialogs.shown.empty());

    // Shut-down as the program does it: the main window closes, the forms are freed.
    Form1->Close();
    Application()->Run();
    EXPECT_EQ(HelpSystem, nullptr);
    EXPECT_EQ(ViewerWindowCount(), 0);
    EXPECT_FALSE(Application()->OnHelp);
    EXPECT_EQ(Application()->HelpFilters().Count(), 0);
    SetDialogService(nullptr);
}
