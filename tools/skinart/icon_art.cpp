#include "tools/skinart/icon_art.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/core/streams.h"
#include "platform/core/strings.h"
#include "tools/skinart/fennick_art.h"
#include "tools/skinart/fennick_theme.h"

namespace fn::art {

using namespace theme;

namespace {

// The raster drawing has no alpha channel: draw the picture over black and over white and
// read each pixel's coverage from the difference (a = 1 - (white - black) / 255), its colour
// from the picture over black divided by that coverage.
IconImage Capture(int size, const std::function<void(Raster&)>& draw) {
    Raster overBlack(size, size, {0, 0, 0}), overWhite(size, size, {255, 255, 255});
    draw(overBlack);
    draw(overWhite);
    IconImage image{size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 4)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgb b = overBlack.At(x, y), w = overWhite.At(x, y);
            const int spread = (w.r - b.r) + (w.g - b.g) + (w.b - b.b);
            const int alpha = std::clamp(255 - (spread + 1) / 3, 0, 255);
            auto channel = [alpha](uint8_t v) { return alpha ? uint8_t(std::min(255, v * 255 / alpha)) : uint8_t(0); };
            uint8_t* p = &image.bgra[(static_cast<size_t>(y) * size + x) * 4];
            p[0] = channel(b.b);
            p[1] = channel(b.g);
            p[2] = channel(b.r);
            p[3] = uint8_t(alpha);
        }
    }
    return image;
}

// Stroke width in whole pixels for an icon of this size.
double Unit(int size) { return std::max(1.0, std::round(size / 24.0)); }

void Put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One image as the icon file stores it: BITMAPINFOHEADER (height counts both masks), the
// colour rows bottom-up, then the AND mask (1 = transparent), rows padded to 32 bits.
std::vector<uint8_t> IconDib(const IconImage& image) {
    const int n = image.size;
    const int maskStride = (n + 31) / 32 * 4;
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, n);
    Put32(out, 2 * n);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);  // BI_RGB
    Put32(out, static_cast<unsigned>(n * n * 4 + maskStride * n));
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (int y = n - 1; y >= 0; --y) {
        const uint8_t* row = &image.bgra[static_cast<size_t>(y) * n * 4];
        out.insert(out.end(), row, row + n * 4);
    }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < n; ++x)
            if (image.Alpha(x, y) == 0) row[x / 8] |= uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

IconImage DrawProgramIcon(int size) {
    return Capture(size, [size](Raster& r) {
        const double s = size, u = Unit(size);
        DrawNoteEmblem(r, 0, 0, s, Accent, White);
        // An outline keeps the light-blue page apart from a light desktop or task bar.
        const double inset = std::max(1.0, std::floor(s / 13));
        if (size >= 24) r.RoundRing(inset, 0, s - inset, s, 2 * inset, u, Outline);
    });
}

IconImage DrawNoteIcon(int size) {
    return Capture(size, [size](Raster& r) {
        const double s = size, u = Unit(size);
        const double l = std::round(s * 0.16), rt = s - l, t = 0, b = s;
        const double fold = std::round(s * 0.28);
        // The sheet without its top right corner, the corner folded down in a darker shade.
        auto sheet = [=](double x, double y) {
            return x >= l && x < rt && y >= t && y < b && (rt - x) + (y - t) >= fold;
        };
        r.Cover({0, 0, size, size}, sheet, MenuEdge);
        r.Cover({0, 0, size, size},
                [=](double x, double y) {
                    return x >= l + u && x < rt - u && y >= t + u && y < b - u && (rt - u - x) + (y - t - u) >= fold;
                },
                White);
        r.Triangle(rt - fold, t, rt - fold, t + fold, rt, t + fold, MenuEdge);
        r.Triangle(rt - fold + u, t + 2 * u, rt - fold + u, t + fold - u, rt - 2 * u, t + fold - u, MenuSelect);
        // Ruled lines below the fold, shorter where the emblem sits.
        const bool emblem = size >= 32;
        const double step = std::max(3.0, std::round(s * 0.14));
        for (double y = std::round(t + fold + step * 0.6); y + u <= b - step * 0.6; y += step) {
            const double right = emblem && y + u > s * 0.52 ? s * 0.5 : rt - 2 * u - std::max(1.0, s / 16);
            r.Fill({int(l + 2 * u + std::max(1.0, s / 16)), int(y), int(right), int(y + u)}, Accent);
        }
        if (emblem) {
            const double e = std::round(s * 0.46);
            DrawNoteEmblem(r, s - e, s - e, e, Accent, White);
        }
    });
}

std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images) {
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, static_cast<unsigned>(images.size()));
    unsigned offset = static_cast<unsigned>(6 + 16 * images.size());
    std::vector<std::vector<uint8_t>> dibs;
    for (const auto& image : images) {
        dibs.push_back(IconDib(image));
        out.push_back(uint8_t(image.size >= 256 ? 0 : image.size));  // 0 stands for 256
        out.push_back(uint8_t(image.size >= 256 ? 0 : image.size));
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<unsigned>(dibs.back().size()));
        Put32(out, offset);
        offset += static_cast<unsigned>(dibs.back().size());
    }
    for (const auto& dib : dibs) out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

void WriteIconFiles(const std::string& folder) {
    auto write = [&](const char* name, IconImage (*draw)(int)) {
        std::vector<IconImage> images;
        for (int size : kIconSizes) images.push_back(draw(size));
        const std::vector<uint8_t> bytes = EncodeIco(images);
        TFileStream file(Utf8ToWide(folder) + L"/" + Utf8ToWide(name), FileMode::Create);
        file.WriteBuffer(bytes.data(), bytes.size());
        file.Close();
    };
    write("FennickNotizen.ico", DrawProgramIcon);
    write("Notiz.ico", DrawNoteIcon);
}

}  // namespace fn::art
