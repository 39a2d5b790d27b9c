#include "tools/skinpack/skin_check.h"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "skin/data/control_records.h"
#include "skin/data/object_records.h"
#include "skin/data/skin_archive.h"
#include "skin/data/skin_ini.h"
#include "skin/data/zlib_streams.h"
#include "platform/core/files.h"

namespace fn {

String TSkinProblem::Text() const {
    String t;
    if (!section.empty()) t += L"[" + section + L"] ";
    if (!key.empty()) t += key + L"=" + value + L": ";
    return t + message;
}

void TSkinChecker::Problem(const String& section, const String& key, const String& value, const String& message) {
    problems_.push_back(TSkinProblem{section, key, value, message});
}

TSkinChecker::Picture TSkinChecker::Describe(const String& name, const TBitmapData& bmp) {
    Picture p;
    p.name = name;
    p.present = !bmp.Empty();
    p.width = bmp.Width;
    p.height = bmp.Height;
    return p;
}

namespace {

enum RecordKind { kObject, kControl, kFixed, kFormInfo };

// The "FORMINFO" keys, in table order, for checking.
class FormInfoKeys : public TmnSkinRecord {
public:
    FormInfoKeys() : TmnSkinRecord(L"FORMINFO") {}
    const wchar_t* ClassName() const override { return L"FORMINFO"; }
    void VisitFields(TSkinFieldVisitor& v) override {
        TSkinPoint p;
        TSkinRect r;
        int i = 0;
        bool b = false;
        TStretchType st = stFull;
        TInactiveEffect ie = ieBrightness;
        for (const wchar_t* k : {L"lefttoppoint", L"righttoppoint", L"leftbottompoint", L"rightbottompoint"}) v.Point(k, p);
        v.Rect(L"clientrect", r);
        v.Index(L"bgpictureindex", i);
        v.Index(L"mdibgpictureindex", i);
        for (const wchar_t* k : {L"leftstretch", L"rightstretch", L"topstretch", L"bottomstretch", L"stretcheffect"})
            v.Bool(k, b);
        v.StretchType(L"stretchtype", st);
        v.Bool(L"mdibgstretcheffect", b);
        v.StretchType(L"mdibgstretchtype", st);
        v.Rect(L"maskrectarea", r);
        for (const wchar_t* k : {L"hittestlefttoppoint", L"hittestrighttoppoint", L"hittestleftbottompoint",
                                 L"hittestrightbottompoint"})
            v.Point(k, p);
        v.Rect(L"buttonsrect", r);
        v.Rect(L"captionrect", r);
        v.Integer(L"buttonsoffset", i, 0);
        for (const wchar_t* k : {L"buttonsinleft", L"mainmenupopupup"}) v.Bool(k, b);
        v.Integer(L"borderwidth", i, 0);
        v.Integer(L"formminwidth", i, 0);
        for (const wchar_t* k : {L"mditabstransparent", L"mainmenubartransparent", L"autorenderinginactiveimage"})
            v.Bool(k, b);
        v.InactiveEffect(L"inactiveeffect", ie);
    }
};

bool IsPictureIndexKey(std::wstring_view key) {
    return key.size() >= 12 && key.substr(key.size() - 12) == L"pictureindex";
}

String ValueText(const TSkinRect& r) { return RectToText(r); }
String ValueText(const TSkinPoint& p) { return PointToText(p); }

// Checks the text of every visited key and collects the values that name pictures and places
// in them.
class Checker : public TSkinFieldVisitor {
public:
    Checker(const TMemIniFile& ini, const String& section, std::function<void(const String&, const String&, const String&)> report)
        : ini_(ini), section_(section), report_(std::move(report)) {}

    std::map<String, TSkinRect> rects;  // key -> rectangle that was read
    std::map<String, int> indexes;      // picture index keys -> value
    std::map<String, bool> bools;

    void Integer(std::wstring_view key, int& value, int def) override {
        value = def;
        if (auto v = Find(key)) {
            if (!TryStrToInt(*v, value)) {
                value = def;
                report_(String(key), *v, L"not a number; reads as " + IntToStr(def));
            }
        }
        if (IsPictureIndexKey(key)) indexes[String(key)] = value;
    }
    void Colour(std::wstring_view key, TColor& value, TColor def) override { Integer(key, value, def); }
    void Bool(std::wstring_view key, bool& value) override {
        value = false;
        if (auto v = Find(key)) {
            int n = 0;
            if (*v != L"0" && *v != L"1") report_(String(key), *v, L"a boolean is 1 or 0; this reads as " +
                                                                   String(TryStrToInt(*v, n) && n == 1 ? L"1" : L"0"));
            value = TryStrToInt(*v, n) && n == 1;
        }
        bools[String(key)] = value;
    }
    void Text(std::wstring_view key, String& value, std::wstring_view def) override {
        auto v = Find(key);
        value = v ? *v : String(def);
    }
    template <class T, class F>
    void NumberList(std::wstring_view key, T& value, F convert, int fields) {
        value = T{};
        auto v = Find(key);
        if (!v) return;
        try {
            value = convert(*v);
        } catch (const EConvertError& e) {
            report_(String(key), *v, L"needs " + IntToStr(fields) + L" numbers joined by \",\": " + e.Message() +
                                         L" (this ends the loading of the skin)");
            return;
        }
        if (v->find(L'-') != String::npos)
            report_(String(key), *v, L"a \"-\" is skipped in a number list; the value reads as " + ValueText(value));
        else {
            int count = 1;
            for (wchar_t c : *v) count += c == L',';
            if (count > fields) report_(String(key), *v, L"more than " + IntToStr(fields) + L" numbers; the rest is ignored");
            for (wchar_t c : *v)
                if (!(c >= L'0' && c <= L'9') && c != L',' && c != L' ') {
                    report_(String(key), *v, L"only digits, \",\" and blanks belong in a number list");
                    break;
                }
        }
    }
    void Rect(std::wstring_view key, TSkinRect& value) override {
        NumberList(key, value, NumberListToRect, 4);
        rects[String(key)] = value;
    }
    void Point(std::wstring_view key, TSkinPoint& value) override { NumberList(key, value, NumberListToPoint, 2); }
    void FontStyles(std::wstring_view key, TFontStyles& value) override {
        value = 0;
        auto v = Find(key);
        if (!v) return;
        value = TextToFontStyles(*v);
        String word;
        auto check = [&] {
            if (word.empty()) return;
            bool known = false;
            for (const wchar_t* k : FontStyleKeywords) known |= word == k;
            if (!known) report_(String(key), *v, L"unknown font style \"" + word + L"\" (fsbold, fsitalic, fsunderline, fsstrikeout)");
            word.clear();
        };
        for (wchar_t c : *v) {
            if (c == L',' || c == L' ') check();
            else word += c;
        }
        check();
    }
    void Keyword(std::wstring_view key, const TSkinKeywordTable& table) {
        auto v = Find(key);
        if (!v) return;
        for (int i = 0; i < table.count; ++i)
            if (*v == table.keywords[i]) return;
        String all;
        for (int i = 0; i < table.count; ++i) all += (i ? L", " : L"") + String(table.keywords[i]);
        report_(String(key), *v, L"unknown keyword (keywords are lower case: " + all + L"); reads as \"" +
                                     table.keywords[table.unrecognised] + L"\"");
    }
    void Alignment(std::wstring_view key, TAlignment&) override { Keyword(key, AlignmentKeywords); }
    void InactiveEffect(std::wstring_view key, TInactiveEffect&) override { Keyword(key, InactiveEffectKeywords); }
    void MorphKind(std::wstring_view key, TMorphKind&) override { Keyword(key, MorphKindKeywords); }
    void StretchType(std::wstring_view key, TStretchType&) override { Keyword(key, StretchTypeKeywords); }
    void ButtonCommand(std::wstring_view key, TButtonCommand&) override { Keyword(key, ButtonCommandKeywords); }

private:
    // The value as text, for the messages.
    std::optional<String> Find(std::wstring_view key) const {
        auto v = ini_.FindValue(section_, key);
        return v ? std::optional<String>(*v) : std::nullopt;
    }
    const TMemIniFile& ini_;
    const String& section_;
    std::function<void(const String&, const String&, const String&)> report_;
};

// Rectangles that are places in a picture (not areas relative to another image or window).
bool IsPictureRect(std::wstring_view key, int kind) {
    if (kind == kFormInfo) return true;  // all in the main picture
    for (const wchar_t* part : {L"text", L"client", L"caption", L"items", L"image"})
        if (key.find(part) != std::wstring_view::npos) return false;
    return true;
}

}  // namespace

void TSkinChecker::CheckRecord(const TMemIniFile& ini, TmnSkinRecord& record, int kind) {
    const String section = record.SectionName;
    Checker c(ini, section, [&](const String& k, const String& v, const String& m) { Problem(section, k, v, m); });
    record.VisitFields(c);
    // Keys of the section that the record does not read.
    std::set<String> known;
    for (const TSkinField& f : SkinFields(record)) known.insert(LowerCase(f.Key));
    for (const auto& e : ini.SectionEntries(section)) {
        if (!e.hasValue) Problem(section, String(e.key), L"", L"line without \"=\" is never read");
        else if (!known.count(LowerCase(String(e.key))))
            Problem(section, String(e.key), String(e.value), String(L"unknown key for a ") + record.ClassName() + L" record; it is not read");
    }

    // Picture indexes in range.
    const int n = static_cast<int>(active_.size());
    for (const auto& [key, index] : c.indexes) {
        if (index < -1 || index >= n)
            Problem(section, key, IntToStr(index),
                    L"picture index out of range: the skin has " + IntToStr(n) + L" active pictures (0 to " +
                        IntToStr(n - 1) + L", or -1 for none)");
    }
    // Rectangles inside their picture.
    auto pictureOf = [&](const String& key) -> const Picture* {
        auto idx = [&](const wchar_t* k) -> const Picture* {
            auto it = c.indexes.find(k);
            if (it == c.indexes.end() || it->second < 0 || it->second >= n) return nullptr;
            return &active_[static_cast<size_t>(it->second)];
        };
        switch (kind) {
            case kFormInfo:
                return &main_;
            case kObject:
                if (key == L"skinrect" && !c.bools[L"skinrectinapicture"]) return &main_;
                return idx(L"activepictureindex");
            case kControl:
                return idx(L"pictureindex");
            default:
                return idx(L"windowpictureindex");
        }
    };
    for (const auto& [key, r] : c.rects) {
        if (r.IsEmpty() || !IsPictureRect(key, kind)) continue;
        const Picture* p = pictureOf(key);
        if (!p) continue;  // no picture (index -1 or out of range, reported above)
        if (!p->present) continue;  // unreadable or empty picture: reported with the picture
        if (r.Right > p->width || r.Bottom > p->height)
            Problem(section, key, RectToText(r),
                    L"rectangle lies outside its picture \"" + p->name + L"\" (" + IntToStr(p->width) + L" x " +
                        IntToStr(p->height) + L")");
    }
}

void TSkinChecker::CheckRecordList(const TMemIniFile& ini, const wchar_t* list, bool objects) {
    if (!ini.SectionExists(list)) return;
    int count = 0;
    const String countText = ini.ReadString(list, L"count", L"0");
    if (!TryStrToInt(countText, count)) {
        Problem(list, L"count", countText, L"not a number; the list reads as empty");
        return;
    }
    std::set<String> names;
    int missing = 0;
    for (int i = 0; i < count; ++i) {
        const String key = IntToStr(i);
        const auto itemValue = ini.FindValue(list, key);
        if (!itemValue) {
            if (++missing <= 10) Problem(list, key, L"", L"item missing (count is " + IntToStr(count) + L")");
            if (missing > 1000) {
                Problem(list, L"count", countText, L"far more items counted than listed; the rest is not checked");
                break;
            }
            continue;
        }
        const String item(*itemValue);
        String name, type;
        SplitRecordEntry(item, name, type);
        if (item.find(L':') == String::npos) {
            Problem(list, key, item, L"an item is name:type; this one creates no record");
            continue;
        }
        std::unique_ptr<TmnSkinRecord> record;
        if (objects) record = CreateSkinObjectRecord(type, name);
        else record = CreateSkinControlRecord(type, name);
        if (!record) {
            Problem(list, key, item, L"unknown type \"" + type + L"\" (types are lower case); creates no record");
            continue;
        }
        if (!names.insert(name).second)
            Problem(list, key, item, L"a record of this name is listed before; lookups find the first");
        if (!ini.SectionExists(name)) {
            Problem(list, key, item, L"section [" + name + L"] is missing; every key takes its default");
            continue;
        }
        CheckRecord(ini, *record, objects ? kObject : kControl);
    }
}

void TSkinChecker::CheckDescription(const TMemIniFile& ini) {
    for (const wchar_t* s : RequiredSkinSections)
        if (!ini.SectionExists(s)) Problem(s, L"", L"", L"required section is missing; this is not a skin description");
    std::set<String> seen;
    for (const auto& s : ini.ReadSections())
        if (!seen.insert(LowerCase(s)).second)
            Problem(s, L"", L"", L"section occurs more than once; only the first is read");
    FormInfoKeys form;
    if (ini.SectionExists(L"FORMINFO")) CheckRecord(ini, form, kFormInfo);
    TmnDataSkinPopupWindow popup;
    TmnDataSkinHintWindow hint;
    TmnSkinColors colors;
    for (TmnSkinRecord* r : std::initializer_list<TmnSkinRecord*>{&popup, &hint, &colors})
        if (ini.SectionExists(r->SectionName)) CheckRecord(ini, *r, kFixed);
    CheckRecordList(ini, L"SKINOBJECTS", true);
    CheckRecordList(ini, L"SKINCONTROLS", false);
}

void TSkinChecker::CheckDescriptionFile(const String& iniPath) {
    std::vector<String> lines;
    if (!Readable([&] { lines = LoadDescriptionFile(iniPath); })) return;
    TMemIniFile ini;
    ini.SetStrings(lines);
    const String folder = ExtractFilePath(iniPath);
    auto load = [&](const wchar_t* key, const String& name) {
        TBitmapData bmp;
        if (name.empty()) {
            if (key) return Describe(name, bmp);
            Problem(L"PICTURES", L"activepictures item", L"", L"empty file name (the archive cannot be built)");
            return Describe(name, bmp);
        }
        try {
            bmp.LoadFromFile(folder + name);
            if (bmp.Empty()) Problem(L"PICTURES", key ? key : name, name, L"the bitmap has no pixels");
        } catch (const Exception& e) {
            Problem(L"PICTURES", key ? String(key) : L"activepictures item", name, L"bitmap cannot be read: " + e.Message());
        }
        return Describe(name, bmp);
    };
    main_ = load(L"picture", ini.ReadString(L"PICTURES", L"picture", L""));
    inactive_ = load(L"inactivepicture", ini.ReadString(L"PICTURES", L"inactivepicture", L""));
    mask_ = load(L"mask", ini.ReadString(L"PICTURES", L"mask", L""));
    if (main_.present && mask_.present && (mask_.width != main_.width || mask_.height != main_.height))
        Problem(L"PICTURES", L"mask", mask_.name, L"the mask is not the size of the main picture");
    std::vector<String> names;
    if (auto c = ini.FindValue(L"PICTURES", L"activepicturescount"); c && !StrToIntDef(*c, 0) && *c != L"0")
        Problem(L"PICTURES", L"activepicturescount", String(*c), L"not a number; no active pictures are read");
    ReadNameList(ini, L"PICTURES", L"activepictures", names);
    active_.clear();
    for (const auto& n : names) active_.push_back(load(nullptr, n));
    CheckDescription(ini);
}

void TSkinChecker::CheckArchive(TStream& archive) {
    TSkinArchive a;
    bool known = false;
    if (!Readable([&] { known = ReadSkinArchive(archive, a); }, L"archive cannot be read: ")) return;
    if (!known) {
        Problem(L"", L"", L"", L"archive version " + IntToStr(a.Version) + L" is not read (versions up to 3 are)");
        return;
    }
    TMemIniFile ini;
    ini.SetStrings(a.Description);
    main_ = Describe(ini.ReadString(L"PICTURES", L"picture", L"picture"), a.Picture);
    inactive_ = Describe(ini.ReadString(L"PICTURES", L"inactivepicture", L"inactivepicture"), a.InactivePicture);
    mask_ = Describe(ini.ReadString(L"PICTURES", L"mask", L"mask"), a.Mask);
    std::vector<String> names;
    ReadNameList(ini, L"PICTURES", L"activepictures", names);
    if (names.size() != a.ActivePictures.size())
        Problem(L"PICTURES", L"activepicturescount", IntToStr(static_cast<long long>(names.size())),
                L"the archive holds " + IntToStr(static_cast<long long>(a.ActivePictures.size())) + L" active pictures");
    active_.clear();
    for (size_t i = 0; i < a.ActivePictures.size(); ++i)
        active_.push_back(Describe(i < names.size() ? names[i] : L"#" + IntToStr(static_cast<long long>(i)), a.ActivePictures[i]));
    CheckDescription(ini);
}

void TSkinChecker::CheckPath(const String& path) {
    String file = path;
    if (std::filesystem::is_directory(std::filesystem::path(path))) {
        file = path;
        if (!file.empty() && file.back() != L'/' && file.back() != L'\\') file += L'/';
        file += L"skin.ini";
    }
    std::vector<uint8_t> bytes;
    if (!Readable([&] { bytes = ReadFileBytes(file); })) return;
    auto archiveFromZlib = [&](const uint8_t* p, size_t n) {
        TBytesStream z(p, n);
        TMemoryStream raw;
        if (!Readable([&] { DecompressStream(z, raw); }, L"compressed data cannot be read: ")) return;
        raw.SetPosition(0);
        CheckArchive(raw);
    };
    auto i32 = [&](size_t at) {
        return static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24);
    };
    if (bytes.size() >= 2 && bytes[0] == 0x78 && (bytes[0] << 8 | bytes[1]) % 31 == 0) {
        archiveFromZlib(bytes.data(), bytes.size());
    } else if (bytes.size() >= 10 && i32(0) >= 0 && i32(0) <= 3 && bytes[8] == 0x78 &&
               i32(4) == static_cast<int32_t>(bytes.size() - 8)) {
        archiveFromZlib(bytes.data() + 8, bytes.size() - 8);  // compressed skin file
    } else if (bytes.size() >= 5 && i32(0) >= 0 && i32(0) <= 255 && bytes[4] <= 1) {
        TBytesStream s(bytes.data(), bytes.size());
        CheckArchive(s);
    } else {
        CheckDescriptionFile(file);
    }
}

}  // namespace fn
