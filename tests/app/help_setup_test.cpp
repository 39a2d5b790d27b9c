// The program's help set-up: the start-up checks of the help file and the viewer version, and
// the help hook they leave installed.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/help_setup.h"
#include "help/hh_loader_win.h"
#include "tests/help/help_support.h"

using namespace fn;
using namespace fn::test;

namespace {

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override { SetDialogService(&dialogs); }
    void TearDown() override {
        ReleaseHelp();
        SetDialogService(nullptr);
    }
    RecordingDialogs dialogs;
};

}  // namespace

TEST_F(HelpTest, MissingHelpFileIsReportedAndTheHookIsStillInstalled) {
    HelpFileBesideProgram help;
    help.Remove();
    SetUpHelp();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], L"Hilfe-Datei konnte nicht gefunden werden\r" + ModuleFolder + L"\\Hilfe\\FNHilfe.chm");
    ASSERT_NE(HelpSystem, nullptr);
    EXPECT_EQ(HelpSystem->ChmFile, help.File());

    // The help command still reaches the viewer; its failure to open the file is not reported.
    ShowHelpStartTopic();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(ViewerWindows().empty());
}

TEST_F(HelpTest, ViewerMessageFollowsTheFileMessage) {
    Restore<uint16_t> major(ViewerVersionMajor), minor(ViewerVersionMinor);
    Restore<HMODULE> library(ViewerLibrary);
    HelpFileBesideProgram help;
    help.Remove();
    const String missing = MissingHelpFileMessage(help.File());

    ViewerVersionMajor = 4;
    ViewerVersionMinor = 72;
    SetUpHelp();
    EXPECT_EQ(dialogs.messages, (std::vector<String>{missing, ViewerTooOldMessage}));
    EXPECT_NE(HelpSystem, nullptr);

    dialogs.messages.clear();
    ViewerVersionMinor = 73;
    SetUpHelp();
    EXPECT_EQ(dialogs.messages, (std::vector<String>{missing}));

    dialogs.messages.clear();
    ViewerVersionMajor = 3;
    ViewerVersionMinor = 99;
    ASSERT_TRUE(help.Place());
    SetUpHelp();
    EXPECT_EQ(dialogs.messages, (std::vector<String>{ViewerTooOldMessage}));

    // No library loaded: the same message, whatever the file's version.
    dialogs.messages.clear();
    ViewerVersionMajor = 5;
    ViewerLibrary = nullptr;
    SetUpHelp();
    EXPECT_EQ(dialogs.messages, (std::vector<String>{ViewerTooOldMessage}));
    ViewerLibrary = library.saved;
    EXPECT_EQ(ViewerLibrary, library.saved);
}

