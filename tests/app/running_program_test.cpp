// A start's note files from its command line, and the hand-over of files to the running
// program: what crosses between the two starts, and a running program that hangs.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "app/command_line.h"
#include "app/running_program.h"

using namespace fn;

namespace {

// The current folder for one test, restored afterwards.
class InFolder {
public:
    explicit InFolder(const String& folder) {
        ::GetCurrentDirectoryW(MAX_PATH, saved_);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        ::SetCurrentDirectoryW(folder.c_str());
    }
    ~InFolder() { ::SetCurrentDirectoryW(saved_); }

private:
    wchar_t saved_[MAX_PATH] = {};
};

}  // namespace

TEST(CommandLine, NamesFilesQuotedOrNotAbsoluteAndLeavesTheHelpSwitchesOut) {
    InFolder here(L"C:\\fn Notizen");
    EXPECT_EQ(NoteFilesFromCommandLine(L"\"C:\\Programme\\FennickNotizen.exe\" a.rtf \"mit Leerzeichen.txt\" /debug "
                                       L"-DEBUG Unter\\Grüße.txt D:\\Notizen\\b.txt ..\\oben.txt"),
              (std::vector<String>{L"C:\\fn Notizen\\a.rtf", L"C:\\fn Notizen\\mit Leerzeichen.txt",
                                   L"C:\\fn Notizen\\Unter\\Grüße.txt", L"D:\\Notizen\\b.txt", L"C:\\oben.txt"}));
    EXPECT_TRUE(NoteFilesFromCommandLine(L"FennickNotizen.exe").empty());
    EXPECT_TRUE(NoteFilesFromCommandLine(L"FennickNotizen.exe /Debug \"\"").empty());
}

TEST(RunningProgram, TakesOnlyWholeListsOfNamesTaggedAsItsOwn) {
    const wchar_t names[] = L"C:\\a.txt\0D:\\Grüße.rtf";  // the literal adds the last NUL
    COPYDATASTRUCT data{0x314E4E46, sizeof names, const_cast<wchar_t*>(names)};
    EXPECT_EQ(HandedOverFiles(data), (std::vector<String>{L"C:\\a.txt", L"D:\\Grüße.rtf"}));
    EXPECT_EQ(HandedOverFiles({0x314E4E46, 0, nullptr}), std::vector<String>{});
    COPYDATASTRUCT foreign = data;
    foreign.dwData = 1;
    EXPECT_FALSE(HandedOverFiles(foreign));
    COPYDATASTRUCT cut = data;
    cut.cbData -= sizeof(wchar_t);  // the last name without its end
    EXPECT_FALSE(HandedOverFiles(cut));
    COPYDATASTRUCT odd = data;
    odd.cbData -= 1;
    EXPECT_FALSE(HandedOverFiles(odd));
    const wchar_t empty[] = L"C:\\a.txt\0";  // an empty name after the first
    EXPECT_FALSE(HandedOverFiles({0x314E4E46, sizeof empty, const_cast<wchar_t*>(empty)}));
}

TEST(RunningProgram, AHungProgramIsGivenUpAfterTheTimeOutAndNoMarkNoHandOver) {
    EXPECT_FALSE(HandOverToRunningProgram({L"C:\\a.txt"}, 200)) << "no program window is marked";
    // The marked window belongs to a thread that never reads its messages.
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND hung = nullptr;
    std::thread owner([&] {
        hung = ::CreateWindowExW(0, L"STATIC", L"hängt", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        MarkProgramWindow(hung);
        ::SetEvent(ready);
        ::WaitForSingleObject(release, INFINITE);
        ::DestroyWindow(hung);
    });
    ::WaitForSingleObject(ready, INFINITE);
    EXPECT_FALSE(HandOverToRunningProgram({L"C:\\a.txt"}, 300));
    ::SetEvent(release);
    owner.join();
    ::CloseHandle(release);
    ::CloseHandle(ready);
}
