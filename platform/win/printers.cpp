#include "platform/win/printers.h"

#include <commdlg.h>

#include <cstring>

namespace fn {

namespace {
const wchar_t kNoPrinter[] = L"Es ist kein Drucker verfügbar";
const wchar_t kPrintError[] = L"Fehler beim Drucken";
}  // namespace

HGLOBAL GlobalHandle::Duplicate(HGLOBAL h) {
    if (!h) return nullptr;
    SIZE_T size = ::GlobalSize(h);
    GlobalHandle copy(::GlobalAlloc(GMEM_MOVEABLE, size));
    void* from = ::GlobalLock(h);
    void* to = copy.get() ? ::GlobalLock(copy.get()) : nullptr;
    if (from && to) std::memcpy(to, from, size);
    if (to) ::GlobalUnlock(copy.get());
    if (from) ::GlobalUnlock(h);
    return from && to ? copy.release() : nullptr;
}

TPrinter* Printer() {
    static TPrinter printer;
    return &printer;
}

TPrinter::~TPrinter() { ReleaseDC(); }

void TPrinter::SetDevice(GlobalHandle devMode, GlobalHandle devNames) {
    devMode_ = std::move(devMode);
    devNames_ = std::move(devNames);
}

void TPrinter::EnsureDevice() {
    if (devNames_.get()) return;
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT;
    if (!::PrintDlgW(&pd)) throw EPrinter(kNoPrinter);
    SetDevice(GlobalHandle(pd.hDevMode), GlobalHandle(pd.hDevNames));
}

HDC TPrinter::CreateDeviceContext() const {
    auto* names = static_cast<const DEVNAMES*>(::GlobalLock(devNames_.get()));
    if (!names) return nullptr;
    auto* base = reinterpret_cast<const wchar_t*>(names);
    auto* mode = devMode_.get() ? static_cast<const DEVMODEW*>(::GlobalLock(devMode_.get())) : nullptr;
    HDC dc = ::CreateDCW(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode) ::GlobalUnlock(devMode_.get());
    ::GlobalUnlock(devNames_.get());
    return dc;
}

void TPrinter::BeginDoc(const String& title) {
    if (dc_) throw EPrinter(L"Es wird bereits gedruckt");
    EnsureDevice();
    dc_ = TOwnedDC(CreateDeviceContext());
    if (!dc_) throw EPrinter(kNoPrinter);
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = title.c_str();
    if (::StartDocW(dc_.Get(), &doc) <= 0) {
        ReleaseDC();
        throw EPrinter(kPrintError);
    }
    if (::StartPage(dc_.Get()) <= 0) {
        Abort();
        throw EPrinter(kPrintError);
    }
    pageOpen_ = true;
}

void TPrinter::NewPage() {
    if (!dc_) return;
    bool ok = ::EndPage(dc_.Get()) > 0;
    pageOpen_ = false;
    if (ok) ok = ::StartPage(dc_.Get()) > 0;
    if (!ok) {
        Abort();
        throw EPrinter(kPrintError);
    }
    pageOpen_ = true;
}

void TPrinter::EndDoc() {
    if (!dc_) return;
    bool ok = !pageOpen_ || ::EndPage(dc_.Get()) > 0;
    pageOpen_ = false;
    ok = ::EndDoc(dc_.Get()) > 0 && ok;
    ReleaseDC();
    if (!ok) throw EPrinter(kPrintError);
}

void TPrinter::Abort() {
    if (!dc_) return;
    ::AbortDoc(dc_.Get());
    pageOpen_ = false;
    ReleaseDC();
}

void TPrinter::ReleaseDC() { dc_.Reset(); }

}  // namespace fn
