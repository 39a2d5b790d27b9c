#include "app/find_replace.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "app/document_window.h"
#include "app/main_window.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"

namespace fn {

namespace {

HWND EditHandle(TRichEdit& edit) { return edit.Handle(); }

LRESULT Send(HWND edit, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendMessageW(edit, msg, wParam, lParam); }

CHARRANGE Selection(HWND edit) {
    CHARRANGE range{};
    Send(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void SetSelection(HWND edit, CHARRANGE range) { Send(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range)); }

LONG TextLength(HWND edit) {
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<LONG>(Send(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length)));
}

// One search of the control in range (cpMin where it starts; cpMax below cpMin searches up).
bool Search(HWND edit, const TSearchOptions& options, bool down, CHARRANGE range, CHARRANGE& found) {
    if (options.what.empty()) return false;
    FINDTEXTEXW request{};
    request.chrg = range;
    request.lpstrText = options.what.c_str();
    WPARAM flags = (down ? FR_DOWN : 0) | (options.matchCase ? FR_MATCHCASE : 0) | (options.wholeWord ? FR_WHOLEWORD : 0);
    if (Send(edit, EM_FINDTEXTEXW, flags, reinterpret_cast<LPARAM>(&request)) < 0) return false;
    found = request.chrgText;
    return true;
}

// Rich text of the control's selection, or streamed into it.
DWORD CALLBACK AppendToString(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
    *written = size;
    return 0;
}

struct Reading {
    const std::string& data;
    size_t at = 0;
};

DWORD CALLBACK ReadFromString(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
    auto* source = reinterpret_cast<Reading*>(cookie);
    size_t n = std::min(static_cast<size_t>(size), source->data.size() - source->at);
    std::copy_n(source->data.data() + source->at, n, buffer);
    source->at += n;
    *read = static_cast<LONG>(n);
    return 0;
}

std::string SelectedRichText(HWND edit) {
    std::string rtf;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, AppendToString};
    Send(edit, EM_STREAMOUT, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
    return rtf;
}

void StreamRichText(HWND edit, const std::string& rtf, WPARAM format) {
    Reading source{rtf};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadFromString};
    Send(edit, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
}

struct WindowDestroyer {
    void operator()(HWND window) const { ::DestroyWindow(window); }
};
using WindowOwner = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// A hidden control of the same class and base format, for work that must not reach the
// note's undo (without the base format its first run takes the format of a later one).
WindowOwner ScratchControl(HWND like) {
    wchar_t className[64] = L"";
    ::GetClassNameW(like, className, 64);
    HWND scratch = ::CreateWindowExW(0, className, L"", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0, 0,
                                     0, 0, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!scratch) throw EOutOfResources(L"Das Steuerelement zum Ersetzen kann nicht erstellt werden.");
    Send(scratch, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    Send(scratch, EM_SETUNDOLIMIT, 0);
    CHARFORMAT2W base{};
    base.cbSize = sizeof(base);
    Send(like, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&base));
    Send(scratch, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&base));
    Send(scratch, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&base));
    return WindowOwner(scratch);
}

// The note whose text the dialog works on: the active one.
TForm2* ActiveNote() {
    if (!Form1) return nullptr;
    return dynamic_cast<TForm2*>(Form1->ActiveMDIChild());
}

}  // namespace

bool CanUndo(TRichEdit& edit) { return Send(EditHandle(edit), EM_CANUNDO) != 0; }
bool CanRedo(TRichEdit& edit) { return Send(EditHandle(edit), EM_CANREDO) != 0; }
void Undo(TRichEdit& edit) { Send(EditHandle(edit), EM_UNDO); }
void Redo(TRichEdit& edit) { Send(EditHandle(edit), EM_REDO); }
void ForgetUndo(TRichEdit& edit) { Send(EditHandle(edit), EM_EMPTYUNDOBUFFER); }

bool FindNext(TRichEdit& edit, const TSearchOptions& options) {
    HWND h = EditHandle(edit);
    CHARRANGE selection = Selection(h);
    CHARRANGE found{};
    bool hit = options.down ? Search(h, options, true, {selection.cpMax, -1}, found) ||
                                  Search(h, options, true, {0, -1}, found)
                            : Search(h, options, false, {selection.cpMin, 0}, found) ||
                                  Search(h, options, false, {TextLength(h), 0}, found);
    if (!hit) return false;
    SetSelection(h, found);
    Send(h, EM_SCROLLCARET);
    return true;
}

bool ReplaceNext(TRichEdit& edit, const TSearchOptions& options, const String& with) {
    HWND h = EditHandle(edit);
    CHARRANGE selection = Selection(h);
    CHARRANGE found{};
    if (selection.cpMax > selection.cpMin && Search(h, options, true, selection, found) &&
        found.cpMin == selection.cpMin && found.cpMax == selection.cpMax)
        Send(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(with.c_str()));
    TSearchOptions forward = options;
    forward.down = true;
    return FindNext(edit, forward);
}

int ReplaceAll(TRichEdit& edit, const TSearchOptions& options, const String& with) {
    HWND h = EditHandle(edit);
    CHARRANGE first{}, last{};
    if (!Search(h, options, true, {0, -1}, first)) return 0;
    Search(h, options, false, {TextLength(h), 0}, last);
    // The stretch from the first match to the last is rewritten in a scratch control and
    // streamed back over itself: one insertion the note's undo takes back as a whole.
    CHARRANGE stretch{first.cpMin, std::max(first.cpMax, last.cpMax)};
    SetSelection(h, stretch);
    WindowOwner scratch = ScratchControl(h);
    StreamRichText(scratch.get(), SelectedRichText(h), SF_RTF | SFF_SELECTION);
    int count = 0;
    CHARRANGE found{};
    for (LONG at = 0; Search(scratch.get(), options, true, {at, -1}, found);) {
        // The replacement takes the format of the text it replaces.
        SetSelection(scratch.get(), found);
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        Send(scratch.get(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        Send(scratch.get(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(with.c_str()));
        at = found.cpMin + static_cast<LONG>(with.size());
        SetSelection(scratch.get(), {found.cpMin, at});
        Send(scratch.get(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        ++count;
    }
    SetSelection(scratch.get(), {0, TextLength(scratch.get())});
    StreamRichText(h, SelectedRichText(scratch.get()), SF_RTF | SFF_SELECTION);
    return count;
}

void TFindReplace::ShowFind() { Show(false); }
void TFindReplace::ShowReplace() { Show(true); }

void TFindReplace::Show(bool replace) {
    if (dialog_ && replaceDialog_ == replace) {
        ::SetActiveWindow(dialog_);
        return;
    }
    if (HWND open = std::exchange(dialog_, nullptr)) {
        Application()->RemoveDialog(open);
        ::DestroyWindow(open);
    }
    if (!Form1) return;
    // The dialog reports its buttons to its owner with a registered message.
    static const UINT findMessage = ::RegisterWindowMessageW(FINDMSGSTRINGW);
    ownerHook_.Install(Form1->Handle(), [this](HWND w, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg != findMessage) return next(msg, wParam, lParam);
        try {
            DialogMessage(*reinterpret_cast<const FINDREPLACEW*>(lParam));
        } catch (const Exception& e) {
            HandleWindowException(e);
        }
        (void)w;
        return LRESULT(0);
    });
    String what = Options.what.substr(0, std::size(what_) - 1), with = ReplaceWith.substr(0, std::size(with_) - 1);
    std::fill(std::begin(what_), std::end(what_), L'\0');
    std::fill(std::begin(with_), std::end(with_), L'\0');
    what.copy(what_, what.size());
    with.copy(with_, with.size());
    request_ = {};
    request_.lStructSize = sizeof(request_);
    request_.hwndOwner = Form1->Handle();
    request_.Flags = (Options.down ? FR_DOWN : 0) | (Options.matchCase ? FR_MATCHCASE : 0) |
                     (Options.wholeWord ? FR_WHOLEWORD : 0);
    request_.lpstrFindWhat = what_;
    request_.wFindWhatLen = static_cast<WORD>(sizeof(what_));
    request_.lpstrReplaceWith = with_;
    request_.wReplaceWithLen = static_cast<WORD>(sizeof(with_));
    replaceDialog_ = replace;
    dialog_ = replace ? ::ReplaceTextW(&request_) : ::FindTextW(&request_);
    if (!dialog_) return;
    // German captions whatever the system's language.
    ::SetWindowTextW(dialog_, replace ? L"Ersetzen" : L"Suchen");
    // The two field labels carry no id: they are the dialog's first plain texts, in order.
    const wchar_t* labels[] = {L"&Suchen nach:", L"Erse&tzen durch:"};
    size_t label = 0;
    for (HWND child = ::GetWindow(dialog_, GW_CHILD); child && label < std::size(labels);
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = L"";
        ::GetClassNameW(child, className, 16);
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(className, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT)
            ::SetWindowTextW(child, labels[label++]);
    }
    const std::pair<int, const wchar_t*> captions[] = {
        {0x410, L"Nur &ganzes Wort"},
        {0x411, L"Groß-/&Kleinschreibung"}, {0x430, L"Richtung"}, {0x420, L"Nach &oben"}, {0x421, L"Nach &unten"},
        {IDOK, L"&Weitersuchen"}, {0x400, L"&Ersetzen"}, {0x401, L"&Alle ersetzen"}, {IDCANCEL, L"Abbrechen"}};
    for (auto [id, caption] : captions) ::SetDlgItemTextW(dialog_, id, caption);
    Application()->AddDialog(dialog_);
}

void TFindReplace::DialogMessage(const FINDREPLACEW& request) {
    if (request.Flags & FR_DIALOGTERM) {
        Application()->RemoveDialog(dialog_);
        dialog_ = nullptr;
        return;
    }
    Options.what = request.lpstrFindWhat;
    Options.matchCase = (request.Flags & FR_MATCHCASE) != 0;
    Options.wholeWord = (request.Flags & FR_WHOLEWORD) != 0;
    // The replace dialog has no direction: it works downward.
    Options.down = replaceDialog_ || (request.Flags & FR_DOWN) != 0;
    if (replaceDialog_) ReplaceWith = request.lpstrReplaceWith;
    TForm2* note = ActiveNote();
    if (!note) return;
    TRichEdit& edit = *note->RichEdit1;
    if (request.Flags & FR_REPLACEALL) {
        int count = ReplaceAll(edit, Options, ReplaceWith);
        if (count == 0) ShowMessage(Format(texts::NotFound, {Options.what}));
        else ShowMessage(count == 1 ? String(texts::ReplacedOne) : Format(texts::ReplacedMany, {IntToStr(count)}));
    } else if (request.Flags & FR_REPLACE) {
        if (!ReplaceNext(edit, Options, ReplaceWith)) ShowMessage(Format(texts::NotFound, {Options.what}));
    } else if (request.Flags & FR_FINDNEXT) {
        Find(edit);
    }
}

void TFindReplace::Find(TRichEdit& edit) {
    if (!FindNext(edit, Options)) ShowMessage(Format(texts::NotFound, {Options.what}));
}

void TFindReplace::FindAgain(TRichEdit& edit, bool down) {
    if (Options.what.empty()) {
        ShowFind();
        return;
    }
    Options.down = down;
    Find(edit);
}

TFindReplace& FindReplace() {
    static TFindReplace findReplace;
    return findReplace;
}

}  // namespace fn
