#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "app/hilfe/helpcontext.h"
#include "help/hh_functions_win.h"
#include "help/hh_loader_win.h"
#include "help/hook_help_system_win.h"
#include "help/hh_text.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"
#include "tests/help/help_support.h"
#include "platform/core/files.h"

using namespace fn;
using namespace fn::test;

namespace {

String ReadFileText(const String& path) {
    std::ifstream in(WideToUtf8(path), std::ios::binary);
    // The narrow stream of mingw takes the path in the ANSI code page; test paths are ASCII.
    std::stringstream s;
    s << in.rdbuf();
    return Utf8ToWide(s.str());
}

std::vector<String> Lines(const String& text) {
    std::vector<String> lines;
    size_t start = 0;
    for (size_t at = text.find(L"\r\n"); at != String::npos; at = text.find(L"\r\n", start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

bool IsTimeStamped(const String& line, const String& text) {
    return line.size() == 11 + text.size() && line[2] == L':' && line[5] == L':' &&
           line.compare(8, 3, L"   ") == 0 && line.compare(11, String::npos, text) == 0;
}

String WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override { SetDialogService(&dialogs); }
    void TearDown() override { SetDialogService(nullptr); }
    RecordingDialogs dialogs;
};

}  // namespace

// --- Viewer library and version ------------------------------------------------------------

TEST(ViewerLoader, LibraryEntriesAndVersionAreKnownBeforeAnyForm) {
    ASSERT_NE(ViewerLibrary, nullptr);
    EXPECT_NE(HtmlHelpEntry, nullptr);
    EXPECT_NE(HtmlHelpWideEntry, nullptr);
    EXPECT_EQ(HtmlHelpEntry, HtmlHelpNarrowEntry);
    EXPECT_EQ(reinterpret_cast<void*>(HtmlHelpEntry),
              reinterpret_cast<void*>(GetProcAddress(ViewerLibrary, "HtmlHelpA")));

    std::optional<TFileVersion> version = ReadFileVersion(RegisteredViewerPath());
    ASSERT_TRUE(version.has_value());
    EXPECT_TRUE(ViewerInstalled);
    EXPECT_EQ(ViewerVersionText, VersionText(*version));
    EXPECT_EQ((TFileVersion{ViewerVersionMajor, ViewerVersionMinor, ViewerVersionRelease, ViewerVersionBuild}),
              *version);
    EXPECT_EQ(ViewerFriendlyVersion, FriendlyViewerVersion(version));
    EXPECT_TRUE(ViewerVersionSufficient(ViewerVersionMajor, ViewerVersionMinor));
}

TEST(ViewerLoader, FilesWithoutVersionInformationHaveNoVersion) {
    String folder = TempFolder();
    String text = folder + L"\\fn_help_noversion.txt";
    { std::ofstream(WideToUtf8(text)) << "keine Version"; }
    EXPECT_FALSE(ReadFileVersion(text).has_value());
    DeleteFileW(text.c_str());
    EXPECT_FALSE(ReadFileVersion(folder + L"\\fn_help_missing.ocx").has_value());

    // A library cut off after its first kilobyte is not read past its end.
    String cut = folder + L"\\fn_help_cut.ocx";
    {
        std::ifstream in(WideToUtf8(RegisteredViewerPath()), std::ios::binary);
        std::vector<char> head(1024);
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        std::ofstream(WideToUtf8(cut), std::ios::binary).write(head.data(), in.gcount());
    }
    EXPECT_FALSE(ReadFileVersion(cut).has_value());
    DeleteFileW(cut.c_str());
}

// The registered path of the viewer, with the placeholder of the Windows folder.
class RegisteredPath : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, ViewerServerKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                  &key_, nullptr),
                  ERROR_SUCCESS);
        DWORD bytes = sizeof(saved_);
        hadValue_ = RegQueryValueExW(key_, nullptr, nullptr, &savedType_, reinterpret_cast<BYTE*>(saved_), &bytes) ==
                    ERROR_SUCCESS;
        savedBytes_ = bytes;
    }
    void TearDown() override {
        if (hadValue_) RegSetValueExW(key_, nullptr, 0, savedType_, reinterpret_cast<BYTE*>(saved_), savedBytes_);
        else RegDeleteValueW(key_, nullptr);
        RegCloseKey(key_);
    }
    void SetValue(const String& value, DWORD type = REG_SZ) {
        RegSetValueExW(key_, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

    HKEY key_ = nullptr;
    wchar_t saved_[1024] = {};
    DWORD savedType_ = REG_SZ, savedBytes_ = 0;
    bool hadValue_ = false;
};

TEST_F(RegisteredPath, PlaceholderInCapitalsBecomesTheWindowsFolder) {
    SetValue(L"%SYSTEMROOT%\\System32\\hhctrl.ocx", REG_EXPAND_SZ);
    EXPECT_EQ(RegisteredViewerPath(), WindowsFolder() + L"\\System32\\hhctrl.ocx");
}

TEST_F(RegisteredPath, MissingFileOrMissingValueFallsBackToTheSystemFolder) {
    SetValue(L"%SystemRoot%\\Nirgends\\hhctrl.ocx");
    EXPECT_EQ(RegisteredViewerPath(), SystemFolder() + L"\\hhctrl.ocx");
    SetValue(L"");
    EXPECT_EQ(RegisteredViewerPath(), SystemFolder() + L"\\hhctrl.ocx");
    RegDeleteValueW(key_, nullptr);
    EXPECT_EQ(RegisteredViewerPath(), SystemFolder() + L"\\hhctrl.ocx");
    // A value that is not a string is no path.
    DWORD number = 5;
    RegSetValueExW(key_, nullptr, 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof(number));
    EXPECT_EQ(RegisteredViewerPath(), SystemFolder() + L"\\hhctrl.ocx");
}

TEST_F(RegisteredPath, ValueWithoutTerminatorIsReadToItsLength) {
    String value = WindowsFolder() + L"\\System32\\hhctrl.ocx";
    RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() * sizeof(wchar_t)));
    EXPECT_EQ(RegisteredViewerPath(), value);
}

// --- Set-up of the main window and the document window's help command ---------------------

TEST_F(HelpTest, EveryContextOfTheSharedHeaderHasATopic) {
    HelpFileBesideProgram help;
    ASSERT_TRUE(help.Place());
    const int contexts[] = {IDH_START,   IDH_STARTEN, IDH_DOKUMENTE, IDH_BEARBEITEN, IDH_FORMATIEREN,
                            IDH_DRUCKEN, IDH_FENSTER, IDH_RAHMEN,    IDH_TASTATUR};
    for (int context : contexts) {
        EXPECT_EQ(HHHelpContext(help.File(), context, L"", hkInProcess), hhOk);
        std::vector<HWND> viewers = ViewerWindows();
        ASSERT_EQ(viewers.size(), 1u) << "context " << context;
        EXPECT_EQ(WindowText(viewers[0]), L"Fennick Notizen Hilfe");
        CloseAllViewers();
        EXPECT_TRUE(ViewerWindows().empty());
    }
    // An id outside the map opens nothing (and the in-process call reports nothing).
    EXPECT_EQ(HHHelpContext(help.File(), 4711, L"", hkInProcess), hhOk);
    EXPECT_TRUE(ViewerWindows().empty());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(HelpTest, HHProgramOpensTheHelpFileThroughItsStorageUrl) {
    if (!FileExists(WindowsFolder() + L"\\HH.EXE")) GTEST_SKIP() << "no HH.EXE in the Windows folder";
    HelpFileBesideProgram help;
    ASSERT_TRUE(help.Place());
    THookHelpSystem hook(help.File(), L"", hkHH);
    EXPECT_EQ(hook.ShowContext(IDH_START), hhOk);
    EXPECT_TRUE(dialogs.boxes.empty());

    // The program starts on its own; wait (boundedly) for its window.
    std::vector<HWND> viewers;
    for (int i = 0; i < 150 && viewers.empty(); ++i) {
        Sleep(100);
        viewers = ViewerWindows(L"hh.exe");
    }
    ASSERT_EQ(viewers.size(), 1u);
    EXPECT_EQ(WindowText(viewers[0]), L"Fennick Notizen Hilfe");
    DWORD process = 0;
    GetWindowThreadProcessId(viewers[0], &process);
    HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
    PostMessageW(viewers[0], WM_CLOSE, 0, 0);
    if (handle) {
        EXPECT_EQ(WaitForSingleObject(handle, 15000), WAIT_OBJECT_0);
        CloseHandle(handle);
    }
}

TEST_F(HelpTest, PathOutsideTheAnsiCodePageStillOpensTheViewer) {
    String folder = TempFolder() + L"\\Справка 帮助";
    String file = folder + L"\\FNHilfe.chm";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(BuiltHelpFile().c_str(), file.c_str(), FALSE));
    EXPECT_EQ(HHHelpContext(file, IDH_START, L"", hkInProcess), hhOk);
    EXPECT_EQ(ViewerWindows().size(), 1u);
    CloseAllViewers();
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(HelpTest, ViewerFileWithoutLoadedLibraryReportsTheMissingViewer) {
    Restore<HMODULE> library(ViewerLibrary);
    Restore<THtmlHelpNarrow> narrow(HtmlHelpNarrowEntry), entry(HtmlHelpEntry);
    Restore<THtmlHelpWide> wide(HtmlHelpWideEntry);
    ASSERT_TRUE(ViewerInstalled);
    ViewerLibrary = nullptr;
    HtmlHelpNarrowEntry = HtmlHelpEntry = nullptr;
    HtmlHelpWideEntry = nullptr;
    THookHelpSystem hook(L"x.chm", L"", hkInProcess);
    EXPECT_EQ(hook.ShowContext(IDH_START), hhViewerNotInstalled);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"MS Html Help is not installed on this PC.");
}

// --- The help hook -------------------------------------------------------------------------

TEST_F(HelpTest, HookOwnsTheHelpEventWhileItLives) {
    int previousCalls = 0;
    Application()->OnHelp = [&](unsigned, uintptr_t, bool& callHelp) {
        ++previousCalls;
        callHelp = true;
        return false;
    };
    {
        THookHelpSystem hook(L"x.chm", L"", hkInProcess);
        EXPECT_FALSE(hook.ChainPrevious);
        std::vector<int> shown;
        hook.OnContext = [&](int context) { shown.push_back(context); };
        EXPECT_TRUE(Application()->HelpCommand(HELP_CONTEXT, 1070));
        EXPECT_TRUE(Application()->HelpCommand(0x10000 | HELP_CONTEXT, 1071));
        EXPECT_EQ(shown, (std::vector<int>{1070, 1071}));
        EXPECT_EQ(previousCalls, 0);

        // Chained: the rest of the chain (here the application's own handler) runs first and
        // its result is the hook's result.
        hook.ChainPrevious = true;
        EXPECT_FALSE(Application()->HelpCommand(HELP_CONTEXT, 1072));
        EXPECT_EQ(previousCalls, 1);
        EXPECT_EQ(shown.back(), 1072);
    }
    EXPECT_EQ(Application()->HelpFilters().Count(), 0);
    bool callHelp = false;
    EXPECT_FALSE(Application()->OnHelp(HELP_CONTEXT, 1, callHelp));
    EXPECT_EQ(previousCalls, 2);
    Application()->OnHelp = nullptr;
}

TEST_F(HelpTest, KeywordAndOtherCommandsAreLeftToTheApplication) {
    THookHelpSystem hook(L"x.chm", L"", hkInProcess);
    hook.OnContext = [](int) { ADD_FAILURE() << "no context expected"; };
    for (unsigned command : {257u, 3u, 2u, 11u, 258u}) {
        bool callHelp = false;
        EXPECT_TRUE(hook.HelpHook(command, reinterpret_cast<uintptr_t>("Stichwort"), callHelp)) << command;
        EXPECT_TRUE(callHelp) << command;
    }
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(ViewerWindows().empty());
}

TEST_F(HelpTest, PopupPositionIsStoredSignedAndUsedByLaterPopupRequests) {
    Restore<bool> installed(ViewerInstalled);
    Application()->SetTitle(L"Fennick Notizen");
    THookHelpSystem hook(L"x.chm", L"", hkInProcess);
    bool callHelp = true;
    hook.HelpHook(13, MAKELONG(static_cast<WORD>(-5), 300), callHelp);
    EXPECT_FALSE(callHelp);
    EXPECT_EQ(hook.PopupX, -5);
    EXPECT_EQ(hook.PopupY, 300);

    // Without a popup callback the context is shown normally: here it reports the missing viewer.
    ViewerInstalled = false;
    hook.HelpHook(8, 1070, callHelp);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"MS Html Help is not installed on this PC.");
    EXPECT_EQ(dialogs.boxes[0].caption, L"Fennick Notizen");
    EXPECT_EQ(dialogs.boxes[0].style, 48u);

    std::vector<int> popup;
    hook.OnContextPopup = [&](int context, int32_t x, int32_t y) { popup = {context, x, y}; };
    hook.HelpHook(8, 1071, callHelp);
    EXPECT_EQ(popup, (std::vector<int>{1071, -5, 300}));
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    Application()->SetTitle(L"");
}

// --- HHHelpContext with the diagnostic log ------------------------------------------------

class HelpContextLog : public HelpTest {
protected:
    void SetUp() override {
        HelpTest::SetUp();
        path_ = TempFolder() + L"\\fn_help_context_log.txt";
        saved_ = std::move(LogFile);
        LogFile = std::make_unique<TDLogFile>(path_, true, false, false, false);
    }
    void TearDown() override {
        LogFile = std::move(saved_);
        DeleteFileW(path_.c_str());
        HelpTest::TearDown();
    }
    std::vector<String> LogLines() { return Lines(ReadFileText(path_)); }

    String path_;
    std::unique_ptr<TDLogFile> saved_;
};

TEST_F(HelpContextLog, StorageUrlAndWindowDefinitionReachTheViewerPath) {
    Restore<bool> installed(ViewerInstalled);
    ViewerInstalled = false;
    EXPECT_EQ(HHHelpContext(L"C:\\My%20Help.chm ", 1070, L"main", hkHH), hhViewerNotInstalled);
    EXPECT_EQ(LogLines(), (std::vector<String>{L"HHHelpContext(\"C:\\My%20Help.chm \", 1070, \"main\", 2)",
                                               L"ShowContext(\"mk:@MSITStore:C:\\My Help.chm>main\", 1070)",
                                               L"  returned - 1"}));
}

TEST_F(HelpContextLog, MissingExternalViewerAndUnknownHostKind) {
    ASSERT_FALSE(FileExists(WindowsFolder() + L"\\KeyHH.EXE"));
    EXPECT_EQ(HHHelpContext(L"a.chm", 5, L"", hkKeyHH), hhKeyHHMissing);
    EXPECT_EQ(HHHelpContext(L"a.chm", 5, L"", 9), hhOk);
    std::vector<String> lines = LogLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], L"ShowContext(\"a.chm\", 5)");
    EXPECT_EQ(lines[2], L"  returned - 2");
    EXPECT_EQ(lines[5], L"  returned - 0");
    EXPECT_TRUE(ViewerWindows().empty());

    THookHelpSystem hook(L"a.chm", L"", hkKeyHH);
    EXPECT_EQ(hook.ShowContext(5), hhKeyHHMissing);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"System file KeyHH.EXE was not found in the Windows folder.");
    EXPECT_EQ(LogLines().back(), L"HHShowError(2), \"System file KeyHH.EXE was not found in the Windows folder.\"");
}

TEST_F(HelpContextLog, FailingShellCallIsReportedWithItsErrorText) {
    String program = L"C:\\Nirgends\\KeyHH.EXE";
    EXPECT_FALSE(RunProgram(program, L"-win -#mapid 5 a.chm"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    const String& text = dialogs.boxes[0].text;
    EXPECT_TRUE(text == ShellExecuteMessage(program, L"-win -#mapid 5 a.chm", ShellErrorText(2)) ||
                text == ShellExecuteMessage(program, L"-win -#mapid 5 a.chm", ShellErrorText(3)))
        << WideToUtf8(text);
    EXPECT_EQ(dialogs.boxes[0].style, 48u);
    EXPECT_EQ(LogLines(), Lines(text + L"\r\n"));
}

// --- The diagnostic log --------------------------------------------------------------------

TEST(DebugLog, FileBesideTheProgramSwitchesTheLogOnAndItsHeaderIsWritten) {
    String marker = ModuleFolder + L"\\debug.debug";
    String log = ModuleFolder + L"\\HHDebug.txt";
    { std::ofstream(WideToUtf8(marker)) << ""; }
    InitHelpFunctions();
    DeleteFileW(marker.c_str());
    EXPECT_TRUE(DebugMode);
    EXPECT_EQ(LogFolder, ModuleFolder);
    EXPECT_EQ(LogFile->FileName, log);
    DebugOut(L"THookHelpSystem.Destroy");

    std::vector<String> lines = Lines(ReadFileText(log));
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines.front(), String(80, L'='));
    EXPECT_EQ(lines[1], L"\tLog File:             " + log);
    EXPECT_EQ(lines[8], String(80, L'-'));
    EXPECT_EQ(lines[9], L"\tEXE Path =          " + ModulePath);
    EXPECT_EQ(lines[18], String(80, L'-'));
    EXPECT_EQ(lines[19], L"\t_hhInstalled =      YES");
    EXPECT_EQ(lines[20], L"\t_hhVerStr =         " + ViewerVersionText);
    EXPECT_EQ(lines[21], L"\t_hhFriendlyVerStr = " + ViewerFriendlyVersion);
    EXPECT_EQ(lines[26], String(80, L'='));
    EXPECT_TRUE(IsTimeStamped(lines.back(), L"THookHelpSystem.Destroy")) << WideToUtf8(lines.back());

    // Switched off again: a fresh start deletes the old log and writes no debug line.
    InitHelpFunctions();
    EXPECT_FALSE(DebugMode);
    EXPECT_FALSE(FileExists(log));
    DebugOut(L"THookHelpSystem.Destroy");
    EXPECT_FALSE(FileExists(log));
}

TEST(DebugLog, LogInAMissingFolderMovesToTheTemporaryFolder) {
    TDLogFile log(L"Z:\\fn_help_no_such_folder\\HHDebug.txt", true, true, true, false);
    EXPECT_EQ(log.FileName, TempFolder() + L"\\HHDebug.txt");
    TDLogFile bare(L"HHDebug.txt", false, true, true, false);
    EXPECT_EQ(bare.FileName, TempFolder() + L"\\HHDebug.txt");
    EXPECT_TRUE(FolderWritable(TempFolder()));
    EXPECT_FALSE(FileExists(TempFolder() + L"\\$_Temp_$.$$$"));
    EXPECT_FALSE(FolderWritable(L"Z:\\fn_help_no_such_folder"));
}

TEST(DebugLog, ExistingFileLosesItsReadOnlyMarkAndIsReplacedOrAppended) {
    String path = TempFolder() + L"\\fn_help_existing.txt";
    auto prepare = [&] {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        { std::ofstream(WideToUtf8(path), std::ios::binary) << "alt\r\n"; }
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    };
    prepare();
    {
        TDLogFile log(path, true, false, false, false);
        EXPECT_FALSE(FileExists(path));
        log.Out(L"neu");
        EXPECT_EQ(ReadFileText(path), L"neu\r\n");
    }
    prepare();
    {
        TDLogFile log(path, true, false, false, true);
        EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
        log.Out(L"dazu");
        EXPECT_EQ(ReadFileText(path), L"alt\r\ndazu\r\n");
    }
    DeleteFileW(path.c_str());
}

TEST(DebugLog, LinesAreFormattedOnlyWithArgumentsAndStampedUnlessMarked) {
    String path = TempFolder() + L"\\fn_help_lines.txt";
    TDLogFile log(path, false, true, false, false);
    log.Out(L"50%20 %s %d");
    log.Out(L"ShowContext(\"%s\", %d)", {L"a%sb.chm", L"7"});
    log.Out(L"-");
    log.Out(L"!\tohne Zeit");
    log.Out(L"Ümlaut ß");
    log.DebugOut(L"nur im Debug-Modus");
    std::vector<String> lines = Lines(ReadFileText(path));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(IsTimeStamped(lines[0], L"50%20 %s %d")) << WideToUtf8(lines[0]);
    EXPECT_TRUE(IsTimeStamped(lines[1], L"ShowContext(\"a%sb.chm\", 7)")) << WideToUtf8(lines[1]);
    EXPECT_EQ(lines[2], String(80, L'-'));
    EXPECT_EQ(lines[3], L"\tohne Zeit");
    EXPECT_TRUE(IsTimeStamped(lines[4], L"Ümlaut ß"));
    DeleteFileW(path.c_str());
}

TEST(DebugLog, UnwritableLogFileSkipsTheLineSilently) {
    String path = TempFolder() + L"\\fn_help_locked.txt";
    TDLogFile log(path, true, false, false, false);
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    log.Out(L"geht verloren");
    CloseHandle(lock);
    log.Out(L"kommt an");
    EXPECT_EQ(ReadFileText(path), L"kommt an\r\n");
    DeleteFileW(path.c_str());
}
