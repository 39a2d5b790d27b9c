// Recovery copies in the program: written for changed notes only, gone when a note is saved or
// closed or the session's end is agreed, quiet when they cannot be written.
#include <gtest/gtest.h>

#include "app/document_window.h"
#include "app/recovery.h"
#include "tests/app/app_fixture.h"
#include "platform/core/files.h"

using namespace fn;
using namespace fn::test;

namespace {

std::optional<TRecoveryRecord> Copy(TForm2* note) {
    const String path = Recovery().CopyOf(note);
    if (path.empty() || !FileExists(path)) return std::nullopt;
    const std::string bytes = ReadBytes(path);
    return DecodeRecoveryRecord(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

LRESULT Send(UINT msg, WPARAM wParam = 0) { return ::SendMessageW(Form1->Handle(), msg, wParam, ENDSESSION_LOGOFF); }
void Tick() { Send(WM_TIMER, TRecovery::kTimerId); }

class RecoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartProgram();
        folder_ = Recovery().Folder();
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        notes_ = String(temp) + L"fn_notizen_" + IntToStr(::GetCurrentProcessId()) + L"\\";
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
    TForm2* Open(const String& name, std::string_view text) {
        WriteBytes(notes_ + name, text);
        Form1->OpenFiles({notes_ + name});
        return static_cast<TForm2*>(Form1->ActiveMDIChild());
    }
    String folder_, notes_;
    ScriptedDialogs dialogs_;
};

}  // namespace

TEST_F(RecoveryTest, CopiesFollowTheChangesGoWithSaveCloseAndAnAgreedEndAndNeverDisturb) {
    TForm2* note = Open(L"Liste.txt", "Milch");
    TForm2* other = Open(L"Brief.rtf", "{\\rtf1 Hallo}");
    Type(note->RichEdit1, L"Brot ");
    // A folder that cannot be written (a file stands in its way) disturbs nothing, asks nothing.
    Recovery().UseFolder(notes_ + L"Liste.txt\\Wiederherstellung");
    Tick();
    EXPECT_EQ(Recovery().CopyOf(note), L"");
    EXPECT_EQ(TextOf(note->RichEdit1), L"Brot Milch");
    Recovery().UseFolder(folder_);
    Tick();
    auto copy = Copy(note);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->FileName, notes_ + L"Liste.txt");
    EXPECT_EQ(copy->Caption, L"Liste.txt");
    EXPECT_TRUE(copy->PlainText);
    EXPECT_NE(copy->RichText.find("Brot Milch"), std::string::npos);
    EXPECT_FALSE(Copy(other));  // unchanged: no copy
    // Unchanged since its copy: not written again (a copy deleted behind its back stays gone).
    ::DeleteFileW(Recovery().CopyOf(note).c_str());
    Tick();
    EXPECT_FALSE(Copy(note));

    Type(note->RichEdit1, L"Kaese ");
    Tick();
    ASSERT_TRUE(Copy(note));
    note->Speichern1Click(note);
    EXPECT_FALSE(Copy(note));
    EXPECT_EQ(ReadBytes(notes_ + L"Liste.txt"), "\xEF\xBB\xBF" "Brot Kaese Milch");
    Type(other->RichEdit1, L"!");
    Tick();
    const String otherCopy = Recovery().CopyOf(other);
    ASSERT_TRUE(FileExists(otherCopy));
    dialogs_.answers = {mrNo};
    other->Close();
    Pump();
    EXPECT_FALSE(FileExists(otherCopy));

    // The session asks to end: the copy is written before the close query asks; cancelled, the
    // session goes on; agreed, nothing is left to offer next time.
    Type(note->RichEdit1, L"Eier ");
    dialogs_.answers = {mrCancel};
    EXPECT_EQ(Send(WM_QUERYENDSESSION), 0);
    copy = Copy(note);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->RichText.find("Eier"), std::string::npos);
    Send(WM_ENDSESSION, FALSE);
    EXPECT_TRUE(Copy(note));
    dialogs_.answers = {mrNo};
    EXPECT_EQ(Send(WM_QUERYENDSESSION), TRUE);
    Send(WM_ENDSESSION, TRUE);
    EXPECT_EQ(FilesIn(folder_), std::vector<String>{});
    EXPECT_EQ(dialogs_.messages.size(), 3u);  // the close queries' questions, no other
}
