// Copying platform bitmaps into the 24-bit buffers and drawing the buffers.
#include <windows.h>

#include "platform/win/gdi.h"
#include "platform/win/graphics.h"
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
    const SIZE size = BitmapSize(bitmap);
    Allocate(size.cx, size.cy);
    if (Empty()) return;
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
