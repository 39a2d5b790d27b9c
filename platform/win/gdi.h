#pragma once
// RAII owners of GDI objects and device contexts, and guards for the state of a device context.
#include <windows.h>

#include <utility>

#include "platform/win/owned_handle.h"

namespace fn {

template <class Handle>
constexpr TLiveKind GdiKind();
template <> constexpr TLiveKind GdiKind<HBITMAP>() { return TLiveKind::Bitmap; }
template <> constexpr TLiveKind GdiKind<HRGN>() { return TLiveKind::Region; }
template <> constexpr TLiveKind GdiKind<HBRUSH>() { return TLiveKind::Brush; }
template <> constexpr TLiveKind GdiKind<HPEN>() { return TLiveKind::Pen; }
template <> constexpr TLiveKind GdiKind<HFONT>() { return TLiveKind::Font; }

// Owner of one GDI object (bitmap, region, brush, pen, font), deleted with DeleteObject. The
// object must not be selected into a device context when the owner lets it go.
template <class Handle>
using TGdiObject = TOwnedHandle<Handle, TClosedBy<::DeleteObject, GdiKind<Handle>()>>;

using TBitmapHandle = TGdiObject<HBITMAP>;
using TRegionHandle = TGdiObject<HRGN>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TPenHandle = TGdiObject<HPEN>;
using TFontHandle = TGdiObject<HFONT>;

// A device context made by CreateCompatibleDC or CreateDC, deleted with DeleteDC.
using TOwnedDC = TOwnedHandle<HDC, TClosedBy<::DeleteDC, TLiveKind::OwnedDC>>;

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
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {
        if (dc_) CountLive(TLiveKind::WindowDC);
    }
    ~TWindowDC() {
        if (!dc_) return;
        ReleaseDC(window_, dc_);
        CountGone(TLiveKind::WindowDC);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The painting of a window's invalid area for one WM_PAINT: BeginPaint on creation, EndPaint on
// destruction.
class TPaintDC {
public:
    explicit TPaintDC(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    ~TPaintDC() { ::EndPaint(window_, &paint_); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
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
