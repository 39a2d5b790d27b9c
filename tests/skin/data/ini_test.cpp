// the INI table's eight rules, the value readers and writers and their defaults.
#include <gtest/gtest.h>

#include "skin/data/mnSkinIni.h"

using namespace fn;

namespace {

TMemIniFile Ini(std::wstring_view text) {
    TMemIniFile ini;
    ini.SetText(text);
    return ini;
}

String ConvertMessage(std::function<void()> f) {
    try {
        f();
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return L"<no error>";
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

TEST(SkinValues, RectanglesAndPointsFollowTheNumberListRule) {
    auto ini = Ini(L"[s]\nr1=5, 29, 141, 74\nr2=1x2,3,4,5\np=-3,7\nzero=0,0,0,0\n");
    EXPECT_EQ(ReadSkinRect(ini, L"s", L"r1"), (TSkinRect{5, 29, 141, 74}));
    EXPECT_EQ(ReadSkinRect(ini, L"s", L"r2"), (TSkinRect{12, 3, 4, 5}));
    EXPECT_EQ(ReadSkinPoint(ini, L"s", L"p"), (TSkinPoint{3, 7}));
    EXPECT_TRUE(ReadSkinRect(ini, L"s", L"zero").IsEmpty());
    EXPECT_EQ(ReadSkinRect(ini, L"s", L"missing"), TSkinRect{});
    EXPECT_EQ(ReadSkinPoint(ini, L"s", L"missing"), TSkinPoint{});
}

TEST(SkinValues, EmptyOrOversizedFieldRaisesTheConversionErrorWithTheFieldText) {
    auto ini = Ini(L"[s]\nempty=\nshort=1,2,3\nbig=1,2,3,2147483648\nmax=1,2,3,2147483647\np=5\n");
    EXPECT_EQ(ConvertMessage([&] { ReadSkinRect(ini, L"s", L"empty"); }), L"'' ist kein gültiger Integerwert");
    EXPECT_EQ(ConvertMessage([&] { ReadSkinRect(ini, L"s", L"short"); }), L"'' ist kein gültiger Integerwert");
    EXPECT_EQ(ConvertMessage([&] { ReadSkinRect(ini, L"s", L"big"); }),
              L"'2147483648' ist kein gültiger Integerwert");
    EXPECT_EQ(ReadSkinRect(ini, L"s", L"max").Bottom, 2147483647);
    EXPECT_EQ(ConvertMessage([&] { ReadSkinPoint(ini, L"s", L"p"); }), L"'' ist kein gültiger Integerwert");
}

TEST(SkinValues, WrittenPointWithNegativeReadsBackPositive) {
    TMemIniFile ini;
    WriteSkinPoint(ini, L"s", L"lefttoppoint", TSkinPoint{-3, 7});
    EXPECT_EQ(ini.ReadString(L"s", L"lefttoppoint", L""), L"-3,7");
    EXPECT_EQ(ReadSkinPoint(ini, L"s", L"lefttoppoint"), (TSkinPoint{3, 7}));
}

TEST(SkinValues, BooleanIsTrueOnlyForOne) {
    auto ini = Ini(L"[s]\na=1\nb=2\nc=true\nd=yes\ne=0\nf=$1\n");
    EXPECT_TRUE(ReadSkinBool(ini, L"s", L"a"));
    EXPECT_FALSE(ReadSkinBool(ini, L"s", L"b"));
    EXPECT_FALSE(ReadSkinBool(ini, L"s", L"c"));
    EXPECT_FALSE(ReadSkinBool(ini, L"s", L"d"));
    EXPECT_FALSE(ReadSkinBool(ini, L"s", L"e"));
    EXPECT_TRUE(ReadSkinBool(ini, L"s", L"f"));
    EXPECT_FALSE(ReadSkinBool(ini, L"s", L"missing"));
}

TEST(SkinValues, FontStylesAreSubstringsWithExactCase) {
    auto ini = Ini(L"[s]\na=fsbold,fsitalic\nb=fsboldfsitalic\nc=xfsboldx fsitalic\nd=FSBOLD\ne=\n"
                   L"f=fsstrikeout;fsunderline\n");
    const TFontStyles bi = FontStyleBit(fsBold) | FontStyleBit(fsItalic);
    EXPECT_EQ(ReadFontStyles(ini, L"s", L"a"), bi);
    EXPECT_EQ(ReadFontStyles(ini, L"s", L"b"), bi);
    EXPECT_EQ(ReadFontStyles(ini, L"s", L"c"), bi);
    EXPECT_EQ(ReadFontStyles(ini, L"s", L"d"), 0);
    EXPECT_EQ(ReadFontStyles(ini, L"s", L"e"), 0);
    EXPECT_EQ(ReadFontStyles(ini, L"s", L"missing"), 0);
    EXPECT_EQ(ReadFontStyles(ini, L"s", L"f"), FontStyleBit(fsStrikeOut) | FontStyleBit(fsUnderline));
    TMemIniFile out;
    WriteFontStyles(out, L"s", L"all", 0xF);
    WriteFontStyles(out, L"s", L"none", 0);
    EXPECT_EQ(out.ReadString(L"s", L"all", L""), L"fsbold,fsitalic,fsunderline,fsstrikeout");
    EXPECT_TRUE(out.ValueExists(L"s", L"none"));
    EXPECT_EQ(out.ReadString(L"s", L"none", L"x"), L"");
}

TEST(SkinValues, KeywordsUseExactCaseAndTheUnrecognisedResults) {
    auto ini = Ini(L"[s]\nal1=center\nal2=TaCenter\nal3=taleftjustify\nie=iedark\nst=stvertical\n"
                   L"cm1=cmclosebutton\ncm2=xyz\ncm3=cmclose\nmk=mkpush\nmk2=push\n");
    EXPECT_EQ(ReadAlignment(ini, L"s", L"al1"), taRightJustify);
    EXPECT_EQ(ReadAlignment(ini, L"s", L"al2"), taRightJustify);
    EXPECT_EQ(ReadAlignment(ini, L"s", L"al3"), taLeftJustify);
    EXPECT_EQ(ReadAlignment(ini, L"s", L"missing"), taCenter);
    EXPECT_EQ(ReadInactiveEffect(ini, L"s", L"ie"), ieGrayScale);
    EXPECT_EQ(ReadInactiveEffect(ini, L"s", L"missing"), ieBrightness);
    EXPECT_EQ(ReadStretchType(ini, L"s", L"st"), stHorz);
    EXPECT_EQ(ReadStretchType(ini, L"s", L"missing"), stFull);
    EXPECT_EQ(ReadButtonCommand(ini, L"s", L"cm1"), cmMinimizeToTray);
    EXPECT_EQ(ReadButtonCommand(ini, L"s", L"cm2"), cmMinimizeToTray);
    EXPECT_EQ(ReadButtonCommand(ini, L"s", L"cm3"), cmClose);
    EXPECT_EQ(ReadButtonCommand(ini, L"s", L"missing"), cmDefault);
    EXPECT_EQ(ReadMorphKind(ini, L"s", L"mk"), mkPush);
    EXPECT_EQ(ReadMorphKind(ini, L"s", L"mk2"), mkDefault);
}

TEST(SkinValues, KeywordWriters) {
    TMemIniFile ini;
    WriteAlignment(ini, L"s", L"a0", 0);
    WriteAlignment(ini, L"s", L"a2", 2);
    WriteAlignment(ini, L"s", L"a7", 7);
    WriteButtonCommand(ini, L"s", L"c6", 6);
    WriteButtonCommand(ini, L"s", L"c9", 9);
    WriteButtonCommand(ini, L"s", L"c5", 5);
    WriteMorphKind(ini, L"s", L"m6", 6);
    WriteStretchType(ini, L"s", L"s2", 2);
    WriteInactiveEffect(ini, L"s", L"i5", 5);
    EXPECT_EQ(ini.ReadString(L"s", L"a0", L""), L"taleftjustify");
    EXPECT_EQ(ini.ReadString(L"s", L"a2", L""), L"tacenter");
    EXPECT_EQ(ini.ReadString(L"s", L"a7", L""), L"tarightjustify");
    EXPECT_EQ(ini.ReadString(L"s", L"c6", L""), L"cmminimizetotray");
    EXPECT_EQ(ini.ReadString(L"s", L"c9", L""), L"cmminimizetotray");
    EXPECT_EQ(ini.ReadString(L"s", L"c5", L""), L"cmrollup");
    EXPECT_EQ(ini.ReadString(L"s", L"m6", L""), L"mkpush");
    EXPECT_EQ(ini.ReadString(L"s", L"s2", L""), L"stvert");
    EXPECT_EQ(ini.ReadString(L"s", L"i5", L""), L"ieinvert");
}

TEST(SkinValues, CountedNameListAppendsEmptyTextsForMissingItems) {
    auto ini = Ini(L"[PICTURES]\nactivepicturescount=2\n0=a.bmp\n[x]\nlcount=-1\n[huge]\nlcount=2000000000\n");
    std::vector<String> list{L"kept"};
    ReadNameList(ini, L"PICTURES", L"activepictures", list);
    EXPECT_EQ(list, (std::vector<String>{L"kept", L"a.bmp", L""}));
    std::vector<String> none;
    ReadNameList(ini, L"x", L"l", none);
    ReadNameList(ini, L"missing", L"l", none);
    EXPECT_TRUE(none.empty());
    std::vector<String> huge;
    ReadNameList(ini, L"huge", L"l", huge);  // bounded, not two billion texts
    EXPECT_LE(huge.size(), static_cast<size_t>(MaxMissingNameListItems + 1));
}

TEST(SkinValues, SkinDescriptionNeedsTheFiveSections) {
    auto ok = Ini(L"[version]\n[PICTURES]\n[FormInfo]\n[SKINOBJECTS]\n[SKINCONTROLS]\n");
    EXPECT_TRUE(IsSkinDescription(ok));
    auto missing = Ini(L"[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINOBJECTS]\n");
    EXPECT_FALSE(IsSkinDescription(missing));
}

TEST(SkinValues, SplitRecordEntry) {
    String name, type;
    SplitRecordEntry(L"Caption1:caption", name, type);
    EXPECT_EQ(name, L"Caption1");
    EXPECT_EQ(type, L"caption");
    SplitRecordEntry(L"a:b:c", name, type);
    EXPECT_EQ(name, L"a");
    EXPECT_EQ(type, L"b:c");
    SplitRecordEntry(L"nocolon", name, type);
    EXPECT_EQ(name, L"");
    EXPECT_EQ(type, L"");
    SplitRecordEntry(L":x", name, type);
    EXPECT_EQ(name, L"");
    EXPECT_EQ(type, L"x");
}

TEST(SkinValues, NumberListLeadingZerosAndSkippedCharactersInTheErrorText) {
    auto ini = Ini(L"[s]\nr=00000000005,0,1,2\nbig=1,2,3,9x9999999999\n");
    EXPECT_EQ(ReadSkinRect(ini, L"s", L"r"), (TSkinRect{5, 0, 1, 2}));
    EXPECT_EQ(ConvertMessage([&] { ReadSkinRect(ini, L"s", L"big"); }), L"'99999999999' ist kein gültiger Integerwert");
}
