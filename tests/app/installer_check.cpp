// Checks an installation of the program from outside, as scripts/test drives it in a fresh
// Wine prefix around the silent installer:
//   installer_check prepare      another program's offers for .rtf and .txt, before installing
//   installer_check installed    files, Start-menu entry and registrations are there
//   installer_check start FILE   starts the Start-menu entry's target with FILE; a note titled
//                                with FILE's name must open; then ends the program
//   installer_check uninstall    runs the uninstaller silently; nothing of the program is left,
//                                the other program's offers are
// Prints what is wrong and exits with 1; 0 when everything holds.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

const wchar_t kProduct[] = L"Fennick Notizen";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\FennickNotizen";
const wchar_t kApplicationKey[] = L"Software\\Classes\\Applications\\FennickNotizen.exe";
const wchar_t kProgIdKey[] = L"Software\\Classes\\FennickNotizen.Notiz";
const wchar_t kOtherProgId[] = L"Andere.Notiz";

int failures = 0;

void Fail(const std::wstring& what) {
    std::fwprintf(stderr, L"installer_check: %ls\n", what.c_str());
    ++failures;
}

std::wstring Folder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    ::CoTaskMemFree(path);
    return result;
}

std::wstring InstallFolder() { return Folder(FOLDERID_LocalAppData) + L"\\Programs\\" + kProduct; }
std::wstring Shortcut() { return Folder(FOLDERID_Programs) + L"\\" + kProduct + L".lnk"; }

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(const std::wstring& key) {
    HKEY h = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    ::RegCloseKey(h);
    return true;
}

// The string value, or nothing when it is missing.
bool ReadString(const std::wstring& key, const wchar_t* name, std::wstring& value) {
    wchar_t buffer[2048] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

void WriteString(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    if (::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, value.c_str(),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        Fail(L"cannot write " + key);
}

void ExpectString(const std::wstring& key, const wchar_t* name, const std::wstring& expected) {
    std::wstring value;
    if (!ReadString(key, name, value)) Fail(L"missing " + key + L" " + (name ? name : L"(default)"));
    else if (value != expected) Fail(key + L": \"" + value + L"\", expected \"" + expected + L"\"");
}

void Prepare() {
    // Another program's offers and the user's default for .rtf: the installation leaves them.
    WriteString(L"Software\\Classes\\.txt\\OpenWithProgids", kOtherProgId, L"");
    WriteString(L"Software\\Classes\\.rtf", nullptr, kOtherProgId);
}

void ExpectOtherProgramsOffers() {
    ExpectString(L"Software\\Classes\\.txt\\OpenWithProgids", kOtherProgId, L"");
    ExpectString(L"Software\\Classes\\.rtf", nullptr, kOtherProgId);
}

void Installed() {
    const std::wstring dir = InstallFolder(), exe = dir + L"\\FennickNotizen.exe";
    for (const std::wstring& file : {exe, dir + L"\\Hilfe\\FNHilfe.chm", dir + L"\\Deinstallieren.exe", Shortcut()})
        if (!Exists(file)) Fail(L"missing " + file);
    const std::wstring open = L"\"" + exe + L"\" \"%1\"";
    ExpectString(kApplicationKey + std::wstring(L"\\shell\\open\\command"), nullptr, open);
    ExpectString(kApplicationKey + std::wstring(L"\\SupportedTypes"), L".rtf", L"");
    ExpectString(kApplicationKey + std::wstring(L"\\SupportedTypes"), L".txt", L"");
    ExpectString(kApplicationKey + std::wstring(L"\\DefaultIcon"), nullptr, exe + L",-2");
    ExpectString(kProgIdKey + std::wstring(L"\\shell\\open\\command"), nullptr, open);
    for (const wchar_t* ext : {L".rtf", L".txt"})
        ExpectString(L"Software\\Classes\\" + std::wstring(ext) + L"\\OpenWithProgids", L"FennickNotizen.Notiz", L"");
    ExpectString(kUninstallKey, L"DisplayName", kProduct);
    ExpectString(kUninstallKey, L"UninstallString", L"\"" + dir + L"\\Deinstallieren.exe\"");
    ExpectOtherProgramsOffers();
}

std::wstring ShortcutTarget() {
    std::wstring target;
    IShellLinkW* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(Shortcut().c_str(), STGM_READ)) &&
            SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    link->Release();
    return target;
}

struct Search {
    DWORD pid = 0;
    std::wstring title;
    HWND frame = nullptr;
    bool found = false;
};

BOOL CALLBACK FindNote(HWND child, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    wchar_t text[256] = {};
    ::GetWindowTextW(child, text, 256);
    if ((::GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_MDICHILD) && s->title == text) s->found = true;
    return !s->found;
}

BOOL CALLBACK FindFrame(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != s->pid) return TRUE;
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    if (!std::wstring_view(text).starts_with(kProduct)) return TRUE;
    s->frame = window;
    ::EnumChildWindows(window, FindNote, param);
    return !s->found;
}

void Start(const std::wstring& file) {
    const std::wstring target = ShortcutTarget();
    if (target != InstallFolder() + L"\\FennickNotizen.exe") {
        Fail(L"the Start-menu entry points to \"" + target + L"\"");
        return;
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + target + L"\" \"" + file + L"\"";
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        Fail(L"cannot start " + target);
        return;
    }
    Search s;
    s.pid = pi.dwProcessId;
    s.title = file.substr(file.find_last_of(L'\\') + 1);
    for (int i = 0; i < 300 && !s.found; ++i) {
        ::Sleep(100);
        ::EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&s));
    }
    if (!s.found) Fail(L"no note titled \"" + s.title + L"\" opened");
    if (s.frame) ::PostMessageW(s.frame, WM_KEYDOWN, VK_ESCAPE, 1);
    if (::WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
        Fail(L"the program did not end on Escape");
        ::TerminateProcess(pi.hProcess, 1);
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

void Uninstall() {
    std::wstring command;
    if (!ReadString(kUninstallKey, L"QuietUninstallString", command)) {
        Fail(L"no silent uninstall command in the installed programs");
        return;
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        Fail(L"cannot start " + command);
        return;
    }
    ::WaitForSingleObject(pi.hProcess, 60000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    // The uninstaller runs on as a copy of itself outside the folder it removes.
    const std::wstring dir = InstallFolder();
    for (int i = 0; i < 300 && Exists(dir); ++i) ::Sleep(100);
    for (const std::wstring& path : {dir, Shortcut()})
        if (Exists(path)) Fail(L"left behind: " + path);
    for (const std::wstring& key : {std::wstring(kUninstallKey), std::wstring(kApplicationKey), std::wstring(kProgIdKey)})
        if (KeyExists(key)) Fail(L"left behind: HKCU\\" + key);
    std::wstring value;
    for (const wchar_t* ext : {L".rtf", L".txt"})
        if (ReadString(L"Software\\Classes\\" + std::wstring(ext) + L"\\OpenWithProgids", L"FennickNotizen.Notiz", value))
            Fail(L"left behind: the offer for " + std::wstring(ext));
    if (KeyExists(L"Software\\Classes\\.rtf\\OpenWithProgids")) Fail(L"left behind: the empty offers of .rtf");
    ExpectOtherProgramsOffers();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::CoInitialize(nullptr);
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"prepare") Prepare();
    else if (mode == L"installed") Installed();
    else if (mode == L"start" && argc > 2) Start(argv[2]);
    else if (mode == L"uninstall") Uninstall();
    else Fail(L"usage: installer_check prepare | installed | start FILE | uninstall");
    ::CoUninitialize();
    if (failures == 0) std::fwprintf(stdout, L"installer_check %ls: ok\n", mode.c_str());
    return failures == 0 ? 0 : 1;
}
