#include <gtest/gtest.h>

#include <set>

#include "platform/core/form_data.h"
#include "skin/data/resource_strings.h"

using namespace fn;

namespace {

TStringList Lines(std::initializer_list<const wchar_t*> lines) {
    TStringList l;
    for (const wchar_t* s : lines) l.Add(s);
    return l;
}

}  // namespace

TEST(ResourceStrData, NewComponentCarriesTheDefaultLinesInOrder) {
    TmnResourceStrData strings(nullptr);
    const auto& lines = strings.ResStrings().Lines();
    ASSERT_EQ(lines.size(), 120u);
    EXPECT_EQ(lines.front(), L"MI_MINCAPTION=Mi&nimize");
    EXPECT_EQ(lines[11], L"MENUBUTTON_HINT=System menu");
    EXPECT_EQ(lines.back(), L"CUSTOMCOLOR=Custom...");
    EXPECT_EQ(strings.CharSet(), 1);

    // Every line is "KEY=text" with a key of its own and a non-empty text.
    std::set<String> keys;
    for (const String& line : lines) {
        size_t eq = line.find(L'=');
        ASSERT_NE(eq, String::npos) << WideToUtf8(line);
        EXPECT_GT(line.size(), eq + 1) << WideToUtf8(line);
        EXPECT_TRUE(keys.insert(UpperCase(line.substr(0, eq))).second) << "duplicate " << WideToUtf8(line);
    }

    for (const wchar_t* quoted :
         {L"MSG_BTN_YES=&Yes", L"MSG_BTN_NOTOALL=N&oToAll", L"MSG_OVERWRITE=Are you want to overwrite old file?",
          L"FLV_LOOKIN=Look in: ", L"FIND_REPLACE_All=Replace All", L"PRNDLG_MARGINS=Margins (millimeters)",
          L"PRNDLG_WARNING=There are no printers in your system!"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), String(quoted)), lines.end()) << WideToUtf8(quoted);

    EXPECT_EQ(strings.GetResStr(L"MI_MINTOTRAYCAPTION"), L"Minimize to &Tray");
    EXPECT_EQ(strings.GetResStr(L"MENUBUTTON_HINT"), L"System menu");
    EXPECT_EQ(strings.GetResStr(L"FLV_LOOKIN"), L"Look in: ");
}

TEST(ResourceStrData, GetResStrMatchesNamesIgnoringCaseButNotBlanks) {
    TmnResourceStrData strings(nullptr);
    EXPECT_EQ(strings.GetResStr(L"mi_mincaption"), L"Mi&nimize");
    EXPECT_EQ(strings.GetResStr(L"find_replace_all"), L"Replace All");

    strings.SetResStrings(Lines({L"MI_MINCAPTION = x", L"MI_CLOSECAPTION=&Close=now", L"no equals sign",
                                 L"MI_MAXCAPTION=first", L"mi_maxcaption=second", L"EMPTY=", L"=nameless"}));
    EXPECT_EQ(strings.GetResStr(L"MI_MINCAPTION"), L"");        // the name carries a blank
    EXPECT_EQ(strings.GetResStr(L"MI_MINCAPTION "), L" x");     // text kept with its leading blank
    EXPECT_EQ(strings.GetResStr(L"MI_CLOSECAPTION"), L"&Close=now");
    EXPECT_EQ(strings.GetResStr(L"MI_MAXCAPTION"), L"first");   // first of two wins
    EXPECT_EQ(strings.GetResStr(L"no equals sign"), L"");
    EXPECT_EQ(strings.GetResStr(L"EMPTY"), L"");
    EXPECT_EQ(strings.GetResStr(L""), L"nameless");
    // A missing key gives an empty text, never the built-in one.
    EXPECT_EQ(strings.GetResStr(L"CLOSEBUTTON_HINT"), L"");
}

TEST(ResourceStrData, BuiltInTextsAreGermanAndCoverExactlyTheTwelveKeys) {
    const std::pair<std::wstring_view, const wchar_t*> expected[] = {
        {skinstr::MI_MINCAPTION, L"Mi&nimieren"},
        {skinstr::MI_MAXCAPTION, L"Ma&ximieren"},
        {skinstr::MI_CLOSECAPTION, L"&Schließen"},
        {skinstr::MI_RESTORECAPTION, L"&Wiederherstellen"},
        {skinstr::MI_MINTOTRAYCAPTION, L"In &Taskleiste minimieren"},
        {skinstr::MI_ROLLUPCAPTION, L"&Zuklappen"},
        {skinstr::MINBUTTON_HINT, L"Minimieren"},
        {skinstr::MAXBUTTON_HINT, L"Maximieren"},
        {skinstr::CLOSEBUTTON_HINT, L"Schließen"},
        {skinstr::TRAYBUTTON_HINT, L"In Taskleiste minimieren"},
        {skinstr::ROLLUPBUTTON_HINT, L"Aufklappen"},
        {skinstr::MENUBUTTON_HINT, L"System Menue"},
    };
    TmnResourceStrData strings(nullptr);
    for (const auto& [key, text] : expected) {
        EXPECT_EQ(BuiltInSkinText(key), text) << WideToUtf8(String(key));
        EXPECT_NE(strings.GetResStr(key), L"") << "every key in use has a default line";
    }
    // The twelve keys are the first twelve default lines.
    for (size_t i = 0; i < 12; ++i)
        EXPECT_EQ(strings.ResStrings()[static_cast<int>(i)].rfind(String(expected[i].first) + L"=", 0), 0u);
    EXPECT_EQ(BuiltInSkinText(L"EDIT_UNDO"), L"");
    EXPECT_EQ(BuiltInSkinText(L""), L"");
}

TEST(ResourceStrData, ButtonCommandsMapToTheirHintKeys) {
    EXPECT_EQ(ButtonHintKey(0), skinstr::CLOSEBUTTON_HINT);
    EXPECT_EQ(ButtonHintKey(1), skinstr::MAXBUTTON_HINT);
    EXPECT_EQ(ButtonHintKey(2), skinstr::MINBUTTON_HINT);
    EXPECT_EQ(ButtonHintKey(3), skinstr::MENUBUTTON_HINT);
    EXPECT_EQ(ButtonHintKey(5), skinstr::ROLLUPBUTTON_HINT);
    EXPECT_EQ(ButtonHintKey(6), skinstr::TRAYBUTTON_HINT);
    EXPECT_TRUE(ButtonHintKey(4).empty());  // "cmdefault": no hint
    EXPECT_TRUE(ButtonHintKey(-1).empty());
    EXPECT_TRUE(ButtonHintKey(7).empty());
}

TEST(ResourceStrData, CharSetIsReadFromFormDataAsNumberOrName) {
    class Root : public TComponent {
    public:
        Root() : TComponent(nullptr) { SetName(L"Form1"); }
    };
    auto read = [](const wchar_t* value) {
        TmnResourceStrData::Register();
        Root root;
        String text = String(L"object Form1: TForm1\n  object mnResourceStrData1: TmnResourceStrData\n    CharSet = ") +
                      value + L"\n  end\nend\n";
        ReadFormData(&root, text, nullptr);
        auto* strings = dynamic_cast<TmnResourceStrData*>(root.FindComponent(L"mnResourceStrData1"));
        return strings ? int(strings->CharSet()) : -1;
    };
    EXPECT_EQ(read(L"204"), 204);
    EXPECT_EQ(read(L"ANSI_CHARSET"), 0);
    EXPECT_THROW(read(L"300"), EReadError);
    EXPECT_THROW(read(L"NO_SUCH_CHARSET"), EReadError);
}
