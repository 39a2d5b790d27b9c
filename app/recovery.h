#pragma once
// Recovery copies of the open notes: every 30 seconds and when the session ends, each note
// changed since its last copy is written to %LOCALAPPDATA%\Fennick Notizen\Wiederherstellung
// (its rich text, file name and caption); a saved or closed note's copy goes, and all go at a
// normal end. A start after an abnormal end finds the copies of programs that are gone.
#include <windows.h>

#include <map>
#include <vector>

#include "platform/core/recovery_record.h"
#include "platform/win/handles.h"

namespace fn {

class TForm2;

namespace texts {
inline constexpr const wchar_t* RecoveryQuestion =
    L"Fennick Notizen wurde zuletzt nicht ordnungsgemäß beendet. Ungespeicherte Änderungen an diesen Notizen "
    L"wurden gefunden:\n\n%s\nSollen sie wiederhergestellt werden?";
inline constexpr const wchar_t* RecoveryRestore = L"Wiederherstellen";
inline constexpr const wchar_t* RecoveryDiscard = L"Verwerfen";
inline constexpr const wchar_t* ShutdownReason = L"Es gibt ungespeicherte Notizen.";
}  // namespace texts

// %LOCALAPPDATA%\Fennick Notizen\Wiederherstellung, or empty when the system names no such folder.
String DefaultRecoveryFolder();

// A readable copy of a program that is gone.
struct TFoundCopy {
    String Path;
    TRecoveryRecord Record;
};

// What a start found of programs that are gone: the copies to offer (in the order their notes
// were opened) and every file of those programs, which goes once the user has decided.
struct TFoundRecovery {
    std::vector<TFoundCopy> Copies;
    std::vector<String> Files;
};

class TRecovery {
public:
    // The timer of the main window that writes the copies, an id of the program's own.
    static constexpr UINT_PTR kTimerId = 0x0F01;
    static constexpr UINT kIntervalMs = 30000;

    TRecovery();
    ~TRecovery();
    TRecovery(const TRecovery&) = delete;
    TRecovery& operator=(const TRecovery&) = delete;

    // The folder of the copies (tests choose their own); made when the first copy is written.
    void UseFolder(const String& folder);
    const String& Folder() const { return folder_; }
    // This program's name in the folder.
    const String& Owner() const { return owner_; }
    // The copy file of a note, empty while it has none.
    String CopyOf(const TForm2* note) const;

    // The note's text changed since its last copy.
    void Changed(TForm2* note);
    // Writes a copy of every modified note changed since its last copy. A copy that cannot be
    // written is tried again next time; editing goes on undisturbed (no message, the note is
    // never touched). False when any copy could not be written.
    bool WriteChanged();
    // The note was saved: its copy goes until it changes again.
    void Saved(TForm2* note);
    // The note is closed: its copy goes.
    void Closed(TForm2* note);
    // A normal end: every copy of this program and its lock file go.
    void End();

    // The readable copies of programs that are gone (damaged or cut copies are passed over).
    TFoundRecovery FindOrphans() const;
    // Deletes the files of those programs.
    static void Remove(const TFoundRecovery& found);

private:
    struct TNote {
        uint32_t Serial = 0;
        bool Changed = true;
        bool HasCopy = false;
    };
    bool WriteCopy(TForm2* note, TNote& state);
    void DeleteCopy(TNote& state);
    bool HoldLock();
    String PathOf(const String& name) const { return folder_ + L"\\" + name; }

    String folder_;
    String owner_;
    // Held open without sharing write while this program lives: while it is, the copies of this
    // owner are a running program's and never offered to another.
    TKernelHandle lock_;
    uint32_t nextSerial_ = 1;
    std::map<TForm2*, TNote> notes_;
};

// The program's recovery copies.
TRecovery& Recovery();

}  // namespace fn
