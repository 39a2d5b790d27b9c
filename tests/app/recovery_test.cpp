// Recovery copies of unsaved notes: written for changed notes only, gone when a note is saved,
// closed or the program ends normally, written when the session ends; after a hard end the
// next start offers the notes of programs that are gone, and only those.
#include <gtest/gtest.h>

#include "app/document_window.h"
#include "app/recovery.h"
#include "tests/app/app_fixture.h"

using namespace fn;
using namespace fn::test;

namespace {

std::optional<TRecoveryRecord> ReadRecord(const String& path) {
    if (path.empty() || !FileExists(path)) return std::nullopt;
    const std::string bytes = ReadBytes(path);
    return DecodeRecoveryRecord(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

void Tick() { ::SendMessageW(Form1->Handle(), WM_TIMER, TRecovery::kTimerId, 0); }

class RecoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartProgram();
        folder_ = Recovery().Folder();
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        notes_ = String(temp) + L"fn_notizen_" + IntToStr(::GetCurrentProcessId());
        ::CreateDirectoryW(notes_.c_str(), nullptr);
    }
    void TearDown() override {
        for (TForm* doc : OpenDocuments()) {
            static_cast<TForm2*>(doc)->RichEdit1->SetModified(false);
            doc->Close();
        }
        Pump();
        Recovery().UseFolder(folder_);
        RemoveFolder(notes_);
    }
    TForm2* NewNote(std::wstring_view text) {
        Form1->Neu1Click(Form1);
        auto* note = static_cast<TForm2*>(Form1->ActiveMDIChild());
        Type(note->RichEdit1, text);
        return note;
    }
    String folder_, notes_;
    ScriptedDialogs dialogs_;
};

}  // namespace

TEST_F(RecoveryTest, CopiesFollowTheChangesAndGoWithSaveCloseAndAnAgreedEnd) {
    TForm2* note = NewNote(L"Erster Satz");
    WriteBytes(notes_ + L"\\Liste.txt", "Milch");
    Form1->OpenFiles({notes_ + L"\\Liste.txt"});
    auto* list = static_cast<TForm2*>(Form1->ActiveMDIChild());
    Tick();
    auto record = ReadRecord(Recovery().CopyOf(note));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->FileName, TForm2::kUntitled);
    EXPECT_EQ(record->Caption, note->Caption());
    EXPECT_NE(record->RichText.find("Erster Satz"), std::string::npos);
    EXPECT_EQ(Recovery().CopyOf(list), L"");  // read and unchanged: no copy
    // Unchanged since its copy: not written again (a copy deleted behind its back stays gone).
    ::DeleteFileW(Recovery().CopyOf(note).c_str());
    Tick();
    EXPECT_FALSE(FileExists(Recovery().CopyOf(note)));
    Type(list->RichEdit1, L"Brot ");
    Tick();
    record = ReadRecord(Recovery().CopyOf(list));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->FileName, notes_ + L"\\Liste.txt");
    EXPECT_TRUE(record->PlainText);
    EXPECT_NE(record->RichText.find("Brot Milch"), std::string::npos);

    // Saved: the copy goes. Closed without saving: the copy goes.
    const String listCopy = Recovery().CopyOf(list);
    list->Speichern1Click(list);
    EXPECT_FALSE(FileExists(listCopy));
    EXPECT_EQ(ReadBytes(notes_ + L"\\Liste.txt"), "\xEF\xBB\xBF" "Brot Milch");
    Type(note->RichEdit1, L"!");
    Tick();
    const String noteCopy = Recovery().CopyOf(note);
    ASSERT_TRUE(FileExists(noteCopy));
    dialogs_.answers = {mrNo};
    note->Close();
    Pump();
    EXPECT_FALSE(FileExists(noteCopy));

    // The session asks to end with a modified note: its copy is written before the close query
    // asks; cancelled, the session goes on; agreed, nothing is left to offer next time.
    Type(list->RichEdit1, L"Kaese ");
    dialogs_.answers = {mrCancel};
    EXPECT_EQ(::SendMessageW(Form1->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
    record = ReadRecord(Recovery().CopyOf(list));
    ASSERT_TRUE(record);
    EXPECT_NE(record->RichText.find("Kaese"), std::string::npos);
    ::SendMessageW(Form1->Handle(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(FileExists(Recovery().CopyOf(list)));
    dialogs_.answers = {mrNo};
    EXPECT_EQ(::SendMessageW(Form1->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    ::SendMessageW(Form1->Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(FilesIn(folder_), std::vector<String>{});
    EXPECT_EQ(dialogs_.messages.size(), 3u);  // the two close queries' questions, no other
}

TEST_F(RecoveryTest, AFolderThatCannotBeWrittenDisturbsNoEditing) {
    // A file where the folder should be: no copy can be written there.
    WriteBytes(notes_ + L"\\belegt", "x");
    Recovery().UseFolder(notes_ + L"\\belegt\\Wiederherstellung");
    TForm2* note = NewNote(L"Text");
    Tick();
    Tick();
    EXPECT_EQ(Recovery().CopyOf(note), L"");
    EXPECT_TRUE(note->RichEdit1->Modified());
    EXPECT_EQ(TextOf(note->RichEdit1), L"Text");
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(RecoveryTest, AStartRestoresTheNotesOfAProgramGoneAndLeavesALiveOnesCopies) {
    const String gone = RecoveryOwner(7, 1), live = RecoveryOwner(8, 1);
    auto put = [&](const String& name, const TRecoveryRecord& record) {
        WriteBytes(folder_ + L"\\" + name, EncodeRecoveryRecord(record));
    };
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    put(RecoveryCopyName(gone, 2), {notes_ + L"\\Brief.txt", L"Brief.txt", true, "{\\rtf1 Liebe Anna\\par}"});
    put(RecoveryCopyName(gone, 1), {TForm2::kUntitled, TForm2::kUntitledCaption, false, "{\\rtf1 {\\b Idee}\\par}"});
    const std::string cut = EncodeRecoveryRecord({L"C:\\x.rtf", L"x.rtf", false, "{\\rtf1 abgeschnitten}"});
    WriteBytes(folder_ + L"\\" + RecoveryCopyName(gone, 3), cut.substr(0, cut.size() - 3));
    WriteBytes(folder_ + L"\\" + RecoveryLockName(gone), "");
    // A program that lives holds its lock file so that nobody may write it.
    put(RecoveryCopyName(live, 1), {L"C:\\lebt.rtf", L"lebt.rtf", false, "{\\rtf1 lebt}"});
    KernelHandle lock(::CreateFileW((folder_ + L"\\" + RecoveryLockName(live)).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, CREATE_ALWAYS, 0, nullptr));

    const size_t before = OpenDocuments().size();
    dialogs_.answers = {mrYes};
    EXPECT_TRUE(Form1->OfferRecovery());
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_NE(dialogs_.messages[0].find(L"Ohne Namen\nBrief.txt\n"), String::npos) << WideToUtf8(dialogs_.messages[0]);
    auto docs = OpenDocuments();
    ASSERT_EQ(docs.size(), before + 2);
    auto* brief = static_cast<TForm2*>(Form1->ActiveMDIChild());
    EXPECT_EQ(brief->FileName, notes_ + L"\\Brief.txt");
    EXPECT_EQ(brief->Caption(), L"Brief.txt");
    EXPECT_EQ(TextOf(brief->RichEdit1), L"Liebe Anna");
    EXPECT_TRUE(brief->RichEdit1->Modified());
    // Restored notes have copies of this program; the gone program's files are gone, the live
    // program's stay.
    EXPECT_TRUE(ReadRecord(Recovery().CopyOf(brief)));
    for (const String& name : FilesIn(folder_)) EXPECT_NE(name.substr(0, gone.size()), gone) << WideToUtf8(name);
    EXPECT_TRUE(FileExists(folder_ + L"\\" + RecoveryCopyName(live, 1)));
    // A Save writes the note where it belongs, in its own format.
    brief->Speichern1Click(brief);
    EXPECT_EQ(ReadBytes(notes_ + L"\\Brief.txt"), "\xEF\xBB\xBF" "Liebe Anna");
    EXPECT_FALSE(brief->RichEdit1->Modified());

    // Asked once: nothing left to offer, no question. Verwerfen deletes what was offered.
    EXPECT_FALSE(Form1->OfferRecovery());
    put(RecoveryCopyName(gone, 4), {L"C:\\weg.rtf", L"weg.rtf", false, "{\\rtf1 weg}"});
    dialogs_.answers = {mrNo};
    EXPECT_FALSE(Form1->OfferRecovery());
    EXPECT_FALSE(FileExists(folder_ + L"\\" + RecoveryCopyName(gone, 4)));
    EXPECT_EQ(OpenDocuments().size(), before + 2);
    EXPECT_EQ(dialogs_.messages.size(), 2u);
    lock.reset();
    ::DeleteFileW((folder_ + L"\\" + RecoveryCopyName(live, 1)).c_str());
    ::DeleteFileW((folder_ + L"\\" + RecoveryLockName(live)).c_str());
}
