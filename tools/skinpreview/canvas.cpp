#include "tools/skinpreview/canvas.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace fn::preview {

Colour FromSkinColor(TColor c) {
    const uint32_t v = static_cast<uint32_t>(c);
    return {uint8_t(v & 0xFF), uint8_t((v >> 8) & 0xFF), uint8_t((v >> 16) & 0xFF)};
}

Image ImageFromBitmap(const TBitmapData& bmp) {
    Image img(bmp.Width, bmp.Height);
    for (int y = 0; y < bmp.Height; ++y)
        for (int x = 0; x < bmp.Width; ++x) {
            const uint32_t p = bmp.Pixel(x, y);
            uint8_t* d = img.PixelPointer(x, y);
            d[0] = p & 0xFF;
            d[1] = (p >> 8) & 0xFF;
            d[2] = (p >> 16) & 0xFF;
        }
    return img;
}

Image Crop(const Image& src, const TSkinRect& r) {
    Image out(std::max(r.Width(), 0), std::max(r.Height(), 0));
    CopyRect(out, {0, 0, out.Width, out.Height}, src, r);
    return out;
}

void Fill(Image& dst, const TSkinRect& r, Colour c) {
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, dst.Height); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, dst.Width); ++x) {
            uint8_t* d = dst.PixelPointer(x, y);
            d[0] = c.b, d[1] = c.g, d[2] = c.r;
        }
}

void CopyRect(Image& dst, const TSkinRect& d, const Image& src, const TSkinRect& s, const TSkinRect& clip) {
    if (d.IsEmpty() || s.IsEmpty() || src.Empty()) return;
    int left = std::max(d.Left, 0), top = std::max(d.Top, 0);
    int right = std::min(d.Right, dst.Width), bottom = std::min(d.Bottom, dst.Height);
    if (!clip.IsEmpty()) {
        left = std::max(left, clip.Left), top = std::max(top, clip.Top);
        right = std::min(right, clip.Right), bottom = std::min(bottom, clip.Bottom);
    }
    for (int y = top; y < bottom; ++y) {
        const int sy = s.Top + int(int64_t(y - d.Top) * s.Height() / d.Height());
        if (sy < 0 || sy >= src.Height) continue;
        for (int x = left; x < right; ++x) {
            const int sx = s.Left + int(int64_t(x - d.Left) * s.Width() / d.Width());
            if (sx < 0 || sx >= src.Width) continue;
            const uint8_t* p = src.PixelPointer(sx, sy);
            uint8_t* q = dst.PixelPointer(x, y);
            q[0] = p[0], q[1] = p[1], q[2] = p[2];
        }
    }
}

void DrawTransparent(Image& dst, int x, int y, const Image& src, Colour key) {
    for (int row = 0; row < src.Height; ++row)
        for (int col = 0; col < src.Width; ++col) {
            const uint8_t* p = src.PixelPointer(col, row);
            if (p[0] == key.b && p[1] == key.g && p[2] == key.r) continue;
            if (x + col < 0 || y + row < 0 || x + col >= dst.Width || y + row >= dst.Height) continue;
            uint8_t* q = dst.PixelPointer(x + col, y + row);
            q[0] = p[0], q[1] = p[1], q[2] = p[2];
        }
}

void Draw(Image& dst, int x, int y, const Image& src) {
    CopyRect(dst, {x, y, x + src.Width, y + src.Height}, src, {0, 0, src.Width, src.Height});
}

void RunPlan(Image& dst, const Image& src, const TBlitPlan& plan) {
    for (const TBlit& b : plan) CopyRect(dst, b.Dst, src, b.Src, b.Clip);
}

Image BuildImage(const Image& src, const TImagePlan& plan) {
    if (!plan.Built) return Image();
    Image img(plan.Width, plan.Height);
    RunPlan(img, src, plan.Plan);
    return img;
}

Image Enlarge(const Image& img, int factor) {
    Image out(img.Width * factor, img.Height * factor);
    CopyRect(out, {0, 0, out.Width, out.Height}, img, {0, 0, img.Width, img.Height});
    return out;
}

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutU32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

}  // namespace

void WritePng(const Image& img, const std::string& path) {
    std::vector<uint8_t> raw;
    raw.reserve(size_t(img.Height) * (3 * img.Width + 1));
    for (int y = 0; y < img.Height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < img.Width; ++x) {
            const uint8_t* p = img.PixelPointer(x, y);
            raw.push_back(p[2]), raw.push_back(p[1]), raw.push_back(p[0]);
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 9) != Z_OK)
        throw std::runtime_error("PNG compression failed");
    packed.resize(packedSize);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutU32(header, uint32_t(img.Width));
    PutU32(header, uint32_t(img.Height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter choice, no interlace
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", {});
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot create " + path);
    const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    if (std::fclose(f) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace fn::preview
