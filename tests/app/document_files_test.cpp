// The document window's notes in files: the format follows the name, nothing is dropped without
// a question, the font dialog starts on the selection's font, a failed Save As keeps the name,
// an open file is not opened twice, and Copy puts rich text on the clipboard on request.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/document_window.h"
#include "platform/win/clipboard.h"
#include "tests/app/app_fixture.h"
#include "platform/core/files.h"

using namespace fn;
using namespace fn::test;

namespace {

String WindowText(HWND w) {
    wchar_t buf[512];
    ::GetWindowTextW(w, buf, 512);
    return buf;
}

// A TrueType face installed here.
String InstalledFace() {
    String face;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(
        screen, &lf,
        [](const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM found) -> int {
            if (!(type & TRUETYPE_FONTTYPE) || font->lfFaceName[0] == L'@') return 1;
            *reinterpret_cast<String*>(found) = font->lfFaceName;
            return 0;
        },
        reinterpret_cast<LPARAM>(&face), 0);
    ::ReleaseDC(nullptr, screen);
    return face;
}

// The rich text on the clipboard, as a pasting program asks for it.
std::string ClipboardRichText() {
    std::string rtf;
    if (!::OpenClipboard(nullptr)) return rtf;
    if (HANDLE data = ::GetClipboardData(TClipboard::RichTextFormat())) {
        const char* bytes = static_cast<const char*>(::GlobalLock(data));
        if (bytes) rtf.assign(bytes, strnlen(bytes, ::GlobalSize(data)));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return rtf;
}

// The word-wrap and scroll-bar messages a control got while the hook was set, with the cursor
// shown at each.
struct SentMessage {
    UINT message;
    HCURSOR cursor;
};
HWND g_watched = nullptr;
std::vector<SentMessage> g_sent;
LRESULT CALLBACK WatchMessages(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == g_watched &&
        (sent->message == EM_SETTARGETDEVICE || sent->message == EM_SHOWSCROLLBAR))
        g_sent.push_back({sent->message, ::GetCursor()});
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

const String kNote = L"Grüße aus Köln: „Übermaß“ kostet 5 €\rZweite Zeile";
const std::string kNoteUtf8 =
    "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln: \xE2\x80\x9E\xC3\x9C" "berma\xC3\x9F\xE2\x80\x9C kostet 5 \xE2\x82\xAC\r\nZweite Zeile";

class DocumentFiles : public ::testing::Test {
protected:
    void SetUp() override {
        StartProgram();
        static int serial = 0;
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = String(temp) + L"fn_files_" + IntToStr(::GetCurrentProcessId()) + L"_" + IntToStr(++serial) + L"\\";
        RemoveFolder();  // left by a run that ended early under the same process id
        ::CreateDirectoryW(folder_.c_str(), nullptr);
    }

    void TearDown() override {
        for (TForm* f : OpenDocuments()) {
            auto* doc = dynamic_cast<TForm2*>(f);
            doc->RichEdit1->SetModified(false);
            doc->Close();
        }
        Pump();
        RemoveFolder();
    }

    void RemoveFolder() {
        WIN32_FIND_DATAW fd;
        HANDLE h = ::FindFirstFileW((folder_ + L"*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const String path = folder_ + fd.cFileName;
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(path.c_str());
            } while (::FindNextFileW(h, &fd));
            ::FindClose(h);
        }
        ::RemoveDirectoryW(folder_.c_str());
    }

    TForm2* NewDocument() {
        auto* doc = new TForm2(Form1);
        Pump();
        return doc;
    }

    TForm2* OpenDocument(const String& path) {
        TForm2* doc = NewDocument();
        doc->OpenDocument(path);
        return doc;
    }

    // Save dialogs answer with the next path of the list (empty: cancel) and count themselves.
    void AnswerSaveDialogs(std::vector<String> paths) {
        saveAnswers_ = std::move(paths);
        dialogs.onExecute = [this](TCommonDialog& d) {
            auto* save = dynamic_cast<TSaveDialog*>(&d);
            if (!save || saveAnswers_.empty()) return false;
            offeredFilter = save->Filter;
            offeredExt = save->DefaultExt;
            String path = saveAnswers_.front();
            saveAnswers_.erase(saveAnswers_.begin());
            if (path.empty()) return false;
            save->FileName = path;
            return true;
        };
    }

    String Path(const wchar_t* name) const { return folder_ + name; }

    ScriptedDialogs dialogs;
    String folder_, offeredFilter, offeredExt;
    std::vector<String> saveAnswers_;
};

TEST_F(DocumentFiles, TheSavedFormatFollowsTheNameAndAsksBeforeDroppingFormatting) {
    TForm2* doc = NewDocument();
    Type(doc->RichEdit1, kNote);

    // Unformatted, under a ".txt" name: plain text, UTF-8 with byte-order mark and CR LF, no question.
    const String txt = Path(L"einkauf.txt");
    AnswerSaveDialogs({txt});
    doc->Speichern1Click(doc->Speichern1);
    EXPECT_EQ(offeredFilter, L"Notizen (*.rtf;*.txt)|*.rtf;*.txt|Rich Text (*.rtf)|*.rtf|Text (*.txt)|*.txt|"
                             L"Alle Dateien (*.*)|*.*");
    EXPECT_EQ(offeredExt, L"rtf");
    EXPECT_EQ(ReadBytes(txt), "\xEF\xBB\xBF" + kNoteUtf8);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(TextOf(OpenDocument(txt)->RichEdit1), TextOf(doc->RichEdit1));

    // The same note under ".rtf": rich text, read back to the same text.
    const String rtf = Path(L"einkauf.rtf");
    AnswerSaveDialogs({rtf});
    doc->Speichernals1Click(doc->Speichernals1);
    EXPECT_EQ(ReadBytes(rtf).rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(TextOf(OpenDocument(rtf)->RichEdit1), TextOf(doc->RichEdit1));

    // Formatted, under a new ".txt" name: asked first. Nein returns to Speichern unter,
    // Abbrechen stops without writing, Ja writes plain text.
    Select(doc->RichEdit1, 0, 5);
    doc->RichEdit1->SelAttributes().SetBold(true);
    const String other = Path(L"anders.txt");
    AnswerSaveDialogs({other, other});
    dialogs.answers = {mrNo, mrCancel};
    const int executes = dialogs.executes;
    doc->Speichernals1Click(doc->Speichernals1);
    EXPECT_EQ(dialogs.executes, executes + 2);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages.back().find(L"„anders.txt“ ist eine Textdatei"), String::npos);
    EXPECT_FALSE(FileExists(other));
    EXPECT_EQ(doc->FileName, rtf);
    EXPECT_TRUE(doc->RichEdit1->Modified());
    AnswerSaveDialogs({other});
    dialogs.answers = {mrYes};
    doc->Speichernals1Click(doc->Speichernals1);
    EXPECT_EQ(ReadBytes(other), "\xEF\xBB\xBF" + kNoteUtf8);
    EXPECT_EQ(doc->FileName, other);

    // A note read as plain text saves back to its name as plain text without a question; a
    // note read as rich text from a ".txt" file (as every note used to be saved) stays rich.
    TForm2* plain = OpenDocument(txt);
    Type(plain->RichEdit1, L"!");
    const size_t asked = dialogs.messages.size();
    plain->Speichern1Click(plain->Speichern1);
    EXPECT_EQ(ReadBytes(txt), "\xEF\xBB\xBF!" + kNoteUtf8);
    const String old = Path(L"alt.txt");
    WriteBytes(old, "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Arial;}\\f0\\fs20 {\\b alt} und gut\\par}");
    TForm2* rich = OpenDocument(old);
    Type(rich->RichEdit1, L"x");
    rich->Speichern1Click(rich->Speichern1);
    EXPECT_EQ(dialogs.messages.size(), asked);
    EXPECT_EQ(ReadBytes(old).rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(TextOf(OpenDocument(old)->RichEdit1), L"xalt und gut");
}

TEST_F(DocumentFiles, PicturesTheControlDropsAreNamedOnOpeningAndTheirFileIsNotOverwrittenWithoutAQuestion) {
    // Named ".txt", the file is known as rich text with pictures by what it holds.
    const String path = Path(L"mit bild.txt");
    const std::string bytes =
        "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Arial;}\\f0 Vorher "
        "{\\*\\shppict{\\pict\\pngblip\\picw1\\pich1 89504e470d0a1a0a}}{\\nonshppict{\\pict\\wmetafile8 0100}}"
        " nachher\\par}";
    WriteBytes(path, bytes);
    dialogs.answers = {mrOk};
    TForm2* doc = OpenDocument(path);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], L"„mit bild.txt“ enthält Bilder oder Objekte, die hier nicht angezeigt werden und "
                                   L"beim Speichern verloren gingen.");

    // Save asks first: Abbrechen leaves the file as it was, Ja offers Speichern unter.
    Type(doc->RichEdit1, L"neu ");
    dialogs.answers = {mrCancel};
    doc->Speichern1Click(doc->Speichern1);
    EXPECT_EQ(ReadBytes(path), bytes);
    const String copy = Path(L"ohne bild.rtf");
    AnswerSaveDialogs({path, copy});
    dialogs.answers = {mrYes, mrYes};  // Speichern unter; then the same name chosen again asks again
    doc->Speichern1Click(doc->Speichern1);
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(doc->FileName, copy);
    EXPECT_TRUE(FileExists(copy));
    EXPECT_FALSE(doc->RichEdit1->Modified());
    EXPECT_EQ(dialogs.messages.size(), 4u);

    // A note whose text the control kept whole opens without a word.
    const String plain = Path(L"ohne.rtf");
    WriteBytes(plain, "{\\rtf1\\ansi Nur {\\b Text} mit \\\\pict im Satz\\par}");
    OpenDocument(plain);
    EXPECT_EQ(dialogs.messages.size(), 4u);
}

TEST_F(DocumentFiles, NotesAreTaggedGermanAndTheFontDialogStartsOnTheSelectionsFont) {
    TForm2* doc = NewDocument();
    Type(doc->RichEdit1, L"klein groß");
    Select(doc->RichEdit1, 6, 4);
    const String face = InstalledFace();
    ASSERT_FALSE(face.empty());
    doc->RichEdit1->SelAttributes().SetName(face);
    doc->RichEdit1->SelAttributes().SetSize(14);
    doc->RichEdit1->SelAttributes().SetBold(true);

    TFontDesc offered;
    dialogs.onExecute = [&](TCommonDialog& d) {
        offered = dynamic_cast<TFontDialog&>(d).Font;
        return true;  // OK without a change
    };
    doc->Font1Click(doc->Font1);
    EXPECT_EQ(offered.name, face);
    EXPECT_EQ(offered.height, -19);  // 14 points at 96 pixels per inch
    EXPECT_TRUE(offered.bold);
    EXPECT_FALSE(offered.italic);
    EXPECT_EQ(doc->RichEdit1->SelAttributes().Size(), 14);

    // The base font: the dialog shows the face the system draws, OK leaves 8.5 points.
    Select(doc->RichEdit1, 0, 5);
    CHARFORMAT2W before{};
    before.cbSize = sizeof before;
    ::SendMessageW(doc->RichEdit1->Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&before));
    doc->Font1Click(doc->Font1);
    EXPECT_FALSE(offered.bold);
    EXPECT_EQ(offered.height, -11);
    CHARFORMAT2W after = before;
    ::SendMessageW(doc->RichEdit1->Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&after));
    EXPECT_EQ(after.yHeight, 170);
    EXPECT_EQ(String(after.szFaceName), String(before.szFaceName));
    // A face that is not installed is offered as the face the system draws instead.
    doc->RichEdit1->SelAttributes().SetName(L"Gibt Es Nicht");
    doc->Font1Click(doc->Font1);
    EXPECT_NE(offered.name, L"Gibt Es Nicht");
    EXPECT_FALSE(offered.name.empty());
    EXPECT_EQ(doc->RichEdit1->SelAttributes().Name(), L"Gibt Es Nicht");
    // Across both words only what was changed applies: italic, sizes and faces stay.
    Select(doc->RichEdit1, 0, 10);
    dialogs.onExecute = [&](TCommonDialog& d) {
        dynamic_cast<TFontDialog&>(d).Font.italic = true;
        return true;
    };
    doc->Font1Click(doc->Font1);
    Select(doc->RichEdit1, 6, 4);
    EXPECT_TRUE(doc->RichEdit1->SelAttributes().Italic());
    EXPECT_EQ(doc->RichEdit1->SelAttributes().Size(), 14);
    EXPECT_EQ(doc->RichEdit1->SelAttributes().Name(), face);

    const String path = Path(L"deutsch.rtf");
    AnswerSaveDialogs({path});
    doc->Speichern1Click(doc->Speichern1);
    const std::string rtf = ReadBytes(path);
    EXPECT_NE(rtf.find("\\lang1031"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\deflang1031"), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("lang1033"), std::string::npos) << rtf;
}

TEST_F(DocumentFiles, AFailedSaveAsKeepsTheNameAndAnOpenFileComesForward) {
    const String path = Path(L"notiz.rtf");
    TForm2* doc = NewDocument();
    Type(doc->RichEdit1, L"Text");
    AnswerSaveDialogs({path});
    doc->Speichern1Click(doc->Speichern1);
    Type(doc->RichEdit1, L" mehr");
    AnswerSaveDialogs({Path(L"fehlt\\notiz.rtf")});
    EXPECT_THROW(doc->Speichernals1Click(doc->Speichernals1), EFCreateError);
    EXPECT_EQ(doc->FileName, path);
    EXPECT_EQ(WindowText(doc->Handle()), L"notiz.rtf");
    doc->Speichern1Click(doc->Speichern1);
    EXPECT_FALSE(doc->RichEdit1->Modified());
    EXPECT_NE(ReadBytes(path).find("Text mehr"), std::string::npos);

    // Opened again under another spelling of its path: the window that has it comes forward.
    TForm2* other = NewDocument();
    ::ShowWindow(doc->Handle(), SW_MINIMIZE);
    ASSERT_EQ(Form1->ActiveMDIChild(), other);
    const size_t open = OpenDocuments().size();
    ::CreateDirectoryW(Path(L"sub").c_str(), nullptr);
    dialogs.onExecute = [&](TCommonDialog& d) {
        static_cast<TOpenDialog&>(d).FileName = UpperCase(folder_) + L"sub\\..\\NOTIZ.RTF";
        return true;
    };
    Form1->Oeffnen1Click(Form1->Oeffnen1);
    ::RemoveDirectoryW(Path(L"sub").c_str());
    EXPECT_EQ(OpenDocuments().size(), open);
    EXPECT_FALSE(::IsIconic(doc->Handle()));
    EXPECT_EQ(Form1->ActiveMDIChild(), doc);
}

TEST_F(DocumentFiles, CopyAndCutPutTextAtOnceAndRichTextWhenAProgramAsksForIt) {
    TForm2* doc = NewDocument();
    Type(doc->RichEdit1, L"fett und {mehr}\rZeile");
    Select(doc->RichEdit1, 0, 4);
    doc->RichEdit1->SelAttributes().SetBold(true);
    Select(doc->RichEdit1, 0, 21);
    doc->KopierenClick(doc->Kopieren1);
    EXPECT_EQ(Clipboard()->AsText(), L"fett und {mehr}\r\nZeile");
    std::string rtf = ClipboardRichText();
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u) << rtf;
    EXPECT_NE(rtf.find("\\b"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\{mehr\\}"), std::string::npos) << rtf;

    // Text changed before a program asks: the copied characters come without their formatting.
    Select(doc->RichEdit1, 0, 4);
    doc->KopierenClick(doc->Kopieren1);
    doc->RichEdit1->SetSelStart(0);
    Type(doc->RichEdit1, L"X");
    rtf = ClipboardRichText();
    EXPECT_NE(rtf.find("fett}"), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("\\b"), std::string::npos) << rtf;

    // Cut text is pasted with its formatting, here and in another note.
    Select(doc->RichEdit1, 1, 4);
    doc->AusschneidenClick(doc->Ausschneiden1);
    EXPECT_EQ(TextOf(doc->RichEdit1), L"X und {mehr}\r\nZeile");
    TForm2* other = NewDocument();
    other->EinfuegenClick(other->Einfuegen1);
    EXPECT_EQ(TextOf(other->RichEdit1), L"fett");
    Select(other->RichEdit1, 0, 4);
    EXPECT_TRUE(other->RichEdit1->SelAttributes().Bold());

    // A note that closes while its copy is on the clipboard leaves the rich text there.
    Select(other->RichEdit1, 0, 4);
    other->KopierenClick(other->Kopieren1);
    other->RichEdit1->SetModified(false);
    other->Close();
    Pump();
    rtf = ClipboardRichText();
    EXPECT_NE(rtf.find("fett"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\b"), std::string::npos) << rtf;
}

TEST_F(DocumentFiles, WordWrapChangesTheScrollBarsWhileNothingWrapsAndShowsTheWaitCursor) {
    TForm2* doc = NewDocument();
    String line;
    for (int i = 0; i < 400; ++i) line += L"Wort ";
    doc->RichEdit1->Lines().SetText(line);
    g_watched = doc->RichEdit1->Handle();
    const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
    for (bool on : {true, false}) {
        g_sent.clear();
        HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, WatchMessages, nullptr, ::GetCurrentThreadId());
        doc->Zeilenumbruch1Click(doc->Zeilenumbruch1);
        ::UnhookWindowsHookEx(hook);
        EXPECT_EQ(doc->RichEdit1->WordWrap(), on);
        // The text wraps once: switched on, after the scroll bars changed (the bar of the line
        // just wrapped is hidden after it, which changes no width); switched off, first.
        std::vector<size_t> wraps;
        for (size_t i = 0; i < g_sent.size(); ++i)
            if (g_sent[i].message == EM_SETTARGETDEVICE) wraps.push_back(i);
        ASSERT_EQ(wraps.size(), 1u) << on;
        EXPECT_EQ(wraps[0], on ? 2u : 0u) << on;
        EXPECT_GE(g_sent.size(), 3u);
        for (const SentMessage& m : g_sent) EXPECT_EQ(m.cursor, wait);
        EXPECT_NE(::GetCursor(), wait);
    }
}

}  // namespace
