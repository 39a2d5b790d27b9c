#include "app/running_program.h"

#include <lmcons.h>

namespace fn {

namespace {

// Window property of the running program's main window.
const wchar_t kProgramWindowMark[] = L"FennickNotizen.Hauptfenster";
// Tag of the WM_COPYDATA message ("FNN1"): names separated by NUL characters.
constexpr ULONG_PTR kHandOverTag = 0x314E4E46;
// Enough for a few thousand long paths; a larger message is no hand-over of ours.
constexpr DWORD kMaxHandOverBytes = 4 * 1024 * 1024;

String UserName() {
    wchar_t name[UNLEN + 1] = {};
    DWORD length = UNLEN + 1;
    return ::GetUserNameW(name, &length) ? String(name) : String(L"?");
}

BOOL CALLBACK FindMarked(HWND window, LPARAM param) {
    if (!::GetPropW(window, kProgramWindowMark)) return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

HWND MarkedWindow() {
    HWND found = nullptr;
    ::EnumWindows(FindMarked, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

TRunningProgram::TRunningProgram() {
    // Local: one claim per user session; the user's name keeps users of one session apart.
    const String name = L"Local\\FennickNotizen." + UserName();
    mutex_.Reset(::CreateMutexW(nullptr, FALSE, name.c_str()));
    another_ = mutex_.Get() && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

void MarkProgramWindow(HWND window) { ::SetPropW(window, kProgramWindowMark, reinterpret_cast<HANDLE>(1)); }

void UnmarkProgramWindow(HWND window) { ::RemovePropW(window, kProgramWindowMark); }

bool HandOverToRunningProgram(const std::vector<String>& files, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    // The running program may still be starting: its window is marked once it exists.
    HWND window = MarkedWindow();
    while (!window && ::GetTickCount64() < deadline) {
        ::Sleep(50);
        window = MarkedWindow();
    }
    if (!window) return false;
    String names;
    for (const String& file : files) names += file + L'\0';
    COPYDATASTRUCT data{kHandOverTag, static_cast<DWORD>(names.size() * sizeof(wchar_t)),
                        names.empty() ? nullptr : names.data()};
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    // The running program may bring its window to the front: this start is the foreground one.
    ::AllowSetForegroundWindow(pid);
    const ULONGLONG now = ::GetTickCount64();
    const UINT remaining = now < deadline ? static_cast<UINT>(deadline - now) : 1;
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                 SMTO_ABORTIFHUNG | SMTO_BLOCK, remaining, &answer) &&
           answer == TRUE;
}

std::optional<std::vector<String>> HandedOverFiles(const COPYDATASTRUCT& data) {
    if (data.dwData != kHandOverTag || data.cbData % sizeof(wchar_t) != 0 || data.cbData > kMaxHandOverBytes)
        return std::nullopt;
    if (data.cbData > 0 && !data.lpData) return std::nullopt;
    const auto* text = static_cast<const wchar_t*>(data.lpData);
    const size_t length = data.cbData / sizeof(wchar_t);
    if (length > 0 && text[length - 1] != L'\0') return std::nullopt;  // every name ends in NUL
    std::vector<String> files;
    for (size_t start = 0; start < length;) {
        const size_t end = std::wstring_view(text + start, length - start).find(L'\0') + start;
        if (end == start) return std::nullopt;  // an empty name is no file
        files.emplace_back(text + start, end - start);
        start = end + 1;
    }
    return files;
}

}  // namespace fn
