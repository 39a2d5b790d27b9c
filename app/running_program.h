#pragma once
// One running program per user: the first start holds a named mutex and marks its main window;
// a later start hands its note files to that window (WM_COPYDATA) and ends, so that Explorer
// opening a note while the program runs adds the note to the running program.
#include <windows.h>

#include <optional>
#include <vector>

#include "platform/core/strings.h"
#include "platform/win/handles.h"

namespace fn {

// The program's claim to be the first of its user: held for the whole run.
class TRunningProgram {
public:
    TRunningProgram();
    // True when another start of this user's program holds the claim.
    bool Another() const { return another_; }

private:
    TKernelHandle mutex_;
    bool another_ = false;
};

// The longest a start waits for the running program to take its files; a hung program is
// given up after it and the start runs on its own.
inline constexpr DWORD kHandOverTimeoutMs = 5000;

// Marks (and unmarks) the window that takes the files of later starts.
void MarkProgramWindow(HWND window);
void UnmarkProgramWindow(HWND window);

// Hands the files (absolute paths; none: a new note) to the marked window of the running
// program and lets it come to the front. False when no marked window answers in time.
bool HandOverToRunningProgram(const std::vector<String>& files, DWORD timeoutMs = kHandOverTimeoutMs);

// The files of a WM_COPYDATA message that HandOverToRunningProgram sent; nothing for any
// other message (another program's data, or data that is not a whole list of names).
std::optional<std::vector<String>> HandedOverFiles(const COPYDATASTRUCT& data);

}  // namespace fn
