#pragma once
// Shared by the fuzz targets: reads every record kind of a skin description the way the skin
// data manager does (from the description to the records) and checks that what a record writes reads back
// to the same record.
#include <cstdio>
#include <cstdlib>

#include "skin/data/control_records.h"
#include "skin/data/object_records.h"
#include "skin/data/skin_ini.h"

namespace fuzz {

using namespace fn;

// Aborts (a finding) unless the record written into a fresh table reads back equal.
inline void CheckRoundTrip(TmnSkinRecord& record, std::unique_ptr<TmnSkinRecord> fresh) {
    TMemIniFile out;
    record.SaveToIni(out);
    fresh->LoadFromIni(out);
    if (!SameSkinFields(record, *fresh)) {
        std::fprintf(stderr, "round trip differs for %ls [%ls]\n", record.ClassName(), record.SectionName.c_str());
        std::abort();
    }
}

template <class Make>
void ReadRecord(const TMemIniFile& ini, Make make) {
    auto record = make();
    if (!record) return;
    try {
        record->LoadFromIni(ini);
    } catch (const EConvertError&) {
        return;  // a malformed rectangle or point ends the load, as it should
    }
    CheckRoundTrip(*record, make());
}

// The record lists of "SKINOBJECTS" and "SKINCONTROLS", and the fixed records.
inline void ReadSkinRecords(const TMemIniFile& ini) {
    try {
        ReadSkinRect(ini, L"FORMINFO", L"clientrect");
        ReadSkinPoint(ini, L"FORMINFO", L"lefttoppoint");
    } catch (const EConvertError&) {
    }
    ReadInactiveEffect(ini, L"FORMINFO", L"inactiveeffect");
    std::vector<String> names;
    ReadNameList(ini, L"PICTURES", L"activepictures", names);
    ReadRecord(ini, [] { return std::make_unique<TmnDataSkinPopupWindow>(); });
    ReadRecord(ini, [] { return std::make_unique<TmnDataSkinHintWindow>(); });
    ReadRecord(ini, [] { return std::make_unique<TmnSkinColors>(); });
    for (int list = 0; list < 2; ++list) {
        const wchar_t* section = list == 0 ? L"SKINOBJECTS" : L"SKINCONTROLS";
        int n = ini.ReadInteger(section, L"count", 0);
        // Items beyond those present create nothing; stop early on absurd counts.
        const auto entries = ini.SectionEntries(section);
        if (entries.empty()) continue;
        if (n > static_cast<int>(entries.size()) + 16) n = static_cast<int>(entries.size()) + 16;
        for (int i = 0; i < n; ++i) {
            String name, type;
            SplitRecordEntry(ini.ReadString(section, IntToStr(i), L""), name, type);
            if (list == 0) ReadRecord(ini, [&]() -> std::unique_ptr<TmnSkinRecord> { return CreateSkinObjectRecord(type, name); });
            else ReadRecord(ini, [&]() -> std::unique_ptr<TmnSkinRecord> { return CreateSkinControlRecord(type, name); });
        }
    }
}

}  // namespace fuzz
