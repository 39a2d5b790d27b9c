#include "app/command_line.h"

#include <shellapi.h>

#include "help/hh_text.h"

namespace fn {

String FullPath(const String& path) {
    DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    String full(needed, L'\0');
    DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length);
    return full;
}

std::vector<String> NoteFilesFromCommandLine(const wchar_t* commandLine) {
    std::vector<String> files;
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(commandLine, &count);
    if (!args) return files;
    for (int i = 1; i < count; ++i) {
        const String arg = args[i];
        if (arg.empty() || IsDebugSwitch(arg)) continue;
        files.push_back(FullPath(arg));
    }
    ::LocalFree(args);
    return files;
}

}  // namespace fn
