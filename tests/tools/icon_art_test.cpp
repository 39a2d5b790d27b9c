// The program's icon files as a reader of the icon format sees them: every size in the
// directory, each image where the directory says, right way up, its AND mask agreeing with its
// alpha, and the emblem's colours kept exact where the drawing covers a pixel fully.
#include <gtest/gtest.h>

#include <cstring>

#include "tools/skinart/fennick_theme.h"
#include "tools/skinart/icon_art.h"

namespace fn::art {
namespace {

unsigned Read16(const std::vector<uint8_t>& b, size_t at) { return b.at(at) | b.at(at + 1) << 8; }
unsigned Read32(const std::vector<uint8_t>& b, size_t at) { return Read16(b, at) | Read16(b, at + 2) << 16; }

struct Pixel {
    uint8_t b, g, r, a;
    bool masked;  // the AND mask's bit: transparent
};

// The images of an .ico file, decoded as a reader does: (x, y) with y = 0 the top row.
class IcoReader {
public:
    explicit IcoReader(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
        EXPECT_EQ(Read16(bytes_, 0), 0u);
        EXPECT_EQ(Read16(bytes_, 2), 1u);
    }
    unsigned Count() const { return Read16(bytes_, 4); }
    int Size(unsigned i) const { return bytes_.at(6 + 16 * i) ? bytes_.at(6 + 16 * i) : 256; }
    size_t Offset(unsigned i) const { return Read32(bytes_, 6 + 16 * i + 12); }
    size_t Length(unsigned i) const { return Read32(bytes_, 6 + 16 * i + 8); }
    Pixel At(unsigned i, int x, int y) const {
        const int n = Size(i);
        const size_t dib = Offset(i), colours = dib + 40, mask = colours + size_t(n) * n * 4;
        const size_t at = colours + (size_t(n - 1 - y) * n + x) * 4;
        const size_t stride = (n + 31) / 32 * 4;
        const bool masked = bytes_.at(mask + size_t(n - 1 - y) * stride + x / 8) & (0x80 >> (x % 8));
        return {bytes_.at(at), bytes_.at(at + 1), bytes_.at(at + 2), bytes_.at(at + 3), masked};
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

std::vector<IconImage> AllSizes(IconImage (*draw)(int)) {
    std::vector<IconImage> images;
    for (int size : kIconSizes) images.push_back(draw(size));
    return images;
}

TEST(IconArt, EveryImageLiesWhereItsDirectoryEntrySaysWithItsHeaderAndMaskAgreeingWithAlpha) {
    for (auto draw : {DrawProgramIcon, DrawNoteIcon}) {
        IcoReader ico(EncodeIco(AllSizes(draw)));
        ASSERT_EQ(ico.Count(), std::size(kIconSizes));
        size_t expected = 6 + 16 * ico.Count();
        for (unsigned i = 0; i < ico.Count(); ++i) {
            const int n = kIconSizes[i];
            EXPECT_EQ(ico.Size(i), n);
            EXPECT_EQ(Read16(ico.Bytes(), 6 + 16 * i + 6), 32u);  // bits per pixel
            EXPECT_EQ(ico.Offset(i), expected) << "images follow each other without gaps";
            EXPECT_EQ(ico.Length(i), 40 + size_t(n) * n * 4 + size_t((n + 31) / 32 * 4) * n);
            expected += ico.Length(i);
            const size_t dib = ico.Offset(i);
            EXPECT_EQ(Read32(ico.Bytes(), dib + 4), unsigned(n));
            EXPECT_EQ(Read32(ico.Bytes(), dib + 8), unsigned(2 * n)) << "the height counts both masks";
            int transparent = 0, opaque = 0;
            for (int y = 0; y < n; ++y)
                for (int x = 0; x < n; ++x) {
                    const Pixel p = ico.At(i, x, y);
                    EXPECT_EQ(p.masked, p.a == 0) << n << " px at " << x << "," << y;
                    transparent += p.a == 0;
                    opaque += p.a == 255;
                }
            EXPECT_GT(transparent, 0) << n;
            EXPECT_GT(opaque, n * n / 3) << n;
        }
        EXPECT_EQ(ico.Bytes().size(), expected);
    }
}

TEST(IconArt, TheProgramIconIsTheEmblemInTheCaptionBlueRuledInWhiteRightWayUp) {
    IcoReader ico(EncodeIco(AllSizes(DrawProgramIcon)));
    for (unsigned i = 0; i < ico.Count(); ++i) {
        const int n = ico.Size(i);
        EXPECT_EQ(ico.At(i, 0, 0).a, 0) << "rounded corner, " << n << " px";
        EXPECT_EQ(ico.At(i, n - 1, n - 1).a, 0) << n;
        // The first ruled line lies in the upper half: white there, page blue above it.
        const int line = n * 32 / 100, x = n / 2;
        const Pixel white = ico.At(i, x, line), page = ico.At(i, x, line - 1);
        EXPECT_EQ((std::vector<int>{white.r, white.g, white.b, white.a}), (std::vector<int>{255, 255, 255, 255})) << n;
        EXPECT_EQ((std::vector<int>{page.r, page.g, page.b, page.a}),
                  (std::vector<int>{theme::Accent.r, theme::Accent.g, theme::Accent.b, 255}))
            << n;
    }
    // Edges are smoothed: the large image has partly covered pixels, not only on and off.
    int partial = 0;
    for (int x = 0; x < 256; ++x) partial += ico.At(ico.Count() - 1, x, 3).a % 255 != 0;
    EXPECT_GT(partial, 0);
}

TEST(IconArt, TheNoteIconIsASheetWithItsFoldedCornerAtTheTopRight) {
    IcoReader ico(EncodeIco(AllSizes(DrawNoteIcon)));
    for (unsigned i = 0; i < ico.Count(); ++i) {
        const int n = ico.Size(i);
        const int right = n - (n * 16 + 50) / 100 - 1;  // the sheet's last column
        EXPECT_EQ(ico.At(i, right, 0).a, 0) << "the fold cuts the top right corner, " << n << " px";
        EXPECT_EQ(ico.At(i, right, n - 1).a, 255) << n;
        EXPECT_EQ(ico.At(i, 0, n / 2).a, 0) << "a sheet narrower than the icon, " << n;
    }
}

}  // namespace
}  // namespace fn::art
