#pragma once
// The user's recently opened or saved notes: kept in %APPDATA%\Fennick Notizen\Zuletzt.ini and
// offered as numbered items in every window's Datei menu above Beenden.
#include "platform/core/recent_list.h"
#include "platform/win/menus.h"

namespace fn {

namespace texts {
inline constexpr const wchar_t* RecentMissing = L"Die Notiz „%s“ gibt es nicht mehr. Sie wurde aus der Liste entfernt.";
}  // namespace texts

class TRecentFiles {
public:
    // Reads the list from file (a missing or unreadable file is an empty list); tests choose
    // their own file.
    void UseFile(const String& file);
    const String& File() const { return file_; }
    const std::vector<String>& Paths() const { return list_.Paths(); }

    // A note was opened or saved under path: it goes to the top, the file is written and the
    // menus show it.
    void Note(const String& path);
    // The item of path was chosen: the note opens, or, when its file is gone, leaves the list
    // with a message.
    void Open(String path);
    void OpenEntry(size_t index);
    // Puts the list's items into datei before `before`, replacing those put there earlier.
    void FillMenu(TMenuItem* datei, TMenuItem* before);

private:
    void Load();
    void Save() const;
    void FillAllMenus();

    String file_;
    bool loaded_ = false;
    TRecentList list_;
};

// The program's list (its file under the user's application data until UseFile chooses another).
TRecentFiles& RecentFiles();

}  // namespace fn
