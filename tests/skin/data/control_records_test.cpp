// Skin control records: the type table, every class's keys, defaults and initial values, and
// the write-then-read round trip.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <typeindex>

#include "skin/data/control_records.h"

using namespace fn;

namespace {

TMemIniFile Ini(std::wstring_view text) {
    TMemIniFile ini;
    ini.SetText(text);
    return ini;
}

template <class T>
std::unique_ptr<T> Read(std::wstring_view type, std::wstring_view text, const String& name) {
    auto record = CreateSkinControlRecord(type, name);
    EXPECT_NE(record, nullptr);
    record->LoadFromIni(Ini(text));
    return std::unique_ptr<T>(dynamic_cast<T*>(record.release()));
}

// Gives every visited field a distinct value that differs from every default.
class Filler : public TSkinFieldVisitor {
public:
    int n = 5;
    void Integer(std::wstring_view, int& v, int def) override { v = def + 1000 + n++; }
    void Colour(std::wstring_view, TColor& v, TColor) override { v = (n++ % 2) ? 0x10203 * n : -16777196; }
    void Bool(std::wstring_view, bool& v) override { v = true; }
    void Text(std::wstring_view, String& v, std::wstring_view) override { v = L"name " + IntToStr(n++); }
    void Rect(std::wstring_view, TSkinRect& v) override { v = {n, n + 2, n + 40, n + 50}; n += 3; }
    void Point(std::wstring_view, TSkinPoint& v) override { v = {n, n + 7}; n += 2; }
    void FontStyles(std::wstring_view, TFontStyles& v) override { v = FontStyleBit(fsBold) | FontStyleBit(fsUnderline); }
    void Alignment(std::wstring_view, TAlignment& v) override { v = taLeftJustify; }
    void InactiveEffect(std::wstring_view, TInactiveEffect& v) override { v = ieNoise; }
    void MorphKind(std::wstring_view, TMorphKind& v) override { v = mkLeftSlide; }
    void StretchType(std::wstring_view, TStretchType& v) override { v = stVert; }
    void ButtonCommand(std::wstring_view, TButtonCommand& v) override { v = cmSysMenu; }
};

// key -> value text of every visited field.
std::map<String, String> ValuesOf(TmnSkinRecord& r) {
    std::map<String, String> of;
    for (TSkinField& f : SkinFields(r)) of[f.Key] = std::move(f.Value);
    return of;
}

std::vector<String> WrittenKeys(TmnSkinRecord& r) {
    TMemIniFile ini;
    r.SaveToIni(ini);
    return ini.ReadSection(r.SectionName);
}

size_t IndexOf(const std::vector<String>& keys, std::wstring_view key) {
    return static_cast<size_t>(std::find(keys.begin(), keys.end(), String(key)) - keys.begin());
}

}  // namespace

TEST(ControlRecords, EveryTypeKeywordCreatesItsOwnClassWithExactCase) {
    auto types = SkinControlTypes();
    ASSERT_EQ(types.size(), 28u);
    std::set<std::type_index> classes;
    std::set<String> classNames;
    for (const TSkinControlType& t : types) {
        auto r = CreateSkinControlRecord(t.keyword, L"Rec");
        ASSERT_NE(r, nullptr) << WideToUtf8(String(t.keyword));
        EXPECT_EQ(r->SectionName, L"Rec");
        EXPECT_EQ(r->PictureIndex, -1);
        EXPECT_EQ(r->MaskPictureIndex, -1);
        EXPECT_TRUE(r->SkinRect.IsEmpty());
        const TmnDataSkinControl& record = *r;
        classes.insert(typeid(record));
        classNames.insert(r->ClassName());
    }
    EXPECT_EQ(classes.size(), 28u);
    EXPECT_EQ(classNames.size(), 28u);  // each class reports its own name

    EXPECT_EQ(CreateSkinControlRecord(L"Button", L"x"), nullptr);
    EXPECT_EQ(CreateSkinControlRecord(L"", L"x"), nullptr);
    // Descendants are also what consumers of their base look for.
    EXPECT_NE(dynamic_cast<TmnDataSkinButtonControl*>(CreateSkinControlRecord(L"menubutton", L"m").get()), nullptr);
    EXPECT_NE(dynamic_cast<TmnDataSkinCustomControl*>(CreateSkinControlRecord(L"panel", L"p").get()), nullptr);
    EXPECT_EQ(dynamic_cast<TmnDataSkinCustomControl*>(CreateSkinControlRecord(L"mainmenubar", L"p").get()), nullptr);
}

TEST(ControlRecords, EveryClassWritesItsWholeKeySet) {
    // Number of keys each writer emits, base keys included.
    const std::map<std::wstring_view, size_t> expected = {
        {L"panel", 31},     {L"expanel", 44},    {L"menubutton", 36}, {L"button", 35},       {L"checkradio", 32},
        {L"gauge", 26},     {L"splitter", 17},   {L"trackbar", 21},   {L"label", 18},        {L"stdlabel", 8},
        {L"updown", 20},    {L"grid", 27},       {L"tab", 34},        {L"mainmenubar", 13},  {L"controlbar", 27},
        {L"memo", 27},      {L"edit", 25},       {L"checklistbox", 47}, {L"listbox", 44},    {L"combobox", 35},
        {L"scrollbar", 31}, {L"spinedit", 27},   {L"scrollbox", 15},  {L"treeview", 8},      {L"bevel", 5},
        {L"slider", 10},    {L"listview", 8},    {L"richedit", 8},
    };
    for (const TSkinControlType& t : SkinControlTypes()) {
        auto r = t.create(L"Rec");
        std::vector<String> keys = WrittenKeys(*r);
        EXPECT_EQ(keys.size(), expected.at(t.keyword)) << WideToUtf8(String(t.keyword));
        std::set<String> unique(keys.begin(), keys.end());
        EXPECT_EQ(unique.size(), keys.size()) << "a key written twice in " << WideToUtf8(String(t.keyword));
        ASSERT_GE(keys.size(), 3u);
        EXPECT_EQ(keys[0], L"pictureindex");
        EXPECT_EQ(keys[1], L"maskpictureindex");
        EXPECT_EQ(keys[2], L"skinrect");
    }
}

TEST(ControlRecords, WhatIsWrittenReadsBackToTheSameRecord) {
    for (const TSkinControlType& t : SkinControlTypes()) {
        SCOPED_TRACE(WideToUtf8(String(t.keyword)));
        auto original = t.create(L"Ctl");
        Filler fill;
        original->VisitFields(fill);
        TMemIniFile ini;
        original->SaveToIni(ini);

        // Through the text form too, as a skin file would carry it.
        TMemIniFile reread = Ini(ini.Text());
        auto copy = t.create(L"Ctl");
        copy->LoadFromIni(reread);
        EXPECT_TRUE(SameSkinFields(*original, *copy));

        // Every field really travelled: none of them reads as its default.
        auto fresh = t.create(L"Ctl");
        fresh->LoadFromIni(TMemIniFile());
        auto got = ValuesOf(*copy), defaults = ValuesOf(*fresh);
        size_t unchanged = 0;
        for (const auto& [key, value] : got) unchanged += defaults.at(key) == value;
        // Only the up-down's cleared frame (four points and the client rectangle) stays.
        EXPECT_EQ(unchanged, t.keyword == L"updown" ? 5u : 0u);
    }
}

TEST(ControlRecords, AMissingKeyTakesItsDefaultNeverThePreviousValue) {
    for (const TSkinControlType& t : SkinControlTypes()) {
        SCOPED_TRACE(WideToUtf8(String(t.keyword)));
        auto used = t.create(L"Ctl");
        Filler fill;
        used->VisitFields(fill);
        TMemIniFile empty = Ini(L"[Ctl]\r\n");
        used->LoadFromIni(empty);
        auto fresh = t.create(L"Ctl");
        fresh->LoadFromIni(empty);
        EXPECT_TRUE(SameSkinFields(*used, *fresh));
    }
}

TEST(ControlRecords, InitialValuesDifferFromDefaultsOnlyWhereTheKindSaysSo) {
    // Per kind, the keys whose value after construction differs from the value read from an
    // empty section.
    const std::map<std::wstring_view, std::set<String>> expected = {
        {L"panel", {L"fontheight", L"grippertransparentcolor"}},
        {L"expanel", {L"fontheight", L"buttonstransparentcolor"}},
        {L"controlbar", {L"itemoffset1", L"itemoffset2"}},
        {L"label", {L"fontheight"}},
        {L"splitter", {L"grippertransparentcolor"}},
        {L"gauge", {L"progresstransparentcolor"}},
        {L"trackbar", {L"buttontransparentcolor"}},
        {L"scrollbar", {L"thumbtransparentcolor"}},
        {L"spinedit", {L"fontheight"}},
        {L"edit", {L"fontheight"}},
        {L"memo", {L"fontheight"}},
        {L"listbox", {L"vscrollbarname", L"hscrollbarname", L"bothhscrollbarname"}},
        {L"checklistbox", {L"vscrollbarname", L"hscrollbarname", L"bothhscrollbarname"}},
        {L"checkradio", {L"fontheight"}},
        {L"button", {L"fontheight"}},
        {L"menubutton", {L"fontheight"}},
        {L"treeview", {L"bgcolor"}},
        {L"listview", {L"bgcolor"}},
        {L"richedit", {L"bgcolor"}},
        {L"stdlabel", {L"fontheight"}},
    };
    for (const TSkinControlType& t : SkinControlTypes()) {
        SCOPED_TRACE(WideToUtf8(String(t.keyword)));
        auto initial = t.create(L"Ctl");
        auto read = t.create(L"Ctl");
        read->LoadFromIni(TMemIniFile());
        auto a = ValuesOf(*initial), b = ValuesOf(*read);
        std::set<String> differing;
        for (const auto& [key, value] : a)
            if (b.at(key) != value) differing.insert(key);
        auto it = expected.find(t.keyword);
        EXPECT_EQ(differing, it == expected.end() ? std::set<String>{} : it->second);
    }
    TmnDataSkinPanelControl panel(L"p");
    EXPECT_EQ(panel.FontHeight, 12);
    EXPECT_EQ(panel.GripperTransparentColor, 0xFF00FF);
    EXPECT_EQ(panel.Alignment, taCenter);
    TmnDataSkinGaugeControl gauge(L"g");
    EXPECT_EQ(gauge.FontHeight, 14);
    TmnDataSkinTreeView tree(L"t");
    EXPECT_EQ(tree.BgColor, 0xFFFFFF);
}

TEST(ControlRecords, KeysReadAsTheKindsDescribe) {
    auto list = Read<TmnDataSkinListBox>(L"listbox", L"[lb]\nhscrollbarname=myh\n", L"lb");
    EXPECT_EQ(list->VScrollBarName, L"vscrollbar");
    EXPECT_EQ(list->HScrollBarName, L"myh");
    EXPECT_EQ(list->BothHScrollBarName, L"bothhscrollbar");
    EXPECT_EQ(list->CaptionFontName, L"Arial");
    EXPECT_EQ(list->CaptionFontHeight, 14);

    auto combo = Read<TmnDataSkinComboBox>(L"combobox", L"[cb]\nitemleftoffset=4\n", L"cb");
    EXPECT_EQ(combo->ListBoxName, L"");
    EXPECT_EQ(combo->ItemLeftOffset, 4);

    auto bar = Read<TmnDataSkinControlBar>(L"controlbar", L"[bar]\nitemoffset2=7\n", L"bar");
    EXPECT_EQ(bar->ItemOffset1, 3);
    EXPECT_EQ(bar->ItemOffset2, 7);

    auto label = Read<TmnDataSkinStdLabelControl>(L"stdlabel", L"[stdlabel]\nfontstyle=fsbold\n", L"stdlabel");
    EXPECT_EQ(label->ActiveFontColor, 0xFF0000);
    EXPECT_EQ(label->FontHeight, 14);
    EXPECT_EQ(label->FontStyle, FontStyleBit(fsBold));

    EXPECT_EQ(Read<TmnDataSkinPanelControl>(L"panel", L"[panel]\nalignment=taleftjustify\n", L"panel")->Alignment,
              taLeftJustify);
    EXPECT_EQ(Read<TmnDataSkinPanelControl>(L"panel", L"[panel]\n", L"panel")->Alignment, taCenter);
    EXPECT_EQ(Read<TmnDataSkinTreeView>(L"treeview", L"[tv]\nfontname=Tahoma\n", L"tv")->BgColor, 0);

    // Section and key names match ignoring case; the record keeps its name as given.
    auto button = Read<TmnDataSkinButtonControl>(
        L"button",
        L"[BUTTON]\nActiveSkinRect=1,30,51,58\ndownskinrect=1,59,51,87\ndisabledskinrect=0,0,0,0\n"
        L"morphing=1\nmorphkind=mkpush\n",
        L"button");
    EXPECT_EQ(button->ActiveSkinRect, (TSkinRect{1, 30, 51, 58}));
    EXPECT_EQ(button->DownSkinRect, (TSkinRect{1, 59, 51, 87}));
    EXPECT_TRUE(button->DisabledSkinRect.IsEmpty());
    EXPECT_TRUE(button->Morphing);
    EXPECT_EQ(button->MorphKind, mkPush);
    EXPECT_EQ(button->AnimateInterval, 25);
    EXPECT_EQ(button->FontHeight, 14);

    auto mmb = Read<TmnDataSkinMainMenuBar>(
        L"mainmenubar", L"[mainmenubar]\nmenubaritem=MAINMENUBARITEM\nclosebutton=mdiclose\nitemsrect=2,3,100,20\n",
        L"mainmenubar");
    EXPECT_EQ(mmb->MenuBarItem, L"MAINMENUBARITEM");
    EXPECT_EQ(mmb->CloseButton, L"mdiclose");
    EXPECT_EQ(mmb->MinButton, L"");
    EXPECT_EQ(mmb->ItemsRect, (TSkinRect{2, 3, 100, 20}));
}

TEST(ControlRecords, WritersPutTheirKeysInTheirOwnOrder) {
    TmnDataSkinControlBar bar(L"bar");
    auto keys = WrittenKeys(bar);
    EXPECT_EQ(IndexOf(keys, L"itemstretcheffect"), IndexOf(keys, L"itemoffset2") + 1);
    EXPECT_EQ(IndexOf(keys, L"itemoffset1"), IndexOf(keys, L"gripoffset2") + 1);

    TmnDataSkinCheckListBox clb(L"clb");
    keys = WrittenKeys(clb);
    ASSERT_GE(keys.size(), 3u);
    EXPECT_EQ(std::vector<String>(keys.end() - 3, keys.end()),
              (std::vector<String>{L"itemcheckrect", L"uncheckimagerect", L"checkimagerect"}));
    EXPECT_EQ(keys[keys.size() - 4], L"showfocus");

    TmnDataSkinComboBox combo(L"cb");
    keys = WrittenKeys(combo);
    EXPECT_EQ(IndexOf(keys, L"listboxname"), IndexOf(keys, L"unenabledbuttonrect") + 1);
    EXPECT_EQ(IndexOf(keys, L"buttonrect"), IndexOf(keys, L"activefontcolor") + 1);

    TmnDataSkinCheckRadioControl radio(L"cr");
    keys = WrittenKeys(radio);
    EXPECT_EQ(IndexOf(keys, L"framefontcolor"), IndexOf(keys, L"fontcolor") + 1);
    EXPECT_EQ(IndexOf(keys, L"activefontcolor"), IndexOf(keys, L"framefontcolor") + 1);
    EXPECT_EQ(IndexOf(keys, L"activeskinrect"), IndexOf(keys, L"unenabledfontcolor") + 1);

    // Font groups are written name, height, style, colour.
    TmnDataSkinLabelControl label(L"l");
    keys = WrittenKeys(label);
    EXPECT_EQ(std::vector<String>(keys.end() - 4, keys.end()),
              (std::vector<String>{L"fontname", L"fontheight", L"fontstyle", L"fontcolor"}));
}

TEST(ControlRecords, UpDownFrameStaysClearedWhateverTheSectionHolds) {
    auto ud = Read<TmnDataSkinUpDownControl>(
        L"updown",
        L"[vupdown]\nlefttoppoint=2,3\nrightbottompoint=9,9\nclientrect=1,1,8,8\nupbuttonrect=0,0,10,10\n"
        L"leftstretch=1\n",
        L"vupdown");
    EXPECT_EQ(ud->LeftTopPoint, TSkinPoint{});
    EXPECT_EQ(ud->RightBottomPoint, TSkinPoint{});
    EXPECT_TRUE(ud->ClientRect.IsEmpty());
    EXPECT_EQ(ud->UpButtonRect, (TSkinRect{0, 0, 10, 10}));
    EXPECT_TRUE(ud->LeftStretch);  // the rest of the custom-control keys are read

    ud->RightTopPoint = {4, 5};
    ud->ClientRect = {1, 2, 30, 40};
    TMemIniFile out;
    ud->SaveToIni(out);
    EXPECT_EQ(out.ReadString(L"vupdown", L"righttoppoint", L"?"), L"0,0");
    EXPECT_EQ(out.ReadString(L"vupdown", L"clientrect", L"?"), L"0,0,0,0");
    EXPECT_EQ(ud->RightTopPoint, TSkinPoint{});
}

TEST(ControlRecords, ButtonWritesMenuMarkerKeysButNeverReadsThem) {
    auto b = Read<TmnDataSkinMenuButtonControl>(
        L"menubutton", L"[mb]\nmenumarkerrect=1,2,3,4\nmenumarkertransparentcolor=7\ntrackbuttonrect=5,5,9,9\n", L"mb");
    EXPECT_TRUE(b->MenuMarkerRect.IsEmpty());
    EXPECT_EQ(b->MenuMarkerTransparentColor, 0);
    EXPECT_EQ(b->TrackButtonRect, (TSkinRect{5, 5, 9, 9}));
    auto keys = WrittenKeys(*b);
    size_t at = IndexOf(keys, L"menumarkerflatrect");
    ASSERT_LT(at + 5, keys.size());
    EXPECT_EQ(keys[at - 1], L"showfocus");
    EXPECT_EQ(keys[at + 4], L"menumarkertransparentcolor");
    EXPECT_EQ(keys[at + 5], L"trackbuttonrect");  // the descendant's keys follow the inherited ones
}
