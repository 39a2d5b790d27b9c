#include "skin/data/skin_record.h"

#include <typeinfo>

namespace fn {

TSkinStrip StripBeside(const TSkinRect& first, int count) { return {first, count, false}; }

TSkinStrip StripCutting(const TSkinRect& area, int count, const TSkinRect& skinRect) {
    if (count <= 0 || area.IsEmpty()) return {};
    const bool vertical = area.Height() > skinRect.Height();
    const int step = (vertical ? area.Height() : area.Width()) / count;
    if (step <= 0) return {};
    TSkinRect first = area;
    (vertical ? first.Bottom : first.Right) = (vertical ? area.Top : area.Left) + step;
    return {first, count, vertical};
}

// ---- reader ----
// The description value readers, applied to the value found in the record's section.

void TSkinFieldReader::Integer(std::wstring_view key, int& value, int def) {
    auto v = Find(key);
    value = v ? StrToIntDef(*v, def) : def;
}
void TSkinFieldReader::Colour(std::wstring_view key, TColor& value, TColor def) { Integer(key, value, def); }
void TSkinFieldReader::Bool(std::wstring_view key, bool& value) {
    int n = 0;
    Integer(key, n, 0);
    value = n == 1;
}
void TSkinFieldReader::Text(std::wstring_view key, String& value, std::wstring_view def) {
    auto v = Find(key);
    value.assign(v.value_or(def));
}
void TSkinFieldReader::Rect(std::wstring_view key, TSkinRect& value) {
    auto v = Find(key);
    value = v ? NumberListToRect(*v) : TSkinRect{};
}
void TSkinFieldReader::Point(std::wstring_view key, TSkinPoint& value) {
    auto v = Find(key);
    value = v ? NumberListToPoint(*v) : TSkinPoint{};
}
void TSkinFieldReader::FontStyles(std::wstring_view key, TFontStyles& value) {
    auto v = Find(key);
    value = v ? TextToFontStyles(*v) : 0;
}
template <class E>
static void ReadKeyword(std::optional<std::wstring_view> v, const TSkinKeywordTable& table, E& value) {
    value = static_cast<E>(KeywordToOrdinal(table, v.value_or(table.defaultText)));
}
void TSkinFieldReader::Alignment(std::wstring_view key, TAlignment& value) { ReadKeyword(Find(key), AlignmentKeywords, value); }
void TSkinFieldReader::InactiveEffect(std::wstring_view key, TInactiveEffect& value) {
    ReadKeyword(Find(key), InactiveEffectKeywords, value);
}
void TSkinFieldReader::MorphKind(std::wstring_view key, TMorphKind& value) { ReadKeyword(Find(key), MorphKindKeywords, value); }
void TSkinFieldReader::StretchType(std::wstring_view key, TStretchType& value) {
    ReadKeyword(Find(key), StretchTypeKeywords, value);
}
void TSkinFieldReader::ButtonCommand(std::wstring_view key, TButtonCommand& value) {
    ReadKeyword(Find(key), ButtonCommandKeywords, value);
}

// ---- writer ----

void TSkinFieldWriter::Integer(std::wstring_view key, int& value, int) { ini_.WriteInteger(section_, key, value); }
void TSkinFieldWriter::Colour(std::wstring_view key, TColor& value, TColor) { ini_.WriteInteger(section_, key, value); }
void TSkinFieldWriter::Bool(std::wstring_view key, bool& value) { WriteSkinBool(ini_, section_, key, value); }
void TSkinFieldWriter::Text(std::wstring_view key, String& value, std::wstring_view) {
    ini_.WriteString(section_, key, value);
}
void TSkinFieldWriter::Rect(std::wstring_view key, TSkinRect& value) { WriteSkinRect(ini_, section_, key, value); }
void TSkinFieldWriter::Point(std::wstring_view key, TSkinPoint& value) { WriteSkinPoint(ini_, section_, key, value); }
void TSkinFieldWriter::FontStyles(std::wstring_view key, TFontStyles& value) {
    WriteFontStyles(ini_, section_, key, value);
}
void TSkinFieldWriter::Alignment(std::wstring_view key, TAlignment& value) { WriteAlignment(ini_, section_, key, value); }
void TSkinFieldWriter::InactiveEffect(std::wstring_view key, TInactiveEffect& value) {
    WriteInactiveEffect(ini_, section_, key, value);
}
void TSkinFieldWriter::MorphKind(std::wstring_view key, TMorphKind& value) { WriteMorphKind(ini_, section_, key, value); }
void TSkinFieldWriter::StretchType(std::wstring_view key, TStretchType& value) {
    WriteStretchType(ini_, section_, key, value);
}
void TSkinFieldWriter::ButtonCommand(std::wstring_view key, TButtonCommand& value) {
    WriteButtonCommand(ini_, section_, key, value);
}

// ---- record ----

void TmnSkinRecord::LoadFromIni(const TMemIniFile& ini) {
    TSkinFieldReader reader(ini, SectionName);
    VisitFields(reader);
}

void TmnSkinRecord::SaveToIni(TMemIniFile& ini) {
    ini.EraseSection(SectionName);
    TSkinFieldWriter writer(ini, SectionName);
    VisitFields(writer);
}

namespace {
class Collector : public TSkinFieldVisitor {
public:
    std::vector<TSkinField> fields;
    void Add(std::wstring_view key, String v) { fields.push_back({String(key), std::move(v)}); }
    void Integer(std::wstring_view k, int& v, int) override { Add(k, IntToStr(v)); }
    void Colour(std::wstring_view k, TColor& v, TColor) override { Add(k, IntToStr(v)); }
    void Bool(std::wstring_view k, bool& v) override { Add(k, v ? L"1" : L"0"); }
    void Text(std::wstring_view k, String& v, std::wstring_view) override { Add(k, v); }
    void Rect(std::wstring_view k, TSkinRect& v) override { Add(k, RectToText(v)); }
    void Point(std::wstring_view k, TSkinPoint& v) override { Add(k, PointToText(v)); }
    void FontStyles(std::wstring_view k, TFontStyles& v) override { Add(k, IntToStr(v)); }
    void Alignment(std::wstring_view k, TAlignment& v) override { Add(k, IntToStr(v)); }
    void InactiveEffect(std::wstring_view k, TInactiveEffect& v) override { Add(k, IntToStr(v)); }
    void MorphKind(std::wstring_view k, TMorphKind& v) override { Add(k, IntToStr(v)); }
    void StretchType(std::wstring_view k, TStretchType& v) override { Add(k, IntToStr(v)); }
    void ButtonCommand(std::wstring_view k, TButtonCommand& v) override { Add(k, IntToStr(v)); }
};
}  // namespace

std::vector<TSkinField> SkinFields(TmnSkinRecord& record) {
    Collector c;
    record.VisitFields(c);
    return std::move(c.fields);
}

bool SameSkinFields(TmnSkinRecord& a, TmnSkinRecord& b) {
    if (typeid(a) != typeid(b) || a.SectionName != b.SectionName) return false;
    return SkinFields(a) == SkinFields(b);
}

}  // namespace fn
