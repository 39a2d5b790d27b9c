// The program as a person starts it: a separate process seen from outside, as a window
// inspector sees it, then ended by Escape posted to its main window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring ProgramPath() {
    // The build passes the Linux path of the executable; Wine maps the root to drive Z:.
    std::wstring path = L"Z:" FN_PROGRAM_PATH;
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

struct FrameSearch {
    HWND frame = nullptr;
    HWND client = nullptr;
    DWORD pid = 0;
};

BOOL CALLBACK FindFrame(HWND w, LPARAM param) {
    auto* s = reinterpret_cast<FrameSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    wchar_t title[128] = {};
    ::GetWindowTextW(w, title, 128);
    if (pid != s->pid || std::wstring(title) != L"Fennick Notizen") return TRUE;
    if (HWND client = ::FindWindowExW(w, nullptr, L"MDICLIENT", nullptr)) {
        s->frame = w;
        s->client = client;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

TEST(Program, ShowsOneUntitledDocumentAndEndsOnEscape) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + ProgramPath() + L"\"";
    ASSERT_TRUE(::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "cannot start the program, error " << ::GetLastError();
    FrameSearch s;
    s.pid = pi.dwProcessId;
    for (int i = 0; i < 200 && !s.frame; ++i) {
        ::Sleep(100);
        ::EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&s));
    }
    ASSERT_NE(s.frame, nullptr) << "no top-level window titled \"Fennick Notizen\" with an MDI client";
    ::Sleep(500);
    int children = 0;
    std::wstring childTitle;
    for (HWND w = ::GetWindow(s.client, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (!(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_MDICHILD)) continue;
        ++children;
        wchar_t t[128] = {};
        ::GetWindowTextW(w, t, 128);
        childTitle = t;
    }
    EXPECT_EQ(children, 1);
    EXPECT_EQ(childTitle, L"Ohne Namen");

    ::PostMessageW(s.frame, WM_KEYDOWN, VK_ESCAPE, 1);
    DWORD waited = ::WaitForSingleObject(pi.hProcess, 20000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the program did not end on Escape";
    if (waited != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
    DWORD code = 99;
    ::GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}
