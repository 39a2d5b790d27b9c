#pragma once
// The platform-version thresholds of the skinned windows, as functions of the version, so that
// every threshold is tested on any system; system_win reads the running system's version.
// Portable.
#include <cstdint>

namespace fn {

struct TOSVersion {
    int Major = 0;
    int Minor = 0;
};

// The platform's version number holds the major version in its low byte, the minor in the next.
constexpr TOSVersion OSVersionFromNumber(uint32_t number) {
    return {static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF)};
}

constexpr bool IsOSVersion6OrLater(TOSVersion v) { return v.Major > 5; }
// Callers then give popup and hint windows the shadow style.
constexpr bool DropShadowAvailable(TOSVersion v) { return v.Major > 5 || (v.Major == 5 && v.Minor == 1); }
// Callers then use window alpha.
constexpr bool LayeredWindowsAvailable(TOSVersion v) {
    return v.Major > 5 || (v.Major == 5 && v.Minor >= 0 && v.Minor <= 2);
}

}  // namespace fn
