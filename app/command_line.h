#pragma once
// The note files a start of the program names on its command line.
#include <windows.h>

#include <vector>

#include "platform/core/strings.h"

namespace fn {

// The files named after the program's own name, split as the platform splits command lines
// (quotes around names with spaces), each made absolute against the current folder. The help
// switches /debug and -debug are switches, never files.
std::vector<String> NoteFilesFromCommandLine(const wchar_t* commandLine);

// The absolute form of a path (relative ones resolved against the current folder), without
// a length limit; the path itself when the platform cannot resolve it.
String FullPath(const String& path);

}  // namespace fn
