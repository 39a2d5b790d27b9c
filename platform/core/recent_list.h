#pragma once
// The list of recently opened or saved notes (portable): newest first, at most eight, each
// path once whatever its letter case; kept as an INI table and shown as numbered menu items.
#include <vector>

#include "platform/core/ini_file.h"
#include "platform/core/strings.h"

namespace fn {

class TRecentList {
public:
    static constexpr size_t kMaxEntries = 8;

    const std::vector<String>& Paths() const { return paths_; }
    // Puts path first (moving it up when it is listed already); the ninth falls off.
    void Add(const String& path);
    void Remove(const String& path);

    // The entries of section [Zuletzt] ("1" to "8"); anything that is no absolute path is
    // skipped, so a damaged table yields what is still sound in it.
    void Read(const TMemIniFile& ini);
    // The list as the table's text (UTF-8 written by the caller).
    String Text() const;

private:
    std::vector<String> paths_;
};

// path shortened in its middle to at most maxChars characters where it can be: the drive or
// share, "…", then as many of the last folders as fit, and always the file name:
// "C:\…\Notizen\Einkauf.rtf".
String ShortenPath(const String& path, size_t maxChars);

// "&1 C:\…\Einkauf.rtf": the menu caption of entry index (0-based); "&" in the path is doubled
// so that it shows and is no accelerator.
String RecentMenuCaption(size_t index, const String& path);

}  // namespace fn
