#pragma once
// RAII owners of GDI objects and device contexts, and guards for the state of a device context.
#include <windows.h>

#include <utility>

namespace fn {

// Owner of one GDI object (bitmap, region, brush, pen, font), deleted with DeleteObject. The
// object must not be selected into a device context when the owner lets it go.
template <class Handle>
class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(Handle handle) : handle_(handle) {}
    ~TGdiObject() { Reset(); }
    TGdiObject(TGdiObject&& other) noexcept : handle_(other.Release()) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle Release() { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr) {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using TBitmapHandle = TGdiObject<HBITMAP>;
using TRegionHandle = TGdiObject<HRGN>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TPenHandle = TGdiObject<HPEN>;
using TFontHandle = TGdiObject<HFONT>;

// A device context made by CreateCompatibleDC or CreateDC, deleted with DeleteDC.
class TOwnedDC {
public:
    TOwnedDC() = default;
    explicit TOwnedDC(HDC dc) : dc_(dc) {}
    ~TOwnedDC() { Reset(); }
    TOwnedDC(TOwnedDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    TOwnedDC& operator=(TOwnedDC&& other) noexcept {
        if (this != &other) {
            Reset();
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    TOwnedDC(const TOwnedDC&) = delete;
    TOwnedDC& operator=(const TOwnedDC&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset() {
        if (dc_) DeleteDC(dc_);
        dc_ = nullptr;
    }

private:
    HDC dc_ = nullptr;
};

// A memory device context compatible with the given one (the screen when none).
class TMemoryDC : public TOwnedDC {
public:
    explicit TMemoryDC(HDC compatible = nullptr) : TOwnedDC(CreateCompatibleDC(compatible)) {}
};

// The device context of a window (its client area, or the whole window), released on destruction.
// A null window gives the screen's context.
class TWindowDC {
public:
    explicit TWindowDC(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ~TWindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and selects the previous one back on destruction.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~TSelectObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Saves the drawing state of a device context (SaveDC) and restores it on destruction.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~TSavedDC() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

}  // namespace fn
