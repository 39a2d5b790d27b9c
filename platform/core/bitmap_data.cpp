#include "platform/core/bitmap_data.h"
#include "platform/core/library_texts.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <unordered_map>

namespace fn {

// Rows of 24 bits per pixel are read a word at a time, as the bytes lie in memory.
static_assert(std::endian::native == std::endian::little, "the pixel loops read little-endian words");

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic(texts::InvalidBitmap); }

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
void Put16(uint8_t* p, uint32_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
void Put32(uint8_t* p, uint32_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); p[3] = uint8_t(v >> 24); }

int64_t Remaining(TStream& s) {
    int64_t r = s.Size() - s.Position();
    return r < 0 ? 0 : r;
}

// One colour channel of a bit-field mask: value = (pixel & mask) >> shift, `bits` wide.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    void Set(uint32_t m) {
        mask = m;
        shift = 0;
        bits = 0;
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        while (shift + bits < 32 && ((m >> (shift + bits)) & 1)) ++bits;
    }
    bool Contiguous() const { return mask && (bits == 32 ? mask == 0xFFFFFFFFu : (mask >> shift) == ((1u << bits) - 1)); }
    // Scaled to 8 bits: shorter fields replicate their bits (5 bits: v << 3 | v >> 2).
    uint32_t Get(uint32_t px) const {
        uint32_t v = (px & mask) >> shift;
        if (bits >= 8) return v >> (bits - 8);
        uint32_t out = 0;
        int filled = 0;
        while (filled < 8) {
            int sh = 8 - filled - bits;
            out |= sh >= 0 ? v << sh : v >> -sh;
            filled += bits;
        }
        return out & 0xFF;
    }
};

struct Header {
    bool core = false;
    uint32_t headerSize = 0;
    int64_t width = 0, height = 0;
    uint32_t planes = 0, bpp = 0, compression = 0, sizeImage = 0, clrUsed = 0;
    uint32_t masks[3] = {0, 0, 0};
    bool masksInHeader = false;
};

void DecodeRle(const uint8_t* p, size_t n, bool rle4, int w, int h, const std::vector<uint32_t>& pal,
               RawVector<uint32_t>& px) {
    auto color = [&](uint32_t idx) { return idx < pal.size() ? pal[idx] : 0u; };
    int64_t x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](uint32_t idx) {
        if (x < w && y < h) px[static_cast<size_t>(h - 1 - y) * w + static_cast<size_t>(x)] = color(idx);
        ++x;
    };
    size_t i = 0;
    while (i + 1 < n && y < h) {
        uint8_t count = p[i], value = p[i + 1];
        i += 2;
        if (count > 0) {
            if (x >= w) continue;
            for (int k = 0; k < count && x < w; ++k) put(rle4 ? ((k & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) { x = 0; ++y; continue; }   // end of line
        if (value == 1) break;                       // end of bitmap
        if (value == 2) {                            // delta
            if (i + 1 >= n) break;
            x += p[i];
            y += p[i + 1];
            i += 2;
            continue;
        }
        // Absolute run of `value` pixels, padded to a 16-bit boundary.
        size_t bytes = rle4 ? (value + 1u) / 2u : value;
        size_t avail = std::min(bytes, n - i);
        for (int k = 0; k < value; ++k) {
            size_t b = rle4 ? static_cast<size_t>(k / 2) : static_cast<size_t>(k);
            if (b >= avail) break;
            put(rle4 ? ((k & 1) ? p[i + b] & 0x0F : p[i + b] >> 4) : p[i + b]);
        }
        i += bytes + (bytes & 1);
    }
}

}  // namespace

void TBitmapData::SetSize(int width, int height) {
    if (width < 0 || height < 0 || width > MaxBitmapDimension || height > MaxBitmapDimension ||
        int64_t(width) * height > MaxBitmapPixels)
        Invalid();
    Width = width;
    Height = height;
    BitsPerPixel = 24;
    Palette.clear();
    Pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

void TBitmapData::LoadFromStream(TStream& stream) {
    uint8_t fh[14];
    stream.ReadBuffer(fh, sizeof fh);
    if (fh[0] != 'B' || fh[1] != 'M') Invalid();

    Header h;
    uint8_t sz[4];
    stream.ReadBuffer(sz, 4);
    h.headerSize = U32(sz);
    if (h.headerSize == 12) {
        uint8_t b[8];
        stream.ReadBuffer(b, 8);
        h.core = true;
        h.width = U16(b);
        h.height = U16(b + 2);
        h.planes = U16(b + 4);
        h.bpp = U16(b + 6);
    } else if (h.headerSize >= 16 && h.headerSize <= 1024) {
        if (Remaining(stream) < int64_t(h.headerSize) - 4) throw EReadError(texts::ReadError);
        uint8_t b[1024];  // only the fields the header's size covers are read below
        stream.ReadBuffer(b + 4, h.headerSize - 4);
        h.width = static_cast<int32_t>(U32(&b[4]));
        h.height = static_cast<int32_t>(U32(&b[8]));
        h.planes = U16(&b[12]);
        h.bpp = U16(&b[14]);
        if (h.headerSize >= 20) h.compression = U32(&b[16]);
        if (h.headerSize >= 24) h.sizeImage = U32(&b[20]);
        if (h.headerSize >= 36) h.clrUsed = U32(&b[32]);
        if (h.headerSize >= 52) {
            h.masksInHeader = true;
            for (int k = 0; k < 3; ++k) h.masks[k] = U32(&b[40 + 4 * k]);
        }
    } else {
        Invalid();
    }

    if (h.planes != 1) Invalid();
    const uint32_t bpp = h.bpp;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) Invalid();
    const bool rle8 = h.compression == 1, rle4 = h.compression == 2, fields = h.compression == 3;
    if (h.compression > 3 || (rle8 && bpp != 8) || (rle4 && bpp != 4) || (fields && bpp != 16 && bpp != 32)) Invalid();
    const bool topDown = h.height < 0;
    const int64_t width = h.width, height = topDown ? -h.height : h.height;
    if (width < 0 || width > MaxBitmapDimension || height > MaxBitmapDimension) Invalid();
    if (width * height > MaxBitmapPixels) Invalid();
    if (topDown && (rle8 || rle4)) Invalid();

    // Bit-field masks follow a 40-byte header; larger headers hold them.
    Channel ch[3];
    if (fields) {
        if (!h.masksInHeader) {
            uint8_t m[12];
            stream.ReadBuffer(m, 12);
            for (int k = 0; k < 3; ++k) h.masks[k] = U32(m + 4 * k);
        }
        for (int k = 0; k < 3; ++k) {
            ch[k].Set(h.masks[k]);
            if (!ch[k].Contiguous()) Invalid();  // also zero masks
            if (bpp == 16 && h.masks[k] > 0xFFFF) Invalid();
        }
        if ((h.masks[0] & h.masks[1]) || (h.masks[0] & h.masks[2]) || (h.masks[1] & h.masks[2])) Invalid();
    } else if (bpp == 16) {
        ch[0].Set(0x7C00);
        ch[1].Set(0x03E0);
        ch[2].Set(0x001F);
    }

    // Colour table.
    uint64_t colours = h.core ? (bpp <= 8 ? 1u << bpp : 0) : (h.clrUsed ? h.clrUsed : (bpp <= 8 ? 1u << bpp : 0));
    const uint64_t entry = h.core ? 3 : 4;
    if (colours * entry > static_cast<uint64_t>(Remaining(stream))) Invalid();
    std::vector<uint8_t> table(static_cast<size_t>(colours * entry));
    if (!table.empty()) stream.ReadBuffer(table.data(), table.size());
    std::vector<uint32_t> palette;
    // Every index a row can hold maps to a colour: the table's, then black past its end.
    uint32_t lut[256] = {};
    if (bpp <= 8) {
        size_t used = static_cast<size_t>(std::min<uint64_t>(colours, 1u << bpp));
        palette.resize(used);
        for (size_t i = 0; i < used; ++i) {
            const uint8_t* e = &table[i * entry];
            lut[i] = palette[i] = uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
        }
    }

    const int w = static_cast<int>(width), hgt = static_cast<int>(height);
    RawVector<uint32_t> pixels;
    if (rle8 || rle4) {
        // Takes all remaining bytes. The picture's size must be one the bytes can describe.
        int64_t rest = Remaining(stream);
        if (width * height > 1024 * (rest + 64)) Invalid();
        std::vector<uint8_t> data(static_cast<size_t>(rest));
        if (!data.empty()) stream.ReadBuffer(data.data(), data.size());
        pixels.assign(static_cast<size_t>(width * height), palette.empty() ? 0u : palette[0]);
        DecodeRle(data.data(), data.size(), rle4, w, hgt, palette, pixels);
    } else {
        const int64_t stride = (width * bpp + 31) / 32 * 4;
        const int64_t needed = stride * height;
        int64_t take = h.sizeImage ? int64_t(h.sizeImage) : needed;
        take = std::min(take, Remaining(stream));
        // Rows straight from a memory stream's bytes; other streams through a buffer.
        std::vector<uint8_t> buffer;
        const uint8_t* rows = nullptr;
        if (auto* mem = dynamic_cast<TMemoryStream*>(&stream)) {
            rows = mem->Memory() + mem->Position();
            mem->Seek(take, SeekOrigin::Current);
        } else {
            buffer.resize(static_cast<size_t>(take));
            if (!buffer.empty()) stream.ReadBuffer(buffer.data(), buffer.size());
            rows = buffer.data();
        }
        if (take < needed) Invalid();  // rows cut short
        pixels.resize(static_cast<size_t>(width * height));  // every pixel is written below
        for (int64_t fy = 0; fy < height; ++fy) {
            const uint8_t* row = rows + fy * stride;
            uint32_t* out = pixels.data() + (topDown ? fy : height - 1 - fy) * width;
            switch (bpp) {
                case 1: {
                    int x = 0;
                    for (; x + 8 <= w; x += 8) {  // a whole byte: eight pixels, high bit first
                        const uint32_t bits = row[x >> 3];
                        for (int k = 0; k < 8; ++k) out[x + k] = lut[(bits >> (7 - k)) & 1];
                    }
                    for (; x < w; ++x) out[x] = lut[(row[x >> 3] >> (7 - (x & 7))) & 1];
                    break;
                }
                case 4:
                    for (int x = 0; x < w; ++x) out[x] = lut[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
                    break;
                case 8:
                    for (int x = 0; x < w; ++x) out[x] = lut[row[x]];
                    break;
                case 16:
                    for (int x = 0; x < w; ++x) {
                        uint32_t v = U16(row + 2 * x);
                        out[x] = ch[0].Get(v) << 16 | ch[1].Get(v) << 8 | ch[2].Get(v);
                    }
                    break;
                case 24: {
                    int x = 0;
                    for (; x + 4 <= w; x += 4) {  // four pixels are three little-endian words
                        const uint8_t* p = row + 3 * x;
                        uint32_t a, b, c;  // the targets are little-endian: the words load as they lie
                        std::memcpy(&a, p, 4);
                        std::memcpy(&b, p + 4, 4);
                        std::memcpy(&c, p + 8, 4);
                        out[x] = a & 0xFFFFFF;
                        out[x + 1] = (a >> 24 | b << 8) & 0xFFFFFF;
                        out[x + 2] = (b >> 16 | c << 16) & 0xFFFFFF;
                        out[x + 3] = c >> 8;
                    }
                    for (; x < w; ++x) {
                        const uint8_t* p = row + 3 * x;
                        out[x] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
                    }
                    break;
                }
                case 32:
                    if (fields) {
                        for (int x = 0; x < w; ++x) {
                            uint32_t v = U32(row + 4 * x);
                            out[x] = ch[0].Get(v) << 16 | ch[1].Get(v) << 8 | ch[2].Get(v);
                        }
                    } else {
                        for (int x = 0; x < w; ++x) out[x] = U32(row + 4 * x);
                    }
                    break;
            }
        }
    }

    // A picture without pixels (width or height 0) is the empty bitmap.
    Width = w > 0 && hgt > 0 ? w : 0;
    Height = w > 0 && hgt > 0 ? hgt : 0;
    BitsPerPixel = static_cast<int>(bpp);
    Palette = std::move(palette);
    Pixels = std::move(pixels);
}

void TBitmapData::SaveToStream(TStream& stream) const {
    const int w = Width > 0 && Height > 0 ? Width : 0, h = Width > 0 && Height > 0 ? Height : 0;
    int bpp = BitsPerPixel == 32 ? 32 : 24;
    std::vector<uint8_t> indices;
    if ((BitsPerPixel == 1 || BitsPerPixel == 4 || BitsPerPixel == 8) && !Palette.empty() &&
        Palette.size() <= (1u << BitsPerPixel)) {
        std::unordered_map<uint32_t, uint8_t> index;
        for (size_t i = Palette.size(); i-- > 0;) index[Palette[i]] = static_cast<uint8_t>(i);  // first wins
        indices.resize(Pixels.size());
        bool all = true;
        uint32_t lastPx = 0;
        uint8_t lastIdx = 0;
        bool haveLast = false;
        for (size_t i = 0; i < Pixels.size() && all; ++i) {
            if (haveLast && Pixels[i] == lastPx) { indices[i] = lastIdx; continue; }
            auto it = index.find(Pixels[i]);
            if (it == index.end()) { all = false; break; }
            indices[i] = lastIdx = it->second;
            lastPx = Pixels[i];
            haveLast = true;
        }
        if (all) bpp = BitsPerPixel;
        else indices.clear();
    }
    const bool indexed = bpp <= 8;
    const size_t colours = indexed ? Palette.size() : 0;
    const size_t stride = (static_cast<size_t>(w) * bpp + 31) / 32 * 4;
    const size_t imageSize = stride * static_cast<size_t>(h);
    const size_t offset = 14 + 40 + colours * 4;
    std::vector<uint8_t> out(offset + imageSize, 0);
    uint8_t* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, static_cast<uint32_t>(out.size()));
    Put32(p + 10, static_cast<uint32_t>(offset));
    uint8_t* ih = p + 14;
    Put32(ih, 40);
    Put32(ih + 4, static_cast<uint32_t>(w));
    Put32(ih + 8, static_cast<uint32_t>(h));
    Put16(ih + 12, 1);
    Put16(ih + 14, static_cast<uint32_t>(bpp));
    Put32(ih + 20, static_cast<uint32_t>(imageSize));
    Put32(ih + 24, 2835);  // 72 dpi
    Put32(ih + 28, 2835);
    Put32(ih + 32, indexed && colours != (1u << bpp) ? static_cast<uint32_t>(colours) : 0);
    for (size_t i = 0; i < colours; ++i) Put32(p + 54 + 4 * i, Palette[i] & 0xFFFFFF);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = p + offset + static_cast<size_t>(h - 1 - y) * stride;  // bottom-up
        const size_t base = static_cast<size_t>(y) * w;
        switch (bpp) {
            case 1:
                for (int x = 0; x < w; ++x) row[x >> 3] |= static_cast<uint8_t>((indices[base + x] & 1) << (7 - (x & 7)));
                break;
            case 4:
                for (int x = 0; x < w; ++x) row[x >> 1] |= static_cast<uint8_t>((indices[base + x] & 0x0F) << ((x & 1) ? 0 : 4));
                break;
            case 8:
                for (int x = 0; x < w; ++x) row[x] = indices[base + x];
                break;
            case 24:
                for (int x = 0; x < w; ++x) {
                    uint32_t v = Pixels[base + x];
                    row[3 * x] = uint8_t(v);
                    row[3 * x + 1] = uint8_t(v >> 8);
                    row[3 * x + 2] = uint8_t(v >> 16);
                }
                break;
            case 32:
                for (int x = 0; x < w; ++x) Put32(row + 4 * x, Pixels[base + x]);
                break;
        }
    }
    stream.WriteBuffer(out.data(), out.size());
}

void TBitmapData::LoadFromFile(const String& path) {
    TFileStream f(path, FileMode::OpenRead);
    LoadFromStream(f);
}

void TBitmapData::SaveToFile(const String& path) const {
    TMemoryStream m;
    SaveToStream(m);
    m.SaveToFile(path);
}

}  // namespace fn
