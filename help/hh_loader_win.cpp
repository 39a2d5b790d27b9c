#include "help/hh_loader_win.h"

#include "help/hh_text.h"
#include "platform/core/files.h"

namespace fn {

HMODULE ViewerLibrary = nullptr;
THtmlHelpNarrow HtmlHelpEntry = nullptr;
THtmlHelpWide HtmlHelpWideEntry = nullptr;
THtmlHelpNarrow HtmlHelpNarrowEntry = nullptr;
bool AutoLoadViewer = true;

namespace {

// Registry strings longer than this are not library paths; they are ignored.
constexpr DWORD MaxRegisteredPathBytes = 32768 * sizeof(wchar_t);

String FolderFrom(UINT (WINAPI* query)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH + 1];
    UINT length = query(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return {};
    String folder(buffer, length);
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

// The default value of the viewer's server key, or empty when it cannot be read.
String ReadRegisteredValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, ViewerServerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    String value;
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && bytes <= MaxRegisteredPathBytes) {
        value.resize(bytes / sizeof(wchar_t) + 1);
        if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes) ==
            ERROR_SUCCESS) {
            value.resize(std::min<size_t>(bytes / sizeof(wchar_t), value.size()));
            value.resize(wcsnlen(value.c_str(), value.size()));  // the stored terminator, if any
        } else {
            value.clear();
        }
    }
    RegCloseKey(key);
    return value;
}

template <class T>
T EntryPoint(const char* name) {
    // Through the generic function type, which converts to any other without complaint.
    return reinterpret_cast<T>(reinterpret_cast<void (*)()>(GetProcAddress(ViewerLibrary, name)));
}

}  // namespace

String WindowsFolder() { return FolderFrom(GetWindowsDirectoryW); }
String SystemFolder() { return FolderFrom(GetSystemDirectoryW); }

String RegisteredViewerPath() {
    String path = ExpandSystemRoot(ReadRegisteredValue(), WindowsFolder());
    if (!path.empty() && !FileExists(path)) path.clear();
    if (path.empty()) path = SystemFolder() + L"\\" + ViewerLibraryName;
    return path;
}

void LoadViewer() {
    if (ViewerLibrary) return;
    ViewerLibrary = LoadLibraryW(ViewerLibraryName);
    if (!ViewerLibrary) {
        String path = RegisteredViewerPath();
        if (FileExists(path)) ViewerLibrary = LoadLibraryW(path.c_str());
    }
    if (!ViewerLibrary) return;
    HtmlHelpEntry = EntryPoint<THtmlHelpNarrow>("HtmlHelpA");
    HtmlHelpWideEntry = EntryPoint<THtmlHelpWide>("HtmlHelpW");
    HtmlHelpNarrowEntry = HtmlHelpEntry;
}

void FreeViewer() {
    if (ViewerLibrary) FreeLibrary(ViewerLibrary);
    ViewerLibrary = nullptr;
    HtmlHelpEntry = nullptr;
    HtmlHelpWideEntry = nullptr;
    HtmlHelpNarrowEntry = nullptr;
}

}  // namespace fn
