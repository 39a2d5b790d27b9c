#include "skin/data/skin_ini.h"
#include "platform/core/library_texts.h"

namespace fn {

namespace {
const wchar_t* const kAlignment[] = {L"taleftjustify", L"tarightjustify", L"tacenter"};
const wchar_t* const kInactiveEffect[] = {L"iebrightness", L"iedarkness", L"iegrayscale",
                                          L"ienoise",      L"iesplitblur", L"ieinvert"};
const wchar_t* const kMorphKind[] = {L"mkdefault",   L"mkgradient",   L"mkleftgradient", L"mkrightgradient",
                                     L"mkleftslide", L"mkrightslide", L"mkpush"};
const wchar_t* const kStretchType[] = {L"stfull", L"sthorz", L"stvert"};
const wchar_t* const kButtonCommand[] = {L"cmclose",   L"cmmaximize", L"cmminimize",      L"cmsysmenu",
                                         L"cmdefault", L"cmrollup",   L"cmminimizetotray"};

const wchar_t* KeywordOf(const TSkinKeywordTable& t, int ordinal, int fallback) {
    return t.keywords[(ordinal >= 0 && ordinal < t.count) ? ordinal : fallback];
}

// The conversion error of the field text[start, end): its digits are the text converted.
[[noreturn]] void FieldError(std::wstring_view text, size_t start, size_t end) {
    String digits;
    for (size_t i = start; i < end; ++i)
        if (text[i] >= L'0' && text[i] <= L'9') digits += text[i];
    throw EConvertError(Format(texts::InvalidInteger, {digits}));
}

// Number list over `count` fields; fields beyond `count` are ignored. The end of the text
// closes the last field; fields it never reached are empty, and "" does not convert.
void NumberList(std::wstring_view text, int* out, int count) {
    int field = 0;
    size_t start = 0;  // where the current field's characters begin
    uint64_t acc = 0;
    bool digits = false, overflow = false;
    for (size_t i = 0;; ++i) {
        const bool end = i == text.size();
        const wchar_t c = end ? L',' : text[i];
        if (c >= L'0' && c <= L'9') {
            digits = true;
            if (!overflow) {
                acc = acc * 10 + static_cast<uint64_t>(c - L'0');
                overflow = acc > 0x7FFFFFFFull;
            }
            continue;
        }
        if (c != L',') continue;
        if (!digits || overflow) FieldError(text, start, i);
        out[field++] = static_cast<int>(acc);
        if (field == count) return;
        if (end) FieldError(text, i, i);
        start = i + 1;
        acc = 0;
        digits = overflow = false;
    }
}
}  // namespace

const TSkinKeywordTable AlignmentKeywords{kAlignment, 3, taRightJustify, L"tacenter"};
const TSkinKeywordTable InactiveEffectKeywords{kInactiveEffect, 6, ieGrayScale, L"iebrightness"};
const TSkinKeywordTable MorphKindKeywords{kMorphKind, 7, mkDefault, L"mkdefault"};
const TSkinKeywordTable StretchTypeKeywords{kStretchType, 3, stHorz, L"stfull"};
const TSkinKeywordTable ButtonCommandKeywords{kButtonCommand, 7, cmMinimizeToTray, L"cmdefault"};
const wchar_t* const FontStyleKeywords[4] = {L"fsbold", L"fsitalic", L"fsunderline", L"fsstrikeout"};

int KeywordToOrdinal(const TSkinKeywordTable& table, std::wstring_view text) {
    for (int i = 0; i < table.count; ++i)
        if (text == table.keywords[i]) return i;
    return table.unrecognised;
}

TSkinRect NumberListToRect(std::wstring_view text) {
    int f[4];
    NumberList(text, f, 4);
    return TSkinRect{f[0], f[1], f[2], f[3]};
}

TSkinPoint NumberListToPoint(std::wstring_view text) {
    int f[2];
    NumberList(text, f, 2);
    return TSkinPoint{f[0], f[1]};
}

TFontStyles TextToFontStyles(std::wstring_view text) {
    TFontStyles s = 0;
    for (int i = 0; i < 4; ++i)
        if (text.find(FontStyleKeywords[i]) != std::wstring_view::npos) s |= static_cast<TFontStyles>(1u << i);
    return s;
}

String FontStylesToText(TFontStyles styles) {
    String t;
    for (int i = 0; i < 4; ++i) {
        if (!(styles & (1u << i))) continue;
        if (!t.empty()) t += L',';
        t += FontStyleKeywords[i];
    }
    return t;
}

String RectToText(const TSkinRect& r) {
    return IntToStr(r.Left) + L"," + IntToStr(r.Top) + L"," + IntToStr(r.Right) + L"," + IntToStr(r.Bottom);
}

String PointToText(const TSkinPoint& p) { return IntToStr(p.X) + L"," + IntToStr(p.Y); }

// ---- readers ----

TSkinRect ReadSkinRect(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key) {
    auto v = ini.FindValue(section, key);
    return v ? NumberListToRect(*v) : TSkinRect{};
}

TSkinPoint ReadSkinPoint(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key) {
    auto v = ini.FindValue(section, key);
    return v ? NumberListToPoint(*v) : TSkinPoint{};
}

bool ReadSkinBool(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key) {
    return ini.ReadInteger(section, key, 0) == 1;
}

TFontStyles ReadFontStyles(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key) {
    auto v = ini.FindValue(section, key);
    return v ? TextToFontStyles(*v) : 0;
}

static int ReadKeyword(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key,
                       const TSkinKeywordTable& table) {
    auto v = ini.FindValue(section, key);
    return KeywordToOrdinal(table, v.value_or(table.defaultText));
}

TAlignment ReadAlignment(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key) {
    return static_cast<TAlignment>(ReadKeyword(ini, section, key, AlignmentKeywords));
}
TInactiveEffect ReadInactiveEffect(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key) {
    return static_cast<TInactiveEffect>(ReadKeyword(ini, section, key, InactiveEffectKeywords));
}
TMorphKind ReadMorphKind(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key) {
    return static_cast<TMorphKind>(ReadKeyword(ini, section, key, MorphKindKeywords));
}
TStretchType ReadStretchType(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key) {
    return static_cast<TStretchType>(ReadKeyword(ini, section, key, StretchTypeKeywords));
}
TButtonCommand ReadButtonCommand(const TMemIniFile& ini, std::wstring_view section, std::wstring_view key) {
    return static_cast<TButtonCommand>(ReadKeyword(ini, section, key, ButtonCommandKeywords));
}

void ReadNameList(const TMemIniFile& ini, std::wstring_view section, std::wstring_view prefix,
                  std::vector<String>& list) {
    int n = ini.ReadInteger(section, String(prefix) + L"count", 0);
    if (n <= 0) return;
    // Items that are missing read as empty texts. The count is untrusted text: a count beyond
    // the section's entries by more than MaxMissingNameListItems is cut there, so a claim of
    // a billion items cannot allocate without bound.
    const auto entries = ini.SectionEntries(section);
    long long limit = static_cast<long long>(entries.size()) + MaxMissingNameListItems;
    if (n > limit) n = static_cast<int>(limit);
    // The items are the keys "0".."n-1" (decimal, no leading zeros; first occurrence wins):
    // collect them in one pass instead of n lookups.
    std::vector<const std::wstring_view*> items(static_cast<size_t>(n), nullptr);
    for (const auto& e : entries) {
        if (!e.hasValue || e.key.empty() || e.key.size() > 10 || (e.key[0] == L'0' && e.key.size() > 1)) continue;
        long long idx = 0;
        bool digits = true;
        for (wchar_t c : e.key) {
            if (c < L'0' || c > L'9') { digits = false; break; }
            idx = idx * 10 + (c - L'0');
        }
        if (digits && idx < n && !items[static_cast<size_t>(idx)]) items[static_cast<size_t>(idx)] = &e.value;
    }
    list.reserve(list.size() + items.size());
    for (const std::wstring_view* v : items) list.push_back(v ? String(*v) : String());
}

void ReadNameList(const TMemIniFile& ini, std::wstring_view section, std::wstring_view prefix, TStringList& list) {
    ReadNameList(ini, section, prefix, list.Lines());
}

// ---- writers ----

void WriteSkinRect(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, const TSkinRect& value) {
    ini.WriteString(section, key, RectToText(value));
}
void WriteSkinPoint(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, const TSkinPoint& value) {
    ini.WriteString(section, key, PointToText(value));
}
void WriteSkinBool(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, bool value) {
    ini.WriteInteger(section, key, value ? 1 : 0);
}
void WriteFontStyles(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, TFontStyles value) {
    ini.WriteString(section, key, FontStylesToText(value));
}
void WriteAlignment(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, int value) {
    ini.WriteString(section, key, value == 2 ? L"tacenter" : value != 0 ? L"tarightjustify" : L"taleftjustify");
}
void WriteInactiveEffect(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, int value) {
    ini.WriteString(section, key, KeywordOf(InactiveEffectKeywords, value, ieGrayScale));
}
void WriteMorphKind(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, int value) {
    ini.WriteString(section, key, KeywordOf(MorphKindKeywords, value, mkDefault));
}
void WriteStretchType(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, int value) {
    ini.WriteString(section, key, KeywordOf(StretchTypeKeywords, value, stHorz));
}
void WriteButtonCommand(TMemIniFile& ini, std::wstring_view section, std::wstring_view key, int value) {
    ini.WriteString(section, key, (value >= 0 && value <= 5) ? kButtonCommand[value] : L"cmminimizetotray");
}

void WriteNameList(TMemIniFile& ini, std::wstring_view section, std::wstring_view prefix,
                   const std::vector<String>& list) {
    ini.WriteInteger(section, String(prefix) + L"count", static_cast<int>(list.size()));
    for (size_t i = 0; i < list.size(); ++i) ini.WriteString(section, IntToStr(static_cast<long long>(i)), list[i]);
}

bool IsSkinDescription(const TMemIniFile& ini) {
    for (const wchar_t* s : RequiredSkinSections)
        if (!ini.SectionExists(s)) return false;
    return true;
}

void SplitRecordEntry(std::wstring_view entry, String& name, String& type) {
    size_t colon = entry.find(L':');
    if (colon == std::wstring_view::npos) {
        name.clear();
        type.clear();
        return;
    }
    name = String(entry.substr(0, colon));
    type = String(entry.substr(colon + 1));
}

}  // namespace fn
