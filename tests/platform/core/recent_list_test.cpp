// The recent-notes list: order, length, case, its INI table (sound and damaged) and the menu
// captions with paths shortened in the middle.
#include <gtest/gtest.h>

#include "platform/core/recent_list.h"

using namespace fn;

TEST(RecentList, NewestFirstEachOnceAtMostEightAndKeptThroughItsTable) {
    TRecentList list;
    for (int i = 1; i <= 10; ++i) list.Add(L"C:\\Notizen\\N" + IntToStr(i) + L".rtf");
    ASSERT_EQ(list.Paths().size(), 8u);
    EXPECT_EQ(list.Paths().front(), L"C:\\Notizen\\N10.rtf");
    EXPECT_EQ(list.Paths().back(), L"C:\\Notizen\\N3.rtf");
    // Opening a listed note again moves it to the top, whatever the letter case.
    list.Add(L"c:\\notizen\\n5.RTF");
    ASSERT_EQ(list.Paths().size(), 8u);
    EXPECT_EQ(list.Paths()[0], L"c:\\notizen\\n5.RTF");
    EXPECT_EQ(list.Paths()[1], L"C:\\Notizen\\N10.rtf");
    EXPECT_EQ(std::count_if(list.Paths().begin(), list.Paths().end(),
                            [](const String& p) { return p.find(L"5") != String::npos; }), 1);
    list.Remove(L"C:\\NOTIZEN\\N10.rtf");
    EXPECT_EQ(list.Paths()[1], L"C:\\Notizen\\N9.rtf");
    EXPECT_EQ(list.Paths().size(), 7u);

    TMemIniFile ini;
    ini.SetText(list.Text());
    TRecentList again;
    again.Read(ini);
    EXPECT_EQ(again.Paths(), list.Paths());
}

TEST(RecentList, ADamagedTableYieldsWhatIsSoundInIt) {
    TMemIniFile ini;
    ini.SetText(L"Müll ohne Abschnitt\r\n[Zuletzt]\r\n1=C:\\a=b.rtf\r\n2=kein Pfad\r\n3\r\n4=\\\\server\\teil\\x.txt\r\n"
                L"5=c:\\A=B.RTF\r\n9=C:\\neun.rtf\r\n[Zuletzt]\r\n6=C:\\zweiter.rtf\r\n");
    TRecentList list;
    list.Read(ini);
    EXPECT_EQ(list.Paths(), (std::vector<String>{L"C:\\a=b.rtf", L"\\\\server\\teil\\x.txt"}));
    ini.SetText(L"\x00ff\x00fe[\r\n==\r\n");
    list.Read(ini);
    EXPECT_TRUE(list.Paths().empty());
}

TEST(RecentList, CaptionsAreNumberedAndLongPathsShortenedInTheMiddle) {
    EXPECT_EQ(RecentMenuCaption(0, L"C:\\Einkauf.rtf"), L"&1 C:\\Einkauf.rtf");
    const String longPath = L"C:\\Users\\Anna\\Documents\\Haushalt\\Listen\\2026\\Dezember\\Einkauf.rtf";
    EXPECT_EQ(ShortenPath(longPath, 40), L"C:\\…\\Listen\\2026\\Dezember\\Einkauf.rtf");
    EXPECT_LE(ShortenPath(longPath, 40).size(), 40u);
    EXPECT_EQ(ShortenPath(longPath, 20), L"C:\\…\\Einkauf.rtf");
    EXPECT_EQ(ShortenPath(longPath, 200), longPath);
    EXPECT_EQ(ShortenPath(L"\\\\server\\teil\\a\\b\\c\\d\\e\\f\\g\\Notiz.txt", 30), L"\\\\server\\teil\\…\\f\\g\\Notiz.txt");
    // A name longer than the room stays whole; so does a path without folders to drop.
    EXPECT_EQ(ShortenPath(L"C:\\a\\" + String(60, L'x') + L".rtf", 20), L"C:\\…\\" + String(60, L'x') + L".rtf");
    EXPECT_EQ(ShortenPath(L"C:\\" + String(60, L'y'), 20), L"C:\\" + String(60, L'y'));
    EXPECT_EQ(RecentMenuCaption(7, L"C:\\Tom & Jerry.rtf"), L"&8 C:\\Tom && Jerry.rtf");
}
