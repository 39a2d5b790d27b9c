#pragma once
// What the units of the form skinning component share and nothing else needs: the private
// messages it posts to its own form, its timer ids, and small conversions.
#include <windows.h>

#include "skin/skin_geometry.h"

namespace fn::mantle {

// The library's timers on a dressed form live in a private id range (0x4D01..): the form's own
// program may use any small id, such as 1, for its own timers.
constexpr UINT_PTR FadeTimerId = 0x4D04;
constexpr UINT WM_MANTLE_ACTION = WM_APP + 0x4D0;       // wParam: TmnWindowAction, posted
constexpr UINT WM_MANTLE_SYNC_ACTIVE = WM_APP + 0x4D1;  // re-reads the activation after the first show
constexpr UINT WM_MANTLE_CHANGE_CHECK = WM_APP + 0x4D2; // a skin load has ended, with or without its change
constexpr UINT WM_MANTLE_SHOWN_CHECK = WM_APP + 0x4D3;  // the seam saw a new window: was it shown already?

inline TSkinRect ToSkinRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace fn::mantle
