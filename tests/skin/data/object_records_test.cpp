// object records, their keys, defaults and initial values, and the read/write protocol.
#include <gtest/gtest.h>

#include "skin/data/object_records.h"

using namespace fn;

namespace {

TMemIniFile Ini(std::wstring_view text) {
    TMemIniFile ini;
    ini.SetText(text);
    return ini;
}

// Gives every visited field a distinct value that differs from its default.
class Filler : public TSkinFieldVisitor {
public:
    int n = 3;
    void Integer(std::wstring_view, int& v, int def) override { v = def + (n++); }
    void Colour(std::wstring_view, TColor& v, TColor def) override { v = (n++ % 2) ? def + 0x123456 : -16777201; }
    void Bool(std::wstring_view, bool& v) override { v = true; }
    void Text(std::wstring_view, String& v, std::wstring_view) override { v = L"text " + IntToStr(n++); }
    void Rect(std::wstring_view, TSkinRect& v) override { v = {n, n + 1, n + 20, n + 30}; n += 4; }
    void Point(std::wstring_view, TSkinPoint& v) override { v = {n, n + 1}; n += 2; }
    void FontStyles(std::wstring_view, TFontStyles& v) override { v = FontStyleBit(fsItalic) | FontStyleBit(fsStrikeOut); }
    void Alignment(std::wstring_view, TAlignment& v) override { v = taLeftJustify; }
    void InactiveEffect(std::wstring_view, TInactiveEffect& v) override { v = ieSplitBlur; }
    void MorphKind(std::wstring_view, TMorphKind& v) override { v = mkRightSlide; }
    void StretchType(std::wstring_view, TStretchType& v) override { v = stVert; }
    void ButtonCommand(std::wstring_view, TButtonCommand& v) override { v = cmRollUp; }
};

// Key names in visiting order.
std::vector<String> Keys(TmnSkinRecord& r) {
    std::vector<String> keys;
    for (const TSkinField& f : SkinFields(r)) keys.push_back(f.Key);
    return keys;
}

std::vector<std::unique_ptr<TmnSkinRecord>> EveryRecordClass() {
    std::vector<std::unique_ptr<TmnSkinRecord>> r;
    for (const wchar_t* type : {L"menuitem", L"mainmenubaritem", L"stdbutton", L"mainmenubarbutton", L"button",
                                L"caption", L"animate", L"userobject"})
        r.push_back(CreateSkinObjectRecord(type, String(L"Rec_") + type));
    r.push_back(std::make_unique<TmnDataSkinObject>(L"Plain"));
    r.push_back(std::make_unique<TmnDataSkinMainMenuItem>(L"MainItem"));
    r.push_back(std::make_unique<TmnDataSkinPopupWindow>());
    r.push_back(std::make_unique<TmnDataSkinHintWindow>());
    r.push_back(std::make_unique<TmnSkinColors>());
    return r;
}

std::unique_ptr<TmnSkinRecord> SameClass(TmnSkinRecord& r) {
    if (auto* o = dynamic_cast<TmnDataSkinObject*>(&r)) {
        if (auto made = CreateSkinObjectRecord(SkinObjectTypeKeyword(*o), r.SectionName)) return made;
        if (dynamic_cast<TmnDataSkinMainMenuItem*>(&r)) return std::make_unique<TmnDataSkinMainMenuItem>(r.SectionName);
        return std::make_unique<TmnDataSkinObject>(r.SectionName);
    }
    if (dynamic_cast<TmnDataSkinPopupWindow*>(&r)) return std::make_unique<TmnDataSkinPopupWindow>();
    if (dynamic_cast<TmnDataSkinHintWindow*>(&r)) return std::make_unique<TmnDataSkinHintWindow>();
    return std::make_unique<TmnSkinColors>();
}

}  // namespace

TEST(ObjectRecords, EveryClassWrittenBySaveToIniReadsBackEqual) {
    for (auto& rec : EveryRecordClass()) {
        SCOPED_TRACE(rec->ClassName());
        Filler fill;
        rec->VisitFields(fill);
        if (auto* a = dynamic_cast<TmnDataSkinAnimate*>(rec.get())) a->Morphing = false;  // never morphs
        TMemIniFile ini;
        ini.WriteString(rec->SectionName, L"stale", L"1");  // the writer erases the section first
        rec->SaveToIni(ini);
        EXPECT_FALSE(ini.ValueExists(rec->SectionName, L"stale"));
        auto back = SameClass(*rec);
        // Reading over a record that already holds other values must not keep any of them.
        Filler other;
        other.n = 1000;
        back->VisitFields(other);
        back->LoadFromIni(ini);
        EXPECT_TRUE(SameSkinFields(*rec, *back));
        // And through the text of the table.
        TMemIniFile reread;
        reread.SetText(ini.Text());
        auto again = SameClass(*rec);
        again->LoadFromIni(reread);
        EXPECT_TRUE(SameSkinFields(*rec, *again));
    }
}

TEST(ObjectRecords, TypeKeywordsCreateTheirClassesWithExactCase) {
    EXPECT_STREQ(CreateSkinObjectRecord(L"menuitem", L"m")->ClassName(), L"TmnDataSkinMenuItem");
    EXPECT_STREQ(CreateSkinObjectRecord(L"mainmenubaritem", L"m")->ClassName(), L"TmnDataSkinMainMenuBarItem");
    EXPECT_STREQ(CreateSkinObjectRecord(L"stdbutton", L"m")->ClassName(), L"TmnDataSkinStdButton");
    EXPECT_STREQ(CreateSkinObjectRecord(L"mainmenubarbutton", L"m")->ClassName(), L"TmnDataSkinMainMenuBarButton");
    EXPECT_STREQ(CreateSkinObjectRecord(L"button", L"m")->ClassName(), L"TmnDataSkinButton");
    EXPECT_STREQ(CreateSkinObjectRecord(L"caption", L"m")->ClassName(), L"TmnDataSkinCaption");
    EXPECT_STREQ(CreateSkinObjectRecord(L"animate", L"m")->ClassName(), L"TmnDataSkinAnimate");
    EXPECT_STREQ(CreateSkinObjectRecord(L"userobject", L"m")->ClassName(), L"TmnDataUserObject");
    EXPECT_EQ(CreateSkinObjectRecord(L"Caption", L"m"), nullptr);
    EXPECT_EQ(CreateSkinObjectRecord(L"mainmenuitem", L"m"), nullptr);
    EXPECT_EQ(CreateSkinObjectRecord(L"", L"m"), nullptr);
    auto bar = CreateSkinObjectRecord(L"mainmenubarbutton", L"x");
    EXPECT_NE(dynamic_cast<TmnDataSkinStdButton*>(bar.get()), nullptr);
    auto baritem = CreateSkinObjectRecord(L"mainmenubaritem", L"x");
    EXPECT_NE(dynamic_cast<TmnDataSkinMainMenuItem*>(baritem.get()), nullptr);
}

TEST(ObjectRecords, CaptionWithoutKeysReadsTheDefaults) {
    auto ini = Ini(L"[caption]\n");
    TmnDataSkinCaption c(L"caption");
    Filler fill;
    c.VisitFields(fill);
    c.LoadFromIni(ini);
    EXPECT_EQ(c.Hint, L"");
    EXPECT_EQ(c.ActivePictureIndex, -1);
    EXPECT_EQ(c.FontName, L"Arial");
    EXPECT_EQ(c.FontHeight, 14);
    EXPECT_EQ(c.FontStyle, 0);
    EXPECT_EQ(c.FontColor, 0);
    EXPECT_EQ(c.ActiveFontColor, 0);
    EXPECT_EQ(c.ShadowColor, 0);
    EXPECT_EQ(c.Alignment, taCenter);
    EXPECT_EQ(c.MorphKind, mkDefault);
    EXPECT_EQ(c.AnimateInterval, 25);
    EXPECT_FALSE(c.FullFrame);
    for (const TSkinRect* r : {&c.SkinRect, &c.ActiveSkinRect, &c.InactiveSkinRect, &c.TextRect, &c.FrameRect,
                               &c.ActiveFrameRect, &c.FrameTextRect, &c.AnimateSkinRect})
        EXPECT_EQ(*r, TSkinRect{});
}

TEST(ObjectRecords, SectionIsFoundIgnoringCaseAndFirstOccurrenceWins) {
    auto ini = Ini(L"[caption1]\nfontheight=20\n[Caption1]\nfontheight=30\nfontname=Tahoma\n");
    TmnDataSkinCaption c(L"CAPTION1");
    c.LoadFromIni(ini);
    EXPECT_EQ(c.FontHeight, 20);
    EXPECT_EQ(c.FontName, L"Arial");
}

TEST(ObjectRecords, AnimateNeverMorphsAndWritesMorphingZero) {
    auto ini = Ini(L"[anim]\nmorphing=1\nmorphkind=mkpush\ncountframes=8\n");
    TmnDataSkinAnimate a(L"anim");
    a.LoadFromIni(ini);
    EXPECT_FALSE(a.Morphing);
    EXPECT_EQ(a.MorphKind, mkPush);
    EXPECT_EQ(a.CountFrames, 8);
    EXPECT_EQ(a.TimerInterval, 50);
    EXPECT_EQ(a.Command, cmDefault);
    TMemIniFile out;
    a.SaveToIni(out);
    EXPECT_EQ(out.ReadString(L"anim", L"morphing", L""), L"0");
}

TEST(ObjectRecords, UserObjectReadsAndWritesSkinRectAlone) {
    auto ini = Ini(L"[user]\nhint=Hallo\nactivepictureindex=3\nskinrect=1,2,30,40\nmorphing=1\n");
    TmnDataUserObject u(L"user");
    u.LoadFromIni(ini);
    EXPECT_EQ(u.Hint, L"");
    EXPECT_EQ(u.ActivePictureIndex, -1);
    EXPECT_FALSE(u.Morphing);
    EXPECT_EQ(u.SkinRect, (TSkinRect{1, 2, 30, 40}));
    u.SaveToIni(ini);
    EXPECT_EQ(ini.ReadSection(L"user"), std::vector<String>{L"skinrect"});
    EXPECT_EQ(ini.ReadString(L"user", L"skinrect", L""), L"1,2,30,40");
}

TEST(ObjectRecords, CommandKeywordsAndInitialOrdinal) {
    TmnDataSkinStdButton b(L"b");
    EXPECT_EQ(b.Command, 0);
    EXPECT_EQ(b.DownRect, TSkinRect{});
    for (auto [text, ord] : {std::pair{L"cmminimizetotray", 6}, {L"xyz", 6}, {L"cmsysmenu", 3}}) {
        auto ini = Ini(String(L"[b]\ncommand=") + text + L"\n");
        b.LoadFromIni(ini);
        EXPECT_EQ(b.Command, ord);
    }
    TMemIniFile out;
    b.Command = cmMinimizeToTray;
    b.SaveToIni(out);
    EXPECT_EQ(out.ReadString(L"b", L"command", L""), L"cmminimizetotray");
    b.LoadFromIni(Ini(L"[b]\n"));
    EXPECT_EQ(b.Command, cmDefault);
}

TEST(ObjectRecords, KeysAreWrittenInTableOrderWithTheirSpelling) {
    TmnDataSkinStdButton b(L"b");
    TMemIniFile ini;
    b.SaveToIni(ini);
    EXPECT_EQ(ini.ReadSection(L"b"),
              (std::vector<String>{L"hint", L"activepictureindex", L"skinrectinapicture", L"skinrect",
                                   L"activeskinrect", L"inactiveskinrect", L"morphing", L"morphkind", L"downrect",
                                   L"disableskinrsect", L"command", L"restorerect", L"restoreactiverect",
                                   L"restoredownrect", L"restoreinactiverect"}));
    TmnDataSkinMainMenuBarItem item(L"i");
    const auto keys = Keys(item);
    EXPECT_EQ(keys[8], L"itemleftoffset");
    EXPECT_EQ(keys[18], L"unenabledfontColor");
    EXPECT_EQ(keys.size(), 24u);
    TmnDataSkinMenuItem menu(L"m");
    EXPECT_EQ(Keys(menu).size(), 8u + 23u);
    TmnDataSkinCaption cap(L"c");
    const auto ck = Keys(cap);
    EXPECT_EQ(ck.size(), 8u + 24u);
    EXPECT_EQ(ck.back(), L"fullframe");
    TmnDataSkinAnimate an(L"a");
    EXPECT_EQ(Keys(an).size(), 8u + 10u);
    // Booleans "1"/"0", enumerations as keywords, fonts as name, height, style, colour.
    cap.FontStyle = FontStyleBit(fsBold) | FontStyleBit(fsUnderline);
    cap.Shadow = true;
    cap.Alignment = taLeftJustify;
    cap.SaveToIni(ini);
    EXPECT_EQ(ini.ReadString(L"c", L"fontstyle", L""), L"fsbold,fsunderline");
    EXPECT_EQ(ini.ReadString(L"c", L"shadow", L""), L"1");
    EXPECT_EQ(ini.ReadString(L"c", L"light", L""), L"0");
    EXPECT_EQ(ini.ReadString(L"c", L"alignment", L""), L"taleftjustify");
    EXPECT_EQ(ini.ReadString(L"c", L"morphkind", L""), L"mkdefault");
}

TEST(ObjectRecords, MalformedRectangleEndsTheReadWithTheConversionError) {
    TmnDataSkinButton b(L"b");
    try {
        b.LoadFromIni(Ini(L"[b]\nskinrect=1,2,3\n"));
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'' ist kein gültiger Integerwert");
    }
    // Malformed integers, colours and booleans take their defaults instead.
    b.LoadFromIni(Ini(L"[b]\nactivepictureindex=x\nmorphing=yes\n"));
    EXPECT_EQ(b.ActivePictureIndex, -1);
    EXPECT_FALSE(b.Morphing);
}

TEST(FixedRecords, HintWindowInitialAndAfterLoadingASkinWithoutItsSection) {
    TmnDataSkinHintWindow h;
    EXPECT_EQ(h.FontHeight, 12);
    EXPECT_EQ(h.FontName, L"Arial");
    EXPECT_EQ(h.WindowPictureIndex, -1);
    h.LoadFromIni(Ini(L"[VERSION]\n"));
    EXPECT_EQ(h.FontHeight, 14);
    EXPECT_EQ(h.WindowPictureIndex, -1);
    EXPECT_EQ(h.StretchType, stFull);
}

TEST(FixedRecords, PopupWindowReadsItsSection) {
    TmnDataSkinPopupWindow p;
    p.LoadFromIni(Ini(L"[POPUPWINDOW]\nwindowpictureindex=2\nitemsrect=3,4,50,60\nlefttoppoint=3,4\n"
                      L"stretchtype=stvert\nbottomstretch=1\nscrollmarkercolor=$FF\n"));
    EXPECT_EQ(p.WindowPictureIndex, 2);
    EXPECT_EQ(p.MaskPictureIndex, -1);
    EXPECT_EQ(p.ItemsRect, (TSkinRect{3, 4, 50, 60}));
    EXPECT_EQ(p.LeftTopPoint, (TSkinPoint{3, 4}));
    EXPECT_EQ(p.StretchType, stVert);
    EXPECT_TRUE(p.BottomStretch);
    EXPECT_FALSE(p.TopStretch);
    EXPECT_EQ(p.ScrollMarkerColor, 255);
}

TEST(FixedRecords, SkinColorsStartAtZeroAndDefaultToSystemColours) {
    TmnSkinColors c;
    EXPECT_EQ(c.cBtnFace, 0);
    EXPECT_EQ(c.cBtnShadow, 0);
    c.SetDefaultColors();
    EXPECT_EQ(c.cBtnFace, -16777201);
    c.cBtnFace = 1;
    c.LoadFromIni(Ini(L"[SKINCOLORS]\ncwindow=255\n"));
    EXPECT_EQ(c.cBtnFace, -16777201);
    EXPECT_EQ(c.cBtnText, -16777198);
    EXPECT_EQ(c.cWindow, 255);
    EXPECT_EQ(c.cWindowText, -16777208);
    EXPECT_EQ(c.cHighLight, -16777203);
    EXPECT_EQ(c.cHighLightText, -16777202);
    EXPECT_EQ(c.cBtnHighLight, -16777196);
    EXPECT_EQ(c.cBtnShadow, -16777200);
    TMemIniFile out;
    c.SaveToIni(out);
    EXPECT_EQ(out.ReadString(L"SKINCOLORS", L"cbtnface", L""), L"-16777201");
}
