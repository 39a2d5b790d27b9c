#include "platform/core/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace fn {

namespace {

size_t NameStart(std::wstring_view path) {
    size_t p = path.find_last_of(L"\\/:");
    return p == std::wstring_view::npos ? 0 : p + 1;
}

}  // namespace

String ExtractFileName(std::wstring_view path) { return String(path.substr(NameStart(path))); }
String ExtractFilePath(std::wstring_view path) { return String(path.substr(0, NameStart(path))); }

String ExtractFileExt(std::wstring_view path) {
    size_t start = NameStart(path);
    size_t dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos || dot < start) return String();
    return String(path.substr(dot));
}

bool FileExists(const String& path) {
#ifdef _WIN32
    struct _stat64 st;
    return _wstat64(path.c_str(), &st) == 0 && (st.st_mode & _S_IFDIR) == 0;
#else
    struct stat st;
    return ::stat(WideToUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}

bool RemoveFile(const String& path) {
#ifdef _WIN32
    return _wremove(path.c_str()) == 0;
#else
    return std::remove(WideToUtf8(path).c_str()) == 0;
#endif
}

String LastErrorText() { return Utf8ToWide(std::strerror(errno)); }

}  // namespace fn
