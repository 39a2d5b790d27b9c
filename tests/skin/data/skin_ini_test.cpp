// The skin description's value readers and writers and their defaults.
#include <gtest/gtest.h>

#include "skin/data/skin_ini.h"

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
    // An item listed twice is read from its first line, as a key lookup finds it; keys with a
    // leading zero or a sign are not items.
    auto dup = Ini(L"[d]\nlcount=3\n1=first.bmp\n0=zero.bmp\n1=second.bmp\n01=lead.bmp\n+2=plus.bmp\n2=two.bmp\n"
                   L"0=again.bmp\n");
    std::vector<String> items;
    ReadNameList(dup, L"d", L"l", items);
    EXPECT_EQ(items, (std::vector<String>{L"zero.bmp", L"first.bmp", L"two.bmp"}));
    EXPECT_EQ(items[1], dup.ReadString(L"d", L"1", L""));
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
