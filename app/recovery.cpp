#include "app/recovery.h"

#include <shlobj.h>

#include "app/document_window.h"
#include "app/main_window.h"
#include "app/program_folders.h"

namespace fn {

String DefaultRecoveryFolder() {
    const String folder = LocalProgramFolder();
    return folder.empty() ? String() : folder + L"\\Wiederherstellung";
}

namespace {

uint64_t StartTime() {
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    return (uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime;
}

// Opens a file; null (never INVALID_HANDLE_VALUE) on failure.
HANDLE Open(const String& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE h = ::CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

// Whether the program that owns the lock file still runs: it holds the file open and lets
// nobody write it. A lock that cannot be looked at for another reason counts as held, so that
// nothing of a program that may live is offered or deleted.
bool LockHeld(const String& path) {
    TKernelHandle probe(Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    if (probe.Get()) return false;
    const DWORD error = ::GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

std::vector<String> FolderNames(const String& folder) {
    std::vector<String> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

// Reads count bytes at the file's position; false when there are fewer.
bool ReadExactly(HANDLE file, char* to, size_t count) {
    while (count > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count, 1u << 24)), read = 0;
        if (!::ReadFile(file, to, chunk, &read, nullptr) || read == 0) return false;
        to += read;
        count -= read;
    }
    return true;
}

// A copy's record, or nothing when it is unreadable, damaged or cut. Its header is looked at
// first: nothing more is read (or allocated) unless the file is as long as the header says.
std::optional<TRecoveryRecord> ReadCopy(const String& path) {
    TKernelHandle file(Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    LARGE_INTEGER size{};
    std::string bytes(kRecoveryHeaderBytes, '\0');
    if (!file.Get() || !::GetFileSizeEx(file.Get(), &size) || !ReadExactly(file.Get(), bytes.data(), bytes.size()))
        return std::nullopt;
    const auto whole = RecoveryRecordSize(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (!whole || *whole != static_cast<uint64_t>(size.QuadPart)) return std::nullopt;
    bytes.resize(static_cast<size_t>(*whole));
    if (!ReadExactly(file.Get(), bytes.data() + kRecoveryHeaderBytes, bytes.size() - kRecoveryHeaderBytes))
        return std::nullopt;
    return DecodeRecoveryRecord(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

TRecovery::TRecovery()
    : folder_(DefaultRecoveryFolder()), owner_(RecoveryOwner(::GetCurrentProcessId(), StartTime())) {}

TRecovery::~TRecovery() = default;

void TRecovery::UseFolder(const String& folder) {
    End();
    folder_ = folder;
}

String TRecovery::CopyOf(const TForm2* note) const {
    auto it = notes_.find(const_cast<TForm2*>(note));
    if (it == notes_.end() || !it->second.HasCopy) return String();
    return PathOf(RecoveryCopyName(owner_, it->second.Serial));
}

void TRecovery::Changed(TForm2* note) {
    TNote& state = notes_[note];
    if (state.Serial == 0) state.Serial = nextSerial_++;
    state.Changed = true;
}

bool TRecovery::HoldLock() {
    if (lock_.Get()) return true;
    if (folder_.empty()) return false;
    ::SHCreateDirectoryExW(nullptr, folder_.c_str(), nullptr);
    lock_.Reset(Open(PathOf(RecoveryLockName(owner_)), GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS));
    return lock_.Get() != nullptr;
}

bool TRecovery::WriteChanged() {
    if (!Form1) return true;
    bool allWritten = true;
    for (int i = 0; i < Form1->MDIChildCount(); ++i) {
        auto* note = dynamic_cast<TForm2*>(Form1->MDIChildren(i));
        if (!note || !note->RichEdit1 || !note->RichEdit1->HandleAllocated()) continue;
        TNote& state = notes_[note];
        if (state.Serial == 0) state.Serial = nextSerial_++;
        // An unmodified note (read, or saved, and not changed since) needs no copy.
        if (!note->RichEdit1->Modified()) {
            DeleteCopy(state);
            state.Changed = false;
            continue;
        }
        // A change the control did not report (formatting) still gets the note its first copy.
        if (!state.Changed && state.HasCopy) continue;
        if (WriteCopy(note, state)) state.Changed = false;
        else allWritten = false;
    }
    return allWritten;
}

bool TRecovery::WriteCopy(TForm2* note, TNote& state) {
    // No copy without the lock: another program would take it for one of a program gone.
    if (!HoldLock()) return false;
    TRecoveryRecord record{note->FileName, note->Caption(), note->PlainTextFile(), note->RichEdit1->Lines().RichText()};
    const std::string bytes = EncodeRecoveryRecord(record);
    const String temp = PathOf(RecoveryTempName(owner_, state.Serial));
    bool written = false;
    {
        TKernelHandle file(Open(temp, GENERIC_WRITE, 0, CREATE_ALWAYS));
        if (!file.Get()) return false;
        DWORD done = 0;
        written = ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                  done == bytes.size() && ::FlushFileBuffers(file.Get());
    }
    // The copy is replaced only by a whole new one: a reader finds the old one or the new one.
    written = written && ::MoveFileExW(temp.c_str(), PathOf(RecoveryCopyName(owner_, state.Serial)).c_str(),
                                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!written) {
        ::DeleteFileW(temp.c_str());
        return false;
    }
    state.HasCopy = true;
    return true;
}

void TRecovery::DeleteCopy(TNote& state) {
    if (!state.HasCopy) return;
    if (::DeleteFileW(PathOf(RecoveryCopyName(owner_, state.Serial)).c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND)
        state.HasCopy = false;
}

void TRecovery::Saved(TForm2* note) {
    auto it = notes_.find(note);
    if (it == notes_.end()) return;
    DeleteCopy(it->second);
    it->second.Changed = false;
}

void TRecovery::Closed(TForm2* note) {
    auto it = notes_.find(note);
    if (it == notes_.end()) return;
    DeleteCopy(it->second);
    notes_.erase(it);
}

void TRecovery::End() {
    for (auto& [note, state] : notes_) DeleteCopy(state);
    notes_.clear();
    if (lock_.Get()) {
        lock_.Reset();
        ::DeleteFileW(PathOf(RecoveryLockName(owner_)).c_str());
    }
}

TFoundRecovery TRecovery::FindOrphans() const {
    TFoundRecovery found;
    if (folder_.empty()) return found;
    auto orphaned = OrphanedRecoveryFiles(FolderNames(folder_), owner_,
                                          [this](const String& owner) { return LockHeld(PathOf(RecoveryLockName(owner))); });
    for (const auto& files : orphaned) {
        for (const String& name : files.Copies) {
            if (auto record = ReadCopy(PathOf(name))) found.Copies.push_back({PathOf(name), std::move(*record)});
            found.Files.push_back(PathOf(name));
        }
        for (const String& name : files.Others) found.Files.push_back(PathOf(name));
    }
    return found;
}

void TRecovery::Remove(const TFoundRecovery& found) {
    for (const String& path : found.Files) ::DeleteFileW(path.c_str());
}

TRecovery& Recovery() {
    static TRecovery recovery;
    return recovery;
}

}  // namespace fn
