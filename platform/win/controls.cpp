#include "platform/win/controls.h"

#include <algorithm>
#include <unordered_map>

#include "platform/core/form_data.h"
#include "platform/win/forms.h"
#include "platform/win/object_window.h"

namespace fn {

namespace {
// The control of each window this layer made. Asked often while windows are created and
// activated, so kept here rather than in a window property (a call into the system each time).
// Never freed: windows may still be destroyed while the program's statics are.
std::unordered_map<HWND, TWinControl*>& ControlsByWindow() {
    static auto* controls = new std::unordered_map<HWND, TWinControl*>;
    return *controls;
}

void ForgetWindow(HWND window, const TWinControl* control) {
    auto& controls = ControlsByWindow();
    if (const auto found = controls.find(window); found != controls.end() && found->second == control)
        controls.erase(found);
}
}  // namespace

HICON ProgramIcon(bool small) {
    const int w = ::GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
    const int h = ::GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON);
    return static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, w, h, LR_SHARED));
}

const wchar_t* RegisterProgramWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background) {
    WNDCLASSEXW wc = ModuleWindowClass(name, proc, CS_DBLCLKS);
    wc.hbrBackground = background;
    wc.hIcon = ProgramIcon(false);
    wc.hIconSm = ProgramIcon(true);
    ::RegisterClassExW(&wc);
    return name;
}

const wchar_t* LayerWindowClass() {
    static const wchar_t* name = RegisterProgramWindowClass(L"FnWindow", ::DefWindowProcW);
    return name;
}

TWinControl::TWinControl(TComponent* owner) : TComponent(owner), chain_(TWndProcChain::Create(&OwnProc, this)) {}

TWinControl::~TWinControl() {
    SetStateFlags(csDestroying, true);
    if (Screen()->activeControl_ == this) Screen()->activeControl_ = nullptr;
    for (TWinControl* c : controls_) c->parent_ = nullptr;
    controls_.clear();
    DestroyHandle();
    // A message still running (the object freed inside its own handler) ends without it.
    chain_->ClearOwnProc();
    if (parent_) std::erase(parent_->controls_, this);
}

TWinControl* TWinControl::FromHandle(HWND window) {
    const auto& controls = ControlsByWindow();
    const auto found = controls.find(window);
    return found == controls.end() ? nullptr : found->second;
}

HWND TWinControl::Handle() {
    if (!handle_) CreateWnd();
    return handle_;
}

void TWinControl::SetParent(TWinControl* parent) {
    if (parent_ == parent) return;
    if (parent_) std::erase(parent_->controls_, this);
    parent_ = parent;
    if (parent_) {
        parent_->controls_.push_back(this);
        if (handle_) ::SetParent(handle_, parent_->Handle());
        else if (parent_->HandleAllocated()) Handle();
        parent_->AlignControls();
    }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    bounds_ = {left, top, left + width, top + height};
    if (handle_) ::MoveWindow(handle_, left, top, width, height, TRUE);
}

void TWinControl::ChangeScale(int dpi, int fromDpi) {
    auto scaled = [&](LONG v) { return ScaledForDpi(static_cast<int>(v), dpi, fromDpi); };
    const RECT b = bounds_;
    const int left = scaled(b.left), top = scaled(b.top);
    SetBounds(left, top, scaled(b.right) - left, scaled(b.bottom) - top);
    for (TWinControl* c : controls_) c->ChangeScale(dpi, fromDpi);
    AlignControls();
}

void TWinControl::SetAlign(TAlign align) {
    align_ = align;
    if (parent_) parent_->AlignControls();
}

void TWinControl::SetVisible(bool visible) {
    const bool changed = visible_ != visible;
    visible_ = visible;
    if (handle_) ::ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
    // An aligned control that comes or goes moves its siblings.
    if (changed && align_ != TAlign::alNone && parent_) parent_->AlignControls();
}

void TWinControl::AlignControls() {
    if (!handle_) return;
    RECT r;
    ::GetClientRect(handle_, &r);
    AdjustClientRect(r);
    // The bounds follow the window (WM_MOVE, WM_SIZE): a control already in its place is not
    // moved again, which spares every realignment the platform's round trips.
    auto place = [](TWinControl* c, int left, int top, int width, int height) {
        const RECT next{left, top, left + width, top + height};
        if (!c->handle_ || !::EqualRect(&c->bounds_, &next)) c->SetBounds(left, top, width, height);
    };
    for (TAlign pass : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (TWinControl* c : controls_) {
            if (c->align_ != pass || !c->visible_) continue;
            int w = c->bounds_.right - c->bounds_.left, h = c->bounds_.bottom - c->bounds_.top;
            switch (pass) {
                case TAlign::alTop: place(c, r.left, r.top, r.right - r.left, h); r.top += h; break;
                case TAlign::alBottom: r.bottom -= h; place(c, r.left, r.bottom, r.right - r.left, h); break;
                case TAlign::alLeft: place(c, r.left, r.top, w, r.bottom - r.top); r.left += w; break;
                case TAlign::alRight: r.right -= w; place(c, r.right, r.top, w, r.bottom - r.top); break;
                case TAlign::alClient: place(c, r.left, r.top, std::max(0L, r.right - r.left), std::max(0L, r.bottom - r.top)); break;
                default: break;
            }
        }
    }
    RemainingClientRect(r);
}

void TWinControl::SetFocus() {
    if (Handle()) ::SetFocus(handle_);
}

bool TWinControl::Focused() const { return handle_ && ::GetFocus() == handle_; }

bool TWinControl::ShowingHint() const {
    const TWinControl* c = this;
    while (c->parentShowHint_ && c->parent_) c = c->parent_;
    return c->showHint_;
}

bool TWinControl::ReadProperty(const String& name, const FormValue& v, TReader& reader) {
    // Places and sizes of a Scaled form's data are for 96 dots per inch.
    int w = bounds_.right - bounds_.left, h = bounds_.bottom - bounds_.top;
    if (name == L"Left") SetBounds(reader.Scaled(v), bounds_.top, w, h);
    else if (name == L"Top") SetBounds(bounds_.left, reader.Scaled(v), w, h);
    else if (name == L"Width") SetBounds(bounds_.left, bounds_.top, reader.Scaled(v), h);
    else if (name == L"Height") SetBounds(bounds_.left, bounds_.top, w, reader.Scaled(v));
    else if (name == L"TabOrder") tabOrder_ = v.AsInt();
    else if (name == L"Hint") hint_ = v.AsString();
    else if (name == L"ShowHint") SetShowHint(v.AsBool());
    else if (name == L"ParentShowHint") parentShowHint_ = v.AsBool();
    else if (name == L"Visible") visible_ = v.AsBool();
    else if (name == L"Align") {
        static const struct { const wchar_t* n; TAlign a; } table[] = {
            {L"alNone", TAlign::alNone}, {L"alTop", TAlign::alTop}, {L"alBottom", TAlign::alBottom},
            {L"alLeft", TAlign::alLeft}, {L"alRight", TAlign::alRight}, {L"alClient", TAlign::alClient}};
        auto it = std::find_if(std::begin(table), std::end(table), [&](auto& e) { return v.AsIdent() == e.n; });
        if (it == std::end(table)) throw EReadError(L"Unbekannte Ausrichtung: " + v.AsIdent());
        align_ = it->a;
    } else return TComponent::ReadProperty(name, v, reader);
    return true;
}

void TWinControl::ReadChild(TComponent* child) {
    if (auto* c = dynamic_cast<TWinControl*>(child)) c->SetParent(this);
}

void TWinControl::GetCreateParams(CreateParams& p) {
    p.className = LayerWindowClass();
    if (parent_) p.parent = parent_->Handle();
    if (visible_) p.style |= WS_VISIBLE;
}

void TWinControl::CreateWnd() {
    CreateParams p;
    GetCreateParams(p);
    HWND w = ::CreateWindowExW(p.exStyle, p.className, p.caption.c_str(), p.style, bounds_.left, bounds_.top,
                               bounds_.right - bounds_.left, bounds_.bottom - bounds_.top, p.parent, p.menu,
                               ::GetModuleHandleW(nullptr), nullptr);
    if (!w) throw EOutOfResources(L"Fenster kann nicht erzeugt werden (" + String(p.className) + L")");
    AttachHandle(w);
}

void TWinControl::AttachHandle(HWND window) {
    handle_ = window;
    ControlsByWindow()[window] = this;
    try {
        chain_->Attach(window);
    } catch (...) {
        DestroyHandle();
        throw;
    }
    HandleCreated();
    for (TWinControl* c : controls_) c->Handle();
    AlignControls();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    HWND window = handle_;
    DestroyWnd();  // the child windows go with it; WM_NCDESTROY clears every handle_
    ForgetWindow(window, this);  // in case the window went without our WM_NCDESTROY
    handle_ = nullptr;
}

void TWinControl::DestroyWnd() { ::DestroyWindow(handle_); }

TWinControl::TShowState TWinControl::SaveShowState() {
    TShowState state;
    if (!handle_) return state;
    state.placement.length = sizeof state.placement;
    ::GetWindowPlacement(handle_, &state.placement);
    state.visible = (::GetWindowLongW(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
    state.active = ::GetActiveWindow() == handle_;
    UpdateBounds();
    return state;
}

void TWinControl::RestoreShowState(const TShowState& state) {
    if (!handle_ || state.placement.length == 0) return;
    WINDOWPLACEMENT placement = state.placement;
    if (!state.visible) placement.showCmd = SW_HIDE;
    else if (placement.showCmd == SW_SHOWNORMAL) placement.showCmd = SW_SHOWNOACTIVATE;
    ::SetWindowPlacement(handle_, &placement);
    if (state.active) ::SetActiveWindow(handle_);
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    TShowState state = SaveShowState();
    struct Flag {
        bool& flag;
        explicit Flag(bool& f) : flag(f) { flag = true; }
        ~Flag() { flag = false; }
    } recreating(recreating_);
    DestroyHandle();
    Handle();
    RestoreShowState(state);
}

LRESULT TWinControl::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    return chain_->CallOriginal(msg, wParam, lParam);
}

void TWinControl::UpdateBounds() {
    RECT wr;
    ::GetWindowRect(handle_, &wr);
    if (HWND p = ::GetParent(handle_)) ::MapWindowPoints(nullptr, p, reinterpret_cast<POINT*>(&wr), 2);
    bounds_ = wr;
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE: {
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            UpdateBounds();
            AlignControls();
            return r;
        }
        case WM_MOVE: {
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            UpdateBounds();
            return r;
        }
        default: return DefaultHandler(msg, wParam, lParam);
    }
}

LRESULT TWinControl::OwnProc(void* control, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<TWinControl*>(control);
    // A form passes its focus on to a control; the control is what the screen remembers.
    if (msg == WM_SETFOCUS && !dynamic_cast<TForm*>(self)) Screen()->activeControl_ = self;
    if (msg != WM_NCDESTROY) return self->WndProc(msg, wParam, lParam);
    // The last message of the window: the chain stays with this control for the next one.
    LRESULT result = self->chain_->CallOriginal(msg, wParam, lParam);
    ForgetWindow(self->handle_, self);
    self->handle_ = nullptr;
    self->HandleDestroyed();
    return result;
}

}  // namespace fn
