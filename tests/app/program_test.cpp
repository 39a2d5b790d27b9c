// The program as a person starts it: a separate process seen from outside, as a window
// inspector sees it, then ended by Escape posted to its main window; and the program file as
// Explorer reads it (icon, version, manifest).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

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

// The captions of the frame's notes.
std::multiset<std::wstring> NoteCaptions(HWND client) {
    std::multiset<std::wstring> captions;
    for (HWND w = ::GetWindow(client, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (!(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_MDICHILD)) continue;
        wchar_t t[128] = {};
        ::GetWindowTextW(w, t, 128);
        captions.insert(t);
    }
    return captions;
}

// Starts the program with the arguments in the folder; false when it could not be started.
bool Start(const std::wstring& arguments, const std::wstring& folder, PROCESS_INFORMATION& pi) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + ProgramPath() + L"\" " + arguments;
    return ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &si, &pi);
}

void WriteNote(const std::wstring& path) {
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(f, "Hallo", 5, &written, nullptr);
    ::CloseHandle(f);
}

}  // namespace

TEST(Program, OpensTheNamedFilesAndALaterStartHandsItsFileToIt) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"fn programm";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"\\Grüße.txt", L"\\mit Leerzeichen.txt", L"\\dritte.rtf"}) WriteNote(folder + name);

    PROCESS_INFORMATION first{};
    ASSERT_TRUE(Start(L"Grüße.txt /debug \"mit Leerzeichen.txt\"", folder, first)) << ::GetLastError();
    FrameSearch s;
    s.pid = first.dwProcessId;
    for (int i = 0; i < 200 && !s.frame; ++i) {
        ::Sleep(100);
        ::EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&s));
    }
    ASSERT_NE(s.frame, nullptr);
    // A note shows untitled until its file is read: wait for the captions to settle.
    auto settled = [&](const std::multiset<std::wstring>& expected) {
        for (int i = 0; i < 100 && NoteCaptions(s.client) != expected; ++i) ::Sleep(100);
        return NoteCaptions(s.client);
    };
    EXPECT_EQ(settled({L"Grüße.txt", L"mit Leerzeichen.txt"}), (std::multiset<std::wstring>{L"Grüße.txt", L"mit Leerzeichen.txt"}));

    // A second start with another file: the running program opens it, the second start ends.
    PROCESS_INFORMATION second{};
    ASSERT_TRUE(Start(L"\"" + folder + L"\\dritte.rtf\"", L"", second));
    EXPECT_EQ(::WaitForSingleObject(second.hProcess, 20000), WAIT_OBJECT_0) << "the second start did not end";
    DWORD secondCode = 99;
    ::GetExitCodeProcess(second.hProcess, &secondCode);
    EXPECT_EQ(secondCode, 0u);
    const std::multiset<std::wstring> all{L"Grüße.txt", L"mit Leerzeichen.txt", L"dritte.rtf"};
    EXPECT_EQ(settled(all), all);

    ::PostMessageW(s.frame, WM_KEYDOWN, VK_ESCAPE, 1);
    DWORD waited = ::WaitForSingleObject(first.hProcess, 20000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the program did not end on Escape";
    if (waited != WAIT_OBJECT_0) ::TerminateProcess(first.hProcess, 1);
    if (::WaitForSingleObject(second.hProcess, 0) != WAIT_OBJECT_0) ::TerminateProcess(second.hProcess, 1);
    for (HANDLE h : {first.hProcess, first.hThread, second.hProcess, second.hThread}) ::CloseHandle(h);
}

TEST(Program, CarriesItsIconsFirstTheVersionAndAManifestForTodaysControls) {
    HMODULE exe = ::LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    // Explorer shows the first icon group: the program's, with every size.
    std::vector<ULONG_PTR> groups;
    ::EnumResourceNamesW(exe, RT_GROUP_ICON, [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR p) -> BOOL {
        reinterpret_cast<std::vector<ULONG_PTR>*>(p)->push_back(reinterpret_cast<ULONG_PTR>(name));
        return TRUE;
    }, reinterpret_cast<LONG_PTR>(&groups));
    EXPECT_EQ(groups, (std::vector<ULONG_PTR>{1, 2}));
    for (ULONG_PTR id : {1, 2}) {
        HRSRC res = ::FindResourceW(exe, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
        ASSERT_NE(res, nullptr);
        auto* dir = static_cast<const BYTE*>(::LockResource(::LoadResource(exe, res)));
        const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
        std::vector<int> sizes;
        for (WORD i = 0; i < count; ++i) sizes.push_back(dir[6 + 14 * i] ? dir[6 + 14 * i] : 256);
        EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256})) << "group " << id;
    }
    HRSRC manifest = ::FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    std::string text(static_cast<const char*>(::LockResource(::LoadResource(exe, manifest))), ::SizeofResource(exe, manifest));
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "level=\"asInvoker\"",
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", ">true/pm<", ">PerMonitorV2, PerMonitor<"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
    ::FreeLibrary(exe);

    DWORD ignored = 0;
    std::vector<BYTE> info(::GetFileVersionInfoSizeW(ProgramPath().c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(::GetFileVersionInfoW(ProgramPath().c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    auto value = [&](const wchar_t* key) {
        wchar_t* text = nullptr;
        UINT length = 0;
        return ::VerQueryValueW(info.data(), key, reinterpret_cast<void**>(&text), &length) && text ? std::wstring(text) : L"";
    };
    for (std::wstring block : {L"040704B0", L"000004B0"}) {
        const std::wstring base = L"\\StringFileInfo\\" + block + L"\\";
        EXPECT_EQ(value((base + L"ProductName").c_str()), L"Fennick Notizen");
        EXPECT_EQ(value((base + L"ProductVersion").c_str()), FN_PROGRAM_VERSION);
        EXPECT_EQ(value((base + L"OriginalFilename").c_str()), L"FennickNotizen.exe");
        EXPECT_FALSE(value((base + L"FileDescription").c_str()).empty());
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const std::wstring version = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                                 std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                                 std::to_wstring(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(version, FN_PROGRAM_VERSION);
}

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
