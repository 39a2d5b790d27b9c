// The memory INI table: its eight rules, lookups in list order, moves and written values.
#include <gtest/gtest.h>

#include "platform/core/ini_file.h"

using namespace fn;

namespace {

TMemIniFile Ini(std::wstring_view text) {
    TMemIniFile ini;
    ini.SetText(text);
    return ini;
}

}  // namespace

TEST(MemIniFile, TrimsLinesAndSkipsCommentsAndLinesBeforeFirstSection) {
    auto ini = Ini(L"orphan=1\r\n \t[ Sec ] \t\r\n\x01  key  =  a  b  \x02\r\n;key2=x\r\n\r\n  ; comment=1\r\nkey3=\r\n");
    EXPECT_EQ(ini.ReadString(L"sec", L"key", L"d"), L"a  b");
    EXPECT_EQ(ini.ReadString(L"sec", L";key2", L"d"), L"d");
    EXPECT_EQ(ini.ReadString(L"sec", L"key3", L"d"), L"");  // present but empty: not the default
    EXPECT_EQ(ini.ReadString(L"sec", L"orphan", L"d"), L"d");
    EXPECT_EQ(ini.ReadSections(), std::vector<String>{L"Sec"});
}

TEST(MemIniFile, AcceptsCrLfCrAndLfAndStopsAtNul) {
    auto ini = Ini(std::wstring_view(L"[a]\rx=1\ny=2\r\nz=3\0[b]\nw=4", 25));
    EXPECT_EQ(ini.ReadInteger(L"a", L"x", 0), 1);
    EXPECT_EQ(ini.ReadInteger(L"a", L"y", 0), 2);
    EXPECT_EQ(ini.ReadInteger(L"a", L"z", 0), 3);
    EXPECT_FALSE(ini.SectionExists(L"b"));
    uint8_t bytes[] = {'[', 'a', ']', '\n', 'k', '=', 'v', 0, '\n', '[', 'b', ']'};
    TMemIniFile raw;
    raw.SetBytes(bytes, sizeof bytes);
    EXPECT_EQ(raw.ReadString(L"A", L"K", L""), L"v");
    EXPECT_FALSE(raw.SectionExists(L"b"));
}

TEST(MemIniFile, KeyIsTextBeforeFirstEqualsLineWithoutEqualsIsNeverAValue) {
    auto ini = Ini(L"[s]\nnoequals\na = b = c\n");
    EXPECT_EQ(ini.ReadString(L"s", L"a", L""), L"b = c");
    EXPECT_EQ(ini.ReadString(L"s", L"noequals", L"d"), L"d");
    EXPECT_FALSE(ini.ValueExists(L"s", L"noequals"));
    EXPECT_EQ(ini.GetStrings(), (std::vector<String>{L"[s]", L"noequals", L"a=b = c"}));
}

TEST(MemIniFile, CaseInsensitiveNamesValuesExactFirstOccurrenceWins) {
    auto ini = Ini(L"[caption1]\nFontName=Arial Black\nfontname=Other\n[CAPTION1]\nextra=1\n");
    EXPECT_EQ(ini.ReadString(L"CAPTION1", L"FONTNAME", L""), L"Arial Black");
    EXPECT_EQ(ini.ReadString(L"Caption1", L"extra", L"none"), L"none");
}

TEST(MemIniFile, WritingReplacesAppendsAndAddsSectionsEraseRemovesFirst) {
    auto ini = Ini(L"[a]\nk=1\nk=2\n[b]\nx=1\n[a]\nm=3\n");
    ini.WriteString(L"A", L"K", L"9");
    ini.WriteInteger(L"a", L"new", -5);
    ini.WriteString(L"c", L"q", L"v");
    EXPECT_EQ(ini.GetStrings(), (std::vector<String>{L"[a]", L"k=9", L"k=2", L"new=-5", L"[b]", L"x=1", L"[a]", L"m=3",
                                                     L"[c]", L"q=v"}));
    ini.EraseSection(L"A");
    // The second section of the name is found now.
    EXPECT_EQ(ini.ReadInteger(L"a", L"m", 0), 3);
    ini.EraseSection(L"nothing");
    EXPECT_EQ(ini.ReadSections(), (std::vector<String>{L"b", L"a", L"c"}));
}

TEST(MemIniFile, ReadingInListOrderStillFindsTheFirstOfADuplicatedKey) {
    auto ini = Ini(L"[s]\na=1\nb=2\nA=3\nc=4\n");
    const int s = ini.FindSectionIndex(L"S");
    size_t next = 0;
    EXPECT_EQ(ini.FindValueAt(s, L"b", next), L"2");
    EXPECT_EQ(next, 2u);
    // The entry at `next` has the key, but an earlier one has it too: that one wins.
    EXPECT_EQ(ini.FindValueAt(s, L"a", next), L"1");
    EXPECT_EQ(ini.FindValueAt(s, L"B", next), L"2");
    EXPECT_EQ(ini.FindValueAt(s, L"missing", next), std::nullopt);
    EXPECT_EQ(ini.FindValueAt(s, L"c", next), L"4");
    EXPECT_EQ(ini.FindValueAt(-1, L"c", next), std::nullopt);
}

TEST(MemIniFile, NewKeysInAnEarlierSectionKeepEverySectionsLookups) {
    auto ini = Ini(L"[a]\nk0=0\n[b]\nx=1\ny=2\n[c]\nz=3\n");
    for (int i = 1; i < 200; ++i) ini.WriteInteger(L"a", L"k" + IntToStr(i), i);
    ini.WriteString(L"b", L"new", L"n");
    for (int i = 0; i < 200; ++i) ASSERT_EQ(ini.ReadInteger(L"a", L"K" + IntToStr(i), -1), i);
    EXPECT_EQ(ini.ReadString(L"b", L"x", L""), L"1");
    EXPECT_EQ(ini.ReadString(L"b", L"new", L""), L"n");
    EXPECT_EQ(ini.ReadString(L"c", L"z", L""), L"3");
    EXPECT_EQ(ini.ReadSection(L"b"), (std::vector<String>{L"x", L"y", L"new"}));
    ini.EraseSection(L"a");
    EXPECT_EQ(ini.ReadString(L"b", L"y", L""), L"2");
    EXPECT_EQ(ini.ReadString(L"c", L"z", L""), L"3");
    EXPECT_FALSE(ini.ValueExists(L"a", L"k0"));
}

TEST(MemIniFile, AMovedTableKeepsItsLoadedAndWrittenTexts) {
    auto source = Ini(L"[s]\nloaded=value\n");
    source.WriteString(L"s", L"k", L"v");  // short texts, stored inside their string objects
    source.WriteString(L"t", L"q", L"w");
    TMemIniFile moved = std::move(source);
    EXPECT_EQ(moved.ReadString(L"s", L"loaded", L""), L"value");
    EXPECT_EQ(moved.ReadString(L"s", L"k", L""), L"v");
    EXPECT_EQ(moved.ReadString(L"t", L"q", L""), L"w");
    EXPECT_EQ(moved.ReadSections(), (std::vector<String>{L"s", L"t"}));
}

TEST(MemIniFile, ReadIntegerDefaultsOnMalformedAndTakesHex) {
    auto ini = Ini(L"[s]\na=12\nb=-7\nc=$FF00000F\nd=0x10\ne=\nf=12a\ng=99999999999\n");
    EXPECT_EQ(ini.ReadInteger(L"s", L"a", 0), 12);
    EXPECT_EQ(ini.ReadInteger(L"s", L"b", 0), -7);
    EXPECT_EQ(ini.ReadInteger(L"s", L"c", 0), -16777201);
    EXPECT_EQ(ini.ReadInteger(L"s", L"d", 0), 16);
    EXPECT_EQ(ini.ReadInteger(L"s", L"e", 42), 42);
    EXPECT_EQ(ini.ReadInteger(L"s", L"f", 42), 42);
    EXPECT_EQ(ini.ReadInteger(L"s", L"g", 42), 42);
    EXPECT_EQ(ini.ReadInteger(L"s", L"missing", 42), 42);
}
