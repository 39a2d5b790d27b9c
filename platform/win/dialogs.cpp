#include "platform/win/dialogs.h"

#include <commdlg.h>

#include <vector>

#include "platform/win/application.h"
#include "platform/win/handles.h"

namespace fn {

namespace {

TDialogService& DefaultService() {
    static TDialogService service;
    return service;
}

TDialogService* g_service = nullptr;

// The platform's message box shows the system language's buttons; a CBT hook gives them the
// class library's German texts as the box is activated.
thread_local HHOOK g_captionHook = nullptr;

LRESULT CALLBACK GermanButtonsHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        static const struct { int id; const wchar_t* text; } captions[] = {
            {IDYES, L"&Ja"}, {IDNO, L"&Nein"}, {IDCANCEL, L"Abbrechen"}, {IDOK, L"OK"}};
        for (auto& c : captions)
            if (HWND button = ::GetDlgItem(box, c.id)) ::SetWindowTextW(button, c.text);
    }
    return ::CallNextHookEx(g_captionHook, code, wParam, lParam);
}

HWND DialogOwner() {
    TForm* main = Application()->MainForm();
    HWND active = ::GetActiveWindow();
    if (active) return active;
    return main && main->HandleAllocated() ? main->Handle() : nullptr;
}

int GermanMessageBox(const String& text, const String& title, UINT flags) {
    HookHandle hook(::SetWindowsHookExW(WH_CBT, GermanButtonsHook, nullptr, ::GetCurrentThreadId()));
    HHOOK previous = g_captionHook;
    g_captionHook = hook.get();
    int r = ::MessageBoxW(DialogOwner(), text.c_str(), title.c_str(), flags | MB_TASKMODAL);
    g_captionHook = previous;
    return r;
}

}  // namespace

TDialogService* Dialogs() { return g_service ? g_service : &DefaultService(); }
void SetDialogService(TDialogService* service) { g_service = service; }

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

void RegisterDialogClasses() {
    RegisterComponentClass(L"TOpenDialog", [](TComponent* o) { return new TOpenDialog(o); });
    RegisterComponentClass(L"TSaveDialog", [](TComponent* o) { return new TSaveDialog(o); });
}

}  // namespace fn
