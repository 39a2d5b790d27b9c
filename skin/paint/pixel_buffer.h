#pragma once
// 24-bit pixel buffers: rows from top to bottom, 3 bytes per pixel in blue, green, red order,
// each row padded to a multiple of 4 bytes (the platform's device-independent bitmap layout).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// Platform handles, declared without the platform headers.
struct HBITMAP__;
struct HDC__;

namespace fn {

class TPixelBuffer {
public:
    TPixelBuffer() = default;
    // A zero-filled buffer; a negative size counts as 0.
    TPixelBuffer(int width, int height);
    // A moved-from buffer is empty.
    TPixelBuffer(TPixelBuffer&& other) noexcept { *this = std::move(other); }
    TPixelBuffer& operator=(TPixelBuffer&& other) noexcept;
    TPixelBuffer(const TPixelBuffer&) = delete;
    TPixelBuffer& operator=(const TPixelBuffer&) = delete;

    int Width = 0;
    int Height = 0;
    int RowPadding = 0;  // Width mod 4
    int RowStride = 0;   // 3 * Width + RowPadding
    int ByteSize = 0;    // RowStride * Height
    uint8_t* Bits = nullptr;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    uint8_t* RowPointer(int y) { return Bits + static_cast<ptrdiff_t>(y) * RowStride; }
    const uint8_t* RowPointer(int y) const { return Bits + static_cast<ptrdiff_t>(y) * RowStride; }
    uint8_t* PixelPointer(int x, int y) { return RowPointer(y) + 3 * x; }
    const uint8_t* PixelPointer(int x, int y) const { return RowPointer(y) + 3 * x; }

#ifdef _WIN32
    // Replaces the content by the pixels of a platform bitmap (its size, 24 bits, top-down).
    void LoadFromBitmap(HBITMAP__* bitmap);
    // Blits the whole buffer to (x, y) of a device context.
    void DrawTo(HDC__* dc, int x, int y) const;
#endif

protected:
    void Allocate(int width, int height);

private:
    std::unique_ptr<uint8_t[]> memory_;
};

// Read-only snapshot of a bitmap with a row table for direct pixel access (the mask scan's input).
class TmnFBitmap : public TPixelBuffer {
public:
    TmnFBitmap() = default;
    TmnFBitmap(int width, int height);
#ifdef _WIN32
    explicit TmnFBitmap(HBITMAP__* bitmap);
#endif
    std::vector<uint8_t*> Rows;  // Rows[y] == Bits + y * RowStride

private:
    void BuildRows();
};

}  // namespace fn
