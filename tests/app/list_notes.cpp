// Prints the captions of the notes open in the running program's frame, one per line (UTF-8),
// for scripts that drive the program from outside; with --close it then ends the program by
// Escape. Exits with 1 when no frame is found within 15 s.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK FindFrame(HWND window, LPARAM param) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    if (std::wstring(text).rfind(L"Fennick Notizen", 0) != 0 || !::FindWindowExW(window, nullptr, L"MDICLIENT", nullptr))
        return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    HWND frame = nullptr;
    for (int i = 0; i < 150 && !frame; ++i) {
        ::EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&frame));
        if (!frame) ::Sleep(100);
    }
    if (!frame) {
        std::fprintf(stderr, "list_notes: no frame of the program found\n");
        return 1;
    }
    HWND client = ::FindWindowExW(frame, nullptr, L"MDICLIENT", nullptr);
    for (HWND w = ::GetWindow(client, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (!(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_MDICHILD)) continue;
        wchar_t text[256] = {};
        ::GetWindowTextW(w, text, 256);
        char utf8[1024] = {};
        ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        std::printf("%s\n", utf8);
    }
    if (argc > 1 && std::wstring(argv[1]) == L"--close") ::PostMessageW(frame, WM_KEYDOWN, VK_ESCAPE, 1);
    return 0;
}
