#include "app/document_window.h"

#include "app/find_replace.h"
#include "app/main_window.h"
#include "app/recent_files.h"
#include "app/recovery.h"
#include "app/help_setup.h"
#include "platform/win/application.h"
#include "platform/win/clipboard.h"
#include "platform/win/wait_cursor.h"
#include "platform/core/files.h"

namespace fn {

namespace {

const wchar_t kSaveChanges[] = L"Änderungen speichern in %s?";
const wchar_t kObjectsNotShown[] =
    L"„%s“ enthält Bilder oder Objekte, die hier nicht angezeigt werden und beim Speichern verloren gingen.";
const wchar_t kObjectsWouldBeLost[] =
    L"„%s“ enthält Bilder oder Objekte, die beim Speichern verloren gingen.\n\n"
    L"Ja speichert die Notiz unter einem anderen Namen, Nein überschreibt die Datei ohne sie.";
const wchar_t kDropFormatting[] =
    L"„%s“ ist eine Textdatei: Schriften, Ausrichtung, Tabellen und Bilder der Notiz gehen darin verloren.\n\n"
    L"Als Text ohne Formatierung speichern? Nein wählt einen anderen Namen.";
// The key data of one press of the Delete key of the navigation block (scan code 0x53, extended).
constexpr LPARAM kDeleteKeyData = 0x01530001;

// A file's identity: its volume's serial number and its index on the volume.
bool FileIdentity(const String& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = ::GetFileInformationByHandle(file, &info) != FALSE;
    ::CloseHandle(file);
    return known;
}

String FullPath(const String& path) {
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    String full(size, L'\0');
    const DWORD n = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (n == 0 || n >= size) return path;
    full.resize(n);
    return full;
}

// Whether two names name the same file; names of files not (yet) there by their full paths.
bool SameFile(const String& a, const String& b) {
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    if (FileIdentity(a, x) && FileIdentity(b, y))
        return x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
               x.nFileIndexLow == y.nFileIndexLow;
    const String fa = FullPath(a), fb = FullPath(b);
    return ::CompareStringOrdinal(fa.c_str(), static_cast<int>(fa.size()), fb.c_str(), static_cast<int>(fb.size()),
                                  TRUE) == CSTR_EQUAL;
}

}  // namespace

TForm2::TForm2(TComponent* owner) : TForm(owner) {
    auto& m = Methods();
    m.Add(L"FormCreate", TNotifyEvent([this](TComponent* s) { FormCreate(s); }));
    m.Add(L"FormClose", TCloseEvent([this](TComponent* s, TCloseAction& a) { FormClose(s, a); }));
    m.Add(L"FormCloseQuery", TCloseQueryEvent([this](TComponent* s, bool& c) { FormCloseQuery(s, c); }));
    m.Add(L"FormKeyDown", TKeyEvent([this](TComponent* s, WORD& k, TShiftState sh) { FormKeyDown(s, k, sh); }));
    m.Add(L"mnSkinMainMenuBar1MouseLeave", TNotifyEvent([this](TComponent* s) { mnSkinMainMenuBar1MouseLeave(s); }));
    const std::pair<const wchar_t*, void (TForm2::*)(TComponent*)> clicks[] = {
        {L"Neu2Click", &TForm2::Neu2Click},
        {L"Oeffnen1Click", &TForm2::Oeffnen1Click},
        {L"Schliessen1Click", &TForm2::Schliessen1Click},
        {L"Speichern1Click", &TForm2::Speichern1Click},
        {L"Speichernals1Click", &TForm2::Speichernals1Click},
        {L"Drucken1Click", &TForm2::Drucken1Click},
        {L"Druckereinrichten1Click", &TForm2::Druckereinrichten1Click},
        {L"Beenden1Click", &TForm2::Beenden1Click},
        {L"Bearbeiten1Click", &TForm2::Bearbeiten1Click},
        {L"AusschneidenClick", &TForm2::AusschneidenClick},
        {L"KopierenClick", &TForm2::KopierenClick},
        {L"EinfuegenClick", &TForm2::EinfuegenClick},
        {L"Loeschen1Click", &TForm2::Loeschen1Click},
        {L"Allesauswaehlen1Click", &TForm2::Allesauswaehlen1Click},
        {L"Rueckgaengig1Click", &TForm2::Rueckgaengig1Click},
        {L"Wiederholen1Click", &TForm2::Wiederholen1Click},
        {L"Suchen1Click", &TForm2::Suchen1Click},
        {L"Weitersuchen1Click", &TForm2::Weitersuchen1Click},
        {L"Vorherigessuchen1Click", &TForm2::Vorherigessuchen1Click},
        {L"Ersetzen1Click", &TForm2::Ersetzen1Click},
        {L"AusrichtenClick", &TForm2::AusrichtenClick},
        {L"Zeilenumbruch1Click", &TForm2::Zeilenumbruch1Click},
        {L"Font1Click", &TForm2::Font1Click},
        {L"Neben1Click", &TForm2::Neben1Click},
        {L"HinterClick", &TForm2::HinterClick},
        {L"Hilfe1Click", &TForm2::Hilfe1Click},
    };
    for (auto& [name, handler] : clicks) m.Add(name, TNotifyEvent([this, h = handler](TComponent* s) { (this->*h)(s); }));
    RegisterAppClasses();
    LoadFromResource(L"TFORM2");
}

TForm2::~TForm2() {
    Recovery().Closed(this);
    if (Form1) Form1->DocumentClosed();
}

void TForm2::Loaded() {
    TForm::Loaded();
    RichEdit1 = Field<TRichEdit>(L"RichEdit1");
    MainMenu1 = Field<TMainMenu>(L"MainMenu1");
    PopupMenu1 = Field<TPopupMenu>(L"PopupMenu1");
    SaveDialog1 = Field<TSaveDialog>(L"SaveDialog1");
    FontDialog1 = Field<TFontDialog>(L"FontDialog1");
    PrinterSetupDialog1 = Field<TPrinterSetupDialog>(L"PrinterSetupDialog1");
    PrintDialog1 = Field<TPrintDialog>(L"PrintDialog1");
    mnSkinData1 = Field<TmnSkinData>(L"mnSkinData1");
    mnStoredSkin1 = Field<TmnCompressedStoredSkin>(L"mnStoredSkin1");
    mnSkinMainMenuBar1 = Field<TmnSkinMainMenuBar>(L"mnSkinMainMenuBar1");
    mnMantle1 = Field<TmnMantle>(L"mnMantle1");
    const std::pair<TMenuItem**, const wchar_t*> items[] = {
        {&Neu1, L"Neu1"}, {&Neu2, L"Neu2"}, {&Oeffnen1, L"Oeffnen1"}, {&Schliessen1, L"Schliessen1"},
        {&N5, L"N5"}, {&Speichern1, L"Speichern1"}, {&Speichernals1, L"Speichernals1"}, {&N6, L"N6"},
        {&Drucken1, L"Drucken1"}, {&Druckereinrichten1, L"Druckereinrichten1"}, {&N1, L"N1"},
        {&Beenden1, L"Beenden1"}, {&Bearbeiten1, L"Bearbeiten1"}, {&Ausschneiden1, L"Ausschneiden1"},
        {&Kopieren1, L"Kopieren1"}, {&Einfuegen1, L"Einfuegen1"}, {&Loeschen1, L"Loeschen1"}, {&N2, L"N2"},
        {&Allesauswaehlen1, L"Allesauswaehlen1"}, {&Zeichen1, L"Zeichen1"}, {&Links1, L"Links1"},
        {&Rechts1, L"Rechts1"}, {&Zentriert1, L"Zentriert1"}, {&N3, L"N3"}, {&Zeilenumbruch1, L"Zeilenumbruch1"},
        {&N4, L"N4"}, {&Font1, L"Font1"}, {&Fenster1, L"Fenster1"}, {&Neben1, L"Neben1"}, {&Hinter, L"Hinter"},
        {&Hilfe1, L"Hilfe1"}, {&Ausschneiden2, L"Ausschneiden2"}, {&Kopieren2, L"Kopieren2"},
        {&Einfuegen2, L"Einfuegen2"}, {&Rueckgaengig1, L"Rueckgaengig1"}, {&Wiederholen1, L"Wiederholen1"},
        {&N7, L"N7"}, {&N8, L"N8"}, {&Suchen1, L"Suchen1"}, {&Weitersuchen1, L"Weitersuchen1"},
        {&Vorherigessuchen1, L"Vorherigessuchen1"}, {&Ersetzen1, L"Ersetzen1"},
    };
    for (auto& [field, name] : items) *field = Field<TMenuItem>(name);
    // Opening "&Bearbeiten" from the bar runs the Edit menu's enabling rule first, so its items
    // are never stale.
    mnSkinMainMenuBar1->OnItemPopup = [this](TComponent*, TMenuItem* item) {
        if (item == Bearbeiten1) Bearbeiten1Click(Bearbeiten1);
    };
    // The note's context menu shares three of those items' states: the rule runs before it
    // opens too, or it would offer Einfügen with text on the clipboard greyed, and Ausschneiden
    // with nothing selected.
    PopupMenu1->OnPopup = [this](TComponent*) { Bearbeiten1Click(Bearbeiten1); };
    RecentFiles().FillMenu(Neu1, Beenden1);
}

void TForm2::HandleCreated() {
    TForm::HandleCreated();
    ::DragAcceptFiles(Handle(), TRUE);
}

LRESULT TForm2::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DROPFILES && Form1) {
        Form1->OpenDroppedFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && RichEdit1 && RichEdit1->HandleAllocated() &&
        reinterpret_cast<HWND>(lParam) == RichEdit1->Handle())
        Recovery().Changed(this);
    return TForm::WndProc(msg, wParam, lParam);
}

void TForm2::FormCreate(TComponent*) {
    FileName = kUntitled;
    SaveDialog1->Filter = kNoteFilter;
    SaveDialog1->DefaultExt = kNoteExtension;
}

void TForm2::OpenDocument(const String& name) {
    FileName = name;
    SetCaption(ExtractFileName(name));
    TLoadedText loaded;
    try {
        loaded = RichEdit1->Lines().LoadFromFile(FileName);
    } catch (const Exception&) {
        // The window stays, but untitled: a later Save asks for a name (and the save dialog
        // asks before overwriting), so the file that could not be read is never replaced by
        // an empty note.
        FileName = kUntitled;
        SetCaption(kUntitledCaption);
        throw;
    }
    RichEdit1->SetSelStart(0);
    RichEdit1->SetModified(false);
    // Reading the file is no step the user can undo.
    ForgetUndo(*RichEdit1);
    RecentFiles().Note(FileName);
    format_ = loaded.Format;
    if (loaded.LostObjects) {
        objectsFile_ = FileName;
        MessageDlg(Format(kObjectsNotShown, {ExtractFileName(FileName)}), TMsgDlgType::mtWarning, mbOK, 0);
    }
}

TForm2* TForm2::WindowOf(const String& fileName) {
    if (!Form1) return nullptr;
    for (int i = 0; i < Form1->MDIChildCount(); ++i) {
        auto* document = dynamic_cast<TForm2*>(Form1->MDIChildren(i));
        if (document && document->FileName != kUntitled && SameFile(document->FileName, fileName)) return document;
    }
    return nullptr;
}

void TForm2::Restore(const TRecoveryRecord& record) {
    FileName = record.FileName;
    SetCaption(record.Caption);
    format_ = record.PlainText ? TTextFormat::tfPlainText : TTextFormat::tfRichText;
    TBytesStream text(record.RichText.data(), record.RichText.size());
    try {
        RichEdit1->Lines().LoadFromStream(text);
    } catch (const Exception&) {
        // A copy whose text the control cannot read shows what it could; the name stays.
    }
    RichEdit1->SetSelStart(0);
    ForgetUndo(*RichEdit1);
    RichEdit1->SetModified(true);
    Recovery().Changed(this);
}

void TForm2::BringForward() {
    if (HandleAllocated() && ::IsIconic(Handle()))
        ::SendMessageW(::GetParent(Handle()), WM_MDIRESTORE, reinterpret_cast<WPARAM>(Handle()), 0);
    Show();
}

TForm2::TSaveAnswer TForm2::ConfirmSave(const String& name, TTextFormat& format) {
    if (!objectsFile_.empty() && SameFile(name, objectsFile_)) {
        switch (MessageDlg(Format(kObjectsWouldBeLost, {ExtractFileName(name)}), TMsgDlgType::mtWarning,
                           mbYes | mbNo | mbCancel, 0)) {
            case mrYes: return TSaveAnswer::OtherName;
            case mrNo: break;
            default: return TSaveAnswer::Stop;
        }
    }
    // The note's own file keeps the format it has; another name ending in ".txt" gets plain
    // text, any other rich text.
    if (FileName != kUntitled && SameFile(name, FileName)) format = format_;
    else format = SameText(ExtractFileExt(name), L".txt") ? TTextFormat::tfPlainText : TTextFormat::tfRichText;
    if (format == TTextFormat::tfPlainText && RichEdit1->HasFormatting()) {
        switch (MessageDlg(Format(kDropFormatting, {ExtractFileName(name)}), TMsgDlgType::mtConfirmation,
                           mbYes | mbNo | mbCancel, 0)) {
            case mrYes: break;
            case mrNo: return TSaveAnswer::OtherName;
            default: return TSaveAnswer::Stop;
        }
    }
    return TSaveAnswer::Save;
}

void TForm2::WriteFile(const String& name, TTextFormat format) {
    RichEdit1->Lines().SaveToFile(name, format);
    format_ = format;
    if (!objectsFile_.empty() && SameFile(name, objectsFile_)) objectsFile_.clear();
    RichEdit1->SetModified(false);
    Recovery().Saved(this);
    RecentFiles().Note(name);
}

void TForm2::Speichern1Click(TComponent*) {
    if (FileName == kUntitled) {
        Speichernals1Click(this);
        return;
    }
    TTextFormat format;
    switch (ConfirmSave(FileName, format)) {
        case TSaveAnswer::Save: WriteFile(FileName, format); break;
        case TSaveAnswer::OtherName: Speichernals1Click(this); break;
        case TSaveAnswer::Stop: break;
    }
}

void TForm2::Speichernals1Click(TComponent*) {
    SaveDialog1->FileName = FileName;
    for (;;) {
        if (!SaveDialog1->Execute()) return;
        const String name = SaveDialog1->FileName;
        TTextFormat format;
        const TSaveAnswer answer = ConfirmSave(name, format);
        if (answer == TSaveAnswer::OtherName) continue;
        if (answer == TSaveAnswer::Stop) return;
        // The window takes the new name only once the note is in its file.
        WriteFile(name, format);
        FileName = name;
        SetCaption(ExtractFileName(FileName));
        return;
    }
}

void TForm2::FormCloseQuery(TComponent*, bool& canClose) {
    if (!RichEdit1->Modified()) return;
    switch (MessageDlg(Format(kSaveChanges, {FileName}), TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel, 0)) {
        case mrCancel:
            canClose = false;
            break;
        case mrYes:
            try {
                Speichern1Click(this);
            } catch (const Exception& e) {
                Application()->HandleException(e);
            }
            // A cancelled Save As or a failed save leaves the text modified: the window stays,
            // so the note is not lost.
            canClose = !RichEdit1->Modified();
            break;
        default:
            break;
    }
}

void TForm2::FormClose(TComponent*, TCloseAction& action) { action = TCloseAction::caFree; }

void TForm2::FormKeyDown(TComponent*, WORD& key, TShiftState shift) {
    if (key == VK_ESCAPE) {
        Close();
    } else if (key == VK_TAB && (shift & ~ssShift) == ssCtrl) {
        // Strg+Tab and Strg+Umschalt+Tab step through the document windows, as Strg+F6 does.
        if (Form1) Form1->Next(shift & ssShift ? TForm::Backward : TForm::Forward);
        key = 0;
    } else if (key == VK_DELETE && shift == 0 && RichEdit1->HandleAllocated() && ::GetFocus() == RichEdit1->Handle()) {
        // The Edit rule runs as for the shortcut; with nothing selected Entf is no menu command
        // (Loeschen1 stays disabled) but deletes the next character, as in every editor.
        Bearbeiten1Click(Bearbeiten1);
        if (!Loeschen1->Enabled()) {
            ::SendMessageW(RichEdit1->Handle(), WM_KEYDOWN, VK_DELETE, kDeleteKeyData);
            key = 0;
        }
    }
}

void TForm2::Neu2Click(TComponent* sender) { Form1->Neu1Click(sender); }
void TForm2::Oeffnen1Click(TComponent* sender) { Form1->Oeffnen1Click(sender); }
void TForm2::Beenden1Click(TComponent* sender) { Form1->Beenden1Click(sender); }
void TForm2::Neben1Click(TComponent*) { Form1->Tile(); }
void TForm2::HinterClick(TComponent*) { Form1->Cascade(); }
void TForm2::Schliessen1Click(TComponent*) { Close(); }

void TForm2::Drucken1Click(TComponent*) {
    if (PrintDialog1->Execute()) RichEdit1->Print(FileName);
}

void TForm2::Druckereinrichten1Click(TComponent*) { PrinterSetupDialog1->Execute(); }

void TForm2::Bearbeiten1Click(TComponent*) {
    Einfuegen1->SetEnabled(Clipboard()->HasFormat(CF_TEXT));
    Einfuegen2->SetEnabled(Einfuegen1->Enabled());
    bool selected = RichEdit1->SelLength() > 0;
    for (TMenuItem* item : {Ausschneiden1, Ausschneiden2, Kopieren1, Kopieren2, Loeschen1}) item->SetEnabled(selected);
    Rueckgaengig1->SetEnabled(CanUndo(*RichEdit1));
    Wiederholen1->SetEnabled(CanRedo(*RichEdit1));
}

void TForm2::Rueckgaengig1Click(TComponent*) { Undo(*RichEdit1); }
void TForm2::Wiederholen1Click(TComponent*) { Redo(*RichEdit1); }
void TForm2::Suchen1Click(TComponent*) { FindReplace().ShowFind(); }
void TForm2::Weitersuchen1Click(TComponent*) { FindReplace().FindAgain(*RichEdit1, true); }
void TForm2::Vorherigessuchen1Click(TComponent*) { FindReplace().FindAgain(*RichEdit1, false); }
void TForm2::Ersetzen1Click(TComponent*) { FindReplace().ShowReplace(); }

void TForm2::AusschneidenClick(TComponent*) { RichEdit1->CutToClipboard(); }
void TForm2::KopierenClick(TComponent*) { RichEdit1->CopyToClipboard(); }
void TForm2::EinfuegenClick(TComponent*) { RichEdit1->PasteFromClipboard(); }
void TForm2::Loeschen1Click(TComponent*) { RichEdit1->ClearSelection(); }
void TForm2::Allesauswaehlen1Click(TComponent*) { RichEdit1->SelectAll(); }

void TForm2::AusrichtenClick(TComponent* sender) {
    auto* chosen = dynamic_cast<TMenuItem*>(sender);
    if (!chosen) return;
    for (TMenuItem* item : {Links1, Rechts1, Zentriert1}) item->SetChecked(false);
    chosen->SetChecked(true);
    if (Links1->Checked()) RichEdit1->Paragraph().SetAlignment(TAlignment::taLeftJustify);
    else if (Rechts1->Checked()) RichEdit1->Paragraph().SetAlignment(TAlignment::taRightJustify);
    else if (Zentriert1->Checked()) RichEdit1->Paragraph().SetAlignment(TAlignment::taCenter);
}

void TForm2::Zeilenumbruch1Click(TComponent*) {
    // The control lays a wrapped paragraph out again at every change of the width it wraps at,
    // and a long paragraph takes it long (quadratic in its length): the scroll bars change
    // while nothing wraps, so the text is wrapped once, under the wait cursor.
    TWaitCursor wait;
    const bool wrap = !RichEdit1->WordWrap();
    if (!wrap) RichEdit1->SetWordWrap(false);
    RichEdit1->SetScrollBars(wrap ? TScrollStyle::ssVertical : TScrollStyle::ssBoth);
    if (wrap) {
        RichEdit1->SetWordWrap(true);
        // The control keeps the horizontal bar of the line it has just wrapped: it goes now (the
        // height changes, not the width the text wraps at).
        RichEdit1->SetScrollBars(TScrollStyle::ssVertical);
    }
    Zeilenumbruch1->SetChecked(wrap);
}

void TForm2::Font1Click(TComponent*) {
    // The dialog starts on the selection's font; what the user leaves alone stays as it was.
    const TFontDesc shown = RichEdit1->SelAttributes().Font();
    FontDialog1->Font = shown;
    if (FontDialog1->Execute()) RichEdit1->SelAttributes().AssignChanges(FontDialog1->Font, shown);
}

void TForm2::Hilfe1Click(TComponent*) { ShowHelpStartTopic(); }

void TForm2::mnSkinMainMenuBar1MouseLeave(TComponent*) { mnSkinMainMenuBar1->RebuildItems(); }

}  // namespace fn
