#pragma once
// The document window: one MDI child of the main window editing one note in a rich-edit
// control, with its file name, open/save/close-query lifecycle and the commands of its menus.
#include "platform/core/recovery_record.h"
#include "platform/win/dialogs.h"
#include "platform/win/forms.h"
#include "platform/win/rich_edit.h"
#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "skin/form/main_menu_bar_win.h"
#include "skin/form/mantle_win.h"

namespace fn {

// What the open and save dialogs offer for notes, and the extension a name typed without one gets.
inline constexpr const wchar_t* kNoteFilter =
    L"Notizen (*.rtf;*.txt)|*.rtf;*.txt|Rich Text (*.rtf)|*.rtf|Text (*.txt)|*.txt|Alle Dateien (*.*)|*.*";
inline constexpr const wchar_t* kNoteExtension = L"rtf";

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* owner);
    ~TForm2() override;
    const wchar_t* ClassName() const override { return L"TForm2"; }

    // The note's full path, or the untitled marker.
    String FileName;
    static constexpr const wchar_t* kUntitled = L"ohne Namen";
    static constexpr const wchar_t* kUntitledCaption = L"Ohne Namen";

    TRichEdit* RichEdit1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem *Neu1 = nullptr, *Neu2 = nullptr, *Oeffnen1 = nullptr, *Schliessen1 = nullptr, *N5 = nullptr,
              *Speichern1 = nullptr, *Speichernals1 = nullptr, *N6 = nullptr, *Drucken1 = nullptr,
              *Druckereinrichten1 = nullptr, *N1 = nullptr, *Beenden1 = nullptr;
    TMenuItem *Bearbeiten1 = nullptr, *Ausschneiden1 = nullptr, *Kopieren1 = nullptr, *Einfuegen1 = nullptr,
              *Loeschen1 = nullptr, *N2 = nullptr, *Allesauswaehlen1 = nullptr;
    TMenuItem *Rueckgaengig1 = nullptr, *Wiederholen1 = nullptr, *N7 = nullptr, *N8 = nullptr, *Suchen1 = nullptr,
              *Weitersuchen1 = nullptr, *Vorherigessuchen1 = nullptr, *Ersetzen1 = nullptr;
    TMenuItem *Zeichen1 = nullptr, *Links1 = nullptr, *Rechts1 = nullptr, *Zentriert1 = nullptr, *N3 = nullptr,
              *Zeilenumbruch1 = nullptr, *N4 = nullptr, *Font1 = nullptr;
    TMenuItem *Fenster1 = nullptr, *Neben1 = nullptr, *Hinter = nullptr, *Hilfe1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem *Ausschneiden2 = nullptr, *Kopieren2 = nullptr, *Einfuegen2 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TFontDialog* FontDialog1 = nullptr;
    TPrinterSetupDialog* PrinterSetupDialog1 = nullptr;
    TPrintDialog* PrintDialog1 = nullptr;
    TmnSkinData* mnSkinData1 = nullptr;
    TmnCompressedStoredSkin* mnStoredSkin1 = nullptr;
    TmnSkinMainMenuBar* mnSkinMainMenuBar1 = nullptr;
    TmnMantle* mnMantle1 = nullptr;

    // Shows the file name's text in this window (called right after the window is created).
    void OpenDocument(const String& name);
    // The document window that has the file open, or null: the same file by volume and file
    // index, so that other spellings of its path (short names, another drive) find it too.
    static TForm2* WindowOf(const String& fileName);
    // Makes this the active document window, restored if it was minimised.
    void BringForward();
    // Shows a recovery copy's note as it was: modified, under its own file name and caption.
    void Restore(const TRecoveryRecord& record);
    // Whether a Save writes the note as plain text (it was read or last saved so).
    bool PlainTextFile() const { return format_ == TTextFormat::tfPlainText; }

    void FormCreate(TComponent* sender);
    void FormClose(TComponent* sender, TCloseAction& action);
    void FormCloseQuery(TComponent* sender, bool& canClose);
    void FormKeyDown(TComponent* sender, WORD& key, TShiftState shift);
    void Neu2Click(TComponent* sender);
    void Oeffnen1Click(TComponent* sender);
    void Schliessen1Click(TComponent* sender);
    void Speichern1Click(TComponent* sender);
    void Speichernals1Click(TComponent* sender);
    void Drucken1Click(TComponent* sender);
    void Druckereinrichten1Click(TComponent* sender);
    void Beenden1Click(TComponent* sender);
    void Bearbeiten1Click(TComponent* sender);
    void AusschneidenClick(TComponent* sender);
    void KopierenClick(TComponent* sender);
    void EinfuegenClick(TComponent* sender);
    void Loeschen1Click(TComponent* sender);
    void Allesauswaehlen1Click(TComponent* sender);
    void Rueckgaengig1Click(TComponent* sender);
    void Wiederholen1Click(TComponent* sender);
    void Suchen1Click(TComponent* sender);
    void Weitersuchen1Click(TComponent* sender);
    void Vorherigessuchen1Click(TComponent* sender);
    void Ersetzen1Click(TComponent* sender);
    void AusrichtenClick(TComponent* sender);
    void Zeilenumbruch1Click(TComponent* sender);
    void Font1Click(TComponent* sender);
    void Neben1Click(TComponent* sender);
    void HinterClick(TComponent* sender);
    void Hilfe1Click(TComponent* sender);
    // The menu bar was left by the mouse: its items are read again from the menu.
    void mnSkinMainMenuBar1MouseLeave(TComponent* sender);

    // Files dropped onto the note open as notes of their own; changes of the text are noted
    // for the recovery copies.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void Loaded() override;
    void HandleCreated() override;

private:
    enum class TSaveAnswer { Save, OtherName, Stop };
    // Asks before a save to name drops anything: pictures the note's file holds, or the
    // formatting a plain-text file cannot keep. Sets the format the save writes.
    TSaveAnswer ConfirmSave(const String& name, TTextFormat& format);
    // Writes the text to name in format and clears Modified (raises on failure, Modified unchanged).
    void WriteFile(const String& name, TTextFormat format);

    // The format the note was read in or last saved in.
    TTextFormat format_ = TTextFormat::tfRichText;
    // The file whose pictures or objects the control did not keep; empty when none.
    String objectsFile_;
};

}  // namespace fn
