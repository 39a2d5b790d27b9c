#include "platform/win/application.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>

#include "platform/win/dialogs.h"
#include "platform/win/object_window.h"

namespace fn {

namespace {

constexpr UINT_PTR HintTimerId = 1;

bool CancelsHint(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_MOUSEWHEEL:
        return true;
    default:
        return false;
    }
}

}  // namespace

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
    WNDCLASSEXW wc = ModuleWindowClass(L"FnApplication", &TApplication::StaticWndProc);
    wc.hIcon = ProgramIcon(false);
    wc.hIconSm = ProgramIcon(true);
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

void TApplication::NoteInput(const MSG& msg) {
    const UINT m = msg.message;
    if (m >= WM_KEYFIRST && m <= WM_KEYLAST) {
        lastInputFromMouse_ = false;
    } else if ((m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCXBUTTONDBLCLK)) {
        // The platform repeats pointer moves without motion (after a window changed under it).
        const bool move = m == WM_MOUSEMOVE || m == WM_NCMOUSEMOVE;
        const bool moved = msg.pt.x != lastPointer_.x || msg.pt.y != lastPointer_.y;
        lastPointer_ = msg.pt;
        if (!move || moved) lastInputFromMouse_ = true;
    }
}

void TApplication::DispatchOne(MSG& msg) {
    try {
        if (msg.message == WM_QUIT) { terminated_ = true; return; }
        NoteInput(msg);
        if (msg.message == WM_MOUSEMOVE) {
            HintMouseMessage(msg.hwnd);
        } else if (msg.message == WM_MOUSELEAVE && msg.hwnd == hintTracked_) {
            hintTracked_ = nullptr;
            CancelHint();
            hintOwner_ = nullptr;
            SetHintControl(nullptr);
        } else if (CancelsHint(msg.message)) {
            CancelHint();
        }
        bool handled = false;
        messageFilters_.Call(
            [this](MSG& m, bool& h) {
                if (!OnMessage) return;
                auto hook = OnMessage;  // the handler may replace itself
                hook(m, h);
            },
            msg, handled);
        if (handled) return;
        for (HWND dialog : dialogs_)
            if (::IsDialogMessageW(dialog, &msg)) return;
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

void TApplication::AddDialog(HWND dialog) {
    if (std::find(dialogs_.begin(), dialogs_.end(), dialog) == dialogs_.end()) dialogs_.push_back(dialog);
}

void TApplication::RemoveDialog(HWND dialog) { std::erase(dialogs_, dialog); }

void TApplication::ProcessMessages() {
    MSG msg;
    while (!terminated_ && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchOne(msg);
}

void TApplication::Run() {
    if (!mainForm_) return;
    if (showMainForm_) mainForm_->Show();
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

LRESULT CALLBACK TApplication::StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == HintTimerId) {
        Application()->HintTimerFired();
        return 0;
    }
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

void TApplication::SetShowHint(bool show) {
    showHint_ = show;
    if (show) return;
    CancelHint();
    hintWindow_.reset();
    hintOwner_ = nullptr;
    SetHintControl(nullptr);
}

void TApplication::SetHintWindowClass(THintWindowClass windowClass) {
    hintWindowClass_ = windowClass ? windowClass : &MakePlatformHintWindow;
}

void TApplication::SetHintControl(TWinControl* control) {
    SetReference(hintControl_, control);
}

void TApplication::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation == Operation::Remove && component == hintControl_) {
        hintControl_ = nullptr;
        hintOwner_ = nullptr;
        CancelHint();
    }
}

HWND TApplication::HintOwnerAt(HWND window, String& text) const {
    for (HWND w = window; w; w = ::GetParent(w)) {
        if (THintSource* source = WindowHintSource(w)) {
            text = source->HintText();
            return text.empty() ? nullptr : w;
        }
        if (TWinControl* control = TWinControl::FromHandle(w); control && !control->Hint().empty()) {
            if (!control->ShowingHint()) return nullptr;
            text = control->Hint();
            return w;
        }
        // A child's parents, not a top-level window's owner.
        if (!(::GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD)) break;
    }
    return nullptr;
}

void TApplication::HintMouseMessage(HWND window) {
    if (!showHint_ || !handle_) return;
    if (window != hintTracked_) {
        // The hint ends when the mouse leaves the window.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        if (::TrackMouseEvent(&track)) hintTracked_ = window;
    }
    String text;
    const HWND owner = HintOwnerAt(window, text);
    if (owner == hintOwner_ && text == hintText_) return;
    const bool wasShowing = hintWindow_ && hintWindow_->Visible();
    CancelHint();
    hintOwner_ = owner;
    hintText_ = text;
    SetHintControl(TWinControl::FromHandle(owner));
    if (owner) hintTimer_.Start(handle_, HintTimerId, wasShowing ? HintShortPause : HintPause);
}

void TApplication::CancelHint() {
    hintTimer_.Stop();
    hintShowing_ = false;
    if (hintWindow_) hintWindow_->Hide();
}

void TApplication::HintTimerFired() {
    if (hintShowing_) {
        // The hide pause is over; the same hint comes again only after the mouse left its window.
        CancelHint();
        return;
    }
    hintTimer_.Stop();
    if (!hintOwner_ || !::IsWindow(hintOwner_)) return;
    THintInfo info;
    info.HintControl = hintControl_;
    info.HintWindow = hintOwner_;
    ::GetCursorPos(&info.CursorPos);
    // Below the standard arrow cursor.
    info.HintPos = {info.CursorPos.x, info.CursorPos.y + ::GetSystemMetrics(SM_CYCURSOR) * 5 / 8};
    info.HideTimeout = HintHidePause;
    String text = hintText_;
    bool canShow = true;
    if (OnShowHint) OnShowHint(text, canShow, info);
    if (!canShow || text.empty() || !showHint_) return;
    if (!hintWindow_) hintWindow_ = hintWindowClass_();
    if (!hintWindow_) return;
    hintWindow_->ActivateHint({info.HintPos.x, info.HintPos.y, info.HintPos.x, info.HintPos.y}, text);
    hintShowing_ = true;
    hintTimer_.Start(handle_, HintTimerId, info.HideTimeout);
}

bool TApplication::HelpCommand(unsigned command, uintptr_t data) {
    bool callHelp = true;
    bool result = false;
    result = helpFilters_.Call([this](unsigned c, uintptr_t d, bool& call) { return OnHelp && OnHelp(c, d, call); },
                               command, data, callHelp);
    if (callHelp && !helpFile_.empty() && mainForm_ && mainForm_->HandleAllocated())
        result = ::WinHelpW(mainForm_->Handle(), helpFile_.c_str(), command, data) != FALSE;
    return result;
}

}  // namespace fn
