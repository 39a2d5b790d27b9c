// A small probe for the visual suite, run in the same Wine session as the program it looks at.
//
//   visual_probe list   <exe name>   the program's visible windows, one per line, top first:
//       window <hwnd> <top|mdi> <left> <top> <right> <bottom> <class> <caption>
//       region <n> <l t r b>...      the window region in screen coordinates (n = 0: none set)
//       client <left> <top> <right> <bottom>   after an MDI frame: its MDI client's client area
//       inner <class> <left> <top> <right> <bottom>   after a document: each visible child window's
//                                    client area (a note's text area)
//       caret <left> <top> <right> <bottom>   last: the program's caret, when it shows one
//   visual_probe redraw <exe name>   repaints every visible window of the program in full
//                                    (frame, background, children) and answers when done
//   visual_probe alive  <exe name>   exit code 0 while the program runs, 1 when it is gone
//
// Exit code 2 on a usage error.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

struct RegionOwner {
    HRGN handle;
    explicit RegionOwner(HRGN h) : handle(h) {}
    ~RegionOwner() { if (handle) ::DeleteObject(handle); }
    RegionOwner(const RegionOwner&) = delete;
    RegionOwner& operator=(const RegionOwner&) = delete;
};

struct SnapshotOwner {
    HANDLE handle;
    explicit SnapshotOwner(HANDLE h) : handle(h) {}
    ~SnapshotOwner() { if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle); }
    SnapshotOwner(const SnapshotOwner&) = delete;
    SnapshotOwner& operator=(const SnapshotOwner&) = delete;
};

std::vector<DWORD> ProcessIds(const std::wstring& exe) {
    std::vector<DWORD> ids;
    SnapshotOwner snap(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snap.handle == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snap.handle, &entry); more; more = ::Process32NextW(snap.handle, &entry)) {
        if (::lstrcmpiW(entry.szExeFile, exe.c_str()) == 0) ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

bool OwnedBy(HWND wnd, const std::vector<DWORD>& ids) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    for (DWORD id : ids) if (id == pid) return true;
    return false;
}

// Visible top-level windows of the processes, in z-order (top first).
std::vector<HWND> TopWindows(const std::vector<DWORD>& ids) {
    std::vector<HWND> found;
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (::IsWindowVisible(w) && OwnedBy(w, ids)) found.push_back(w);
    }
    return found;
}

HWND MdiClient(HWND frame) { return ::FindWindowExW(frame, nullptr, L"MDICLIENT", nullptr); }

std::vector<HWND> MdiChildren(HWND client) {
    std::vector<HWND> found;
    for (HWND w = ::GetWindow(client, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (::IsWindowVisible(w)) found.push_back(w);
    }
    return found;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Caption(HWND wnd) {
    wchar_t text[512] = {};
    ::InternalGetWindowText(wnd, text, 512);
    return text;
}

std::wstring ClassOf(HWND wnd) {
    wchar_t name[256] = {};
    ::GetClassNameW(wnd, name, 256);
    return name;
}

void PrintRegion(HWND wnd, const RECT& frame) {
    RegionOwner rgn(::CreateRectRgn(0, 0, 0, 0));
    if (::GetWindowRgn(wnd, rgn.handle) == ERROR) {
        std::printf("region 0\n");
        return;
    }
    DWORD size = ::GetRegionData(rgn.handle, 0, nullptr);
    std::vector<unsigned char> bytes(size);
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    if (size == 0 || ::GetRegionData(rgn.handle, size, data) != size) {
        std::printf("region 0\n");
        return;
    }
    const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
    std::printf("region %lu", data->rdh.nCount);
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        std::printf(" %ld %ld %ld %ld", rects[i].left + frame.left, rects[i].top + frame.top,
                    rects[i].right + frame.left, rects[i].bottom + frame.top);
    }
    std::printf("\n");
}

void PrintWindow(HWND wnd, const char* kind) {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    std::printf("window %p %s %ld %ld %ld %ld %s %s\n", static_cast<void*>(wnd), kind, r.left, r.top, r.right,
                r.bottom, Utf8(ClassOf(wnd)).c_str(), Utf8(Caption(wnd)).c_str());
    PrintRegion(wnd, r);
}

void PrintCaret(const std::vector<DWORD>& ids) {
    std::vector<HWND> tops = TopWindows(ids);
    if (tops.empty()) return;
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(tops.front(), nullptr), &info) || !info.hwndCaret) return;
    RECT r = info.rcCaret;
    ::MapWindowPoints(info.hwndCaret, nullptr, reinterpret_cast<POINT*>(&r), 2);
    std::printf("caret %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

int List(const std::vector<DWORD>& ids) {
    for (HWND top : TopWindows(ids)) {
        PrintWindow(top, "top");
        HWND client = MdiClient(top);
        if (!client) continue;
        RECT area{};
        ::GetClientRect(client, &area);
        ::MapWindowPoints(client, nullptr, reinterpret_cast<POINT*>(&area), 2);
        std::printf("client %ld %ld %ld %ld\n", area.left, area.top, area.right, area.bottom);
        for (HWND child : MdiChildren(client)) {
            PrintWindow(child, "mdi");
            for (HWND inner : MdiChildren(child)) {
                RECT r{};
                ::GetClientRect(inner, &r);
                ::MapWindowPoints(inner, nullptr, reinterpret_cast<POINT*>(&r), 2);
                std::printf("inner %s %ld %ld %ld %ld\n", Utf8(ClassOf(inner)).c_str(), r.left, r.top, r.right, r.bottom);
            }
        }
    }
    PrintCaret(ids);
    return 0;
}

int Redraw(const std::vector<DWORD>& ids) {
    const UINT flags = RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW;
    for (HWND top : TopWindows(ids)) ::RedrawWindow(top, nullptr, nullptr, flags);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: visual_probe list|redraw|alive <exe name>\n");
        return 2;
    }
    const std::wstring command = argv[1];
    const std::vector<DWORD> ids = ProcessIds(argv[2]);
    if (command == L"alive") return ids.empty() ? 1 : 0;
    if (command == L"list") return List(ids);
    if (command == L"redraw") return Redraw(ids);
    std::fprintf(stderr, "visual_probe: unknown command\n");
    return 2;
}
