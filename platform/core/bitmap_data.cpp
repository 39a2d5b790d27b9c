#include "platform/core/bitmap_data.h"
#include "platform/core/library_texts.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
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

// The fields of the file and info headers the reader uses, checked by ReadHeader.
struct Header {
    bool core = false;  // 12-byte header: three-byte colour entries, no colour count
    int width = 0, height = 0;
    bool topDown = false;
    uint32_t bpp = 0, compression = 0, sizeImage = 0, clrUsed = 0;
    uint32_t masks[3] = {0, 0, 0};
    bool masksInHeader = false;

    bool Rle8() const { return compression == 1; }
    bool Rle4() const { return compression == 2; }
    bool BitFields() const { return compression == 3; }
};

// The file header and the info header (core, 40 bytes or larger). Wrong values are invalid
// bitmaps; a header cut short is a read error.
Header ReadHeader(TStream& stream) {
    uint8_t fh[14];
    stream.ReadBuffer(fh, sizeof fh);
    if (fh[0] != 'B' || fh[1] != 'M') Invalid();

    Header h;
    uint8_t sz[4];
    stream.ReadBuffer(sz, 4);
    const uint32_t headerSize = U32(sz);
    int64_t width = 0, height = 0;
    uint32_t planes = 0;
    if (headerSize == 12) {
        uint8_t b[8];
        stream.ReadBuffer(b, 8);
        h.core = true;
        width = U16(b);
        height = U16(b + 2);
        planes = U16(b + 4);
        h.bpp = U16(b + 6);
    } else if (headerSize >= 16 && headerSize <= 1024) {
        if (Remaining(stream) < int64_t(headerSize) - 4) throw EReadError(texts::ReadError);
        uint8_t b[1024];  // only the fields the header's size covers are read below
        stream.ReadBuffer(b + 4, headerSize - 4);
        width = static_cast<int32_t>(U32(&b[4]));
        height = static_cast<int32_t>(U32(&b[8]));
        planes = U16(&b[12]);
        h.bpp = U16(&b[14]);
        if (headerSize >= 20) h.compression = U32(&b[16]);
        if (headerSize >= 24) h.sizeImage = U32(&b[20]);
        if (headerSize >= 36) h.clrUsed = U32(&b[32]);
        if (headerSize >= 52) {
            h.masksInHeader = true;
            for (int k = 0; k < 3; ++k) h.masks[k] = U32(&b[40 + 4 * k]);
        }
    } else {
        Invalid();
    }

    if (planes != 1) Invalid();
    const uint32_t bpp = h.bpp;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) Invalid();
    if (h.compression > 3 || (h.Rle8() && bpp != 8) || (h.Rle4() && bpp != 4) ||
        (h.BitFields() && bpp != 16 && bpp != 32))
        Invalid();
    h.topDown = height < 0;
    if (h.topDown) height = -height;
    if (width < 0 || width > MaxBitmapDimension || height > MaxBitmapDimension) Invalid();
    if (width * height > MaxBitmapPixels) Invalid();
    if (h.topDown && (h.Rle8() || h.Rle4())) Invalid();
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(height);
    return h;
}

// The three colour channels of 16- and 32-bit rows: the bit-field masks (after a 40-byte
// header, or inside a larger one), else 5-5-5 for 16 bits. Zero, overlapping or
// non-contiguous masks are invalid.
struct Channels {
    Channel c[3];
    uint32_t Get(uint32_t px) const { return c[0].Get(px) << 16 | c[1].Get(px) << 8 | c[2].Get(px); }
};

Channels ReadChannels(TStream& stream, const Header& h) {
    Channels ch;
    if (h.BitFields()) {
        uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
        if (!h.masksInHeader) {
            uint8_t m[12];
            stream.ReadBuffer(m, 12);
            for (int k = 0; k < 3; ++k) masks[k] = U32(m + 4 * k);
        }
        for (int k = 0; k < 3; ++k) {
            ch.c[k].Set(masks[k]);
            if (!ch.c[k].Contiguous()) Invalid();  // also zero masks
            if (h.bpp == 16 && masks[k] > 0xFFFF) Invalid();
        }
        if ((masks[0] & masks[1]) || (masks[0] & masks[2]) || (masks[1] & masks[2])) Invalid();
    } else if (h.bpp == 16) {
        ch.c[0].Set(0x7C00);
        ch.c[1].Set(0x03E0);
        ch.c[2].Set(0x001F);
    }
    return ch;
}

// The colour table: the header's colour count (not in a core header), else 2, 16 or 256
// entries for 1, 4 and 8 bits. A table past the end of the stream is invalid.
struct ColourTable {
    std::vector<uint32_t> palette;
    // Every index a row can hold maps to a colour: the table's, then black past its end.
    uint32_t lut[256] = {};
};

ColourTable ReadColourTable(TStream& stream, const Header& h) {
    const uint32_t bpp = h.bpp;
    const uint64_t standard = bpp <= 8 ? 1u << bpp : 0;
    const uint64_t colours = !h.core && h.clrUsed ? h.clrUsed : standard;
    const uint64_t entry = h.core ? 3 : 4;
    if (colours * entry > static_cast<uint64_t>(Remaining(stream))) Invalid();
    std::vector<uint8_t> table(static_cast<size_t>(colours * entry));
    if (!table.empty()) stream.ReadBuffer(table.data(), table.size());
    ColourTable t;
    if (bpp <= 8) {
        const size_t used = static_cast<size_t>(std::min<uint64_t>(colours, 1u << bpp));
        t.palette.resize(used);
        for (size_t i = 0; i < used; ++i) {
            const uint8_t* e = &table[i * entry];
            t.lut[i] = t.palette[i] = uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
        }
    }
    return t;
}

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

int64_t Stride(const Header& h) { return (int64_t(h.width) * h.bpp + 31) / 32 * 4; }

// The bytes of the stored rows, straight from a memory stream's storage, else read into `copy`.
const uint8_t* TakeBytes(TStream& stream, int64_t take, std::vector<uint8_t>& copy) {
    const uint8_t* memory = nullptr;
    if (auto* mem = dynamic_cast<TMemoryStream*>(&stream)) memory = mem->Memory();
    else if (auto* bytes = dynamic_cast<TBytesStream*>(&stream)) memory = bytes->Memory();
    if (memory) {
        const uint8_t* rows = memory + stream.Position();
        stream.Seek(take, SeekOrigin::Current);
        return rows;
    }
    copy.resize(static_cast<size_t>(take));
    if (!copy.empty()) stream.ReadBuffer(copy.data(), copy.size());
    return copy.data();
}

// How many bytes the rows take. A run-length-compressed picture takes all remaining bytes; its
// size must be one those bytes can describe. Uncompressed rows are padded to four bytes: the
// header's image size, else the padded rows times the height, never more than the bytes that
// remain. Rows cut short are invalid.
int64_t RowBytes(TStream& stream, const Header& h) {
    const int64_t rest = Remaining(stream);
    if (h.Rle8() || h.Rle4()) {
        if (int64_t(h.width) * h.height > 1024 * (rest + 64)) Invalid();
        return rest;
    }
    const int64_t needed = Stride(h) * h.height;
    const int64_t take = std::min(h.sizeImage ? int64_t(h.sizeImage) : needed, rest);
    if (take < needed) Invalid();  // rows cut short
    return take;
}

void DecodeOneBitRow(const uint8_t* row, uint32_t* out, int w, const uint32_t* lut) {
    int x = 0;
    for (; x + 8 <= w; x += 8) {  // a whole byte: eight pixels, high bit first
        const uint32_t bits = row[x >> 3];
        for (int k = 0; k < 8; ++k) out[x + k] = lut[(bits >> (7 - k)) & 1];
    }
    for (; x < w; ++x) out[x] = lut[(row[x >> 3] >> (7 - (x & 7))) & 1];
}

void DecodeTwentyFourBitRow(const uint8_t* row, uint32_t* out, int w) {
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
}

// One stored row of `w` pixels (the caller has checked the row's bytes are all there).
void DecodeRow(const uint8_t* row, uint32_t* out, int w, const Header& h, const uint32_t* lut,
               const Channels& channels) {
    switch (h.bpp) {
        case 1:
            DecodeOneBitRow(row, out, w, lut);
            break;
        case 4:
            for (int x = 0; x < w; ++x) out[x] = lut[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
            break;
        case 8:
            for (int x = 0; x < w; ++x) out[x] = lut[row[x]];
            break;
        case 16:
            for (int x = 0; x < w; ++x) out[x] = channels.Get(U16(row + 2 * x));
            break;
        case 24:
            DecodeTwentyFourBitRow(row, out, w);
            break;
        case 32:
            if (h.BitFields()) {
                for (int x = 0; x < w; ++x) out[x] = channels.Get(U32(row + 4 * x));
            } else {
                for (int x = 0; x < w; ++x) out[x] = U32(row + 4 * x);
            }
            break;
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

// ---- rows located, decoded later ----

struct TBitmapRows::Layout {
    Header header;
    Channels channels;
    ColourTable colours;
    const uint8_t* rows = nullptr;  // the stored rows (or the runs), `size` bytes
    size_t size = 0;
    std::vector<uint8_t> copy;  // the rows of a stream without memory of its own
};

TBitmapRows::TBitmapRows() = default;
TBitmapRows::TBitmapRows(TBitmapRows&&) noexcept = default;
TBitmapRows& TBitmapRows::operator=(TBitmapRows&&) noexcept = default;
TBitmapRows::~TBitmapRows() = default;

TBitmapRows::TBitmapRows(TStream& stream) {
    auto layout = std::make_unique<Layout>();
    layout->header = ReadHeader(stream);
    layout->channels = ReadChannels(stream, layout->header);
    layout->colours = ReadColourTable(stream, layout->header);
    const int64_t take = RowBytes(stream, layout->header);
    layout->rows = TakeBytes(stream, take, layout->copy);
    layout->size = static_cast<size_t>(take);
    layout_ = std::move(layout);
}

int TBitmapRows::Width() const { return Empty() ? 0 : layout_->header.width; }
int TBitmapRows::Height() const { return Empty() ? 0 : layout_->header.height; }
bool TBitmapRows::Empty() const { return !layout_ || layout_->header.width == 0 || layout_->header.height == 0; }
int TBitmapRows::BitsPerPixel() const { return layout_ ? static_cast<int>(layout_->header.bpp) : 0; }

const std::vector<uint32_t>& TBitmapRows::Palette() const {
    static const std::vector<uint32_t> none;
    return layout_ ? layout_->colours.palette : none;
}

bool TBitmapRows::RunLength() const { return layout_ && (layout_->header.Rle8() || layout_->header.Rle4()); }

void TBitmapRows::ForEachRow(const std::function<void(int y, const uint32_t* row)>& visit) const {
    if (Empty() || RunLength()) return;
    const Layout& l = *layout_;
    const Header& h = l.header;
    const int64_t stride = Stride(h);
    RawVector<uint32_t> row;
    row.resize(static_cast<size_t>(h.width));  // every pixel is written by each row's decoding
    for (int fy = 0; fy < h.height; ++fy) {
        DecodeRow(l.rows + fy * stride, row.data(), h.width, h, l.colours.lut, l.channels);
        visit(h.topDown ? fy : h.height - 1 - fy, row.data());
    }
}

void TBitmapRows::Decode(TBitmapData& out) const {
    if (!layout_) {
        out.Clear();
        return;
    }
    const Layout& l = *layout_;
    const Header& h = l.header;
    RawVector<uint32_t> pixels;
    if (RunLength()) {
        // Pixels no run reaches keep the table's first colour.
        pixels.assign(static_cast<size_t>(h.width) * h.height, l.colours.palette.empty() ? 0u : l.colours.palette[0]);
        DecodeRle(l.rows, l.size, h.Rle4(), h.width, h.height, l.colours.palette, pixels);
    } else {
        pixels.resize(static_cast<size_t>(h.width) * h.height);  // every pixel is written below
        const int64_t stride = Stride(h);
        for (int64_t fy = 0; fy < h.height; ++fy) {
            uint32_t* target = pixels.data() + (h.topDown ? fy : h.height - 1 - fy) * h.width;
            DecodeRow(l.rows + fy * stride, target, h.width, h, l.colours.lut, l.channels);
        }
    }
    // A picture without pixels (width or height 0) is the empty bitmap.
    out.Width = Empty() ? 0 : h.width;
    out.Height = Empty() ? 0 : h.height;
    out.BitsPerPixel = static_cast<int>(h.bpp);
    out.Palette = l.colours.palette;
    out.Pixels = std::move(pixels);
}

void TBitmapData::LoadFromStream(TStream& stream) { TBitmapRows(stream).Decode(*this); }

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
