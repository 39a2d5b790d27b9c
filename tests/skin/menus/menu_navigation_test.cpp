// Keyboard navigation of a popup window: mnemonics, arrow keys over dividers and disabled items,
// Home/End, and the scrolled range following the selection.
#include "skin/menus/menu_navigation.h"

#include <gtest/gtest.h>

namespace fn {
namespace {

TMenuNavItem Item(const wchar_t* caption, bool enabled = true) {
    TMenuNavItem i;
    i.Separator = String(caption) == L"-";
    i.Enabled = enabled;
    i.Accel = AccelChar(caption);
    return i;
}

TEST(MenuMnemonic, FoundByCharacterIgnoringCaseIncludingUmlauts) {
    std::vector<TMenuNavItem> items{Item(L"&Neu"), Item(L"&Öffnen"), Item(L"-"), Item(L"&Über"), Item(L"Sch&ließen")};
    EXPECT_EQ(FindAccelItem(items, L'ö'), 1);
    EXPECT_EQ(FindAccelItem(items, L'Ö'), 1);
    EXPECT_EQ(FindAccelItem(items, L'ü'), 3);
    EXPECT_EQ(FindAccelItem(items, L'L'), 4);
    EXPECT_EQ(FindAccelItem(items, L'n'), 0);
    EXPECT_EQ(FindAccelItem(items, L'x'), -1);
    EXPECT_EQ(FindAccelItem(items, 0), -1);
}

TEST(MenuMnemonic, DoubleAmpersandIsNoMnemonic) {
    EXPECT_EQ(AccelChar(L"Drag && Drop"), 0);
    EXPECT_EQ(AccelChar(L"A&&B &C"), L'C');
    EXPECT_EQ(AccelChar(L"Ende&"), 0);
    EXPECT_EQ(StripAccel(L"&Öffnen"), L"Öffnen");
    EXPECT_EQ(StripAccel(L"Drag && &Drop"), L"Drag & Drop");
}

TEST(MenuMnemonic, CaseFoldCoversLatin1AndExtendedA) {
    EXPECT_EQ(FoldCase(L'ä'), L'Ä');
    EXPECT_EQ(FoldCase(L'ß'), L'ß');      // no single upper-case letter
    EXPECT_EQ(FoldCase(L'÷'), L'÷');      // a sign, not a letter
    EXPECT_EQ(FoldCase(0x0151), 0x0150);  // ő
    EXPECT_EQ(FoldCase(0x017E), 0x017D);  // ž
    EXPECT_EQ(FoldCase(0x013E), 0x013D);  // ľ
    EXPECT_EQ(FoldCase(L'1'), L'1');
}

TEST(MenuArrowKeys, SkipDividersAndDisabledItemsAndWrap) {
    std::vector<TMenuNavItem> items{Item(L"A"), Item(L"-"), Item(L"B", false), Item(L"C"), Item(L"-")};
    TMenuScroll none;
    EXPECT_EQ(NextMenuItem(items, -1, none).Item, 0);
    EXPECT_EQ(NextMenuItem(items, 0, none).Item, 3);
    EXPECT_EQ(NextMenuItem(items, 3, none).Item, 0);  // wraps past the trailing divider
    EXPECT_EQ(PrevMenuItem(items, 0, none).Item, 3);
    EXPECT_EQ(PrevMenuItem(items, -1, none).Item, 3);
    EXPECT_EQ(PrevMenuItem(items, 3, none).Item, 0);
    EXPECT_EQ(FirstMenuItem(items, none).Item, 0);
    EXPECT_EQ(LastMenuItem(items, none).Item, 3);
}

TEST(MenuArrowKeys, NothingSelectableSelectsNothing) {
    std::vector<TMenuNavItem> items{Item(L"-"), Item(L"A", false), Item(L"-")};
    TMenuScroll none;
    EXPECT_EQ(NextMenuItem(items, -1, none).Item, -1);
    EXPECT_EQ(PrevMenuItem(items, 1, none).Item, -1);
    EXPECT_EQ(LastMenuItem({}, none).Item, -1);
    EXPECT_EQ(NextMenuItem({}, 5, none).Item, -1);
    // An active index beyond the list (a window that lost items) starts from an end.
    std::vector<TMenuNavItem> one{Item(L"A")};
    EXPECT_EQ(NextMenuItem(one, 7, none).Item, 0);
    EXPECT_EQ(PrevMenuItem(one, 7, none).Item, 0);
}

TEST(MenuArrowKeys, ScrolledRangeFollowsTheSelection) {
    std::vector<TMenuNavItem> items(30, Item(L"X"));
    TMenuScroll scroll;
    scroll.Scroll = true;
    scroll.Start = 0;
    scroll.VisibleFrom = [](int start) { return std::min(10, 30 - start); };
    EXPECT_EQ(NextMenuItem(items, 8, scroll).Start, 0);
    TNavResult r = NextMenuItem(items, 9, scroll);
    EXPECT_EQ(r.Item, 10);
    EXPECT_EQ(r.Start, 1);
    // Up from the top wraps to the end, where the last ten fill the window.
    r = PrevMenuItem(items, 0, scroll);
    EXPECT_EQ(r.Item, 29);
    EXPECT_EQ(r.Start, 20);
    // Down from the end wraps to the top.
    scroll.Start = 20;
    r = NextMenuItem(items, 29, scroll);
    EXPECT_EQ(r.Item, 0);
    EXPECT_EQ(r.Start, 0);
    EXPECT_EQ(LastMenuItem(items, TMenuScroll{true, 0, scroll.VisibleFrom}).Start, 20);
}

}  // namespace
}  // namespace fn
