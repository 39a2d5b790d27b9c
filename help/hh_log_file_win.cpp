#include "help/hh_log_file_win.h"

#include <windows.h>

#include "help/hh_text.h"
#include "platform/core/files.h"

namespace fn {

namespace {

bool FolderExists(const String& folder) {
    DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

String TwoDigits(unsigned value) {
    return String{static_cast<wchar_t>(L'0' + value / 10 % 10), static_cast<wchar_t>(L'0' + value % 10)};
}

}  // namespace

bool FolderWritable(const String& folder) {
    String probe = folder + L"\\$_Temp_$.$$$";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    DeleteFileW(probe.c_str());
    return true;
}

String TempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    String folder = length > 0 && length <= MAX_PATH ? String(buffer, length) : String();
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return !folder.empty() && FolderExists(folder) ? folder : String(L"c:");
}

String TimeText() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return TwoDigits(t.wHour) + L':' + TwoDigits(t.wMinute) + L':' + TwoDigits(t.wSecond);
}

String DateTimeText() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return TwoDigits(t.wDay) + L'.' + TwoDigits(t.wMonth) + L'.' + IntToStr(t.wYear) + L' ' + TimeText();
}

TDLogFile::TDLogFile(const String& fileName, bool debugMode, bool timeStamp, bool headerDump, bool appendMode)
    : FileName(fileName), DebugMode(debugMode), TimeStamp(timeStamp), HeaderDump(headerDump),
      AppendMode(appendMode) {
    String folder = AppFolderOf(FileName);
    if (folder.empty() || !FolderExists(folder) || !FolderWritable(folder))
        FileName = TempFolder() + L"\\" + ExtractFileName(FileName);
    if (FileExists(FileName)) {
        SetFileAttributesW(FileName.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!AppendMode) DeleteFileW(FileName.c_str());
    }
}

void TDLogFile::Out(std::wstring_view text) {
    HANDLE file = CreateFileW(FileName.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string line = WideToUtf8(LogLineText(text, TimeText(), TimeStamp)) + "\r\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
}

void TDLogFile::Out(std::wstring_view pattern, std::initializer_list<std::wstring_view> args) {
    Out(Format(pattern, args));
}

void TDLogFile::DebugOut(std::wstring_view text) {
    if (DebugMode) Out(text);
}

void TDLogFile::DebugOut(std::wstring_view pattern, std::initializer_list<std::wstring_view> args) {
    if (DebugMode) Out(Format(pattern, args));
}

}  // namespace fn
