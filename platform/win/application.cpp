#include "platform/win/application.h"

#include <commctrl.h>
#include <ole2.h>

#include "platform/win/dialogs.h"

namespace fn {

TApplication* Application() {
    static TApplication* app = new TApplication();  // lives for the whole process
    return app;
}

void HandleWindowException(const Exception& e) { Application()->HandleException(e); }

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
    if (handle_) ::DestroyWindow(handle_);
}

void TApplication::Initialize() {
    if (initialized_) return;
    initialized_ = true;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::OleInitialize(nullptr);
    RegisterMenuClasses();
    RegisterDialogClasses();
    // "@NAME" binary values of form data come from the program's RCDATA resources.
    SetBinaryResourceLoader([](const String& name) {
        HMODULE module = ::GetModuleHandleW(nullptr);
        HRSRC res = ::FindResourceW(module, name.c_str(), reinterpret_cast<LPCWSTR>(RT_RCDATA));
        HGLOBAL data = res ? ::LoadResource(module, res) : nullptr;
        if (!data) throw EReadError(L"Ressource nicht gefunden: " + name);
        auto* p = static_cast<const uint8_t*>(::LockResource(data));
        return std::vector<uint8_t>(p, p + ::SizeofResource(module, res));
    });
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FnApplication";
    ::RegisterClassExW(&wc);
    handle_ = ::CreateWindowExW(0, L"FnApplication", title_.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                0, 0, 0, 0, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

void TApplication::SetTitle(const String& title) {
    title_ = title;
    if (handle_) ::SetWindowTextW(handle_, title_.c_str());
}

void TApplication::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    ::PostQuitMessage(0);
}

bool TApplication::PreProcessKey(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    TForm* form = GetParentForm(msg.hwnd);
    if (!form) return false;
    WORD key = static_cast<WORD>(msg.wParam);
    TShiftState shift = KeyboardShiftState();
    if (form->KeyPreview()) {
        form->KeyDown(key, shift);
        if (key == 0) return true;
    }
    if (form->IsShortCut(key, shift)) return true;
    if (form->FormStyle() == TFormStyle::fsMDIChild && mainForm_ && mainForm_ != form && mainForm_->IsShortCut(key, shift))
        return true;
    return false;
}

void TApplication::DispatchOne(MSG& msg) {
    try {
        if (msg.message == WM_QUIT) { terminated_ = true; return; }
        if (OnMessage) {
            bool handled = false;
            auto hook = OnMessage;  // the handler may replace itself
            hook(msg, handled);
            if (handled) return;
        }
        if (PreProcessKey(msg)) return;
        if (mainForm_ && mainForm_->HandleAllocated() && mainForm_->ClientHandle() &&
            ::TranslateMDISysAccel(mainForm_->ClientHandle(), &msg))
            return;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    } catch (const Exception& e) {
        HandleException(e);
    }
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (!terminated_ && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchOne(msg);
}

void TApplication::Run() {
    if (!mainForm_) return;
    mainForm_->Show();
    MSG msg;
    while (!terminated_) {
        BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) break;
        DispatchOne(msg);
    }
    terminated_ = true;
    // The forms go with the application; the main form last, as it owns the documents.
    while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
    mainForm_ = nullptr;
}

void TApplication::HandleException(const Exception& e) {
    if (OnException) { OnException(e); return; }
    MessageDlg(e.Message(), TMsgDlgType::mtError, mbOK, 0);
}

bool TApplication::HelpCommand(unsigned command, uintptr_t data) {
    bool callHelp = true;
    bool result = false;
    if (OnHelp) result = OnHelp(command, data, callHelp);
    if (callHelp && !helpFile_.empty() && mainForm_ && mainForm_->HandleAllocated())
        result = ::WinHelpW(mainForm_->Handle(), helpFile_.c_str(), command, data) != FALSE;
    return result;
}

}  // namespace fn
