#include "tools/skinpreview/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>

namespace fn::preview {

namespace {

std::string FontFile(const FontSpec& font) {
    const bool bold = HasFontStyle(font.style, fsBold);
    const char* candidates[2][2] = {
        {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
        {"/usr/share/wine/fonts/tahomabd.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"}};
    const int first = SameText(font.name, L"Tahoma") ? 0 : 1;
    for (int i = first; i < 2; ++i)
        if (std::filesystem::exists(candidates[bold][i])) return candidates[bold][i];
    throw std::runtime_error("no font file for the preview (install fonts-wine or fonts-dejavu-core)");
}

// Visible characters of a line and the index of the underlined one (-1 for none).
String StripPrefix(const String& text, bool prefix, int& underline) {
    underline = -1;
    if (!prefix) return text;
    String out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != L'&' && underline < 0) underline = int(out.size());
        }
        out += text[i];
    }
    return out;
}

}  // namespace

struct TextRenderer::Impl {
    FT_Library library = nullptr;
    std::map<std::string, FT_Face> faces;

    FT_Face Face(const FontSpec& font) {
        const std::string file = FontFile(font);
        auto it = faces.find(file);
        if (it == faces.end()) {
            FT_Face face = nullptr;
            if (FT_New_Face(library, file.c_str(), 0, &face) != 0) throw std::runtime_error("cannot open " + file);
            it = faces.emplace(file, face).first;
        }
        FT_Size_RequestRec req{FT_SIZE_REQUEST_TYPE_CELL, 0, font.height << 6, 0, 0};
        FT_Request_Size(it->second, &req);
        return it->second;
    }
};

TextRenderer::TextRenderer() : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->library) != 0) throw std::runtime_error("FreeType failed to start");
}

TextRenderer::~TextRenderer() {
    for (auto& [file, face] : impl_->faces) FT_Done_Face(face);
    FT_Done_FreeType(impl_->library);
}

int TextRenderer::Height(const FontSpec& font) {
    FT_Face face = impl_->Face(font);
    return int((face->size->metrics.ascender - face->size->metrics.descender + 63) >> 6);
}

int TextRenderer::Width(const FontSpec& font, const String& text, bool prefix) {
    int underline;
    const String line = StripPrefix(text, prefix, underline);
    FT_Face face = impl_->Face(font);
    long advance = 0;
    for (wchar_t ch : line)
        if (FT_Load_Char(face, FT_ULong(ch), FT_LOAD_DEFAULT) == 0) advance += face->glyph->advance.x;
    return int((advance + 63) >> 6);
}

void TextRenderer::Draw(Image& dst, int x, int y, const FontSpec& font, const String& text, Colour colour,
                        bool prefix, const TSkinRect& clip) {
    int underline;
    const String line = StripPrefix(text, prefix, underline);
    FT_Face face = impl_->Face(font);
    const int baseline = y + int(face->size->metrics.ascender >> 6);
    TSkinRect bounds = clip.IsEmpty() ? TSkinRect{0, 0, dst.Width, dst.Height} : clip;
    bounds = {std::max(bounds.Left, 0), std::max(bounds.Top, 0), std::min(bounds.Right, dst.Width),
              std::min(bounds.Bottom, dst.Height)};
    auto blend = [&](int px, int py, int alpha) {
        if (px < bounds.Left || py < bounds.Top || px >= bounds.Right || py >= bounds.Bottom || alpha <= 0) return;
        uint8_t* d = dst.PixelPointer(px, py);
        d[0] = uint8_t((d[0] * (255 - alpha) + colour.b * alpha + 127) / 255);
        d[1] = uint8_t((d[1] * (255 - alpha) + colour.g * alpha + 127) / 255);
        d[2] = uint8_t((d[2] * (255 - alpha) + colour.r * alpha + 127) / 255);
    };
    long pen = long(x) << 6;
    for (size_t i = 0; i < line.size(); ++i) {
        if (FT_Load_Char(face, FT_ULong(line[i]), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) continue;
        const FT_GlyphSlot g = face->glyph;
        const int gx = int(pen >> 6) + g->bitmap_left, gy = baseline - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row)
            for (unsigned col = 0; col < g->bitmap.width; ++col)
                blend(gx + int(col), gy + int(row), g->bitmap.buffer[row * g->bitmap.pitch + col]);
        if (int(i) == underline)
            for (int px = int(pen >> 6); px < int((pen + g->advance.x) >> 6); ++px) blend(px, baseline + 1, 255);
        pen += g->advance.x;
    }
}

}  // namespace fn::preview
