#pragma once
// Text for the skin preview, rasterised with FreeType from the fonts the program sees under
// Wine (Wine's own Tahoma; DejaVu Sans for any other name). Heights are cell heights in
// pixels, as the skin's "fontheight" keys give them.
#include <memory>
#include <string>

#include "platform/core/graph_types.h"
#include "platform/core/strings.h"
#include "tools/skinpreview/canvas.h"

namespace fn::preview {

struct FontSpec {
    String name = L"Arial";
    int height = 14;
    TFontStyles style = 0;
};

class TextRenderer {
public:
    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Width and cell height of a line. With prefix processing an "&" marks the next
    // character as the accelerator (underlined) and "&&" stands for "&".
    int Width(const FontSpec& font, const String& text, bool prefix = false);
    int Height(const FontSpec& font);
    // Draws a line with its cell's top-left corner at (x, y), clipped to clip when not empty.
    void Draw(Image& dst, int x, int y, const FontSpec& font, const String& text, Colour colour,
              bool prefix = false, const TSkinRect& clip = {});

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fn::preview
