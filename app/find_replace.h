#pragma once
// Finding and replacing text in a note, and the platform's find and replace dialogs that drive
// it. One dialog serves the program; it works on the active note.
#include <windows.h>
#include <commdlg.h>

#include "platform/core/strings.h"
#include "platform/win/rich_edit.h"
#include "platform/win/wndproc_hook.h"

namespace fn {

namespace texts {
inline constexpr const wchar_t* NotFound = L"„%s“ wurde nicht gefunden.";
inline constexpr const wchar_t* ReplacedOne = L"Es wurde 1 Stelle ersetzt.";
inline constexpr const wchar_t* ReplacedMany = L"Es wurden %s Stellen ersetzt.";
}  // namespace texts

struct TSearchOptions {
    String what;
    bool matchCase = false;
    bool wholeWord = false;
    bool down = true;
};

// The control's own undo and redo.
bool CanUndo(TRichEdit& edit);
bool CanRedo(TRichEdit& edit);
void Undo(TRichEdit& edit);
void Redo(TRichEdit& edit);
void ForgetUndo(TRichEdit& edit);

// Searches from the selection (down: from its end, up: from its start) and, when that finds
// nothing, once more through the whole text; selects and shows the match. False when the text
// holds none (the selection stays).
bool FindNext(TRichEdit& edit, const TSearchOptions& options);
// Replaces the selection by with when the selection is a match, then finds the next one.
bool ReplaceNext(TRichEdit& edit, const TSearchOptions& options, const String& with);
// Replaces every match in the text, keeping the formatting around them, as one step of the
// control's undo. Returns how many it replaced.
int ReplaceAll(TRichEdit& edit, const TSearchOptions& options, const String& with);

class TFindReplace {
public:
    TSearchOptions Options;
    String ReplaceWith;

    // Opens the find (or replace) dialog over the main window, filled with the last search;
    // brings it forward when it is open.
    void ShowFind();
    void ShowReplace();
    // Weitersuchen / Vorheriges suchen: the last search again in edit, downward or upward;
    // opens the find dialog when nothing was searched yet.
    void FindAgain(TRichEdit& edit, bool down);
    // The open dialog, or null.
    HWND Dialog() const { return dialog_; }

private:
    void Show(bool replace);
    // A message of the dialog (its buttons, its closing) carried out on the active note.
    void DialogMessage(const FINDREPLACEW& request);
    // Searches in the active note and reports a miss.
    void Find(TRichEdit& edit);

    HWND dialog_ = nullptr;
    bool replaceDialog_ = false;
    FINDREPLACEW request_{};
    wchar_t what_[256]{};
    wchar_t with_[256]{};
    TWndProcHook ownerHook_;
};

// The program's one find and replace.
TFindReplace& FindReplace();

}  // namespace fn
