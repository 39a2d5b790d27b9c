#include "skin/controls/accessible_win.h"

#include <oleacc.h>

#include "platform/win/controls.h"

namespace fn {

namespace {

TAccessibleSource* SourceOf(HWND window) {
    return ::IsWindow(window) ? dynamic_cast<TAccessibleSource*>(TWinControl::FromHandle(window)) : nullptr;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT ReturnString(const String& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// The standard client object of the window with the role, name, value and state of the
// control put over it.
class TControlAccessible final : public IAccessible {
public:
    TControlAccessible(HWND window, IAccessible* standard) : window_(window), std_(standard) {}
    ~TControlAccessible() { std_->Release(); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = ::InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    // IDispatch: the standard object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return std_->GetTypeInfoCount(n); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return std_->GetTypeInfo(i, l, t); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
        return std_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                     UINT* a) override {
        return std_->Invoke(d, r, l, f, p, v, e, a);
    }

    // IAccessible: the control's own answers for itself, the standard ones for the rest.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        TAccessibleSource* s = SourceOf(window_);
        if (!s || !IsSelf(child) || !role) return std_->get_accRole(child, role);
        const long r = s->AccessibleInfo().Role;
        if (r == 0) return std_->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = r;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        TAccessibleSource* s = SourceOf(window_);
        if (!s || !IsSelf(child)) return std_->get_accName(child, name);
        const String n = s->AccessibleInfo().Name;
        return n.empty() ? std_->get_accName(child, name) : ReturnString(n, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        TAccessibleSource* s = SourceOf(window_);
        if (!s || !IsSelf(child)) return std_->get_accValue(child, value);
        const String v = s->AccessibleInfo().Value;
        if (v.empty()) return std_->get_accValue(child, value);
        return ReturnString(v, value);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        HRESULT hr = std_->get_accState(child, state);
        TAccessibleSource* s = SourceOf(window_);
        if (s && IsSelf(child) && state) {
            if (FAILED(hr) || state->vt != VT_I4) {
                state->vt = VT_I4;
                state->lVal = 0;
                hr = S_OK;
            }
            state->lVal |= s->AccessibleInfo().State;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return std_->get_accParent(p); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override { return std_->get_accChildCount(n); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override { return std_->get_accChild(c, d); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override { return std_->get_accDescription(c, d); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return std_->get_accHelp(c, h); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
        return std_->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
        return std_->get_accKeyboardShortcut(c, k);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* c) override { return std_->get_accFocus(c); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override { return std_->get_accSelection(c); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
        return std_->get_accDefaultAction(c, a);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override { return std_->accSelect(f, c); }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT c) override {
        return std_->accLocation(x, y, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override { return std_->accNavigate(d, s, e); }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override { return std_->accHitTest(x, y, c); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return std_->accDoDefaultAction(c); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return std_->put_accName(c, n); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return std_->put_accValue(c, v); }

private:
    LONG refs_ = 1;
    HWND window_;
    IAccessible* std_;
};

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(::CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&standard))) ||
        !standard)
        return 0;
    auto* object = new TControlAccessible(window, standard);
    const LRESULT result = ::LresultFromObject(IID_IAccessible, wParam, object);
    object->Release();  // LresultFromObject holds its own reference
    return result;
}

}  // namespace fn
