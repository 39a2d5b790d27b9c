#include "app/recent_files.h"

#include <windows.h>

#include "app/document_window.h"
#include "app/main_window.h"
#include "platform/core/files.h"
#include "app/program_folders.h"
#include "platform/core/streams.h"
#include "platform/win/dialogs.h"

namespace fn {

namespace {

constexpr wchar_t kItemName[] = L"Zuletzt";

String DefaultFile() {
    const String dir = RoamingProgramFolder();
    if (dir.empty()) return String();
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return dir + L"\\Zuletzt.ini";
}

struct FileCloser {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};

// Writes bytes to a file of its own beside path, which then replaces path: a reader sees the
// old list or the new one, never half of one. False on any failure (path untouched).
bool WriteAtomically(const String& path, const std::string& bytes) {
    String temp = path + L"." + IntToStr(::GetCurrentProcessId()) + L".neu";
    bool ok = false;
    {
        HANDLE h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        std::unique_ptr<void, FileCloser> file(h);
        DWORD written = 0;
        ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size() &&
             ::FlushFileBuffers(h);
    }
    ok = ok && ::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) ::DeleteFileW(temp.c_str());
    return ok;
}

}  // namespace

void TRecentFiles::UseFile(const String& file) {
    file_ = file;
    loaded_ = false;
    Load();
    FillAllMenus();
}

void TRecentFiles::Load() {
    if (!loaded_ && file_.empty()) file_ = DefaultFile();
    loaded_ = true;
    TMemIniFile ini;
    try {
        if (!file_.empty() && FileExists(file_)) {
            std::vector<uint8_t> bytes = ReadFileBytes(file_);
            std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
            ini.SetText(Utf8ToWide(text));
        }
    } catch (const Exception&) {
        // An unreadable list is an empty one: it is a convenience, never a reason to fail.
    }
    list_.Read(ini);
}

void TRecentFiles::Save() const {
    if (!file_.empty()) WriteAtomically(file_, "\xEF\xBB\xBF" + WideToUtf8(list_.Text()));
}

void TRecentFiles::Note(const String& path) {
    // Read again first: another running program may have added notes since.
    Load();
    list_.Add(path);
    Save();
    FillAllMenus();
}

void TRecentFiles::Open(String path) {
    if (!FileExists(path)) {
        Load();
        list_.Remove(path);
        Save();
        FillAllMenus();
        ShowMessage(Format(texts::RecentMissing, {path}));
        return;
    }
    if (Form1) Form1->OpenFiles({path});
}

void TRecentFiles::FillMenu(TMenuItem* datei, TMenuItem* before) {
    if (!loaded_) Load();
    // The items are made once per menu and then only shown, hidden and captioned: an item may
    // be the one whose click changed the list, so none is ever deleted while the menu lives.
    const String lineName = String(kItemName) + L"Linie";
    TMenuItem* line = nullptr;
    std::vector<TMenuItem*> items;
    for (int i = 0; i < datei->Count(); ++i) {
        TMenuItem* item = datei->Items(i);
        if (item->Name() == lineName) line = item;
        else if (item->Name().starts_with(kItemName)) items.push_back(item);
    }
    if (!line) {
        int at = datei->IndexOf(before);
        for (size_t i = 0; i < TRecentList::kMaxEntries; ++i) {
            auto* item = new TMenuItem(datei->Owner());
            item->SetName(kItemName + IntToStr(static_cast<long long>(i + 1)));
            item->OnClick = [this, i](TComponent*) { OpenEntry(i); };
            datei->Insert(at++, item);
            items.push_back(item);
        }
        line = new TMenuItem(datei->Owner());
        line->SetName(lineName);
        line->SetCaption(L"-");
        datei->Insert(at, line);
    }
    const auto& paths = list_.Paths();
    for (size_t i = 0; i < items.size(); ++i) {
        if (i < paths.size()) items[i]->SetCaption(RecentMenuCaption(i, paths[i]));
        items[i]->SetVisible(i < paths.size());
    }
    line->SetVisible(!paths.empty());
}

void TRecentFiles::OpenEntry(size_t index) {
    if (index < list_.Paths().size()) Open(String(list_.Paths()[index]));
}

void TRecentFiles::FillAllMenus() {
    if (!Form1) return;
    if (Form1->Datei1 && Form1->Beenden1) FillMenu(Form1->Datei1, Form1->Beenden1);
    for (int i = 0; i < Form1->MDIChildCount(); ++i)
        if (auto* note = dynamic_cast<TForm2*>(Form1->MDIChildren(i))) FillMenu(note->Neu1, note->Beenden1);
}

TRecentFiles& RecentFiles() {
    static TRecentFiles recentFiles;
    return recentFiles;
}

}  // namespace fn
