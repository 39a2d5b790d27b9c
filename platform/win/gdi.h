#pragma once
// RAII owners of GDI objects and device contexts, and guards for the state of a device context.
#include <windows.h>

#include <utility>

#include "platform/core/live_counts.h"

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
class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(Handle handle) : handle_(handle) { if (handle_) CountLive(GdiKind<Handle>()); }
    ~TGdiObject() { Reset(); }
    TGdiObject(TGdiObject&& other) noexcept : TGdiObject(other.Release()) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Hands the object over (to the system, or to another owner): no longer counted here.
    Handle Release() {
        if (handle_) CountGone(GdiKind<Handle>());
        return std::exchange(handle_, nullptr);
    }
    void Reset(Handle handle = nullptr) {
        if (handle == handle_) return;
        if (handle_) {
            DeleteObject(handle_);
            CountGone(GdiKind<Handle>());
        }
        handle_ = handle;
        if (handle_) CountLive(GdiKind<Handle>());
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
    explicit TOwnedDC(HDC dc) : dc_(dc) { if (dc_) CountLive(TLiveKind::OwnedDC); }
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
        if (dc_) {
            DeleteDC(dc_);
            CountGone(TLiveKind::OwnedDC);
        }
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
