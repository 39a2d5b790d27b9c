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
constexpr TColor SystemColorRef(int index) { return static_cast<TColor>(0xFF000000u | static_cast<unsigned>(index)); }

// The named system colours, by the platform's system colour indexes.
inline constexpr TColor clScrollBar = SystemColorRef(0), clBackground = SystemColorRef(1),
    clActiveCaption = SystemColorRef(2), clInactiveCaption = SystemColorRef(3), clMenu = SystemColorRef(4),
    clWindow = SystemColorRef(5), clWindowFrame = SystemColorRef(6), clMenuText = SystemColorRef(7),
    clWindowText = SystemColorRef(8), clCaptionText = SystemColorRef(9), clActiveBorder = SystemColorRef(10),
    clInactiveBorder = SystemColorRef(11), clAppWorkSpace = SystemColorRef(12), clHighlight = SystemColorRef(13),
    clHighlightText = SystemColorRef(14), clBtnFace = SystemColorRef(15), clBtnShadow = SystemColorRef(16),
    clGrayText = SystemColorRef(17), clBtnText = SystemColorRef(18), clInactiveCaptionText = SystemColorRef(19),
    clBtnHighlight = SystemColorRef(20), cl3DDkShadow = SystemColorRef(21), cl3DLight = SystemColorRef(22),
    clInfoText = SystemColorRef(23), clInfoBk = SystemColorRef(24);

// TFontStyles: a set of TFontStyle flags, bit n for the style of ordinal n.
enum TFontStyle : uint8_t { fsBold = 0, fsItalic = 1, fsUnderline = 2, fsStrikeOut = 3 };
using TFontStyles = uint8_t;
constexpr TFontStyles FontStyleBit(TFontStyle s) { return static_cast<TFontStyles>(1u << s); }
constexpr bool HasFontStyle(TFontStyles set, TFontStyle s) { return (set & FontStyleBit(s)) != 0; }

// TAlignment: ordinals 0, 1, 2 as the platform numbers them.
enum TAlignment : int { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

}  // namespace fn
