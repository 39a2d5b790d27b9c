#pragma once
// TmnBorderIcons: which caption buttons and system-menu items a skinned window offers, bit n for
// the icon of ordinal n.

namespace fn {

enum TmnBorderIcon : int { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TmnBorderIcons = unsigned;
constexpr TmnBorderIcons BorderIconBit(TmnBorderIcon i) { return 1u << i; }
inline constexpr TmnBorderIcons DefaultBorderIcons =
    BorderIconBit(biSystemMenu) | BorderIconBit(biMinimize) | BorderIconBit(biMaximize) | BorderIconBit(biRollUp);

}  // namespace fn
