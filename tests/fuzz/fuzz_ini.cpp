// libFuzzer target: the INI table with every value reader, and every record kind
// read from each section with its write/read round trip.
#include <iterator>

#include "tests/fuzz/fuzz_common.h"

using namespace fn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemIniFile ini;
    ini.SetBytes(data, size);
    // The table's own invariants: its text reads back to the same table.
    TMemIniFile again;
    again.SetText(ini.Text());
    if (again.GetStrings() != ini.GetStrings()) {
        // Lines that trim differently after a write (a key "a" with value "" written as "a=")
        // are the only difference allowed; compare section names at least.
        if (again.ReadSections() != ini.ReadSections()) std::abort();
    }
    int nameLists = 0;
    auto sections = ini.ReadSections();
    if (sections.size() > 64) sections.resize(64);
    for (const auto& s : sections) {
        if (!ini.SectionExists(s)) std::abort();
        size_t k = 0;
        for (const auto& e : ini.SectionEntries(s)) {
            if (++k > 64) break;
            if (!e.hasValue) continue;
            const String key(e.key);
            ini.ReadString(s, key, L"");
            ini.ReadInteger(s, key, 7);
            try { ReadSkinRect(ini, s, key); } catch (const EConvertError&) {}
            try { ReadSkinPoint(ini, s, key); } catch (const EConvertError&) {}
            ReadSkinBool(ini, s, key);
            ReadFontStyles(ini, s, key);
            ReadAlignment(ini, s, key);
            ReadInactiveEffect(ini, s, key);
            ReadMorphKind(ini, s, key);
            ReadStretchType(ini, s, key);
            ReadButtonCommand(ini, s, key);
            String name, type;
            SplitRecordEntry(ini.ReadString(s, key, L""), name, type);
            // A counted name list whose count key this is (a few per input: each may claim
            // up to MaxMissingNameListItems missing items).
            if (key.size() > 5 && SameText(std::wstring_view(key).substr(key.size() - 5), L"count") && ++nameLists <= 4) {
                std::vector<String> list;
                ReadNameList(ini, s, std::wstring_view(key).substr(0, key.size() - 5), list);
            }
        }
        // One object or control kind, chosen by the section's name, reads this section (the
        // record lists below read the kinds the description names).
        static const wchar_t* const kObjects[] = {L"menuitem", L"mainmenubaritem", L"stdbutton", L"mainmenubarbutton",
                                                  L"button",   L"caption",         L"animate",   L"userobject"};
        const auto controls = SkinControlTypes();
        size_t h = 0;
        for (wchar_t c : s) h = h * 31 + static_cast<size_t>(c);
        size_t pick = h % (std::size(kObjects) + controls.size());
        if (pick < std::size(kObjects))
            fuzz::ReadRecord(ini, [&]() -> std::unique_ptr<TmnSkinRecord> { return CreateSkinObjectRecord(kObjects[pick], s); });
        else
            fuzz::ReadRecord(ini, [&]() -> std::unique_ptr<TmnSkinRecord> { return controls[pick - std::size(kObjects)].create(s); });
    }
    IsSkinDescription(ini);
    fuzz::ReadSkinRecords(ini);
    // Writing and erasing keep the table usable.
    if (!sections.empty()) {
        ini.WriteString(sections[0], L"fuzzkey", L"v");
        if (ini.ReadString(sections[0], L"FUZZKEY", L"") != L"v") std::abort();
        ini.EraseSection(sections[0]);
    }
    return 0;
}
