#pragma once
// File names and files of the class-library layer (portable).
#include <string_view>

#include "platform/core/strings.h"

namespace fn {

// File names use either separator; the folder part keeps its trailing separator.
String ExtractFileName(std::wstring_view path);
String ExtractFilePath(std::wstring_view path);
String ExtractFileExt(std::wstring_view path);
bool FileExists(const String& path);
bool RemoveFile(const String& path);

// The system's description of the last file-system error (errno), for EFOpenError texts.
String LastErrorText();

}  // namespace fn
