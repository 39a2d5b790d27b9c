#include "platform/win/accessible.h"

#include <oleacc.h>

#include "platform/win/controls.h"

namespace fn {

namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT ReturnString(const String& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

TAccessibleSource* ControlSourceOf(HWND window) {
    return dynamic_cast<TAccessibleSource*>(TWinControl::FromHandle(window));
}

// The standard client object of the window with the role, name, value and state of the
// source put over it, and the source's children (if it has any) answered as simple elements.
class TWindowAccessible final : public IAccessible {
public:
    // standard: the system's object for the window, or null where the system has none.
    TWindowAccessible(HWND window, IAccessible* standard, TAccessibleSourceOf sourceOf)
        : window_(window), std_(standard), sourceOf_(sourceOf) {}
    ~TWindowAccessible() {
        if (std_) std_->Release();
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
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
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (std_) return std_->GetTypeInfoCount(n);
        if (!n) return E_POINTER;
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return std_ ? std_->GetTypeInfo(i, l, t) : Fallback(); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
        return std_ ? std_->GetIDsOfNames(r, n, c, l, d) : Fallback();
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                     UINT* a) override {
        return std_ ? std_->Invoke(d, r, l, f, p, v, e, a) : Fallback();
    }

    // IAccessible: the source's own answers for itself and its children, the standard ones for
    // the rest.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        long r = 0;
        if (TAccessibleSource* s = Source(); s && role) {
            if (IsSelf(child)) r = s->AccessibleInfo().Role;
            else if (const int i = ChildIndex(s, child); i >= 0) r = s->AccessibleChild(i).Role;
        }
        if (r == 0) return std_ ? std_->get_accRole(child, role) : Fallback();
        role->vt = VT_I4;
        role->lVal = r;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        String n;
        if (TAccessibleSource* s = Source()) {
            if (IsSelf(child)) n = s->AccessibleInfo().Name;
            else if (const int i = ChildIndex(s, child); i >= 0) return ReturnString(s->AccessibleChild(i).Name, name);
        }
        if (n.empty()) return std_ ? std_->get_accName(child, name) : Fallback();
        return ReturnString(n, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        String v;
        if (TAccessibleSource* s = Source()) {
            if (IsSelf(child)) v = s->AccessibleInfo().Value;
            else if (const int i = ChildIndex(s, child); i >= 0) v = s->AccessibleChild(i).Value;
        }
        if (v.empty()) return std_ ? std_->get_accValue(child, value) : Fallback();
        return ReturnString(v, value);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        TAccessibleSource* s = Source();
        if (s && state) {
            if (const int i = ChildIndex(s, child); i >= 0) {
                state->vt = VT_I4;
                state->lVal = s->AccessibleChild(i).State;
                return S_OK;
            }
        }
        HRESULT hr = std_ ? std_->get_accState(child, state) : Fallback();
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
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return std_ ? std_->get_accParent(p) : Fallback(); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override {
        if (!n) return E_POINTER;
        if (TAccessibleSource* s = Source(); s && s->AccessibleChildCount() > 0) {
            *n = s->AccessibleChildCount();
            return S_OK;
        }
        if (std_) return std_->get_accChildCount(n);
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override {
        if (TAccessibleSource* s = Source(); s && ChildIndex(s, c) >= 0) {
            // A simple element: it has no object of its own, the parent answers for it.
            if (!d) return E_POINTER;
            *d = nullptr;
            return S_FALSE;
        }
        return std_ ? std_->get_accChild(c, d) : Fallback();
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override { return std_ ? std_->get_accDescription(c, d) : Fallback(); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return std_ ? std_->get_accHelp(c, h) : Fallback(); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
        return std_ ? std_->get_accHelpTopic(f, c, t) : Fallback();
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
        return std_ ? std_->get_accKeyboardShortcut(c, k) : Fallback();
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* c) override {
        if (TAccessibleSource* s = Source(); s && c) {
            for (int i = 0, n = s->AccessibleChildCount(); i < n; ++i) {
                if (s->AccessibleChild(i).State & STATE_SYSTEM_FOCUSED) {
                    c->vt = VT_I4;
                    c->lVal = i + 1;
                    return S_OK;
                }
            }
        }
        return std_ ? std_->get_accFocus(c) : Fallback();
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override { return std_ ? std_->get_accSelection(c) : Fallback(); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
        return std_ ? std_->get_accDefaultAction(c, a) : Fallback();
    }
    HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override { return std_ ? std_->accSelect(f, c) : Fallback(); }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT c) override {
        if (TAccessibleSource* s = Source(); s && x && y && w && h) {
            if (const int i = ChildIndex(s, c); i >= 0) {
                const RECT r = s->AccessibleChild(i).Bounds;
                if (r.right <= r.left || r.bottom <= r.top) return S_FALSE;
                *x = r.left;
                *y = r.top;
                *w = r.right - r.left;
                *h = r.bottom - r.top;
                return S_OK;
            }
        }
        if (std_) return std_->accLocation(x, y, w, h, c);
        RECT r;
        if (!x || !y || !w || !h || !IsSelf(c) || !::GetWindowRect(window_, &r)) return E_INVALIDARG;
        *x = r.left;
        *y = r.top;
        *w = r.right - r.left;
        *h = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override { return std_ ? std_->accNavigate(d, s, e) : Fallback(); }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override { return std_ ? std_->accHitTest(x, y, c) : Fallback(); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return std_ ? std_->accDoDefaultAction(c) : Fallback(); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return std_ ? std_->put_accName(c, n) : Fallback(); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return std_ ? std_->put_accValue(c, v) : Fallback(); }

private:
    static HRESULT Fallback() { return DISP_E_MEMBERNOTFOUND; }
    TAccessibleSource* Source() const { return ::IsWindow(window_) && sourceOf_ ? sourceOf_(window_) : nullptr; }
    // The index of one of the source's children, or -1 (self, another kind of id, out of range).
    static int ChildIndex(TAccessibleSource* s, const VARIANT& child) {
        if (child.vt != VT_I4 || child.lVal <= 0 || child.lVal > s->AccessibleChildCount()) return -1;
        return static_cast<int>(child.lVal) - 1;
    }

    LONG refs_ = 1;
    HWND window_;
    IAccessible* std_;
    TAccessibleSourceOf sourceOf_;
};

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam, TAccessibleSourceOf sourceOf) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(::CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))))
        standard = nullptr;
    auto* object = new TWindowAccessible(window, standard, sourceOf);
    const LRESULT result = ::LresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();  // LresultFromObject holds its own reference
    return result;
}

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam) {
    return AnswerGetObject(window, wParam, lParam, &ControlSourceOf);
}

}  // namespace fn
