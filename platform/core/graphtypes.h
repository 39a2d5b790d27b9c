#pragma once
// Small value types of the platform's graphics that portable units (the skin description
// readers, the records) already need: colours, font style sets and text alignment.
// The Win32 canvas layer uses the same definitions.
#include <cstdint>

namespace fn {

// Platform colour encoding: red in the low byte; 0xFF in the top byte marks a system colour
// whose index is in the low byte (clBtnFace = 0xFF00000F).
using TColor = int32_t;

// A reference to the system colour of this index (COLOR_BTNFACE = 15 gives 0xFF00000F).
// The named system colours (clBtnFace, ...) belong to the Win32 layer.
constexpr TColor SystemColorRef(int index) { return static_cast<TColor>(0xFF000000u | static_cast<unsigned>(index)); }

// TFontStyles: a set of TFontStyle flags, bit n for the style of ordinal n.
enum TFontStyle : uint8_t { fsBold = 0, fsItalic = 1, fsUnderline = 2, fsStrikeOut = 3 };
using TFontStyles = uint8_t;
constexpr TFontStyles FontStyleBit(TFontStyle s) { return static_cast<TFontStyles>(1u << s); }
constexpr bool HasFontStyle(TFontStyles set, TFontStyle s) { return (set & FontStyleBit(s)) != 0; }

// TAlignment: ordinals 0, 1, 2 as the platform numbers them.
enum TAlignment : int { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

}  // namespace fn
