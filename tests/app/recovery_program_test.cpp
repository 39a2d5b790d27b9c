// The real program ended hard while a note was unsaved: the next start asks in German,
// restores the sentence under the note's name, and its own normal end leaves no copy. A copy
// is never offered while the program that wrote it lives.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "app/recovery.h"
#include "tests/app/app_fixture.h"

using namespace fn;
using namespace fn::test;

namespace {

String ProgramPath() {
    // The build passes the Linux path of the executable; Wine maps the root to drive Z:.
    String path = L"Z:" FN_PROGRAM_PATH;
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

// A started program, ended hard when the test leaves early.
struct Program {
    PROCESS_INFORMATION pi{};
    explicit Program(const String& arguments) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        String cmd = L"\"" + ProgramPath() + L"\" " + arguments;
        ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    }
    ~Program() {
        if (pi.hProcess && ::WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
    // Its name in the recovery folder.
    String Owner() const {
        FILETIME created{}, exited{}, kernel{}, user{};
        ::GetProcessTimes(pi.hProcess, &created, &exited, &kernel, &user);
        return RecoveryOwner(pi.dwProcessId, (uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime);
    }
    // The first top-level window of the program for which test holds, waited for up to 20 s.
    HWND Window(const std::function<bool(HWND)>& test) const {
        struct Search { DWORD pid; const std::function<bool(HWND)>* test; HWND found; } s{pi.dwProcessId, &test, nullptr};
        for (int i = 0; i < 200 && !s.found; ++i) {
            ::EnumWindows([](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(w, &pid);
                if (pid == s->pid && ::IsWindowVisible(w) && (*s->test)(w)) s->found = w;
                return !s->found;
            }, reinterpret_cast<LPARAM>(&s));
            if (!s.found) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return s.found;
    }
};

String ClassOf(HWND w) {
    wchar_t name[64] = {};
    ::GetClassNameW(w, name, 64);
    return name;
}

String TextOfWindow(HWND w) {
    String text(static_cast<size_t>(::SendMessageW(w, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(::SendMessageW(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

HWND Frame(const Program& p) {
    return p.Window([](HWND w) { return ::FindWindowExW(w, nullptr, L"MDICLIENT", nullptr) != nullptr; });
}
HWND MessageBoxOf(const Program& p) {
    return p.Window([](HWND w) { return ClassOf(w) == L"#32770"; });
}

// The rich-edit control of the frame's first note whose caption is caption (20 s at most).
HWND NoteEdit(HWND frame, const String& caption) {
    HWND client = ::FindWindowExW(frame, nullptr, L"MDICLIENT", nullptr);
    for (int i = 0; i < 200; ++i) {
        for (HWND note = ::GetWindow(client, GW_CHILD); note; note = ::GetWindow(note, GW_HWNDNEXT))
            if (TextOfWindow(note) == caption)
                for (HWND c = ::GetWindow(note, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
                    if (ClassOf(c).starts_with(L"RichEdit") || ClassOf(c).starts_with(L"RICHEDIT")) return c;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return nullptr;
}

std::vector<String> FilesOf(const String& folder, const String& owner) {
    std::vector<String> names;
    for (const String& name : FilesIn(folder))
        if (name.starts_with(owner)) names.push_back(name);
    return names;
}

}  // namespace

TEST(RecoveryProgram, ASentenceSurvivesAHardEndAndComesBackOnTheNextStart) {
    const String folder = DefaultRecoveryFolder();
    ASSERT_FALSE(folder.empty());
    // What earlier runs left of programs that are gone would be offered too.
    TRecovery scanner;
    TRecovery::Remove(scanner.FindOrphans());
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const String note = String(temp) + L"fn_brief_" + IntToStr(::GetCurrentProcessId()) + L".rtf";
    WriteBytes(note, "{\\rtf1\\ansi Hallo\\par}");

    String ownerA;
    {
        Program a(L"\"" + note + L"\"");
        ownerA = a.Owner();
        HWND frame = Frame(a);
        ASSERT_TRUE(frame);
        HWND edit = NoteEdit(frame, ExtractFileName(note));
        ASSERT_TRUE(edit);
        ::SendMessageW(edit, EM_SETSEL, 0, 0);
        for (wchar_t c : String(L"Mitten im Satz "))::SendMessageW(edit, WM_CHAR, c, 1);
        // Thirty seconds pass.
        ::SendMessageW(frame, WM_TIMER, TRecovery::kTimerId, 0);
        ASSERT_EQ(FilesOf(folder, ownerA).size(), 2u);  // the copy and the lock
        // Its program lives: its copy is nobody else's to offer.
        for (const TFoundCopy& copy : scanner.FindOrphans().Copies) EXPECT_FALSE(copy.Path.find(ownerA) != String::npos);
        ::TerminateProcess(a.pi.hProcess, 1);
        ::WaitForSingleObject(a.pi.hProcess, 10000);
    }

    Program b(L"");
    const String ownerB = b.Owner();
    HWND box = MessageBoxOf(b);
    ASSERT_TRUE(box);
    String shown;
    for (HWND s = nullptr; (s = ::FindWindowExW(box, s, L"Static", nullptr));) shown += TextOfWindow(s);
    EXPECT_NE(shown.find(L"nicht ordnungsgemäß beendet"), String::npos);
    EXPECT_NE(shown.find(ExtractFileName(note)), String::npos);
    EXPECT_EQ(TextOfWindow(::GetDlgItem(box, IDYES)), L"Wiederherstellen");
    EXPECT_EQ(TextOfWindow(::GetDlgItem(box, IDNO)), L"Verwerfen");
    ::PostMessageW(box, WM_COMMAND, IDYES, 0);
    HWND frame = Frame(b);
    ASSERT_TRUE(frame);
    HWND edit = NoteEdit(frame, ExtractFileName(note));
    ASSERT_TRUE(edit);
    EXPECT_EQ(TextOfWindow(edit).substr(0, 20), L"Mitten im Satz Hallo");
    EXPECT_TRUE(::SendMessageW(edit, EM_GETMODIFY, 0, 0));
    EXPECT_EQ(FilesOf(folder, ownerA), std::vector<String>{});
    EXPECT_FALSE(FilesOf(folder, ownerB).empty());

    // A normal end (the change given up when asked) leaves no recovery file.
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    HWND question = MessageBoxOf(b);
    ASSERT_TRUE(question);
    ::PostMessageW(question, WM_COMMAND, IDNO, 0);
    EXPECT_EQ(::WaitForSingleObject(b.pi.hProcess, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(FilesOf(folder, ownerB), std::vector<String>{});
    EXPECT_EQ(ReadBytes(note), "{\\rtf1\\ansi Hallo\\par}");
    ::DeleteFileW(note.c_str());
}
