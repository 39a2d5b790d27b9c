#pragma once
// The platform's bitmap reader and writer for Windows BMP files, portable (no <windows.h>):
// 1, 4, 8, 16, 24 and 32 bits per pixel; core (12-byte) and info headers (40 bytes and the
// larger V4/V5 forms); bit-field masks; colour tables; run-length compression (RLE8, RLE4);
// top-down and bottom-up rows. The decoded picture is held as 32-bit pixels; the source
// depth and colour table are kept so a picture is written back in the same depth.
//
// Reading follows the stored-skin archive's reading rule: it consumes the file header, the
// info header, the bit-field masks (40-byte header, compression 3), the colour table (the
// header's colour count, else 2, 16 or 256 entries for 1, 4, 8 bits) and the pixel rows (the
// header's image size, else the padded rows times the height, never more than the bytes that
// remain; a run-length-compressed picture takes all remaining bytes). The file header's size
// and offset fields are not used.
//
// Untrusted input: a type other than "BM", planes other than 1, unknown depths or
// compressions, zero, overlapping or non-contiguous masks, a colour table past the end, absurd
// dimensions, and rows shorter than the picture raise EInvalidGraphic ("Bitmap ist ungültig");
// headers cut short raise EReadError ("Stream-Lesefehler"). Memory is never allocated beyond
// what the bytes present can describe.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/raw_buffer.h"
#include "platform/core/streams.h"

namespace fn {

struct TBitmapData {
    int Width = 0;
    int Height = 0;
    // Depth of the source (1, 4, 8, 16, 24, 32); 0 for an empty bitmap.
    int BitsPerPixel = 0;
    // The source's colour table for 1, 4 and 8 bits per pixel, entries 0x00RRGGBB.
    std::vector<uint32_t> Palette;
    // Width * Height pixels, top-down rows, each 0xAARRGGBB (so the bytes in memory are
    // blue, green, red, alpha, as in a 32-bit DIB). Alpha is the fourth byte of 32-bit sources,
    // 0 for all others.
    RawVector<uint32_t> Pixels;

    bool Empty() const { return Width <= 0 || Height <= 0; }
    void Clear() { *this = TBitmapData(); }
    // A blank picture of the size (every pixel 0), BitsPerPixel 24.
    void SetSize(int width, int height);
    uint32_t Pixel(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
    void SetPixel(int x, int y, uint32_t rgb) { Pixels[static_cast<size_t>(y) * Width + x] = rgb; }

    // Reads one BMP at the stream's position and leaves the position after it.
    void LoadFromStream(TStream& stream);
    // Writes one complete BMP (file header, info header, colour table, bottom-up rows).
    // Depth: the source depth of 1, 4 or 8 bits when every pixel's colour is in Palette,
    // 32 bits for a 32-bit source, else 24 bits.
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const String& path);
    void SaveToFile(const String& path) const;

    // Pixel-equal: the same size and pixels (any two empty bitmaps are equal).
    friend bool operator==(const TBitmapData& a, const TBitmapData& b) {
        if (a.Empty() || b.Empty()) return a.Empty() && b.Empty();
        return a.Width == b.Width && a.Height == b.Height && a.Pixels == b.Pixels;
    }
};

// One BMP read up to its pixel rows: the headers are checked and the colour table read as
// TBitmapData::LoadFromStream does (raising the same errors), the stream is left after the
// picture, and the rows are located but not yet decoded, so a reader can decode them once it
// knows where they go. Decoding cannot fail. The rows of a memory or bytes stream stay in that
// stream's storage, which must outlive this; those of any other stream are copied.
class TBitmapRows {
public:
    TBitmapRows();  // no picture: decodes to the empty bitmap
    explicit TBitmapRows(TStream& stream);
    TBitmapRows(TBitmapRows&&) noexcept;
    TBitmapRows& operator=(TBitmapRows&&) noexcept;
    ~TBitmapRows();

    int Width() const;
    int Height() const;
    bool Empty() const;
    int BitsPerPixel() const;
    const std::vector<uint32_t>& Palette() const;
    // Run-length-compressed rows decode only whole (a run may jump over rows).
    bool RunLength() const;
    // The picture as LoadFromStream gives it.
    void Decode(TBitmapData& out) const;
    // Each row of an uncompressed picture decoded in turn into one buffer of Width() pixels,
    // valid during the call; y counts from the top. Nothing for run-length or empty pictures.
    void ForEachRow(const std::function<void(int y, const uint32_t* row)>& visit) const;

private:
    struct Layout;
    std::unique_ptr<Layout> layout_;
};

// Upper bounds the reader enforces whatever the header says.
inline constexpr int MaxBitmapDimension = 65535;
inline constexpr int64_t MaxBitmapPixels = int64_t(1) << 26;  // 64 Mi pixels, 256 MiB decoded

// 0x00RRGGBB pixel to the platform colour encoding (red in the low byte) and back.
inline int32_t PixelToColor(uint32_t px) {
    return static_cast<int32_t>(((px >> 16) & 0xFF) | (px & 0xFF00) | ((px & 0xFF) << 16));
}
inline uint32_t ColorToPixel(int32_t color) {
    uint32_t c = static_cast<uint32_t>(color);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace fn
