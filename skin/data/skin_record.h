#pragma once
// The read and write protocol shared by every skin record (object and control
// records, and the "FORMINFO" geometry). Portable.
//
// A record lists its keys once, in table order, in VisitFields: each line names the key, the
// field and (where the format gives one) the default, e.g.
//
//     void TmnDataSkinButton::VisitFields(TSkinFieldVisitor& v) {
//         TmnDataSkinObject::VisitFields(v);   // inherited keys first
//         v.Rect(L"downrect", DownRect);
//         v.Rect(L"disableskinrsect", DisableSkinRsect);
//     }
//
// The same list drives reading (TSkinFieldReader: every key with the reader and default of its
// type, a missing key takes its default, never the previous value), writing
// (TSkinFieldWriter: the writer of its type), comparing two records (SameSkinFields) and
// checking values (tools/skinpack). LoadFromIni and SaveToIni stay virtual, in this slot
// order, so a record can add behaviour around the protocol (the animate record's
// morphing=false, the user object that erases and writes one key).
#include <string_view>
#include <vector>

#include "platform/core/graph_types.h"
#include "skin/data/skin_ini.h"

namespace fn {

// A strip of Count cells along one axis, the first cell First and each next one beside it
// (below it when Vertical): button states and animation frames. Not a key of its own.
struct TSkinStrip {
    TSkinRect First;
    int Count = 0;
    bool Vertical = false;
};
// The strip of count cells of first's size, the first one first (cells side by side).
TSkinStrip StripBeside(const TSkinRect& first, int count);
// The strip that cuts area into count cells: stacked when area is taller than skinRect.
TSkinStrip StripCutting(const TSkinRect& area, int count, const TSkinRect& skinRect);

class TSkinFieldVisitor {
public:
    virtual ~TSkinFieldVisitor() = default;
    // integer (also picture index: default -1; colour: Colour below)
    virtual void Integer(std::wstring_view key, int& value, int def) = 0;
    virtual void Colour(std::wstring_view key, TColor& value, TColor def) = 0;
    virtual void Bool(std::wstring_view key, bool& value) = 0;  // default false
    virtual void Text(std::wstring_view key, String& value, std::wstring_view def) = 0;
    virtual void Rect(std::wstring_view key, TSkinRect& value) = 0;    // default "0,0,0,0"
    virtual void Point(std::wstring_view key, TSkinPoint& value) = 0;  // default "0,0"
    virtual void FontStyles(std::wstring_view key, TFontStyles& value) = 0;  // default empty set
    virtual void Alignment(std::wstring_view key, TAlignment& value) = 0;    // default taCenter
    virtual void InactiveEffect(std::wstring_view key, TInactiveEffect& value) = 0;
    virtual void MorphKind(std::wstring_view key, TMorphKind& value) = 0;
    virtual void StretchType(std::wstring_view key, TStretchType& value) = 0;
    virtual void ButtonCommand(std::wstring_view key, TButtonCommand& value) = 0;
    // An integer that is a length in pixels (offsets, widths, font heights), unlike counts,
    // intervals and indexes: it is read and written as an integer and scales with the display.
    virtual void Size(std::wstring_view key, int& value, int def) { Integer(key, value, def); }
    // A strip of cells in a picture, told after the fields that place it; no key.
    virtual void Strip(const TSkinStrip&) {}

    // A picture index: integer with default -1.
    void Index(std::wstring_view key, int& value) { Integer(key, value, -1); }
    // The font group: "fontname" ("Arial"), "fontheight" (14), "fontstyle", "fontcolor" (0).
    void Font(String& name, int& height, TFontStyles& style, TColor& color) {
        Text(L"fontname", name, L"Arial");
        Size(L"fontheight", height, 14);
        FontStyles(L"fontstyle", style);
        Colour(L"fontcolor", color, 0);
    }
};

// Reads each visited key from one section of an INI table.
class TSkinFieldReader : public TSkinFieldVisitor {
public:
    TSkinFieldReader(const TMemIniFile& ini, std::wstring_view section)
        : ini_(ini), section_(ini.FindSectionIndex(section)) {}
    void Integer(std::wstring_view key, int& value, int def) override;
    void Colour(std::wstring_view key, TColor& value, TColor def) override;
    void Bool(std::wstring_view key, bool& value) override;
    void Text(std::wstring_view key, String& value, std::wstring_view def) override;
    void Rect(std::wstring_view key, TSkinRect& value) override;
    void Point(std::wstring_view key, TSkinPoint& value) override;
    void FontStyles(std::wstring_view key, TFontStyles& value) override;
    void Alignment(std::wstring_view key, TAlignment& value) override;
    void InactiveEffect(std::wstring_view key, TInactiveEffect& value) override;
    void MorphKind(std::wstring_view key, TMorphKind& value) override;
    void StretchType(std::wstring_view key, TStretchType& value) override;
    void ButtonCommand(std::wstring_view key, TButtonCommand& value) override;

private:
    // Records list their keys in the order they are written, so the next key is looked for
    // after the last one found first.
    std::optional<std::wstring_view> Find(std::wstring_view key) { return ini_.FindValueAt(section_, key, next_); }
    const TMemIniFile& ini_;
    int section_;  // position of the first section of the name, -1 when missing
    size_t next_ = 0;
};

// Writes each visited key into one section (the caller erases the section first).
class TSkinFieldWriter : public TSkinFieldVisitor {
public:
    TSkinFieldWriter(TMemIniFile& ini, std::wstring_view section) : ini_(ini), section_(section) {}
    void Integer(std::wstring_view key, int& value, int def) override;
    void Colour(std::wstring_view key, TColor& value, TColor def) override;
    void Bool(std::wstring_view key, bool& value) override;
    void Text(std::wstring_view key, String& value, std::wstring_view def) override;
    void Rect(std::wstring_view key, TSkinRect& value) override;
    void Point(std::wstring_view key, TSkinPoint& value) override;
    void FontStyles(std::wstring_view key, TFontStyles& value) override;
    void Alignment(std::wstring_view key, TAlignment& value) override;
    void InactiveEffect(std::wstring_view key, TInactiveEffect& value) override;
    void MorphKind(std::wstring_view key, TMorphKind& value) override;
    void StretchType(std::wstring_view key, TStretchType& value) override;
    void ButtonCommand(std::wstring_view key, TButtonCommand& value) override;

private:
    TMemIniFile& ini_;
    std::wstring_view section_;
};

// Base of the skin records: the section name and the protocol. Object records
// (TmnDataSkinObject) and control records (TmnDataSkinControl) derive
// from it; consumers tell the kinds apart by class (dynamic_cast).
class TmnSkinRecord {
public:
    explicit TmnSkinRecord(String sectionName) : SectionName(std::move(sectionName)) {}
    virtual ~TmnSkinRecord() = default;
    TmnSkinRecord(const TmnSkinRecord&) = default;
    TmnSkinRecord& operator=(const TmnSkinRecord&) = default;

    String SectionName;

    // Slot 1: reads the record's keys from its section.
    virtual void LoadFromIni(const TMemIniFile& ini);
    // Slot 2: erases the record's section and writes its keys.
    virtual void SaveToIni(TMemIniFile& ini);
    // The record's keys in reading and writing order, inherited keys first.
    virtual void VisitFields(TSkinFieldVisitor& v) = 0;
    virtual const wchar_t* ClassName() const = 0;
};

// A visited field: its key and the text of its value (numbers for integers, colours and
// enumerations, 1 or 0 for booleans, rectangles and points as the description writes them).
struct TSkinField {
    String Key;
    String Value;
    friend bool operator==(const TSkinField&, const TSkinField&) = default;
};
// Every field the record visits, in visiting order (for comparisons and key checks).
std::vector<TSkinField> SkinFields(TmnSkinRecord& record);

// True when both records are of the same class and every visited field is equal.
bool SameSkinFields(TmnSkinRecord& a, TmnSkinRecord& b);

}  // namespace fn
