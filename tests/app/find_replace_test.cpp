// A note's undo and redo from the Edit menu, finding and replacing through the menu and the
// platform's dialogs, and scroll bars that show only while the text overflows.
#include <gtest/gtest.h>

#include "app/document_window.h"
#include "app/find_replace.h"
#include "tests/app/app_fixture.h"

using namespace fn;
using namespace fn::test;

namespace {

LONG Style(TRichEdit* edit) { return ::GetWindowLongW(edit->Handle(), GWL_STYLE); }

class FindReplaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartProgram();
        doc_ = new TForm2(Form1);
        Pump();
        FindReplace().Options = {};
        FindReplace().ReplaceWith.clear();
    }
    void TearDown() override {
        if (HWND dialog = FindReplace().Dialog()) ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        Pump();
        doc_->RichEdit1->SetModified(false);
        doc_->Close();
        Pump();
    }
    // A key as the skinned frame's shortcut routing hands it to the note's menu.
    bool Shortcut(WORD key, TShiftState shift) { return doc_->MainMenu1->IsShortCut(key, shift); }
    TRichEdit* Edit() { return doc_->RichEdit1; }

    TForm2* doc_ = nullptr;
    ScriptedDialogs dialogs_;
};

}  // namespace

TEST_F(FindReplaceTest, UndoAndRedoFollowTheControlThroughTheEditRuleAndTheirShortcuts) {
    EXPECT_EQ(doc_->Bearbeiten1->Items(0), doc_->Rueckgaengig1);
    EXPECT_EQ(doc_->Bearbeiten1->Items(1), doc_->Wiederholen1);
    EXPECT_EQ(ShortCutToText(doc_->Rueckgaengig1->ShortCut()), L"Strg+Z");
    EXPECT_EQ(ShortCutToText(doc_->Wiederholen1->ShortCut()), L"Strg+Y");
    doc_->Bearbeiten1Click(doc_->Bearbeiten1);
    EXPECT_FALSE(doc_->Rueckgaengig1->Enabled());
    EXPECT_FALSE(doc_->Wiederholen1->Enabled());

    Type(Edit(), L"Tee");
    doc_->Bearbeiten1Click(doc_->Bearbeiten1);
    EXPECT_TRUE(doc_->Rueckgaengig1->Enabled());
    EXPECT_FALSE(doc_->Wiederholen1->Enabled());

    EXPECT_TRUE(Shortcut('Z', ssCtrl));
    EXPECT_EQ(TextOf(Edit()), L"");
    doc_->Bearbeiten1Click(doc_->Bearbeiten1);
    EXPECT_FALSE(doc_->Rueckgaengig1->Enabled());
    EXPECT_TRUE(doc_->Wiederholen1->Enabled());
    // With nothing left to undo, Strg+Z is consumed by the disabled item and changes nothing.
    EXPECT_TRUE(Shortcut('Z', ssCtrl));
    EXPECT_TRUE(Shortcut('Y', ssCtrl));
    EXPECT_EQ(TextOf(Edit()), L"Tee");
    doc_->Bearbeiten1Click(doc_->Bearbeiten1);
    EXPECT_TRUE(doc_->Rueckgaengig1->Enabled());
    EXPECT_FALSE(doc_->Wiederholen1->Enabled());
}

TEST_F(FindReplaceTest, FindsForwardBackwardWithCaseAndWholeWordAndWrapsOnce) {
    //                0         1         2         3
    //                0123456789012345678901234567890123456
    Edit()->Lines().SetText(L"Tee und Teekanne, tee und TEE");
    Edit()->SetSelStart(0);
    TFindReplace& find = FindReplace();
    // F3 before any search opens the find dialog.
    EXPECT_TRUE(Shortcut(VK_F3, 0));
    ASSERT_NE(find.Dialog(), nullptr);
    ::SendMessageW(find.Dialog(), WM_COMMAND, IDCANCEL, 0);
    Pump();
    EXPECT_EQ(find.Dialog(), nullptr);

    find.Options.what = L"tee";
    auto selection = [&] { return std::pair(Edit()->SelStart(), Edit()->SelLength()); };
    EXPECT_TRUE(Shortcut(VK_F3, 0));
    EXPECT_EQ(selection(), std::pair(0, 3));
    EXPECT_TRUE(Shortcut(VK_F3, 0));
    EXPECT_EQ(selection(), std::pair(8, 3));  // inside "Teekanne"
    find.Options.wholeWord = true;
    EXPECT_TRUE(Shortcut(VK_F3, 0));
    EXPECT_EQ(selection(), std::pair(18, 3));
    find.Options.matchCase = true;
    // Past the last match it wraps around to the first once.
    EXPECT_TRUE(Shortcut(VK_F3, 0));
    EXPECT_EQ(selection(), std::pair(18, 3));
    find.Options.matchCase = false;
    EXPECT_TRUE(Shortcut(VK_F3, 0));
    EXPECT_EQ(selection(), std::pair(26, 3));
    EXPECT_TRUE(Shortcut(VK_F3, 0));
    EXPECT_EQ(selection(), std::pair(0, 3));
    // Umschalt+F3 goes upward, wrapping from the start to the end.
    EXPECT_TRUE(Shortcut(VK_F3, ssShift));
    EXPECT_EQ(selection(), std::pair(26, 3));
    EXPECT_TRUE(Shortcut(VK_F3, ssShift));
    EXPECT_EQ(selection(), std::pair(18, 3));
    EXPECT_TRUE(dialogs_.messages.empty());

    find.Options.what = L"Kaffee";
    Select(Edit(), 4, 2);
    EXPECT_TRUE(Shortcut(VK_F3, 0));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0], L"„Kaffee“ wurde nicht gefunden.");
    EXPECT_EQ(selection(), std::pair(4, 2));
}

TEST_F(FindReplaceTest, TheFindDialogSearchesTheActiveNoteWithItsOptions) {
    Edit()->Lines().SetText(L"Brot, brot, Brot");
    Edit()->SetSelStart(0);
    EXPECT_TRUE(Shortcut('F', ssCtrl));
    HWND dialog = FindReplace().Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(::IsWindowVisible(dialog));
    wchar_t caption[64] = L"";
    ::GetDlgItemTextW(dialog, IDOK, caption, 64);
    EXPECT_STREQ(caption, L"&Weitersuchen");
    EXPECT_TRUE(::FindWindowExW(dialog, nullptr, L"Static", L"&Suchen nach:"));
    ::SetDlgItemTextW(dialog, 0x480, L"brot");  // the dialog's text field
    ::CheckDlgButton(dialog, 0x411, BST_CHECKED);  // Groß-/Kleinschreibung
    ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);  // Weitersuchen
    EXPECT_EQ(Edit()->SelStart(), 6);
    EXPECT_EQ(Edit()->SelLength(), 4);
    EXPECT_TRUE(FindReplace().Options.matchCase);
    ::SetDlgItemTextW(dialog, 0x480, L"Butter");
    ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0], L"„Butter“ wurde nicht gefunden.");
}

TEST_F(FindReplaceTest, ReplaceAllIsOneUndoStepKeepsTheFormattingAndTellsTheCount) {
    Type(Edit(), L"Milch, ");
    Edit()->SelAttributes().SetBold(true);
    Type(Edit(), L"Butter");
    Edit()->SelAttributes().SetBold(false);
    Type(Edit(), L", milch\rMilchreis und Milch");
    EXPECT_TRUE(Shortcut('H', ssCtrl));
    HWND dialog = FindReplace().Dialog();
    ASSERT_NE(dialog, nullptr);
    ::SetDlgItemTextW(dialog, 0x480, L"Milch");
    ::SetDlgItemTextW(dialog, 0x481, L"Hafermilch");  // the replacement
    ::CheckDlgButton(dialog, 0x410, BST_CHECKED);     // Nur ganzes Wort
    ::SendMessageW(dialog, WM_COMMAND, 0x401, 0);     // Alle ersetzen
    EXPECT_EQ(TextOf(Edit()), L"Hafermilch, Butter, Hafermilch\r\nMilchreis und Hafermilch");
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0], L"Es wurden 3 Stellen ersetzt.");
    // The text between the matches keeps its format.
    Select(Edit(), 12, 6);
    EXPECT_TRUE(Edit()->SelAttributes().Bold());
    Select(Edit(), 0, 10);
    EXPECT_FALSE(Edit()->SelAttributes().Bold());
    EXPECT_TRUE(Edit()->Modified());

    // One Rückgängig takes every replacement back; the typing before stays.
    doc_->Rueckgaengig1Click(doc_->Rueckgaengig1);
    EXPECT_EQ(TextOf(Edit()), L"Milch, Butter, milch\r\nMilchreis und Milch");
    doc_->Wiederholen1Click(doc_->Wiederholen1);
    EXPECT_EQ(TextOf(Edit()), L"Hafermilch, Butter, Hafermilch\r\nMilchreis und Hafermilch");

    // Ersetzen replaces the match that is selected, then selects the next one.
    dialogs_.messages.clear();
    ::CheckDlgButton(dialog, 0x410, BST_UNCHECKED);
    ::SetDlgItemTextW(dialog, 0x480, L"Hafermilch");
    ::SetDlgItemTextW(dialog, 0x481, L"Milch");
    Edit()->SetSelStart(0);
    ::SendMessageW(dialog, WM_COMMAND, 0x400, 0);  // Ersetzen: finds the first
    EXPECT_EQ(Edit()->SelStart(), 0);
    EXPECT_EQ(Edit()->SelLength(), 10);
    ::SendMessageW(dialog, WM_COMMAND, 0x400, 0);  // replaces it, finds the next
    EXPECT_EQ(TextOf(Edit()), L"Milch, Butter, Hafermilch\r\nMilchreis und Hafermilch");
    EXPECT_EQ(Edit()->SelStart(), 15);
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(FindReplaceTest, ScrollBarsShowOnlyWhileTheTextOverflows) {
    EXPECT_FALSE(Style(Edit()) & (WS_VSCROLL | WS_HSCROLL));
    String lines;
    for (int i = 0; i < 80; ++i) lines += L"Zeile\r";
    Type(Edit(), lines);
    EXPECT_TRUE(Style(Edit()) & WS_VSCROLL);
    EXPECT_FALSE(Style(Edit()) & WS_HSCROLL);
    Edit()->Lines().SetText(L"kurz");
    EXPECT_FALSE(Style(Edit()) & WS_VSCROLL);
}
