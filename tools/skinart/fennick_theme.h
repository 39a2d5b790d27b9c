#pragma once
// Everything that decides the look of the "Fennick" skin: colours, radii, sizes and fonts.
// Change a value here and rerun skinart; every picture and the description follow.
#include "tools/skinart/raster.h"

namespace fn::art::theme {

// Window frame: a slate-blue caption band with a soft vertical gradient.
inline constexpr Rgb CaptionTop{70, 106, 148};
inline constexpr Rgb CaptionBottom{52, 84, 122};
inline constexpr Rgb Sheen{255, 255, 255};         // blended over the caption's first row
inline constexpr double SheenAlpha = 0.16;
inline constexpr Rgb Outline{34, 55, 82};          // one-pixel line around the whole window
inline constexpr Rgb Border = CaptionBottom;       // side and bottom borders
inline constexpr Rgb WindowBg{244, 246, 249};      // client background of ordinary forms
inline constexpr Rgb MdiBg{222, 228, 235};         // behind the document windows

inline constexpr Rgb CaptionText{252, 253, 255};
inline constexpr Rgb CaptionTextInactive{234, 237, 241};  // shown greyed by the inactive effect
inline constexpr Rgb CaptionShadow{36, 58, 86};

// Caption buttons.
inline constexpr Rgb Glyph{246, 248, 251};
inline constexpr Rgb GlyphInactive{214, 219, 225};
inline constexpr Rgb HoverTint{255, 255, 255};
inline constexpr double HoverAlpha = 0.20;
inline constexpr Rgb PressTint{8, 16, 28};
inline constexpr double PressAlpha = 0.28;
inline constexpr Rgb CloseHover{205, 66, 66};
inline constexpr Rgb ClosePressed{158, 42, 42};

// Text and controls.
inline constexpr Rgb Text{31, 41, 51};
inline constexpr Rgb TextStrong{12, 22, 34};
inline constexpr Rgb TextDisabled{140, 151, 164};
inline constexpr Rgb Accent = CaptionTop;
inline constexpr Rgb White{255, 255, 255};

// Menu bar of the document windows.
inline constexpr Rgb BarBg{243, 245, 248};
inline constexpr Rgb BarLine{212, 218, 226};
inline constexpr Rgb BarHover{220, 230, 242};
inline constexpr Rgb BarDown{198, 215, 236};
inline constexpr Rgb BarDownEdge{150, 178, 212};

// Popup menus.
inline constexpr Rgb MenuBg{255, 255, 255};
inline constexpr Rgb MenuEdge{170, 182, 197};
inline constexpr Rgb MenuSelect{222, 234, 248};
inline constexpr Rgb MenuSelectEdge{170, 197, 230};
inline constexpr Rgb MenuDivider{220, 226, 233};

// Hints.
inline constexpr Rgb HintBg{48, 61, 78};
inline constexpr Rgb HintEdge{30, 40, 53};
inline constexpr Rgb HintText{245, 247, 250};

// Panels, status bar, tabs, buttons.
inline constexpr Rgb PanelBg{236, 239, 243};
inline constexpr Rgb PanelEdge{194, 202, 212};
inline constexpr Rgb ButtonFace{247, 248, 250};
inline constexpr Rgb ButtonHover{232, 240, 250};
inline constexpr Rgb ButtonDown{208, 222, 241};
inline constexpr Rgb ButtonEdge{170, 182, 197};
inline constexpr Rgb ButtonHoverEdge{118, 150, 190};
inline constexpr Rgb TabBg{228, 233, 239};
inline constexpr Rgb TabHover{238, 242, 247};
inline constexpr Rgb TabEdge{196, 204, 214};
inline constexpr Rgb CheckEdge{128, 142, 158};
inline constexpr Rgb Grip{146, 157, 170};
inline constexpr Rgb Transparent{255, 0, 255};      // key colour of grip images

// Window frame geometry.
inline constexpr int FrameWidth = 320;
inline constexpr int FrameHeight = 100;
// The narrowest a skinned window may become: the left corner, the caption buttons' corner and a
// little caption between them, so that tiled document windows fit side by side.
inline constexpr int FormMinWidth = 200;
inline constexpr int CaptionHeight = 32;
inline constexpr int BorderWidth = 4;
inline constexpr int CornerRadius = 8;

// Caption buttons: one row of glyph cells per state.
inline constexpr int ButtonWidth = 30;
inline constexpr int ButtonHeight = 24;
inline constexpr int ButtonTop = 4;        // inside the caption band
inline constexpr int ButtonGap = 2;
inline constexpr int ButtonRadius = 5;
inline constexpr int SysButtonWidth = 26;
inline constexpr int CaptionSideMargin = 6;

// Menus.
inline constexpr int MenuBarHeight = 24;
inline constexpr int MenuBarItemPad = 9;   // text padding on each side of a bar item
inline constexpr int MenuItemHeight = 24;
inline constexpr int MenuItemWidth = 48;
inline constexpr int MenuTextLeft = 28;    // glyph column before the text
inline constexpr int DividerHeight = 9;
inline constexpr int PopupSize = 48;
inline constexpr int PopupRadius = 6;
inline constexpr int ItemRadius = 4;
inline constexpr int HintWidth = 32;
inline constexpr int HintHeight = 24;
inline constexpr int HintRadius = 4;

// Fonts. Tahoma exists on every Windows and in Wine.
inline constexpr const char* FontName = "Tahoma";
inline constexpr int CaptionFontHeight = 15;
inline constexpr int MenuFontHeight = 14;
inline constexpr int ControlFontHeight = 14;
inline constexpr int HintFontHeight = 13;

}  // namespace fn::art::theme
