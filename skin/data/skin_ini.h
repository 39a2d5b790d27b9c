#pragma once
// Skin description format: value types, keyword tables, the value readers and
// writers over the INI table, the number-list and font-style rules, the counted name list,
// IsSkinDescription and SplitRecordEntry. Portable.
#include <string_view>
#include <vector>

#include "platform/core/graph_types.h"
#include "platform/core/ini_file.h"
#include "skin/skin_geometry.h"

namespace fn {

enum TInactiveEffect : int { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };
enum TMorphKind : int { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush };
enum TButtonCommand : int { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };

// A keyword table of the description format: keywords in table order (index = ordinal), the ordinal of
// unrecognised text and the default text read when the key is missing.
struct TSkinKeywordTable {
    const wchar_t* const* keywords;
    int count;
    int unrecognised;
    const wchar_t* defaultText;
};
extern const TSkinKeywordTable AlignmentKeywords;
extern const TSkinKeywordTable InactiveEffectKeywords;
extern const TSkinKeywordTable MorphKindKeywords;
extern const TSkinKeywordTable StretchTypeKeywords;
extern const TSkinKeywordTable ButtonCommandKeywords;
extern const wchar_t* const FontStyleKeywords[4];  // "fsbold", "fsitalic", "fsunderline", "fsstrikeout"

// Exact-case comparison in table order; no match gives the table's unrecognised result.
int KeywordToOrdinal(const TSkinKeywordTable& table, std::wstring_view text);

// Number-list rule: "," separates fields, digits accumulate, every other character is
// skipped. Fields 1..count are converted with StrToInt; an empty field or one beyond the
// 32-bit range raises EConvertError "'%s' ist kein gültiger Integerwert".
TSkinRect NumberListToRect(std::wstring_view text);
TSkinPoint NumberListToPoint(std::wstring_view text);
// Font-style rule: exact-case substring test for each of the four keywords.
TFontStyles TextToFontStyles(std::wstring_view text);
String FontStylesToText(TFontStyles styles);
String RectToText(const TSkinRect& r);
String PointToText(const TSkinPoint& p);

// Value readers (section, key); with their defaults.
TSkinRect ReadSkinRect(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key);
TSkinPoint ReadSkinPoint(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key);
bool ReadSkinBool(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key);
TFontStyles ReadFontStyles(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key);
TAlignment ReadAlignment(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key);
TInactiveEffect ReadInactiveEffect(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key);
TMorphKind ReadMorphKind(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key);
TStretchType ReadStretchType(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key);
TButtonCommand ReadButtonCommand(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key);
// Appends the items of the counted name list (prefix + "count", items "0", "1", ...).
// A count larger than the section's entries plus MaxMissingNameListItems is cut to that.
inline constexpr int MaxMissingNameListItems = 65536;
void ReadNameList(const TMemIniFile& ini, std::wstring_view section, std::wstring_view prefix, std::vector<String>& list);
void ReadNameList(const TMemIniFile& ini, std::wstring_view section, std::wstring_view prefix, TStringList& list);

// Value writers.
void WriteSkinRect(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, const TSkinRect& value);
void WriteSkinPoint(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, const TSkinPoint& value);
void WriteSkinBool(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, bool value);
void WriteFontStyles(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, TFontStyles value);
void WriteAlignment(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, int value);
void WriteInactiveEffect(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, int value);
void WriteMorphKind(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, int value);
void WriteStretchType(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, int value);
void WriteButtonCommand(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, int value);
// Writes prefix + "count" and the items "0".."N-1".
void WriteNameList(TMemIniFile& ini, std::wstring_view section, std::wstring_view prefix, const std::vector<String>& list);

// The five required sections, tested in this order.
inline constexpr const wchar_t* RequiredSkinSections[5] = {L"VERSION", L"PICTURES", L"FORMINFO", L"SKINOBJECTS",
                                                          L"SKINCONTROLS"};
bool IsSkinDescription(const TMemIniFile& ini);
// Name before the first ":", type after it; without ":" both are empty.
void SplitRecordEntry(std::wstring_view entry, String& name, String& type);

}  // namespace fn
