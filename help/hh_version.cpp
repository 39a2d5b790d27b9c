#include "help/hh_version.h"

namespace fn {

namespace {

struct TNamedVersion {
    TFileVersion Version;
    const wchar_t* Name;
};

// Viewer releases, newest first; the first row the version reaches names it.
constexpr TNamedVersion ViewerReleases[] = {
    {{5, 2, 3626, 0}, L"1.4"},     {{4, 74, 9273, 0}, L"1.33"},  {{4, 74, 8857, 0}, L"1.32"},
    {{4, 74, 8793, 0}, L"1.31"},   {{4, 74, 8702, 0}, L"1.3"},   {{4, 73, 8561, 0}, L"1.22"},
    {{4, 73, 8474, 0}, L"1.21a"},  {{4, 73, 8412, 0}, L"1.21"},  {{4, 73, 8252, 0}, L"1.2"},
    {{4, 72, 8164, 0}, L"1.1b"},   {{4, 72, 7325, 0}, L"1.1a"},  {{4, 72, 7323, 0}, L"1.1"},
    {{4, 72, 7290, 0}, L"1.0"},
};
constexpr TFileVersion ViewerRelease14a{5, 2, 3669, 0};

// Browser releases up to version 6, newest first.
constexpr TNamedVersion BrowserReleases[] = {
    {{6, 0, 3790, 0}, L"Internet Explorer 6 (Windows Server 2003)"},
    {{6, 0, 3718, 0}, L"Internet Explorer 6 (Windows Server 2003 RC2)"},
    {{6, 0, 3663, 0}, L"Internet Explorer 6 (Windows Server 2003 RC1)"},
    {{6, 0, 2900, 2180}, L"Internet Explorer 6 (Windows XP SP2)"},
    {{6, 0, 2800, 1106}, L"Internet Explorer 6 SP1"},
    {{6, 0, 2712, 300}, L"Internet Explorer 6 (Windows XP + minor update)"},
    {{6, 0, 2600, 0}, L"Internet Explorer 6 (Windows XP)"},
    {{6, 0, 2479, 6}, L"Internet Explorer 6 Public Preview (Beta) Refresh"},
    {{6, 0, 2462, 0}, L"Internet Explorer 6 Public Preview (Beta)"},
    {{5, 50, 4807, 2300}, L"Internet Explorer 5.5 Service Pack 2"},
    {{5, 50, 4522, 1800}, L"Internet Explorer 5.5 Service Pack 1"},
    {{5, 50, 4308, 2900}, L"Internet Explorer 5.5 Advanced Security Privacy Beta"},
    {{5, 50, 4134, 600}, L"Internet Explorer 5.5"},
    {{5, 50, 4134, 100}, L"Internet Explorer 5.5 for Windows Me (4.90.3000)"},
    {{5, 50, 4030, 2400}, L"Internet Explorer 5.5 & Internet Tools Beta"},
    {{5, 50, 3825, 1300}, L"Internet Explorer 5.5 Developer Preview"},
    {{5, 0, 2919, 6307}, L"Internet Explorer 5.01"},
    {{5, 0, 2919, 3800}, L"Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"},
    {{5, 0, 2919, 800}, L"Internet Explorer 5.01 (Windows 2000 RC1, build 5.00.2072)"},
    {{5, 0, 2721, 1400}, L"Internet Explorer 5.0 updated"},
    {{5, 0, 2614, 0}, L"Internet Explorer 5.0b"},
    {{5, 0, 2314, 0}, L"Internet Explorer 5.0a"},
    {{5, 0, 2014, 0}, L"Internet Explorer 5.0"},
    {{5, 0, 910, 0}, L"Internet Explorer 5 Beta (Beta 2)"},
    {{5, 0, 518, 0}, L"Internet Explorer 5 Developer Preview (Beta 1)"},
    {{4, 72, 3612, 0}, L"Internet Explorer 4.01 Service Pack 2 (SP2)"},
    {{4, 72, 3110, 0}, L"Internet Explorer 4.01 Service Pack 1 (SP1)"},
    {{4, 72, 2106, 0}, L"Internet Explorer 4.01"},
    {{4, 71, 1712, 0}, L"Internet Explorer 4.0"},
    {{4, 71, 1008, 0}, L"Internet Explorer 4.0 Platform Preview 2.0 (PP2)"},
    {{4, 71, 544, 0}, L"Internet Explorer 4.0 Platform Preview 1.0 (PP1)"},
    {{4, 70, 1300, 0}, L"Internet Explorer 3.02"},
    {{4, 70, 1215, 0}, L"Internet Explorer 3.01"},
    {{4, 70, 1158, 0}, L"Internet Explorer 3.0 (OSR2)"},
    {{4, 70, 1155, 0}, L"Internet Explorer 3.0"},
    {{4, 40, 520, 0}, L"Internet Explorer 2.0"},
    {{4, 40, 308, 0}, L"Internet Explorer 1.0 (Plus!)"},
};

template <size_t N>
const wchar_t* FirstReached(const TNamedVersion (&table)[N], const TFileVersion& version) {
    for (const TNamedVersion& row : table)
        if (version >= row.Version) return row.Name;
    return nullptr;
}

}  // namespace

TFileVersion VersionFromWords(uint32_t mostSignificant, uint32_t leastSignificant) {
    return {static_cast<uint16_t>(mostSignificant >> 16), static_cast<uint16_t>(mostSignificant & 0xFFFF),
            static_cast<uint16_t>(leastSignificant >> 16), static_cast<uint16_t>(leastSignificant & 0xFFFF)};
}

String VersionText(const TFileVersion& v) {
    return IntToStr(v.Major) + L'.' + IntToStr(v.Minor) + L'.' + IntToStr(v.Release) + L'.' + IntToStr(v.Build);
}

String FriendlyViewerVersion(const std::optional<TFileVersion>& version) {
    if (!version) return {};
    if (*version > ViewerRelease14a) return L"> 1.4a";
    if (*version == ViewerRelease14a) return L"1.4a";
    const wchar_t* name = FirstReached(ViewerReleases, *version);
    return name ? name : L"< 1.0";
}

TFileVersion NormalizeBrowserVersion(const TFileVersion& v) {
    if (v.Major == 4 && v.Minor <= 70 && v.Release == 0) return {v.Major, v.Minor, v.Build, 0};
    return v;
}

String FriendlyBrowserVersion(const std::optional<TFileVersion>& version) {
    if (!version) return {};
    if (version->Major > 6) return L">= Internet Explorer " + VersionText(*version);
    const wchar_t* name = FirstReached(BrowserReleases, *version);
    return name ? name : L"< Internet Explorer 1.0 (Plus!)";
}

bool ViewerVersionSufficient(uint16_t major, uint16_t minor) {
    return major > 4 || (major == 4 && minor >= 73);
}

}  // namespace fn
