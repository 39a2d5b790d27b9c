#pragma once
// Message dialogs with the class library's German texts, and the common dialogs. Every dialog
// goes through a dialog service, so tests answer them instead of a person.
#include <windows.h>

#include "platform/core/classes.h"
#include "platform/win/controls.h"

namespace fn {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
inline constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7;

class TCommonDialog;

class TDialogService {
public:
    virtual ~TDialogService() = default;
    // Returns the modal result (mrYes, mrNo, mrCancel, mrOk).
    virtual int MessageDlg(const String& text, TMsgDlgType type, unsigned buttons, int helpContext);
    virtual void ShowMessage(const String& text);
    // The platform's message box without owner window (MB_* style); returns the button id.
    virtual int ShowMessageBox(const String& text, const String& caption, unsigned style);
    // Runs a common dialog; true when the user confirmed it.
    virtual bool Execute(TCommonDialog& dialog);
};

// The service in force; tests install their own (nullptr restores the default).
TDialogService* Dialogs();
void SetDialogService(TDialogService* service);

int MessageDlg(const String& text, TMsgDlgType type, unsigned buttons, int helpContext);

// While it lives, the Yes and No buttons of this thread's message dialogs carry these captions
// instead of "&Ja" and "&Nein"; the answers stay mrYes and mrNo.
class TDialogButtonCaptions {
public:
    TDialogButtonCaptions(String yes, String no);
    ~TDialogButtonCaptions();
    TDialogButtonCaptions(const TDialogButtonCaptions&) = delete;
    TDialogButtonCaptions& operator=(const TDialogButtonCaptions&) = delete;
    // The captions in force, or null.
    static const TDialogButtonCaptions* Current();

    const String Yes, No;

private:
    const TDialogButtonCaptions* previous_;
};

void ShowMessage(const String& text);

class TCommonDialog : public TComponent {
public:
    using TComponent::TComponent;
    bool Execute() { return Dialogs()->Execute(*this); }
    // Shows the platform's dialog for owner; true when confirmed.
    virtual bool ExecuteNative(HWND owner) = 0;
};

class TOpenDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    const wchar_t* ClassName() const override { return L"TOpenDialog"; }
    String FileName, Filter, DefaultExt, Title;
    bool ExecuteNative(HWND owner) override;

protected:
    bool RunFileDialog(HWND owner, bool save);
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    const wchar_t* ClassName() const override { return L"TSaveDialog"; }
    bool ExecuteNative(HWND owner) override;
};

// The font dialog: Font is shown on opening and holds the chosen font after confirmation.
class TFontDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    const wchar_t* ClassName() const override { return L"TFontDialog"; }
    TFontDesc Font;
    bool ExecuteNative(HWND owner) override;
    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
};

// The print dialog: a confirmed choice of printer and settings goes to the shared printer.
class TPrintDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    const wchar_t* ClassName() const override { return L"TPrintDialog"; }
    bool ExecuteNative(HWND owner) override;
};

// The printer-setup dialog: the same shared printer settings, without starting a job.
class TPrinterSetupDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    const wchar_t* ClassName() const override { return L"TPrinterSetupDialog"; }
    bool ExecuteNative(HWND owner) override;
};

void RegisterDialogClasses();

}  // namespace fn
