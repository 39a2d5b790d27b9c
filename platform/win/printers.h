#pragma once
// The printer: the device settings chosen in the print and printer-setup dialogs (shared by
// both), and a print job on that device with its pages.
#include <windows.h>

#include "platform/core/exceptions.h"
#include "platform/win/gdi.h"

namespace fn {

class EPrinter : public Exception { using Exception::Exception; };

// A movable global memory block (the dialogs' DEVMODE and DEVNAMES), freed on destruction.
class GlobalHandle {
public:
    GlobalHandle() = default;
    explicit GlobalHandle(HGLOBAL h) : handle_(h) {}
    ~GlobalHandle() { reset(); }
    GlobalHandle(GlobalHandle&& o) noexcept : handle_(o.release()) {}
    GlobalHandle& operator=(GlobalHandle&& o) noexcept { if (this != &o) reset(o.release()); return *this; }
    HGLOBAL get() const { return handle_; }
    HGLOBAL release() { HGLOBAL h = handle_; handle_ = nullptr; return h; }
    void reset(HGLOBAL h = nullptr) { if (handle_) ::GlobalFree(handle_); handle_ = h; }
    // A new block with the same bytes as h, owned by the caller (null for null).
    static HGLOBAL Duplicate(HGLOBAL h);

private:
    HGLOBAL handle_ = nullptr;
};

class TPrinter {
public:
    TPrinter() = default;
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The device settings; empty until a dialog confirmed a printer (then the default printer).
    HGLOBAL DevMode() const { return devMode_.get(); }
    HGLOBAL DevNames() const { return devNames_.get(); }
    // Takes over the blocks a dialog returned.
    void SetDevice(GlobalHandle devMode, GlobalHandle devNames);

    // A print job titled title on the chosen (or default) printer; EPrinter when none exists
    // or the job cannot start.
    void BeginDoc(const String& title);
    void NewPage();
    void EndDoc();
    // Ends the job without finishing it (after a failure while printing).
    void Abort();
    bool Printing() const { return bool(dc_); }
    // The printer's device context while printing.
    HDC Handle() const { return dc_.Get(); }

private:
    void EnsureDevice();
    HDC CreateDeviceContext() const;
    void ReleaseDC();

    GlobalHandle devMode_, devNames_;
    TOwnedDC dc_;
    bool pageOpen_ = false;
};

TPrinter* Printer();

}  // namespace fn
