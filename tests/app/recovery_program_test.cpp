// The real program ended hard mid-sentence: its copy is nobody's while it lives; the next start
// asks in German, passes over a damaged copy, restores the sentence under the note's name so
// that a Save writes it there in its format, and its normal end leaves no copy.
#include <gtest/gtest.h>

#include <functional>

#include "app/recovery.h"
#include "tests/app/app_fixture.h"

using namespace fn;
using namespace fn::test;

namespace {

String Text(HWND w) {
    String text(static_cast<size_t>(::SendMessageW(w, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(::SendMessageW(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// The first window below parent (null: another process's top-level one) of class cls whose
// text holds part, waited for up to 20 s.
HWND Wait(HWND parent, const wchar_t* cls, const String& part, const std::function<bool(HWND)>& also = nullptr) {
    for (int i = 0; i < 200; ++i, ::Sleep(100))
        for (HWND w = ::FindWindowExW(parent, nullptr, cls, nullptr); w; w = ::FindWindowExW(parent, w, cls, nullptr)) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if ((parent || pid != ::GetCurrentProcessId()) && Text(w).find(part) != String::npos && (!also || also(w)))
                return w;
        }
    return nullptr;
}

struct Program {
    PROCESS_INFORMATION pi{};
    explicit Program(const String& arguments) {
        String cmd = L"\"Z:" FN_PROGRAM_PATH L"\" " + arguments;  // Wine maps the root to drive Z:
        STARTUPINFOW si{};
        si.cb = sizeof si;
        ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    }
    ~Program() {
        ::TerminateProcess(pi.hProcess, 1);
        ::WaitForSingleObject(pi.hProcess, 10000);
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
    std::vector<String> Files(const String& folder) const {
        FILETIME created{}, unused{};
        ::GetProcessTimes(pi.hProcess, &created, &unused, &unused, &unused);
        const String owner = RecoveryOwner(pi.dwProcessId, (uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime);
        std::vector<String> names;
        for (const String& name : FilesIn(folder))
            if (name.starts_with(owner)) names.push_back(name);
        return names;
    }
};

// The rich-edit control of the note captioned caption in the other program's main window.
HWND NoteEdit(const String& caption) {
    auto client = [](HWND w) { return ::FindWindowExW(w, nullptr, L"MDICLIENT", nullptr); };
    HWND frame = Wait(nullptr, nullptr, L"Fennick Notizen", [&](HWND w) { return client(w) != nullptr; });
    HWND note = frame ? Wait(client(frame), nullptr, caption) : nullptr;
    return note ? Wait(note, nullptr, L"", [](HWND w) {
        wchar_t cls[32] = {};
        ::GetClassNameW(w, cls, 32);
        return ::CompareStringOrdinal(cls, 8, L"RICHEDIT", 8, TRUE) == CSTR_EQUAL;
    }) : nullptr;
}

}  // namespace

TEST(RecoveryProgram, ASentenceSurvivesAHardEndAndComesBackOnTheNextStart) {
    const String folder = DefaultRecoveryFolder();
    TRecovery scanner;
    // What earlier runs left goes, and so does what this one leaves when it fails half-way: the
    // next start of the program in this prefix would ask to restore it.
    struct Tidy {
        TRecovery& scanner;
        ~Tidy() { TRecovery::Remove(scanner.FindOrphans()); }
    } tidy{scanner};
    TRecovery::Remove(scanner.FindOrphans());
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const String path = String(temp) + L"fn_brief.txt";
    WriteBytes(path, "Hallo");
    {
        Program a(L"\"" + path + L"\"");
        HWND edit = NoteEdit(L"fn_brief.txt");
        ASSERT_TRUE(edit);
        for (wchar_t c : String(L"Mitten im Satz ")) ::SendMessageW(edit, WM_CHAR, c, 1);
        ::SendMessageW(::GetAncestor(edit, GA_ROOT), WM_TIMER, TRecovery::kTimerId, 0);  // thirty seconds pass
        ASSERT_EQ(a.Files(folder).size(), 2u);  // the copy and the lock
        for (const TFoundCopy& copy : scanner.FindOrphans().Copies) ADD_FAILURE() << "offered: " << WideToUtf8(copy.Path);
        ::TerminateProcess(a.pi.hProcess, 1);
        ::WaitForSingleObject(a.pi.hProcess, 10000);
        EXPECT_EQ(scanner.FindOrphans().Copies.size(), 1u);
    }
    const String damaged = RecoveryOwner(7, 1);
    WriteBytes(folder + L"\\" + RecoveryCopyName(damaged, 1), "FNWH\1");  // cut short
    Program b(L"");
    HWND box = Wait(nullptr, L"#32770", L"Bestätigen");
    ASSERT_TRUE(box);
    EXPECT_TRUE(Wait(box, L"Static", L"nicht ordnungsgemäß beendet"));
    EXPECT_EQ(Text(::GetDlgItem(box, IDYES)), L"Wiederherstellen");
    EXPECT_EQ(Text(::GetDlgItem(box, IDNO)), L"Verwerfen");
    ::PostMessageW(box, WM_COMMAND, IDYES, 0);
    HWND edit = NoteEdit(L"fn_brief.txt");
    ASSERT_TRUE(edit);
    EXPECT_EQ(Text(edit).substr(0, 20), L"Mitten im Satz Hallo");
    EXPECT_TRUE(::SendMessageW(edit, EM_GETMODIFY, 0, 0));
    for (const String& name : FilesIn(folder)) EXPECT_FALSE(name.starts_with(damaged)) << WideToUtf8(name);

    // A normal end, the note saved when asked, leaves no recovery file.
    ::PostMessageW(::GetAncestor(edit, GA_ROOT), WM_CLOSE, 0, 0);
    HWND question = Wait(nullptr, L"#32770", L"Bestätigen");
    ASSERT_TRUE(question);
    ::PostMessageW(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(::WaitForSingleObject(b.pi.hProcess, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(b.Files(folder), std::vector<String>{});
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF" "Mitten im Satz Hallo");
    ::DeleteFileW(path.c_str());
}
