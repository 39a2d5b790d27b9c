// The platform's BMP reader and writer as the stored-skin archive uses them: every depth,
// both header kinds, masks, colour tables, row orders, and every malformed input rejected.
#include <gtest/gtest.h>

#include "platform/core/bitmap_data.h"

using namespace fn;

namespace {

using Bytes = std::vector<uint8_t>;

void Add16(Bytes& b, uint32_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); }
void Add32(Bytes& b, uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i))); }

struct Layout {
    uint32_t headerSize = 40;
    int32_t width = 2, height = 2;
    uint16_t planes = 1, bpp = 24;
    uint32_t compression = 0, sizeImage = 0, clrUsed = 0;
    Bytes afterHeader;  // masks and colour table
    Bytes rows;
};

Bytes Make(const Layout& s) {
    Bytes b{'B', 'M'};
    Add32(b, 0);  // size: not used by the reader
    Add32(b, 0);
    Add32(b, 0);  // offset: not used
    Add32(b, s.headerSize);
    if (s.headerSize == 12) {
        Add16(b, static_cast<uint32_t>(s.width));
        Add16(b, static_cast<uint32_t>(s.height));
        Add16(b, s.planes);
        Add16(b, s.bpp);
    } else {
        Add32(b, static_cast<uint32_t>(s.width));
        Add32(b, static_cast<uint32_t>(s.height));
        Add16(b, s.planes);
        Add16(b, s.bpp);
        Add32(b, s.compression);
        Add32(b, s.sizeImage);
        Add32(b, 0);
        Add32(b, 0);
        Add32(b, s.clrUsed);
        Add32(b, 0);
        while (b.size() < 14 + s.headerSize) b.push_back(0);
    }
    b.insert(b.end(), s.afterHeader.begin(), s.afterHeader.end());
    b.insert(b.end(), s.rows.begin(), s.rows.end());
    return b;
}

TBitmapData Read(const Bytes& b, int64_t* endPos = nullptr) {
    TBytesStream s(b.data(), b.size());
    TBitmapData bmp;
    bmp.LoadFromStream(s);
    if (endPos) *endPos = s.Position();
    return bmp;
}

bool IsInvalid(const Bytes& b) {
    try {
        Read(b);
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), L"Bitmap ist ungültig");
        return true;
    }
    return false;
}

bool IsReadError(const Bytes& b) {
    try {
        Read(b);
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), L"Stream-Lesefehler");
        return true;
    }
    return false;
}

TBitmapData Pattern(int w, int h, int bpp, std::vector<uint32_t> palette) {
    TBitmapData b;
    b.SetSize(w, h);
    b.BitsPerPixel = bpp;
    b.Palette = palette;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, palette.empty() ? uint32_t(x * 40 + y) << 8 | uint32_t(y * 7 + x) | uint32_t(x ^ y) << 16
                                             : palette[static_cast<size_t>(x * 3 + y * 5) % palette.size()]);
    return b;
}

}  // namespace

TEST(Bmp, WrittenPictureOfEveryDepthReadsBackPixelEqualAndKeepsItsDepth) {
    std::vector<uint32_t> pal256;
    for (uint32_t i = 0; i < 256; ++i) pal256.push_back(i * 0x010203u & 0xFFFFFF);
    std::vector<uint32_t> pal16(pal256.begin(), pal256.begin() + 16);
    for (auto [bpp, pal] : {std::pair{1, std::vector<uint32_t>{0, 0xFFFFFF}}, {4, pal16}, {8, pal256},
                            {24, std::vector<uint32_t>{}}, {32, std::vector<uint32_t>{}}}) {
        for (int w : {1, 2, 3, 4, 5, 7, 8, 9, 31, 33}) {
            SCOPED_TRACE(testing::Message() << bpp << " bpp, width " << w);
            TBitmapData src = Pattern(w, 5, bpp, pal);
            if (bpp == 32) src.SetPixel(0, 0, 0x80123456);
            TMemoryStream m;
            src.SaveToStream(m);
            const uint8_t* p = m.Memory();
            ASSERT_EQ(p[0], 'B');
            EXPECT_EQ(p[2] | p[3] << 8 | p[4] << 16, m.Size());  // file size field = whole length
            int64_t end = 0;
            TBitmapData back = Read(m.Bytes(), &end);
            EXPECT_EQ(end, m.Size());
            EXPECT_EQ(back, src);
            EXPECT_EQ(back.BitsPerPixel, bpp);
        }
    }
}

TEST(Bmp, TwentyFourBitRowsAreBlueGreenRedWhateverTheWidth) {
    // Widths around the four-pixel groups the reader takes at once; byte k of a row is k + 1.
    for (int w = 1; w <= 9; ++w) {
        SCOPED_TRACE(testing::Message() << "width " << w);
        Layout l;
        l.width = w;
        l.height = 1;
        const int stride = (w * 3 + 3) / 4 * 4;
        for (int k = 0; k < stride; ++k) l.rows.push_back(static_cast<uint8_t>(k + 1));
        TBitmapData b = Read(Make(l));
        ASSERT_EQ(b.Width, w);
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(b.Pixel(x, 0), uint32_t(3 * x + 3) << 16 | uint32_t(3 * x + 2) << 8 | uint32_t(3 * x + 1));
    }
}

TEST(Bmp, SizesOfThePartsExample) {
    // 146 x 82 at 8 bits: 13,214 bytes; the mask at 1 bit: 1,702 bytes.
    std::vector<uint32_t> pal256(256, 0);
    for (uint32_t i = 0; i < 256; ++i) pal256[i] = i;
    TMemoryStream a, b;
    Pattern(146, 82, 8, pal256).SaveToStream(a);
    Pattern(146, 82, 1, {0, 0xFFFFFF}).SaveToStream(b);
    EXPECT_EQ(a.Size(), 13214);
    EXPECT_EQ(b.Size(), 1702);
}

TEST(Bmp, IndexedSourceWithForeignColoursIsWrittenAt24Bits) {
    TBitmapData src = Pattern(3, 3, 8, {0x000000, 0x0000FF});
    src.SetPixel(1, 1, 0x00ABCDEF);
    TMemoryStream m;
    src.SaveToStream(m);
    TBitmapData back = Read(m.Bytes());
    EXPECT_EQ(back, src);
    EXPECT_EQ(back.BitsPerPixel, 24);
}

TEST(Bmp, TopDownAndBottomUpRows) {
    Layout s;
    s.width = 1;
    s.height = -2;  // top-down
    s.rows = {0x01, 0x02, 0x03, 0, 0x04, 0x05, 0x06, 0};
    TBitmapData td = Read(Make(s));
    EXPECT_EQ(td.Pixel(0, 0), 0x030201u);
    EXPECT_EQ(td.Pixel(0, 1), 0x060504u);
    s.height = 2;
    TBitmapData bu = Read(Make(s));
    EXPECT_EQ(bu.Pixel(0, 0), 0x060504u);
    EXPECT_EQ(bu.Pixel(0, 1), 0x030201u);
}

TEST(Bmp, CoreHeaderHasThreeByteColourEntries) {
    Layout s;
    s.headerSize = 12;
    s.width = 2;
    s.height = 1;
    s.bpp = 1;
    s.afterHeader = {0x10, 0x20, 0x30, 0xA0, 0xB0, 0xC0};
    s.rows = {0x40, 0, 0, 0};  // pixel 0: index 0, pixel 1: index 1
    int64_t end;
    TBitmapData b = Read(Make(s), &end);
    EXPECT_EQ(end, 14 + 12 + 6 + 4);
    EXPECT_EQ(b.Pixel(0, 0), 0x302010u);
    EXPECT_EQ(b.Pixel(1, 0), 0xC0B0A0u);
}

TEST(Bmp, BitFieldMasks565And32) {
    Layout s;
    s.width = 2;
    s.height = 1;
    s.bpp = 16;
    s.compression = 3;
    Add32(s.afterHeader, 0xF800);
    Add32(s.afterHeader, 0x07E0);
    Add32(s.afterHeader, 0x001F);
    Add16(s.rows, 0xF800);
    Add16(s.rows, 0x07FF);
    int64_t end;
    TBitmapData b = Read(Make(s), &end);
    EXPECT_EQ(end, 14 + 40 + 12 + 4);
    EXPECT_EQ(b.Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(b.Pixel(1, 0), 0x00FFFFu);
    // 16 bits without masks is 5-5-5.
    Layout r = s;
    r.compression = 0;
    r.afterHeader.clear();
    r.rows.clear();
    Add16(r.rows, 0x7C00);
    Add16(r.rows, 0x0010);
    TBitmapData c = Read(Make(r));
    EXPECT_EQ(c.Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(c.Pixel(1, 0), 0x000084u);
    Layout t = s;
    t.bpp = 32;
    t.afterHeader.clear();
    Add32(t.afterHeader, 0x000000FF);  // red in the low byte
    Add32(t.afterHeader, 0x0000FF00);
    Add32(t.afterHeader, 0x00FF0000);
    t.rows.clear();
    Add32(t.rows, 0x00332211);
    Add32(t.rows, 0xFF000000);
    TBitmapData d = Read(Make(t));
    EXPECT_EQ(d.Pixel(0, 0), 0x112233u);
    EXPECT_EQ(d.Pixel(1, 0), 0u);
}

TEST(Bmp, V5HeaderCarriesItsMasks) {
    Layout s;
    s.headerSize = 124;
    s.width = 1;
    s.height = 1;
    s.bpp = 32;
    s.compression = 3;
    Bytes b = Make(s);
    // masks at offsets 40, 44, 48 of the header
    uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 4; ++i) b[14 + 40 + 4 * k + i] = uint8_t(masks[k] >> (8 * i));
    Add32(b, 0x00ABCDEF);
    int64_t end;
    EXPECT_EQ(Read(b, &end).Pixel(0, 0), 0xABCDEFu);
    EXPECT_EQ(end, static_cast<int64_t>(b.size()));
}

TEST(Bmp, ColourCountAndImageSizeDecideWhatIsConsumed) {
    Layout s;
    s.width = 1;
    s.height = 1;
    s.bpp = 8;
    s.clrUsed = 2;
    s.afterHeader = {1, 2, 3, 0, 4, 5, 6, 0};
    s.rows = {1, 0, 0, 0};
    Bytes b = Make(s);
    b.push_back(0xEE);  // the next entry of the archive
    int64_t end;
    TBitmapData bmp = Read(b, &end);
    EXPECT_EQ(end, static_cast<int64_t>(b.size()) - 1);
    EXPECT_EQ(bmp.Pixel(0, 0), 0x060504u);
    // An image size larger than the rows is consumed as stated...
    s.sizeImage = 8;
    s.rows = {0, 0, 0, 0, 9, 9, 9, 9, 0xEE};
    Read(Make(s), &end);
    EXPECT_EQ(end, 14 + 40 + 8 + 8);
    // ...but never past the end.
    s.sizeImage = 1000;
    Bytes c = Make(s);
    Read(c, &end);
    EXPECT_EQ(end, static_cast<int64_t>(c.size()));
    // 24 bits with a colour count: the table is skipped.
    Layout t;
    t.width = 1;
    t.height = 1;
    t.clrUsed = 1;
    t.afterHeader = {9, 9, 9, 0};
    t.rows = {1, 2, 3, 0};
    EXPECT_EQ(Read(Make(t)).Pixel(0, 0), 0x030201u);
}

TEST(Bmp, RunLengthPicturesTakeTheRestAndDecode) {
    Layout s;
    s.width = 4;
    s.height = 2;
    s.bpp = 8;
    s.compression = 1;
    s.clrUsed = 3;
    s.afterHeader = {0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0};
    // bottom row: run of 4 x index 1; top row: absolute 3 pixels 2,1,2 (+pad), then end of bitmap
    s.rows = {4, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 1, 0xEE, 0xEE};
    int64_t end;
    Bytes b = Make(s);
    TBitmapData bmp = Read(b, &end);
    EXPECT_EQ(end, static_cast<int64_t>(b.size()));
    EXPECT_EQ(bmp.Pixel(0, 1), 0x0000FFu);
    EXPECT_EQ(bmp.Pixel(3, 1), 0x0000FFu);
    EXPECT_EQ(bmp.Pixel(0, 0), 0x00FF00u);
    EXPECT_EQ(bmp.Pixel(1, 0), 0x0000FFu);
    EXPECT_EQ(bmp.Pixel(3, 0), 0u);  // never written: colour 0
    Layout r = s;
    r.bpp = 4;
    r.compression = 2;
    r.rows = {3, 0x12, 0, 0, 0, 3, 0x21, 0x20};
    TBitmapData four = Read(Make(r));
    EXPECT_EQ(four.Pixel(0, 1), 0x0000FFu);
    EXPECT_EQ(four.Pixel(1, 1), 0x00FF00u);
    EXPECT_EQ(four.Pixel(2, 1), 0x0000FFu);
    EXPECT_EQ(four.Pixel(0, 0), 0x00FF00u);  // after the end of line
    EXPECT_EQ(four.Pixel(1, 0), 0x0000FFu);
    EXPECT_EQ(four.Pixel(2, 0), 0x00FF00u);
    // A delta moves right and up from the current place.
    Layout d = s;
    d.rows = {1, 1, 0, 2, 2, 1, 1, 2, 0, 1};
    TBitmapData moved = Read(Make(d));
    EXPECT_EQ(moved.Pixel(0, 1), 0x0000FFu);
    EXPECT_EQ(moved.Pixel(3, 0), 0x00FF00u);
    EXPECT_EQ(moved.Pixel(1, 0), 0u);
    // Runs climb from the bottom row: a picture stored top-down cannot be run-length compressed.
    Layout topDown = s;
    topDown.height = -2;
    EXPECT_TRUE(IsInvalid(Make(topDown)));
}

TEST(Bmp, MalformedHeadersAreInvalidBitmaps) {
    Layout ok;
    ok.width = 1;
    ok.height = 1;
    ok.rows = {1, 2, 3, 0};
    ASSERT_FALSE(IsInvalid(Make(ok)));
    Bytes badType = Make(ok);
    badType[1] = 'A';
    EXPECT_TRUE(IsInvalid(badType));
    Layout s = ok;
    s.planes = 0;
    EXPECT_TRUE(IsInvalid(Make(s)));
    s = ok;
    s.bpp = 2;
    EXPECT_TRUE(IsInvalid(Make(s)));
    s = ok;
    s.headerSize = 13;
    EXPECT_TRUE(IsInvalid(Make(s)));
    s = ok;
    s.compression = 4;  // JPEG
    EXPECT_TRUE(IsInvalid(Make(s)));
    s = ok;
    s.compression = 1;  // RLE8 needs 8 bits
    EXPECT_TRUE(IsInvalid(Make(s)));
    s = ok;
    s.width = -1;
    EXPECT_TRUE(IsInvalid(Make(s)));
    s = ok;
    s.height = INT32_MIN;
    EXPECT_TRUE(IsInvalid(Make(s)));
    s = ok;
    s.width = 100000;
    EXPECT_TRUE(IsInvalid(Make(s)));
    s = ok;
    s.width = 60000;
    s.height = 60000;  // absurd: beyond the pixel bound
    EXPECT_TRUE(IsInvalid(Make(s)));
}

TEST(Bmp, BadMasksAreInvalid) {
    auto withMasks = [](uint32_t r, uint32_t g, uint32_t b, uint16_t bpp) {
        Layout s;
        s.width = 1;
        s.height = 1;
        s.bpp = bpp;
        s.compression = 3;
        Add32(s.afterHeader, r);
        Add32(s.afterHeader, g);
        Add32(s.afterHeader, b);
        s.rows = {0, 0, 0, 0};
        return Make(s);
    };
    EXPECT_FALSE(IsInvalid(withMasks(0xF800, 0x07E0, 0x001F, 16)));
    EXPECT_TRUE(IsInvalid(withMasks(0, 0x07E0, 0x001F, 16)));          // zero
    EXPECT_TRUE(IsInvalid(withMasks(0xFC00, 0x07E0, 0x001F, 16)));     // overlapping
    EXPECT_TRUE(IsInvalid(withMasks(0xF0F0, 0x0700, 0x0001, 16)));     // not contiguous
    EXPECT_TRUE(IsInvalid(withMasks(0xFF0000, 0xFF00, 0xFF, 16)));     // beyond 16 bits
    EXPECT_TRUE(IsInvalid(withMasks(0xFF0000, 0xFF00, 0xFF, 24)));     // bit fields need 16 or 32
    EXPECT_FALSE(IsInvalid(withMasks(0xFFC00000, 0x003FF000, 0xFFF, 32)));
}

TEST(Bmp, TruncatedDataNeverReadsPastTheEnd) {
    Layout s;
    s.width = 4;
    s.height = 4;
    s.rows = Bytes(47, 0x55);  // one byte short of 4 rows of 12
    EXPECT_TRUE(IsInvalid(Make(s)));
    s.rows = Bytes(48, 0x55);
    EXPECT_FALSE(IsInvalid(Make(s)));
    // Rows claimed by the image size but absent.
    s.sizeImage = 48;
    s.rows = Bytes(10, 0);
    EXPECT_TRUE(IsInvalid(Make(s)));
    // A colour table past the end.
    Layout t;
    t.bpp = 8;
    t.width = 1;
    t.height = 1;
    t.clrUsed = 0x40000000;
    EXPECT_TRUE(IsInvalid(Make(t)));
    t.clrUsed = 0;  // 256 entries expected, none there
    EXPECT_TRUE(IsInvalid(Make(t)));
    // Headers cut short.
    Bytes b = Make(s);
    EXPECT_TRUE(IsReadError(Bytes(b.begin(), b.begin() + 10)));
    EXPECT_TRUE(IsReadError(Bytes(b.begin(), b.begin() + 30)));
    Layout big;
    big.headerSize = 1000;
    Bytes c = Make(big);
    EXPECT_TRUE(IsReadError(Bytes(c.begin(), c.begin() + 100)));
    // A run-length header claiming a huge picture from a few bytes.
    Layout r;
    r.bpp = 8;
    r.compression = 1;
    r.width = 8000;
    r.height = 8000;
    r.clrUsed = 1;
    r.afterHeader = {0, 0, 0, 0};
    r.rows = {0, 1};
    EXPECT_TRUE(IsInvalid(Make(r)));
}

TEST(Bmp, IndexOutsideTheColourTableIsBlack) {
    Layout s;
    s.width = 1;
    s.height = 1;
    s.bpp = 8;
    s.clrUsed = 1;
    s.afterHeader = {0xFF, 0xFF, 0xFF, 0};
    s.rows = {200, 0, 0, 0};
    EXPECT_EQ(Read(Make(s)).Pixel(0, 0), 0u);
}

TEST(Bmp, ZeroSizedPictureIsEmpty) {
    Layout s;
    s.width = 0;
    s.height = 0;
    TBitmapData b = Read(Make(s));
    EXPECT_TRUE(b.Empty());
    s.height = 2;  // zero width, some height: empty too, and equal to any empty bitmap
    s.rows = {};
    TBitmapData c = Read(Make(s));
    EXPECT_TRUE(c.Empty());
    EXPECT_EQ(c.Width, 0);
    EXPECT_EQ(c.Height, 0);
    EXPECT_TRUE(c == TBitmapData());
    TMemoryStream m;
    b.SaveToStream(m);
    EXPECT_TRUE(Read(m.Bytes()).Empty());
}
