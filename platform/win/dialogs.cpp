#include "platform/win/dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/core/seam.h"
#include "platform/win/application.h"
#include "platform/win/graphics.h"
#include "platform/win/handles.h"
#include "platform/win/printers.h"

namespace fn {

namespace {

TSeamSlot<TDialogService>& DialogSlot() {
    static TDialogService system;
    static TSeamSlot<TDialogService> slot(system);
    return slot;
}

// The platform's message box shows the system language's buttons; a CBT hook gives them the
// class library's German texts as the box is activated.
thread_local HHOOK captionHook = nullptr;
thread_local const TDialogButtonCaptions* buttonCaptions = nullptr;

constexpr UINT_PTR kFitButtonsTimer = 0x0F11;

// Widens a button to its caption in the dialog's font when the caption is wider than the button.
void FitButton(HWND box, HWND button) {
    wchar_t text[128] = {};
    ::GetWindowTextW(button, text, 128);
    HDC dc = ::GetDC(button);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(button, WM_GETFONT, 0, 0)));
    RECT need{};
    ::DrawTextW(dc, text, -1, &need, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::ReleaseDC(button, dc);
    RECT r{};
    ::GetWindowRect(button, &r);
    ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    const int width = need.right + 2 * ::GetSystemMetrics(SM_CXEDGE) * 4;
    if (width <= r.right - r.left) return;
    ::SetWindowPos(button, nullptr, r.right - width, r.top, width, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The Yes and No buttons fitted to their captions and centred as a pair, their gap kept.
void CALLBACK FitYesNoButtons(HWND box, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(box, id);
    HWND yes = ::GetDlgItem(box, IDYES), no = ::GetDlgItem(box, IDNO);
    if (!yes || !no) return;
    RECT y{}, n{}, client{};
    ::GetWindowRect(yes, &y);
    ::GetWindowRect(no, &n);
    const int gap = n.left - y.right;
    FitButton(box, yes);
    FitButton(box, no);
    ::GetWindowRect(yes, &y);
    ::GetWindowRect(no, &n);
    ::GetClientRect(box, &client);
    const int yesWidth = y.right - y.left, noWidth = n.right - n.left;
    POINT at{std::max<LONG>(0, (client.right - (yesWidth + gap + noWidth)) / 2), y.top};
    ::ScreenToClient(box, reinterpret_cast<POINT*>(&y));
    at.y = y.top;
    ::SetWindowPos(yes, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(no, nullptr, at.x + yesWidth + gap, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK GermanButtonsHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        static const struct { int id; const wchar_t* text; } captions[] = {
            {IDYES, L"&Ja"}, {IDNO, L"&Nein"}, {IDCANCEL, L"Abbrechen"}, {IDOK, L"OK"}};
        for (auto& c : captions)
            if (HWND button = ::GetDlgItem(box, c.id)) ::SetWindowTextW(button, c.text);
        if (const TDialogButtonCaptions* own = buttonCaptions) {
            HWND yes = ::GetDlgItem(box, IDYES), no = ::GetDlgItem(box, IDNO);
            if (yes && no) {
                ::SetWindowTextW(yes, own->Yes.c_str());
                ::SetWindowTextW(no, own->No.c_str());
                // The box may lay its buttons out after this (it does under some systems): they
                // are fitted to their captions once its message loop runs.
                ::SetTimer(box, kFitButtonsTimer, USER_TIMER_MINIMUM, FitYesNoButtons);
            }
        }
    }
    return ::CallNextHookEx(captionHook, code, wParam, lParam);
}

HWND DialogOwner() {
    TForm* main = Application()->MainForm();
    HWND active = ::GetActiveWindow();
    if (active) return active;
    return main && main->HandleAllocated() ? main->Handle() : nullptr;
}

int GermanMessageBox(const String& text, const String& title, UINT flags) {
    THookHandle hook(::SetWindowsHookExW(WH_CBT, GermanButtonsHook, nullptr, ::GetCurrentThreadId()));
    HHOOK previous = captionHook;
    captionHook = hook.Get();
    int r = ::MessageBoxW(DialogOwner(), text.c_str(), title.c_str(), flags | MB_TASKMODAL);
    captionHook = previous;
    return r;
}

}  // namespace

TDialogButtonCaptions::TDialogButtonCaptions(String yes, String no)
    : Yes(std::move(yes)), No(std::move(no)), previous_(buttonCaptions) {
    buttonCaptions = this;
}

TDialogButtonCaptions::~TDialogButtonCaptions() { buttonCaptions = previous_; }

const TDialogButtonCaptions* TDialogButtonCaptions::Current() { return buttonCaptions; }

TDialogService* Dialogs() { return &DialogSlot().Current(); }
void SetDialogService(TDialogService* service) { DialogSlot().Install(service); }

int MessageDlg(const String& text, TMsgDlgType type, unsigned buttons, int helpContext) {
    return Dialogs()->MessageDlg(text, type, buttons, helpContext);
}

void ShowMessage(const String& text) { Dialogs()->ShowMessage(text); }

int TDialogService::MessageDlg(const String& text, TMsgDlgType type, unsigned buttons, int) {
    static const struct { const wchar_t* title; UINT icon; } kinds[] = {
        {L"Warnung", MB_ICONWARNING}, {L"Fehler", MB_ICONERROR}, {L"Information", MB_ICONINFORMATION},
        {L"Bestätigen", MB_ICONQUESTION}, {L"", 0}};
    auto& kind = kinds[static_cast<int>(type)];
    String title = type == TMsgDlgType::mtCustom ? Application()->Title() : String(kind.title);
    UINT flags = kind.icon;
    bool yes = buttons & mbYes, no = buttons & mbNo, cancel = buttons & mbCancel;
    if (yes && no && cancel) flags |= MB_YESNOCANCEL;
    else if (yes && no) flags |= MB_YESNO;
    else if (cancel) flags |= MB_OKCANCEL;
    else flags |= MB_OK;
    switch (GermanMessageBox(text, title, flags)) {
        case IDYES: return mrYes;
        case IDNO: return mrNo;
        case IDCANCEL: return mrCancel;
        default: return mrOk;
    }
}

void TDialogService::ShowMessage(const String& text) { GermanMessageBox(text, Application()->Title(), MB_OK); }

int TDialogService::ShowMessageBox(const String& text, const String& caption, unsigned style) {
    return ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), style);
}

bool TDialogService::Execute(TCommonDialog& dialog) { return dialog.ExecuteNative(DialogOwner()); }

bool TOpenDialog::ExecuteNative(HWND owner) { return RunFileDialog(owner, false); }
bool TSaveDialog::ExecuteNative(HWND owner) { return RunFileDialog(owner, true); }

bool TOpenDialog::RunFileDialog(HWND owner, bool save) {
    // "Text Files (*.txt)|*.txt|..." becomes the NUL-separated, double-NUL-ended filter.
    std::vector<wchar_t> filter(Filter.begin(), Filter.end());
    for (auto& c : filter)
        if (c == L'|') c = L'\0';
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    std::vector<wchar_t> file(32768, L'\0');
    FileName.copy(file.data(), std::min(FileName.size(), file.size() - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.data();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING |
                (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    BOOL ok = save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
    if (ok) FileName = file.data();
    return ok != FALSE;
}

bool TFontDialog::ReadProperty(const String& name, const FormValue& v, TReader& reader) {
    if (name.rfind(L"Font.", 0) == 0) return Font.ReadProperty(name.substr(5), v, reader);
    return TCommonDialog::ReadProperty(name, v, reader);
}

bool TFontDialog::ExecuteNative(HWND owner) {
    LOGFONTW lf = Font.LogFont();
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.rgbColors = ColorToColorRef(Font.color);
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    if (!::ChooseFontW(&cf)) return false;
    Font.name = lf.lfFaceName;
    Font.height = lf.lfHeight;
    Font.bold = lf.lfWeight >= FW_BOLD;
    Font.italic = lf.lfItalic != 0;
    Font.underline = lf.lfUnderline != 0;
    Font.strikeOut = lf.lfStrikeOut != 0;
    Font.charset = lf.lfCharSet;
    // The window text colour stays the system colour, so the text follows the colour scheme.
    if (cf.rgbColors != ColorToColorRef(Font.color)) Font.color = cf.rgbColors;
    return true;
}

namespace {

// Runs PrintDlg on copies of the shared printer settings; a confirmed choice replaces them.
bool RunPrintDialog(HWND owner, DWORD flags) {
    TPrinter* printer = Printer();
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.hDevMode = GlobalHandle::Duplicate(printer->DevMode());
    pd.hDevNames = GlobalHandle::Duplicate(printer->DevNames());
    pd.Flags = flags;
    pd.nCopies = 1;
    BOOL ok = ::PrintDlgW(&pd);
    GlobalHandle mode(pd.hDevMode), names(pd.hDevNames);
    if (ok) printer->SetDevice(std::move(mode), std::move(names));
    return ok != FALSE;
}

}  // namespace

bool TPrintDialog::ExecuteNative(HWND owner) {
    return RunPrintDialog(owner, PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE);
}

bool TPrinterSetupDialog::ExecuteNative(HWND owner) { return RunPrintDialog(owner, PD_PRINTSETUP); }

void RegisterDialogClasses() {
    RegisterComponentClass(L"TOpenDialog", [](TComponent* o) { return new TOpenDialog(o); });
    RegisterComponentClass(L"TSaveDialog", [](TComponent* o) { return new TSaveDialog(o); });
    RegisterComponentClass(L"TFontDialog", [](TComponent* o) { return new TFontDialog(o); });
    RegisterComponentClass(L"TPrintDialog", [](TComponent* o) { return new TPrintDialog(o); });
    RegisterComponentClass(L"TPrinterSetupDialog", [](TComponent* o) { return new TPrinterSetupDialog(o); });
}

}  // namespace fn
