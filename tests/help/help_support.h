#pragma once
// Helpers of the help tests: a dialog service that records what was shown, the compiled help
// file of this build placed beside the test program, and the viewer windows that are open.
#include <gtest/gtest.h>

#include <windows.h>

#include <string_view>
#include <vector>

#include "help/hh_functions_win.h"
#include "help/hh_text.h"
#include "platform/win/dialogs.h"
#include "platform/core/files.h"

namespace fn::test {

// Answers every dialog and records the messages and message boxes that were shown.
struct RecordingDialogs : TDialogService {
    struct Box {
        String text, caption;
        unsigned style;
    };
    std::vector<String> messages;
    std::vector<Box> boxes;

    void ShowMessage(const String& text) override { messages.push_back(text); }
    int ShowMessageBox(const String& text, const String& caption, unsigned style) override {
        boxes.push_back({text, caption, style});
        return IDOK;
    }
    int MessageDlg(const String& text, TMsgDlgType, unsigned, int) override {
        ADD_FAILURE() << "unexpected dialog: " << WideToUtf8(text);
        return mrCancel;
    }
    bool Execute(TCommonDialog&) override {
        ADD_FAILURE() << "unexpected common dialog";
        return false;
    }
};

// Keeps a global value and puts it back at the end of the scope.
template <class T>
struct Restore {
    T& ref;
    T saved;
    explicit Restore(T& r) : ref(r), saved(r) {}
    ~Restore() { ref = saved; }
};

inline bool IsProgram(DWORD process, std::wstring_view name) {
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!handle) return false;
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    bool same = QueryFullProcessImageNameW(handle, 0, path, &length) && SameText(ExtractFileName(path), name);
    CloseHandle(handle);
    return same;
}

// The viewer windows of this process, or of the external program named.
inline std::vector<HWND> ViewerWindows(std::wstring_view program = {}) {
    struct Search {
        std::wstring_view program;
        std::vector<HWND> found;
    } search{program, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            bool owner = search.program.empty() ? process == GetCurrentProcessId() : IsProgram(process, search.program);
            if (owner && GetClassNameW(window, name, 64) && String(name) == L"HH Parent")
                search.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The compiled help file of this build, as a Windows path.
inline String BuiltHelpFile() {
    wchar_t value[1024] = {};
    DWORD length = GetEnvironmentVariableW(L"FN_HELP_FILE", value, 1024);
    if (length == 0 || length >= 1024) return {};
    String path(value, length);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path[0] == L'\\' ? L"Z:" + path : path;
}

// The help file beside the test program, where the set-up looks for it.
class HelpFileBesideProgram {
public:
    HelpFileBesideProgram() : folder_(ModuleFolder + L"\\Hilfe"), file_(HelpFileOf(ModuleFolder)) {}
    ~HelpFileBesideProgram() { Remove(); }
    bool Place() {
        CreateDirectoryW(folder_.c_str(), nullptr);
        return CopyFileW(BuiltHelpFile().c_str(), file_.c_str(), FALSE) != 0;
    }
    void Remove() {
        DeleteFileW(file_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    const String& File() const { return file_; }

private:
    String folder_, file_;
};

}  // namespace fn::test
