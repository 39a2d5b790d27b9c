// Copying platform bitmaps into the 24-bit buffers and drawing the buffers.
#include <windows.h>

#include <cstring>

#include "platform/win/gdi.h"
#include "skin/paint/effects.h"
#include "skin/paint/pixel_buffer.h"

namespace fn {

namespace {

BITMAPINFO InfoFor(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // row 0 is the top row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

void TPixelBuffer::LoadFromBitmap(HBITMAP bitmap) {
    DIBSECTION dib{};
    const int got = bitmap ? GetObjectW(bitmap, sizeof dib, &dib) : 0;
    if (got < static_cast<int>(sizeof(BITMAP))) {
        Allocate(0, 0);
        return;
    }
    Allocate(dib.dsBm.bmWidth, dib.dsBm.bmHeight);
    if (Empty()) return;
    // A 24-bit section is read directly; anything else is converted by the platform.
    if (got == sizeof dib && dib.dsBm.bmBits && dib.dsBmih.biBitCount == 24 && dib.dsBmih.biCompression == BI_RGB) {
        GdiFlush();
        const auto* source = static_cast<const uint8_t*>(dib.dsBm.bmBits);
        const bool topDown = dib.dsBmih.biHeight < 0;
        for (int y = 0; y < Height; ++y)
            std::memcpy(RowPointer(y), source + static_cast<ptrdiff_t>(topDown ? y : Height - 1 - y) * RowStride,
                        static_cast<size_t>(RowStride));
        return;
    }
    BITMAPINFO info = InfoFor(Width, Height);
    TWindowDC screen(nullptr);
    GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(Height), Bits, &info, DIB_RGB_COLORS);
}

void TPixelBuffer::DrawTo(HDC dc, int x, int y) const {
    if (Empty()) return;
    BITMAPINFO info = InfoFor(Width, Height);
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(Width), static_cast<DWORD>(Height), 0, 0, 0,
                      static_cast<UINT>(Height), Bits, &info, DIB_RGB_COLORS);
}

TmnFBitmap::TmnFBitmap(HBITMAP bitmap) {
    LoadFromBitmap(bitmap);
    BuildRows();
}

TmnEffectBmp TmnEffectBmp::CreateFromBitmap(HBITMAP bitmap) {
    TmnEffectBmp result;
    result.LoadFromBitmap(bitmap);
    return result;
}

}  // namespace fn
