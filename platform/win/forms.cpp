#include "platform/win/forms.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win/application.h"
#include "platform/win/dpi.h"

namespace fn {

namespace {

constexpr UINT CM_RELEASE = WM_APP + 0x3F01;  // deferred destruction of a form
constexpr UINT kFirstMDIChild = 0xFF00;

const wchar_t* MDIChildClass() {
    static const wchar_t* name =
        RegisterProgramWindowClass(L"FnMDIChild", ::DefMDIChildProcW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return name;
}

template <class E, size_t N>
E EnumFromIdent(const FormValue& v, const std::pair<const wchar_t*, E> (&table)[N]) {
    for (auto& [name, value] : table)
        if (v.AsIdent() == name) return value;
    throw EReadError(L"Unbekannter Wert: " + v.AsIdent());
}

}  // namespace

TScreen* Screen() {
    static TScreen screen;
    return &screen;
}

TForm* TScreen::ActiveForm() const {
    HWND active = ::GetActiveWindow();
    for (TForm* f : forms_)
        if (f->HandleAllocated() && f->Handle() == active) return f;
    return nullptr;
}

TForm* GetParentForm(HWND window) {
    for (HWND w = window; w; w = ::GetParent(w))
        if (auto* f = dynamic_cast<TForm*>(TWinControl::FromHandle(w))) return f;
    return nullptr;
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    visible_ = false;
    Screen()->forms_.push_back(this);
}

TForm::~TForm() {
    SetStateFlags(csDestroying, true);
    if (OnDestroy) {
        try { OnDestroy(this); } catch (const Exception& e) { Application()->HandleException(e); }
    }
    std::erase(Screen()->forms_, this);
    DestroyHandle();
}

void TForm::LoadFromResource(const wchar_t* resourceName) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC res = ::FindResourceW(module, resourceName, reinterpret_cast<LPCWSTR>(RT_RCDATA));
    HGLOBAL data = res ? ::LoadResource(module, res) : nullptr;
    if (!data) throw EReadError(L"Formulardaten nicht gefunden: " + String(resourceName));
    auto* bytes = static_cast<const char*>(::LockResource(data));
    LoadFromText(Utf8ToWide(std::string_view(bytes, ::SizeofResource(module, res))));
}

void TForm::LoadFromText(std::wstring_view text) {
    const FormObject object = ParseFormData(text);
    scaled_ = IsScaledForm(object);
    // A new window opens on the screen of the program's main window.
    TForm* main = Application()->MainForm();
    dpi_ = !scaled_ ? 96 : main && main != this && main->HandleAllocated() ? main->Dpi() : SystemDpi();
    TReader reader(this, &methods_);
    reader.SetDpi(dpi_);
    reader.ReadRoot(object);
    Handle();
    if (clientWidth_ >= 0) SetClientSize(clientWidth_, clientHeight_);
    // A window the system placed on a screen of other dots per inch follows that screen.
    if (formStyle_ != TFormStyle::fsMDIChild) ChangeDpi(WindowDpi(handle_));
    if (OnCreate) OnCreate(this);
    if (visible_) Show();
}

bool TForm::ReadProperty(const String& name, const FormValue& v, TReader& reader) {
    if (name == L"Caption") caption_ = v.AsString();
    else if (name == L"FormStyle")
        formStyle_ = EnumFromIdent(v, {std::pair{L"fsNormal", TFormStyle::fsNormal}, std::pair{L"fsMDIForm", TFormStyle::fsMDIForm},
                                       std::pair{L"fsMDIChild", TFormStyle::fsMDIChild}});
    else if (name == L"Position")
        position_ = EnumFromIdent(v, {std::pair{L"poDesigned", TPosition::poDesigned}, std::pair{L"poScreenCenter", TPosition::poScreenCenter},
                                      std::pair{L"poDefault", TPosition::poDefault}});
    else if (name == L"KeyPreview") keyPreview_ = v.AsBool();
    else if (name == L"BorderIcons") {
        if (v.kind != FormValue::Kind::Set) throw EReadError(L"BorderIcons erwartet eine Menge");
        borderIcons_ = 0;
        for (auto& i : v.items)
            borderIcons_ |= i == L"biSystemMenu" ? TBorderIcon::biSystemMenu : i == L"biMinimize" ? TBorderIcon::biMinimize : i == L"biMaximize" ? TBorderIcon::biMaximize : i == L"biHelp" ? TBorderIcon::biHelp : 0u;
    } else if (name == L"BorderStyle")
        borderStyle_ = EnumFromIdent(v, {std::pair{L"bsNone", TFormBorderStyle::bsNone}, std::pair{L"bsSingle", TFormBorderStyle::bsSingle},
                                         std::pair{L"bsSizeable", TFormBorderStyle::bsSizeable}, std::pair{L"bsDialog", TFormBorderStyle::bsDialog},
                                         std::pair{L"bsToolWindow", TFormBorderStyle::bsToolWindow},
                                         std::pair{L"bsSizeToolWin", TFormBorderStyle::bsSizeToolWin}});
    else if (name == L"HelpContext") helpContext_ = v.AsInt();
    // A window's place on the screen is the screen's, at any scale; its size scales.
    else if (name == L"Left") ::OffsetRect(&bounds_, v.AsInt() - bounds_.left, 0);
    else if (name == L"Top") ::OffsetRect(&bounds_, 0, v.AsInt() - bounds_.top);
    else if (name == L"ClientWidth") clientWidth_ = reader.Scaled(v);
    else if (name == L"ClientHeight") clientHeight_ = reader.Scaled(v);
    else if (name == L"Color") color_ = v.kind == FormValue::Kind::Ident ? ColorFromIdent(v.AsIdent()) : v.AsInt();
    else if (name.rfind(L"Font.", 0) == 0) { if (!font_.ReadProperty(name.substr(5), v, reader)) return false; }
    else if (name == L"AutoScroll" || name == L"Scaled") v.AsBool();  // stored, no effect here
    else if (name == L"Menu") reader.FixupReference(v, [this](TComponent* c) { SetMenu(dynamic_cast<TMainMenu*>(c)); });
    else if (name == L"PopupMenu") reader.FixupReference(v, [this](TComponent* c) { SetReference(popupMenu_, dynamic_cast<TPopupMenu*>(c)); });
    else if (name == L"WindowMenu") reader.FixupReference(v, [this](TComponent* c) { SetWindowMenu(dynamic_cast<TMenuItem*>(c)); });
    else if (name == L"OnCreate") OnCreate = reader.Method<TNotifyEvent>(v);
    else if (name == L"OnShow") OnShow = reader.Method<TNotifyEvent>(v);
    else if (name == L"OnDestroy") OnDestroy = reader.Method<TNotifyEvent>(v);
    else if (name == L"OnActivate") OnActivate = reader.Method<TNotifyEvent>(v);
    else if (name == L"OnResize") OnResize = reader.Method<TNotifyEvent>(v);
    else if (name == L"OnClose") OnClose = reader.Method<TCloseEvent>(v);
    else if (name == L"OnCloseQuery") OnCloseQuery = reader.Method<TCloseQueryEvent>(v);
    else if (name == L"OnKeyDown") OnKeyDown = reader.Method<TKeyEvent>(v);
    else return TWinControl::ReadProperty(name, v, reader);
    return true;
}

void TForm::ChangeDpi(int dpi, const RECT* suggested) {
    const int from = dpi_;
    const bool change = scaled_ && dpi > 0 && dpi != from;
    // Sizes as they are before the skin changes the frame.
    RECT client{};
    if (HandleAllocated()) ::GetClientRect(handle_, &client);
    if (change) {
        dpi_ = dpi;
        // Controls scale with their parent; documents (forms) below, each once.
        for (int i = 0; i < ComponentCount(); ++i) {
            TComponent* c = Components(i);
            auto* control = dynamic_cast<TWinControl*>(c);
            if (!dynamic_cast<TForm*>(c) && (!control || !control->Parent())) c->ChangeScale(dpi, from);
        }
        ChangeScale(dpi, from);
    }
    if (!HandleAllocated()) {
        // The window will be made at the new size, where it stands.
        if (change) {
            const int width = ScaledForDpi(bounds_.right - bounds_.left, dpi_, from);
            const int height = ScaledForDpi(bounds_.bottom - bounds_.top, dpi_, from);
            bounds_.right = bounds_.left + width, bounds_.bottom = bounds_.top + height;
        }
        return;
    }
    if (suggested) {
        ::SetWindowPos(handle_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (change && !::IsIconic(handle_) && !::IsZoomed(handle_)) {
        SetClientSize(ScaledForDpi(client.right, dpi_, from), ScaledForDpi(client.bottom, dpi_, from));
    }
    if (!change) return;
    // Documents are no top-level windows: the system tells only the frame.
    for (int i = MDIChildCount() - 1; i >= 0; --i) {
        TForm* child = MDIChildren(i);
        RECT r;
        ::GetWindowRect(child->Handle(), &r);
        ::MapWindowPoints(nullptr, ::GetParent(child->Handle()), reinterpret_cast<POINT*>(&r), 2);
        child->ChangeDpi(dpi_);
        if (!::IsZoomed(child->Handle()))
            ::SetWindowPos(child->Handle(), nullptr, ScaledForDpi(r.left, dpi_, from), ScaledForDpi(r.top, dpi_, from), 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    AlignControls();
}

void TForm::ChangeScale(int dpi, int fromDpi) {
    font_.height = ScaledForDpi(font_.height, dpi, fromDpi);
    if (clientWidth_ > 0) clientWidth_ = ScaledForDpi(clientWidth_, dpi, fromDpi);
    if (clientHeight_ > 0) clientHeight_ = ScaledForDpi(clientHeight_, dpi, fromDpi);
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(dpi, fromDpi);
}

void TForm::SetWindowMenu(TMenuItem* item) {
    SetReference(windowMenu_, item);
}

// References to menus the form does not own are dropped when those go.
void TForm::Notification(TComponent* component, Operation operation) {
    TWinControl::Notification(component, operation);
    if (operation != Operation::Remove) return;
    if (component == menu_) menu_ = nullptr;
    if (component == popupMenu_) popupMenu_ = nullptr;
    if (component == windowMenu_) windowMenu_ = nullptr;
}

void TForm::SetCaption(const String& caption) {
    caption_ = caption;
    if (HandleAllocated()) ::SetWindowTextW(handle_, caption_.c_str());
}

void TForm::SetMenu(TMainMenu* menu) {
    SetReference(menu_, menu);
    if (HandleAllocated() && formStyle_ != TFormStyle::fsMDIChild) {
        ::SetMenu(handle_, menu_ ? menu_->Handle() : nullptr);
        if (menu_) menu_->SetWindow(handle_);
    }
}

void TForm::SetClientSize(int width, int height) {
    if (!HandleAllocated()) { clientWidth_ = width; clientHeight_ = height; return; }
    // The frame's size is what WM_NCCALCSIZE takes off the window now, which also holds for a
    // frame that changed since the client rectangle was last computed (a skin just applied).
    RECT wr, cr;
    ::GetWindowRect(handle_, &wr);
    cr = wr;
    ::SendMessageW(handle_, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&cr));
    int w = (wr.right - wr.left) - (cr.right - cr.left) + width;
    int h = (wr.bottom - wr.top) - (cr.bottom - cr.top) + height;
    ::SetWindowPos(handle_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::GetCreateParams(CreateParams& p) {
    p.caption = caption_;
    p.exStyle = 0;
    DWORD sys = (borderIcons_ & TBorderIcon::biSystemMenu) ? WS_SYSMENU : 0;
    if (borderIcons_ & TBorderIcon::biSystemMenu) {
        if (borderIcons_ & TBorderIcon::biMinimize) sys |= WS_MINIMIZEBOX;
        if (borderIcons_ & TBorderIcon::biMaximize) sys |= WS_MAXIMIZEBOX;
    }
    using enum TFormBorderStyle;
    const bool sizeable = borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin;
    p.style = WS_CLIPCHILDREN;
    if (borderStyle_ == bsNone) p.style |= formStyle_ == TFormStyle::fsMDIChild ? 0 : WS_POPUP;
    else p.style |= WS_CAPTION | sys | (sizeable ? WS_THICKFRAME : 0);
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) p.exStyle |= WS_EX_TOOLWINDOW;
    if (borderStyle_ == bsDialog) p.exStyle |= WS_EX_DLGMODALFRAME;
    if (formStyle_ == TFormStyle::fsMDIChild) {
        p.className = MDIChildClass();
        p.exStyle |= WS_EX_MDICHILD;
        p.style |= WS_CLIPSIBLINGS;
    } else {
        p.className = LayerWindowClass();
        p.style |= WS_OVERLAPPED;
    }
}

TForm* TForm::MDIFrameForChild() {
    auto usable = [](TForm* f) { return f && f->formStyle_ == TFormStyle::fsMDIForm && f->ClientHandle(); };
    if (TForm* main = Application()->MainForm(); usable(main)) return main;
    // A program whose main window is no frame (a tool) may still open one.
    for (int i = 0; i < Screen()->FormCount(); ++i)
        if (usable(Screen()->Forms(i))) return Screen()->Forms(i);
    return nullptr;
}

void TForm::CreateWnd() {
    CreateParams p;
    GetCreateParams(p);
    int w = bounds_.right - bounds_.left, h = bounds_.bottom - bounds_.top;
    if (w <= 0) w = CW_USEDEFAULT;
    if (h <= 0) h = CW_USEDEFAULT;
    HWND window;
    if (formStyle_ == TFormStyle::fsMDIChild) {
        TForm* frame = MDIFrameForChild();
        if (!frame)
            throw EInvalidOperation(L"MDI-Kindformular kann nicht erstellt werden: Es gibt kein aktives MDI-Formular");
        MDICREATESTRUCTW mc{};
        mc.szClass = p.className;
        mc.szTitle = p.caption.c_str();
        mc.hOwner = ::GetModuleHandleW(nullptr);
        mc.x = bounds_.left;
        mc.y = bounds_.top;
        mc.cx = w;
        mc.cy = h;
        mc.style = p.style;  // shown by Show(), after the form has been set up
        window = reinterpret_cast<HWND>(::SendMessageW(frame->ClientHandle(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mc)));
    } else {
        HWND owner = Application()->MainForm() && Application()->MainForm() != this && Application()->MainForm()->HandleAllocated()
                         ? Application()->MainForm()->Handle() : nullptr;
        window = ::CreateWindowExW(p.exStyle, p.className, p.caption.c_str(), p.style, bounds_.left, bounds_.top, w, h,
                                   owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    if (!window) throw EOutOfResources(L"Fenster kann nicht erzeugt werden: " + caption_);
    AttachHandle(window);
}

void TForm::HandleCreated() {
    if (formStyle_ == TFormStyle::fsMDIForm) {
        CLIENTCREATESTRUCT cc{nullptr, kFirstMDIChild};
        RECT r;
        ::GetClientRect(handle_, &r);
        // All child styles: a document is created with its own border icons and hidden, and
        // shown by Show() once it is set up, instead of painting while its parts are created.
        mdiClient_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                       WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | MDIS_ALLCHILDSTYLES, 0, 0,
                                       r.right, r.bottom, handle_, nullptr, ::GetModuleHandleW(nullptr), &cc);
        if (!mdiClient_) throw EOutOfResources(L"MDI-Client kann nicht erzeugt werden: " + caption_);
        clientChain_->Attach(mdiClient_);  // leaves it again at the client's WM_NCDESTROY
    }
    if (menu_ && formStyle_ != TFormStyle::fsMDIChild) {
        ::SetMenu(handle_, menu_->Handle());
        menu_->SetWindow(handle_);
    }
}

void TForm::HandleDestroyed() { mdiClient_ = nullptr; }

void TForm::RemainingClientRect(const RECT& rest) {
    if (!mdiClient_) return;
    ::MoveWindow(mdiClient_, rest.left, rest.top, std::max(0L, rest.right - rest.left), std::max(0L, rest.bottom - rest.top),
                 TRUE);
}

void TForm::DestroyWnd() {
    // The menu bar belongs to the menu component: taken off, it does not die with the window.
    if (HMENU bar = ::GetMenu(handle_); bar && formStyle_ != TFormStyle::fsMDIChild && menu_ && bar == menu_->Handle())
        ::SetMenu(handle_, nullptr);
    if (formStyle_ == TFormStyle::fsMDIChild) {
        if (HWND client = ::GetParent(handle_)) {
            ::SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle_), 0);
            return;
        }
    }
    TWinControl::DestroyWnd();
}

void TForm::RecreateWnd() {
    if (formStyle_ != TFormStyle::fsMDIForm || !HandleAllocated()) return TWinControl::RecreateWnd();
    // The document windows live in the MDI client, which goes with the frame: they are taken
    // down first and made again in the new client, in their places and states.
    struct Child {
        TForm* form;
        TShowState state;
    };
    std::vector<Child> children;
    TForm* active = ActiveMDIChild();
    for (int i = 0; i < MDIChildCount(); ++i) children.push_back({MDIChildren(i), MDIChildren(i)->SaveShowState()});
    for (Child& c : children) c.form->DestroyHandle();
    TWinControl::RecreateWnd();
    bool maximized = false;
    for (Child& c : children) {
        c.form->Handle();
        c.form->RestoreShowState(c.state);
        if (c.form == active) maximized = c.state.placement.showCmd == SW_SHOWMAXIMIZED;
    }
    // Only the active document can be maximized; showing the others has undone that.
    if (active && active->HandleAllocated()) {
        ::SendMessageW(mdiClient_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(active->handle_), 0);
        if (maximized) ::SendMessageW(mdiClient_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(active->handle_), 0);
    }
}

void TForm::ApplyPosition() {
    if (position_ != TPosition::poScreenCenter) return;
    RECT wr;
    ::GetWindowRect(handle_, &wr);
    int w = wr.right - wr.left, h = wr.bottom - wr.top;
    RECT area;
    if (formStyle_ == TFormStyle::fsMDIChild) {
        ::GetClientRect(::GetParent(handle_), &area);
    } else {
        HMONITOR mon = ::MonitorFromWindow(handle_, MONITOR_DEFAULTTONEAREST);
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        ::GetMonitorInfoW(mon, &mi);
        area = mi.rcWork;
    }
    int x = area.left + std::max(0L, ((area.right - area.left) - w) / 2);
    int y = area.top + std::max(0L, ((area.bottom - area.top) - h) / 2);
    if (formStyle_ == TFormStyle::fsMDIChild) {
        // A document centred on another one would hide it: it steps down and right by a
        // caption's height past every document near that place, while it fits.
        const int step = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYFRAME);
        while (DocumentNear(x, y, step) && x + step + w <= area.right && y + step + h <= area.bottom) x += step, y += step;
    }
    ::SetWindowPos(handle_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TForm::DocumentNear(int x, int y, int distance) const {
    HWND client = ::GetParent(handle_);
    for (HWND w = ::GetWindow(client, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (w == handle_ || !::IsWindowVisible(w)) continue;
        RECT r;
        ::GetWindowRect(w, &r);
        ::MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
        if (std::abs(r.left - x) < distance && std::abs(r.top - y) < distance) return true;
    }
    return false;
}

void TForm::Show() {
    bool first = !shown_;
    Handle();
    visible_ = true;
    if (first) ApplyPosition();
    shown_ = true;
    // A document is made the active one before it shows, so it is painted once, as active.
    if (formStyle_ == TFormStyle::fsMDIChild) ::SendMessageW(::GetParent(handle_), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(handle_), 0);
    ::ShowWindow(handle_, SW_SHOW);
    if (formStyle_ != TFormStyle::fsMDIChild) ::SetForegroundWindow(handle_);
    // Typing belongs to the form's first control, not to the bare window.
    if (::GetFocus() == handle_)
        if (TWinControl* c = FirstFocusControl()) c->SetFocus();
}

TWinControl* TForm::FirstFocusControl() const {
    TWinControl* first = nullptr;
    for (int i = 0; i < ControlCount(); ++i) {
        TWinControl* c = Controls(i);
        if (c->Visible() && c->HandleAllocated() && (!first || c->TabOrder() < first->TabOrder())) first = c;
    }
    return first;
}

void TForm::Hide() {
    visible_ = false;
    if (HandleAllocated()) ::ShowWindow(handle_, SW_HIDE);
}

bool TForm::CloseQuery() {
    if (formStyle_ == TFormStyle::fsMDIForm) {
        for (int i = 0; i < MDIChildCount(); ++i)
            if (!MDIChildren(i)->CloseQuery()) return false;
    }
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TForm::Close() {
    if (!CloseQuery()) return;
    TCloseAction action = formStyle_ == TFormStyle::fsMDIChild
                              ? ((borderIcons_ & TBorderIcon::biMinimize) ? TCloseAction::caMinimize : TCloseAction::caNone)
                              : TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone) return;
    if (Application()->MainForm() == this) Application()->Terminate();
    else if (action == TCloseAction::caHide) Hide();
    else if (action == TCloseAction::caMinimize) ::ShowWindow(handle_, SW_MINIMIZE);
    else Release();
}

void TForm::Release() {
    if (releasing_) return;
    releasing_ = true;
    if (HandleAllocated()) ::PostMessageW(handle_, CM_RELEASE, 0, 0);
    else delete this;
}

bool TForm::HoldsMDIChild(const TForm& f) const {
    return mdiClient_ && f.formStyle_ == TFormStyle::fsMDIChild && f.HandleAllocated() && !f.releasing_ &&
           !f.IsDestroying() && ::GetParent(f.handle_) == mdiClient_;
}

TForm* TForm::ParentFrame() const {
    if (formStyle_ != TFormStyle::fsMDIChild || !handle_) return nullptr;
    HWND client = ::GetParent(handle_);
    TForm* frame = client ? GetParentForm(client) : nullptr;
    return frame && frame->mdiClient_ == client ? frame : nullptr;
}

int TForm::MDIChildCount() const {
    int n = 0;
    for (TForm* f : Screen()->forms_)
        if (HoldsMDIChild(*f)) ++n;
    return n;
}

TForm* TForm::MDIChildren(int index) const {
    for (TForm* f : Screen()->forms_)
        if (HoldsMDIChild(*f) && index-- == 0) return f;
    return nullptr;
}

TForm* TForm::ActiveMDIChild() const {
    if (!mdiClient_) return nullptr;
    HWND active = reinterpret_cast<HWND>(::SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, 0));
    return dynamic_cast<TForm*>(FromHandle(active));
}

void TForm::Tile() {
    if (mdiClient_) ::SendMessageW(mdiClient_, WM_MDITILE, MDITILE_VERTICAL, 0);
}

void TForm::Cascade() {
    if (mdiClient_) ::SendMessageW(mdiClient_, WM_MDICASCADE, 0, 0);
}

void TForm::Next(TMDIStep step) {
    if (mdiClient_) ::SendMessageW(mdiClient_, WM_MDINEXT, 0, step == Backward ? 1 : 0);
}

void TForm::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

bool TForm::IsShortCut(WORD key, TShiftState shift) {
    if (shortCutFilters_.Call([this](WORD k, TShiftState s) { return OnShortCut && OnShortCut(k, s); }, key, shift))
        return true;
    return menu_ && menu_->IsShortCut(key, shift);
}

void TForm::SetPopupMenu(TPopupMenu* menu) { SetReference(popupMenu_, menu); }

void TForm::ContextMenu(LPARAM lParam) {
    if (!popupMenu_) return;
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (pt.x == -1 && pt.y == -1) {  // keyboard: at the window's top-left corner
        pt = {0, 0};
        ::ClientToScreen(handle_, &pt);
    }
    popupMenu_->Popup(pt.x, pt.y, handle_);
}

LRESULT TForm::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (formStyle_ == TFormStyle::fsMDIForm) return ::DefFrameProcW(handle_, mdiClient_, msg, wParam, lParam);
    return TWinControl::DefaultHandler(msg, wParam, lParam);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DPICHANGED:
            ChangeDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SHOWWINDOW:
            if (wParam && OnShow) OnShow(this);
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && lParam == 0 && menu_) {
                if (TMenuItem* item = menu_->FindItem(LOWORD(wParam))) { item->Click(); return 0; }
            }
            break;
        case WM_SETFOCUS:
            // Focus that reaches the form (activation, a click on its frame) goes on to its control.
            if (TWinControl* c = FirstFocusControl()) {
                c->SetFocus();
                return 0;
            }
            break;
        case WM_HELP:
            // F1: the form's help context, through the application's help path.
            if (helpContext_ != 0) {
                Application()->HelpContext(helpContext_);
                return TRUE;
            }
            break;
        case WM_CONTEXTMENU:
            if (popupMenu_) { ContextMenu(lParam); return 0; }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && OnActivate) OnActivate(this);
            if (LOWORD(wParam) == WA_INACTIVE && OnDeactivate) OnDeactivate(this);
            break;
        case WM_SIZE:
            if (OnResize) {
                LRESULT r = TWinControl::WndProc(msg, wParam, lParam);
                OnResize(this);
                return r;
            }
            break;
        case WM_DESTROY:
            if (Application()->MainForm() == this && !Recreating()) ::PostQuitMessage(0);
            break;
        case CM_RELEASE:
            delete this;
            return 0;
        default:
            break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

}  // namespace fn
