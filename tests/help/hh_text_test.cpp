#include <gtest/gtest.h>

#include "help/hh_text.h"
#include "help/hh_version.h"

using namespace fn;

TEST(HelpPaths, SystemRootPlaceholderIsReplacedByTheWindowsFolderInAnyCase) {
    EXPECT_EQ(ExpandSystemRoot(L"%SYSTEMROOT%\\System32\\hhctrl.ocx", L"C:\\WINDOWS"),
              L"C:\\WINDOWS\\System32\\hhctrl.ocx");
    EXPECT_EQ(ExpandSystemRoot(L"%systemroot%\\hh.ocx", L"D:\\Win"), L"D:\\Win\\hh.ocx");
    // Exactly the placeholder: the Windows folder alone.
    EXPECT_EQ(ExpandSystemRoot(L"%SystemRoot%", L"C:\\WINDOWS"), L"C:\\WINDOWS");
    // Too short, elsewhere than at the start, or another variable: unchanged.
    EXPECT_EQ(ExpandSystemRoot(L"%SystemRoo", L"C:\\WINDOWS"), L"%SystemRoo");
    EXPECT_EQ(ExpandSystemRoot(L"C:\\%SystemRoot%\\x.ocx", L"C:\\WINDOWS"), L"C:\\%SystemRoot%\\x.ocx");
    EXPECT_EQ(ExpandSystemRoot(L"%WinDir%\\System32\\hhctrl.ocx", L"C:\\WINDOWS"), L"%WinDir%\\System32\\hhctrl.ocx");
    EXPECT_EQ(ExpandSystemRoot(L"", L"C:\\WINDOWS"), L"");
}

TEST(HelpPaths, ViewerPathTurnsEscapedBlanksIntoBlanksAndTrimsBothNames) {
    EXPECT_EQ(ViewerPath(L"My%20Help.chm ", L"", hkInProcess), L"My Help.chm");
    EXPECT_EQ(ViewerPath(L"  C:\\A%20B\\%20x%20y.chm%20", L"", hkInProcess), L"C:\\A B\\ x y.chm");
    EXPECT_EQ(ViewerPath(L"h.chm", L" %20main%20 ", hkInProcess), L"h.chm>main");
    EXPECT_EQ(ViewerPath(L"h.chm", L"Haupt%20fenster", hkKeyHH), L"h.chm>Haupt fenster");
    // A window definition of blanks only counts as none.
    EXPECT_EQ(ViewerPath(L"h.chm", L"%20 ", hkInProcess), L"h.chm");
    // An incomplete escape stays as it is.
    EXPECT_EQ(ViewerPath(L"50%2.chm", L"", hkInProcess), L"50%2.chm");
}

TEST(HelpPaths, OnlyTheHHProgramGetsTheStorageUrlPrefix) {
    EXPECT_EQ(ViewerPath(L"C:\\Hilfe\\FNHilfe.chm", L"main", hkHH), L"mk:@MSITStore:C:\\Hilfe\\FNHilfe.chm>main");
    EXPECT_EQ(ViewerPath(L"C:\\Hilfe\\FNHilfe.chm", L"", hkHH), L"mk:@MSITStore:C:\\Hilfe\\FNHilfe.chm");
    EXPECT_EQ(ViewerPath(L"C:\\Hilfe\\FNHilfe.chm", L"main", hkKeyHH), L"C:\\Hilfe\\FNHilfe.chm>main");
    EXPECT_EQ(ViewerPath(L"x.chm", L"", 7), L"x.chm");
}

TEST(HelpPaths, AppFolderDropsTheTrailingSeparatorAndKeepsABareDrive) {
    EXPECT_EQ(AppFolderOf(L"C:\\Programme\\Fennick\\FennickNotizen.exe"), L"C:\\Programme\\Fennick");
    EXPECT_EQ(AppFolderOf(L"C:\\FennickNotizen.exe"), L"C:");
    EXPECT_EQ(HelpFileOf(AppFolderOf(L"C:\\FennickNotizen.exe")), L"C:\\Hilfe\\FNHilfe.chm");
    EXPECT_EQ(AppFolderOf(L"FennickNotizen.exe"), L"");
    EXPECT_EQ(AppFolderOf(L""), L"");
    EXPECT_EQ(HelpFileOf(L"D:\\Apps"), L"D:\\Apps\\Hilfe\\FNHilfe.chm");
}

TEST(HelpTexts, MissingFileMessageSeparatesThePathWithACarriageReturnOnly) {
    EXPECT_EQ(MissingHelpFileMessage(L"C:\\Hilfe\\FNHilfe.chm"),
              L"Hilfe-Datei konnte nicht gefunden werden\rC:\\Hilfe\\FNHilfe.chm");
}

TEST(HelpTexts, CommandNamesUseTheLow16BitsAndUnknownOnesAreMarked) {
    EXPECT_EQ(HelpCommandName(0x10001), L"1 (HELP_CONTEXT)");
    EXPECT_EQ(HelpCommandName(7), L"7 (?\?)");
    EXPECT_EQ(HelpCommandName(0xFFFF0000u), L"0 (?\?)");
}

TEST(HelpTexts, ErrorCodesOutsideTheTablesGetTheGeneralText) {
    EXPECT_EQ(HelpErrorText(hhOk), L"");
    EXPECT_EQ(HelpErrorText(4), L"Unknown error returned by HHHelpContext");
    EXPECT_EQ(HelpErrorText(-1), L"Unknown error returned by HHHelpContext");
    EXPECT_EQ(ShellErrorText(33), L"[Error:33] File In Use");
    EXPECT_EQ(ShellErrorText(0), L"[Error:0] General Failure");
    EXPECT_EQ(ShellErrorText(4294967295ul), L"[Error:4294967295] General Failure");
    // Placeholders inside the program or the parameters are not expanded again.
    EXPECT_EQ(ShellExecuteMessage(L"C:\\W\\HH.EXE", L"-mapid 5 a%sb.chm", ShellErrorText(3)),
              L"Function ShellExecute(C:\\W\\HH.EXE, -mapid 5 a%sb.chm)\rReturned: [Error:3] Path Not Found");
}

TEST(HelpTexts, DebugSwitchIgnoresLetterCaseButNothingElse) {
    EXPECT_TRUE(IsDebugSwitch(L"/debug"));
    EXPECT_TRUE(IsDebugSwitch(L"-DEBUG"));
    EXPECT_TRUE(IsDebugSwitch(L"/DeBuG"));
    EXPECT_FALSE(IsDebugSwitch(L"debug"));
    EXPECT_FALSE(IsDebugSwitch(L"/debug "));
    EXPECT_FALSE(IsDebugSwitch(L"--debug"));
    EXPECT_FALSE(IsDebugSwitch(L""));
}

TEST(HelpLog, LineRules) {
    EXPECT_EQ(LogLineText(L"-", L"12:00:01", true), String(80, L'-'));
    EXPECT_EQ(LogLineText(L"=", L"12:00:01", true), String(80, L'='));
    EXPECT_EQ(LogLineText(L"!\tLog File: x", L"12:00:01", true), L"\tLog File: x");
    EXPECT_EQ(LogLineText(L"-- Abschnitt", L"12:00:01", true), L"- Abschnitt");
    EXPECT_EQ(LogLineText(L"==", L"12:00:01", true), L"=");
    EXPECT_EQ(LogLineText(L"!", L"12:00:01", true), L"");
    EXPECT_EQ(LogLineText(L"HHHelpContext(\"a\", 1)", L"12:00:01", true), L"12:00:01   HHHelpContext(\"a\", 1)");
    EXPECT_EQ(LogLineText(L"ohne Zeit", L"12:00:01", false), L"ohne Zeit");
    EXPECT_EQ(LogLineText(L"", L"12:00:01", true), L"12:00:01   ");
}

TEST(ViewerVersion, PartsComeFromTheHighAndLowWordsOfBothVersionWords) {
    TFileVersion v = VersionFromWords(0x00040049u, 0x203C0001u);
    EXPECT_EQ(v, (TFileVersion{4, 73, 8252, 1}));
    EXPECT_EQ(VersionText(v), L"4.73.8252.1");
    EXPECT_EQ(VersionText(VersionFromWords(0xFFFFFFFFu, 0)), L"65535.65535.0.0");
}

TEST(ViewerVersion, ThresholdIs473ComparedUnsigned) {
    EXPECT_TRUE(ViewerVersionSufficient(4, 73));
    EXPECT_TRUE(ViewerVersionSufficient(4, 74));
    EXPECT_TRUE(ViewerVersionSufficient(5, 0));
    EXPECT_TRUE(ViewerVersionSufficient(0xFFFF, 0));
    EXPECT_TRUE(ViewerVersionSufficient(4, 0xFFFF));
    EXPECT_FALSE(ViewerVersionSufficient(4, 72));
    EXPECT_FALSE(ViewerVersionSufficient(3, 99));
    EXPECT_FALSE(ViewerVersionSufficient(0, 0));
}

TEST(ViewerVersion, FriendlyNamesFollowTheReleaseTable) {
    EXPECT_EQ(FriendlyViewerVersion(TFileVersion{4, 73, 8252, 0}), L"1.2");
    EXPECT_EQ(FriendlyViewerVersion(TFileVersion{4, 72, 7289, 0}), L"< 1.0");
    EXPECT_EQ(FriendlyViewerVersion(TFileVersion{5, 2, 3669, 0}), L"1.4a");
    EXPECT_EQ(FriendlyViewerVersion(TFileVersion{5, 2, 3669, 1}), L"> 1.4a");
    EXPECT_EQ(FriendlyViewerVersion(TFileVersion{5, 2, 3668, 65535}), L"1.4");
    // Parts above 32767 must not compare as negative numbers.
    EXPECT_EQ(FriendlyViewerVersion(TFileVersion{4, 73, 40000, 0}), L"1.22");
    EXPECT_EQ(FriendlyViewerVersion(TFileVersion{4, 0x8000, 0, 0}), L"1.33");
    EXPECT_EQ(FriendlyViewerVersion(std::nullopt), L"");
}

TEST(BrowserVersion, OldLibrariesMoveTheBuildIntoTheRelease) {
    EXPECT_EQ(NormalizeBrowserVersion({4, 70, 0, 1300}), (TFileVersion{4, 70, 1300, 0}));
    EXPECT_EQ(NormalizeBrowserVersion({4, 40, 0, 520}), (TFileVersion{4, 40, 520, 0}));
    EXPECT_EQ(NormalizeBrowserVersion({4, 71, 0, 1712}), (TFileVersion{4, 71, 0, 1712}));
    EXPECT_EQ(NormalizeBrowserVersion({4, 70, 5, 1300}), (TFileVersion{4, 70, 5, 1300}));
    EXPECT_EQ(NormalizeBrowserVersion({5, 0, 0, 2014}), (TFileVersion{5, 0, 0, 2014}));
}

TEST(BrowserVersion, FriendlyNames) {
    EXPECT_EQ(FriendlyBrowserVersion(NormalizeBrowserVersion({4, 70, 0, 1300})), L"Internet Explorer 3.02");
    EXPECT_EQ(FriendlyBrowserVersion(TFileVersion{6, 0, 2900, 2180}), L"Internet Explorer 6 (Windows XP SP2)");
    EXPECT_EQ(FriendlyBrowserVersion(TFileVersion{6, 0, 2900, 2179}), L"Internet Explorer 6 SP1");
    EXPECT_EQ(FriendlyBrowserVersion(TFileVersion{6, 0, 9999, 0}), L"Internet Explorer 6 (Windows Server 2003)");
    EXPECT_EQ(FriendlyBrowserVersion(TFileVersion{7, 0, 6000, 16386}), L">= Internet Explorer 7.0.6000.16386");
    EXPECT_EQ(FriendlyBrowserVersion(TFileVersion{4, 40, 307, 9}), L"< Internet Explorer 1.0 (Plus!)");
    EXPECT_EQ(FriendlyBrowserVersion(std::nullopt), L"");
}
