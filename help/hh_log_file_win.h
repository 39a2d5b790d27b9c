#pragma once
// The diagnostic log: a text file written line by line, flushed and closed after each line,
// so that it survives a crash of the program.
#include <initializer_list>
#include <string_view>

#include "platform/core/strings.h"

namespace fn {

// True when a scratch file can be created (and is removed again) in the folder.
bool FolderWritable(const String& folder);
// The platform's temporary folder without trailing separator, or "c:" when it is missing.
String TempFolder();
// "hh:mm:ss" and "dd.mm.yyyy hh:mm:ss" of the current local time.
String TimeText();
String DateTimeText();

class TDLogFile {
public:
    // A file in a missing or read-only folder moves to the temporary folder; without
    // appendMode an existing file is deleted.
    TDLogFile(const String& fileName, bool debugMode, bool timeStamp, bool headerDump, bool appendMode);
    TDLogFile(const TDLogFile&) = delete;
    TDLogFile& operator=(const TDLogFile&) = delete;

    // Appends one line (see LogLineText); a text without arguments is written as it is.
    void Out(std::wstring_view text);
    void Out(std::wstring_view pattern, std::initializer_list<std::wstring_view> args);
    // The same, but only in debug mode.
    void DebugOut(std::wstring_view text);
    void DebugOut(std::wstring_view pattern, std::initializer_list<std::wstring_view> args);

    String FileName;
    bool DebugMode;
    bool TimeStamp;
    bool HeaderDump;
    bool AppendMode;
};

}  // namespace fn
