// The recent notes in both windows' Datei menus: filled by opening and saving, kept in their
// file across starts, a damaged file ignored, a vanished note removed with a message.
#include <gtest/gtest.h>

#include "app/document_window.h"
#include "app/recent_files.h"
#include "platform/core/streams.h"
#include "tests/app/app_fixture.h"

using namespace fn;
using namespace fn::test;

namespace {

// The captions of the visible items of a menu, in order.
std::vector<String> Shown(TMenuItem* menu) {
    std::vector<String> captions;
    for (int i = 0; i < menu->Count(); ++i)
        if (menu->Items(i)->Visible()) captions.push_back(menu->Items(i)->Caption());
    return captions;
}

TMenuItem* ShownItem(TMenuItem* menu, const String& caption) {
    for (int i = 0; i < menu->Count(); ++i)
        if (menu->Items(i)->Visible() && menu->Items(i)->Caption() == caption) return menu->Items(i);
    return nullptr;
}

class RecentFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartProgram();
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = String(temp) + L"fn_recent_" + IntToStr(::GetCurrentProcessId()) + L"\\";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        RecentFiles().UseFile(folder_ + L"Zuletzt.ini");
    }
    void TearDown() override {
        for (TForm* doc : OpenDocuments()) {
            static_cast<TForm2*>(doc)->RichEdit1->SetModified(false);
            doc->Close();
        }
        Pump();
        for (const wchar_t* name : {L"Zuletzt.ini", L"Einkauf.rtf", L"Brief.rtf", L"Neu.rtf"})
            ::DeleteFileW((folder_ + name).c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }
    String folder_;
    ScriptedDialogs dialogs_;
};

}  // namespace

TEST_F(RecentFilesTest, OpenedAndSavedNotesShowInBothDateiMenusAndSurviveARestart) {
    EXPECT_EQ(Shown(Form1->Datei1), (std::vector<String>{L"&Neu", L"&Öffnen", L"-", L"&Beenden"}));
    WriteBytes(folder_ + L"Einkauf.rtf", "Milch");
    WriteBytes(folder_ + L"Brief.rtf", "Liebe Anna");
    Form1->OpenFiles({folder_ + L"Einkauf.rtf", folder_ + L"Brief.rtf"});
    auto* note = static_cast<TForm2*>(Form1->ActiveMDIChild());
    ASSERT_NE(note, nullptr);
    dialogs_.onExecute = [&](TCommonDialog& d) {
        static_cast<TSaveDialog&>(d).FileName = folder_ + L"Neu.rtf";
        return true;
    };
    note->Speichernals1Click(note);

    const std::vector<String> expected = {L"&1 " + folder_ + L"Neu.rtf", L"&2 " + folder_ + L"Brief.rtf",
                                          L"&3 " + folder_ + L"Einkauf.rtf"};
    EXPECT_EQ(RecentFiles().Paths(), (std::vector<String>{folder_ + L"Neu.rtf", folder_ + L"Brief.rtf", folder_ + L"Einkauf.rtf"}));
    for (TMenuItem* datei : {Form1->Datei1, note->Neu1}) {
        std::vector<String> shown = Shown(datei);
        ASSERT_GE(shown.size(), 5u);
        // The entries and a line stand right above Beenden.
        EXPECT_EQ(shown.back(), L"&Beenden");
        EXPECT_EQ(shown[shown.size() - 2], L"-");
        EXPECT_EQ(std::vector<String>(shown.end() - 5, shown.end() - 2), expected) << WideToUtf8(datei->Name());
    }

    // Another start reads the same list from the file.
    RecentFiles().UseFile(folder_ + L"Zuletzt.ini");
    EXPECT_EQ(RecentFiles().Paths().size(), 3u);
    EXPECT_EQ(RecentFiles().Paths()[0], folder_ + L"Neu.rtf");
    std::vector<uint8_t> bytes = ReadFileBytes(folder_ + L"Zuletzt.ini");
    EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("[Zuletzt]"), std::string::npos);
    // No temporary file stays beside it.
    WIN32_FIND_DATAW found;
    HANDLE h = ::FindFirstFileW((folder_ + L"*.neu").c_str(), &found);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) ::FindClose(h);

    // Choosing an entry whose note is open brings that note forward (no second window) and to
    // the top of the list.
    size_t before = OpenDocuments().size();
    ShownItem(Form1->Datei1, expected[2])->Click();
    Pump();
    EXPECT_EQ(OpenDocuments().size(), before);
    EXPECT_EQ(static_cast<TForm2*>(Form1->ActiveMDIChild())->FileName, folder_ + L"Einkauf.rtf");
    EXPECT_EQ(RecentFiles().Paths()[0], folder_ + L"Einkauf.rtf");
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(RecentFilesTest, AVanishedNoteLeavesTheListWithAMessage) {
    WriteBytes(folder_ + L"Brief.rtf", "Liebe Anna");
    RecentFiles().Note(folder_ + L"Einkauf.rtf");
    RecentFiles().Note(folder_ + L"Brief.rtf");
    size_t before = OpenDocuments().size();
    TMenuItem* item = ShownItem(Form1->Datei1, L"&2 " + folder_ + L"Einkauf.rtf");
    ASSERT_NE(item, nullptr);
    item->Click();
    EXPECT_EQ(OpenDocuments().size(), before);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0], L"Die Notiz „" + folder_ + L"Einkauf.rtf“ gibt es nicht mehr. Sie wurde aus der Liste entfernt.");
    EXPECT_EQ(RecentFiles().Paths(), (std::vector<String>{folder_ + L"Brief.rtf"}));
    EXPECT_EQ(ShownItem(Form1->Datei1, L"&2 " + folder_ + L"Einkauf.rtf"), nullptr);
    RecentFiles().UseFile(folder_ + L"Zuletzt.ini");
    EXPECT_EQ(RecentFiles().Paths(), (std::vector<String>{folder_ + L"Brief.rtf"}));
}

TEST_F(RecentFilesTest, ADamagedListFileIsIgnoredAndReplacedByTheNextNote) {
    WriteBytes(folder_ + L"Zuletzt.ini", std::string("\xFF\xFE\x00[Zuletzt\r\n1=\x80\x81\r\n", 19));
    RecentFiles().UseFile(folder_ + L"Zuletzt.ini");
    EXPECT_TRUE(RecentFiles().Paths().empty());
    EXPECT_EQ(Shown(Form1->Datei1), (std::vector<String>{L"&Neu", L"&Öffnen", L"-", L"&Beenden"}));
    RecentFiles().Note(folder_ + L"Brief.rtf");
    RecentFiles().UseFile(folder_ + L"Zuletzt.ini");
    EXPECT_EQ(RecentFiles().Paths(), (std::vector<String>{folder_ + L"Brief.rtf"}));
}
