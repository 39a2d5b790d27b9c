#pragma once
// File versions of the help viewer library and the browser library, and the
// names under which the diagnostic log reports them. Portable: no windows.h.
#include <compare>
#include <cstdint>
#include <optional>

#include "platform/core/strings.h"

namespace fn {

// The four 16-bit parts of a file version; compares part by part, unsigned.
struct TFileVersion {
    uint16_t Major = 0;
    uint16_t Minor = 0;
    uint16_t Release = 0;
    uint16_t Build = 0;

    auto operator<=>(const TFileVersion&) const = default;
};

// The parts as a fixed version block stores them: two 32-bit words, high word first.
TFileVersion VersionFromWords(uint32_t mostSignificant, uint32_t leastSignificant);

// "major.minor.release.build" in decimal.
String VersionText(const TFileVersion& version);

// The help-viewer release a library version belongs to ("1.2", "> 1.4a", "< 1.0");
// empty when the file has no version.
String FriendlyViewerVersion(const std::optional<TFileVersion>& version);

// Browser libraries of the 4.70 generation and older keep the release in the build part:
// 4.m.0.b with m <= 70 becomes 4.m.b.0.
TFileVersion NormalizeBrowserVersion(const TFileVersion& version);

// The browser release a (normalized) browser library version belongs to; empty without version.
String FriendlyBrowserVersion(const std::optional<TFileVersion>& version);

// The viewer is good enough from library version 4.73 on (major and minor compared unsigned).
bool ViewerVersionSufficient(uint16_t major, uint16_t minor);

}  // namespace fn
