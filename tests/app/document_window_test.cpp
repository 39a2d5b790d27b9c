// The document window: its lifecycle from untitled to saved, the close query with every
// answer, note files in and out, and the commands of its menus.
#include <gtest/gtest.h>

#include "skin/menus/skin_menu_win.h"

#include <algorithm>
#include <map>
#include <stdexcept>

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

std::vector<String> FolderEntries(const String& folder) {
    std::vector<String> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((folder + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        String n = fd.cFileName;
        if (n != L"." && n != L"..") names.push_back(n);
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

// Frame paints sent to each window while the hook is set.
std::map<HWND, int> g_framePaints;
LRESULT CALLBACK CountFramePaints(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_NCPAINT) ++g_framePaints[sent->hwnd];
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class DocumentWindow : public ::testing::Test {
protected:
    void SetUp() override {
        StartProgram();
        static int serial = 0;
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = String(temp) + L"fn_form2_" + IntToStr(::GetCurrentProcessId()) + L"_" + IntToStr(++serial) + L"\\";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
    }

    void TearDown() override {
        for (HWND w : windows_) {
            if (!::IsWindow(w)) continue;
            auto* doc = dynamic_cast<TForm2*>(TWinControl::FromHandle(w));
            if (!doc) continue;
            doc->RichEdit1->SetModified(false);
            doc->Close();
        }
        Pump();
        for (const String& name : FolderEntries(folder_)) {
            String path = folder_ + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
        ::RemoveDirectoryW(folder_.c_str());
    }

    TForm2* NewDocument() {
        auto* doc = new TForm2(Form1);
        Pump();
        windows_.push_back(doc->Handle());
        return doc;
    }

    TForm2* OpenDocument(const String& path) {
        TForm2* doc = NewDocument();
        doc->OpenDocument(path);
        return doc;
    }

    // The save dialog answers with path (and remembers what it was offered); empty: cancel.
    void AnswerSaveDialog(const String& path) {
        dialogs.onExecute = [this, path](TCommonDialog& d) {
            auto* save = dynamic_cast<TSaveDialog*>(&d);
            if (!save) return false;
            offered = save->FileName;
            offeredFilter = save->Filter;
            offeredExt = save->DefaultExt;
            if (path.empty()) return false;
            save->FileName = path;
            return true;
        };
    }

    String Path(const wchar_t* name) const { return folder_ + name; }

    ScriptedDialogs dialogs;
    String folder_;
    String offered, offeredFilter, offeredExt;
    std::vector<HWND> windows_;
};

// --- form data and the untitled state ---

TEST_F(DocumentWindow, NewWindowIsUntitledUnmodifiedWithTheStoredSetUp) {
    // Made hidden and active before it shows, the new window's frame is painted once.
    g_framePaints.clear();
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, CountFramePaints, nullptr, ::GetCurrentThreadId());
    TForm2* doc = NewDocument();
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_framePaints[doc->Handle()], 1);
    EXPECT_EQ(WindowText(doc->Handle()), L"Ohne Namen");
    EXPECT_EQ(doc->FileName, L"ohne Namen");
    EXPECT_FALSE(doc->RichEdit1->Modified());
    EXPECT_EQ(doc->FormStyle(), TFormStyle::fsMDIChild);
    EXPECT_TRUE(doc->KeyPreview());
    EXPECT_EQ(doc->Menu(), nullptr);  // the main menu is shown by the window's own menu bar
    EXPECT_EQ(doc->PopupMenu(), doc->PopupMenu1);
    EXPECT_EQ(doc->RichEdit1->Parent(), doc);
    EXPECT_EQ(doc->RichEdit1->Align(), TAlign::alClient);
    EXPECT_FALSE(doc->RichEdit1->WordWrap());
    // Scroll bars are allowed in both directions but show only while the text overflows.
    EXPECT_EQ(doc->RichEdit1->ScrollBars(), TScrollStyle::ssBoth);
    EXPECT_FALSE(::GetWindowLongW(doc->RichEdit1->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(doc->RichEdit1->Font().name, L"MS Sans Serif");  // the form's font
    EXPECT_EQ(doc->FontDialog1->Font.height, -11);
    // Typing goes to the text as soon as the window is there.
    EXPECT_EQ(::GetFocus(), doc->RichEdit1->Handle());
    // The skinned menu bar sits at the top, the text fills the client area below it.
    RECT client, edit, bar;
    ::GetClientRect(doc->Handle(), &client);
    ::GetWindowRect(doc->RichEdit1->Handle(), &edit);
    ::GetWindowRect(doc->mnSkinMainMenuBar1->Handle(), &bar);
    EXPECT_EQ(doc->mnSkinMainMenuBar1->Align(), TAlign::alTop);
    EXPECT_EQ(bar.right - bar.left, client.right);
    EXPECT_EQ(edit.right - edit.left, client.right);
    EXPECT_EQ(edit.bottom - edit.top, client.bottom - (bar.bottom - bar.top));
    EXPECT_EQ(edit.top, bar.bottom);
    // The stored client size holds inside the skinned frame, laid out once the window showed.
    EXPECT_EQ(client.right, 438);
    EXPECT_EQ(client.bottom, 343);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(::GetWindowRgn(doc->Handle(), region), ERROR);
    ::DeleteObject(region);
    EXPECT_EQ(doc->mnMantle1->MainMenuBar(), static_cast<TmnMenuBarPartner*>(doc->mnSkinMainMenuBar1));
    EXPECT_TRUE(doc->mnMantle1->HideCaptionButtons());
}

TEST_F(DocumentWindow, MenusHoldEveryItemWithCaptionsShortcutsAndHandlers) {
    TForm2* doc = NewDocument();
    struct Expect { const wchar_t* caption; int count; };
    const Expect top[] = {{L"&Datei", 11}, {L"&Bearbeiten", 14}, {L"&Zeichen", 7}, {L"&Fenster", 2}, {L"&Hilfe", 0}};
    TMenuItem* root = doc->MainMenu1->Items();
    ASSERT_EQ(root->Count(), 5);
    // The form's own items; the recent notes' items stand among them in Datei (recent_files_test).
    auto ownItems = [](TMenuItem* menu) {
        std::vector<TMenuItem*> items;
        for (int i = 0; i < menu->Count(); ++i)
            if (!menu->Items(i)->Name().starts_with(L"Zuletzt")) items.push_back(menu->Items(i));
        return items;
    };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(root->Items(i)->Caption(), top[i].caption);
        EXPECT_EQ(static_cast<int>(ownItems(root->Items(i)).size()), top[i].count) << i;
    }
    const wchar_t* datei[] = {L"&Neu", L"&Öffnen", L"&Schließen", L"-", L"S&peichern", L"Sp&eichern unter", L"-",
                              L"&Drucken", L"Dr&uckereinrichtung", L"-", L"&Beenden"};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(ownItems(root->Items(0))[i]->Caption(), datei[i]);
    EXPECT_EQ(doc->Allesauswaehlen1->Caption(), L"Alles a&uswählen");
    EXPECT_EQ(doc->Zeilenumbruch1->Caption(), L"Zeilen&umbruch");
    EXPECT_EQ(doc->Font1->Caption(), L"&Schrift");
    EXPECT_EQ(doc->Hinter->Caption(), L"&Untereinander");
    EXPECT_EQ(ShortCutToText(doc->Kopieren1->ShortCut()), L"Strg+C");
    EXPECT_EQ(ShortCutToText(doc->Einfuegen1->ShortCut()), L"Einfg");
    EXPECT_EQ(ShortCutToText(doc->Loeschen1->ShortCut()), L"Entf");
    EXPECT_EQ(doc->Ausschneiden1->ShortCut(), 0);
    // The usual shortcuts of a German editor.
    const std::pair<TMenuItem*, const wchar_t*> usual[] = {
        {doc->Neu2, L"Strg+N"},     {doc->Oeffnen1, L"Strg+O"}, {doc->Speichern1, L"Strg+S"},
        {doc->Drucken1, L"Strg+P"}, {doc->Allesauswaehlen1, L"Strg+A"}, {doc->Schliessen1, L"Strg+F4"}};
    for (auto [item, text] : usual) EXPECT_EQ(ShortCutToText(item->ShortCut()), text) << WideToUtf8(item->Name());
    EXPECT_TRUE(doc->Links1->Checked());
    EXPECT_FALSE(doc->Rechts1->Checked() || doc->Zentriert1->Checked() || doc->Zeilenumbruch1->Checked());
    // Every item but the separators and the sub-menu holders runs a handler.
    for (TMenuItem* item : {doc->Neu2, doc->Oeffnen1, doc->Schliessen1, doc->Speichern1, doc->Speichernals1,
                            doc->Drucken1, doc->Druckereinrichten1, doc->Beenden1, doc->Bearbeiten1,
                            doc->Ausschneiden1, doc->Kopieren1, doc->Einfuegen1, doc->Loeschen1,
                            doc->Allesauswaehlen1, doc->Links1, doc->Rechts1, doc->Zentriert1,
                            doc->Zeilenumbruch1, doc->Font1, doc->Neben1, doc->Hinter, doc->Hilfe1,
                            doc->Ausschneiden2, doc->Kopieren2, doc->Einfuegen2})
        EXPECT_TRUE(static_cast<bool>(item->OnClick)) << WideToUtf8(item->Name());
    ASSERT_EQ(doc->PopupMenu1->Items()->Count(), 3);
    EXPECT_EQ(doc->PopupMenu1->Items()->Items(2)->Caption(), L"&Einfügen");
    EXPECT_EQ(doc->Ausschneiden2->ShortCut(), 0);
}

// --- the document's states ---

TEST_F(DocumentWindow, UntitledEditedSavedEditedSavedLoaded) {
    TForm2* doc = NewDocument();
    Type(doc->RichEdit1, L"Hallo Welt");
    EXPECT_TRUE(doc->RichEdit1->Modified());
    EXPECT_EQ(WindowText(doc->Handle()), L"Ohne Namen");

    // Save on an untitled note is Save As, proposing the untitled marker.
    String path = Path(L"Notiz.txt");
    AnswerSaveDialog(path);
    doc->Speichern1Click(doc->Speichern1);
    EXPECT_EQ(offered, L"ohne Namen");
    EXPECT_EQ(offeredFilter, L"Notizen (*.rtf;*.txt)|*.rtf;*.txt|Rich Text (*.rtf)|*.rtf|Text (*.txt)|*.txt|Alle Dateien (*.*)|*.*");
    EXPECT_EQ(offeredExt, L"rtf");
    EXPECT_EQ(doc->FileName, path);
    EXPECT_EQ(WindowText(doc->Handle()), L"Notiz.txt");
    EXPECT_FALSE(doc->RichEdit1->Modified());
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBFHallo Welt");  // a ".txt" name: plain text

    // A titled note saves without asking.
    Type(doc->RichEdit1, L"!");
    EXPECT_TRUE(doc->RichEdit1->Modified());
    int executes = dialogs.executes;
    doc->Speichern1Click(doc->Speichern1);
    EXPECT_EQ(dialogs.executes, executes);
    EXPECT_FALSE(doc->RichEdit1->Modified());

    TForm2* loaded = OpenDocument(path);
    EXPECT_EQ(loaded->FileName, path);
    EXPECT_EQ(WindowText(loaded->Handle()), L"Notiz.txt");
    EXPECT_FALSE(loaded->RichEdit1->Modified());
    EXPECT_EQ(loaded->RichEdit1->SelStart(), 0);
    EXPECT_EQ(TextOf(loaded->RichEdit1), L"Hallo Welt!");

    // Save As under another name moves the window to it.
    String other = Path(L"Kopie.txt");
    AnswerSaveDialog(other);
    loaded->Speichernals1Click(loaded->Speichernals1);
    EXPECT_EQ(offered, path);
    EXPECT_EQ(loaded->FileName, other);
    EXPECT_EQ(WindowText(loaded->Handle()), L"Kopie.txt");
    EXPECT_TRUE(FileExists(other));

    // A cancelled Save As changes nothing.
    Type(loaded->RichEdit1, L"?");
    AnswerSaveDialog(L"");
    loaded->Speichernals1Click(loaded->Speichernals1);
    EXPECT_EQ(loaded->FileName, other);
    EXPECT_TRUE(loaded->RichEdit1->Modified());
}

TEST_F(DocumentWindow, FormattingMarksTheNoteModified) {
    TForm2* doc = NewDocument();
    Type(doc->RichEdit1, L"abc");
    doc->RichEdit1->SetModified(false);
    doc->AusrichtenClick(doc->Zentriert1);
    EXPECT_TRUE(doc->RichEdit1->Modified());
    doc->RichEdit1->SetModified(false);
    Select(doc->RichEdit1, 0, 2);
    doc->RichEdit1->SelAttributes().SetBold(true);
    EXPECT_TRUE(doc->RichEdit1->Modified());
}

// --- closing ---

TEST_F(DocumentWindow, CloseQueryAsksOnlyForChangesAndObeysEachAnswer) {
    // Unchanged: closes without a question (ScriptedDialogs fails on any message).
    TForm2* plain = NewDocument();
    HWND w = plain->Handle();
    plain->Schliessen1Click(plain->Schliessen1);
    Pump();
    EXPECT_FALSE(::IsWindow(w));
    EXPECT_TRUE(dialogs.messages.empty());

    // Cancel keeps the window and the changes.
    TForm2* doc = NewDocument();
    w = doc->Handle();
    Type(doc->RichEdit1, L"x");
    dialogs.answers = {mrCancel};
    doc->Close();
    Pump();
    ASSERT_TRUE(::IsWindow(w));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], L"Änderungen speichern in ohne Namen?");
    EXPECT_TRUE(doc->RichEdit1->Modified());

    // No closes without saving.
    dialogs.answers = {mrNo};
    doc->Close();
    Pump();
    EXPECT_FALSE(::IsWindow(w));
    EXPECT_EQ(dialogs.executes, 0);

    // Yes on a titled note saves it under its full path, then closes.
    String path = Path(L"ja.txt");
    WriteBytes(path, "alt");
    TForm2* titled = OpenDocument(path);
    w = titled->Handle();
    Type(titled->RichEdit1, L"neu ");
    dialogs.answers = {mrYes};
    titled->Close();
    Pump();
    EXPECT_FALSE(::IsWindow(w));
    EXPECT_EQ(dialogs.messages.back(), L"Änderungen speichern in " + path + L"?");
    TForm2* again = OpenDocument(path);
    EXPECT_EQ(TextOf(again->RichEdit1), L"neu alt");

    // Yes on an untitled note runs Save As; confirmed, the note is written and the window goes.
    TForm2* fresh = NewDocument();
    w = fresh->Handle();
    Type(fresh->RichEdit1, L"frisch");
    String target = Path(L"frisch.txt");
    AnswerSaveDialog(target);
    dialogs.answers = {mrYes};
    fresh->Close();
    Pump();
    EXPECT_FALSE(::IsWindow(w));
    EXPECT_TRUE(FileExists(target));
}

TEST_F(DocumentWindow, YesWithoutASuccessfulSaveKeepsTheWindowAndTheNote) {
    // Save As cancelled after Yes.
    TForm2* doc = NewDocument();
    HWND w = doc->Handle();
    Type(doc->RichEdit1, L"wichtig");
    AnswerSaveDialog(L"");
    dialogs.answers = {mrYes};
    doc->Close();
    Pump();
    ASSERT_TRUE(::IsWindow(w));
    EXPECT_TRUE(doc->RichEdit1->Modified());
    EXPECT_EQ(TextOf(doc->RichEdit1), L"wichtig");
    EXPECT_EQ(dialogs.executes, 1);

    // The save itself fails after Yes (the folder does not exist): the error is shown and the
    // window stays.
    String missing = Path(L"fehlt\\notiz.txt");
    AnswerSaveDialog(missing);
    dialogs.answers = {mrYes, mrOk};
    doc->Close();
    Pump();
    ASSERT_TRUE(::IsWindow(w));
    EXPECT_TRUE(doc->RichEdit1->Modified());
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[2].rfind(L"Datei " + missing + L" kann nicht erstellt werden.", 0), 0u)
        << WideToUtf8(dialogs.messages[2]);
}

TEST_F(DocumentWindow, ExitOfTheProgramIsVetoedByAFailedSaveOrCancel) {
    TForm2* doc = NewDocument();
    HWND w = doc->Handle();
    Type(doc->RichEdit1, L"ungesichert");
    AnswerSaveDialog(L"");
    dialogs.answers = {mrYes};
    doc->Beenden1Click(doc->Beenden1);
    Pump();
    EXPECT_FALSE(Application()->Terminated());
    ASSERT_TRUE(::IsWindow(w));
    EXPECT_TRUE(doc->RichEdit1->Modified());

    dialogs.answers = {mrCancel};
    Form1->Close();
    Pump();
    EXPECT_FALSE(Application()->Terminated());
    EXPECT_TRUE(::IsWindow(w));
    EXPECT_TRUE(dialogs.answers.empty());
}

TEST_F(DocumentWindow, EscapeClosesThroughTheCloseQuery) {
    TForm2* doc = NewDocument();
    HWND w = doc->Handle();
    Type(doc->RichEdit1, L"x");
    MSG msg{doc->RichEdit1->Handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    dialogs.answers = {mrCancel};
    Application()->DispatchOne(msg);
    Pump();
    ASSERT_TRUE(::IsWindow(w));
    EXPECT_EQ(dialogs.messages.size(), 1u);
    doc->RichEdit1->SetModified(false);
    Application()->DispatchOne(msg);
    Pump();
    EXPECT_FALSE(::IsWindow(w));
}

// --- files ---

TEST_F(DocumentWindow, RichTextRoundTripKeepsBoldAlignmentAndFontUnderAnRtfName) {
    TForm2* doc = NewDocument();
    Type(doc->RichEdit1, L"Fett und Grüße\rZweite Zeile");
    Select(doc->RichEdit1, 0, 4);
    doc->RichEdit1->SelAttributes().SetBold(true);
    doc->RichEdit1->SetSelStart(2);
    doc->AusrichtenClick(doc->Rechts1);
    Select(doc->RichEdit1, 15, 6);
    dialogs.onExecute = [](TCommonDialog& d) {
        auto* font = dynamic_cast<TFontDialog*>(&d);
        if (!font) return false;
        font->Font.name = L"Courier New";
        font->Font.height = -16;  // 12 points on a 96 dpi screen
        font->Font.italic = true;
        return true;
    };
    doc->Font1Click(doc->Font1);

    String path = Path(L"formatiert.rtf");
    AnswerSaveDialog(path);
    doc->Speichern1Click(doc->Speichern1);
    std::string rtf = ReadBytes(path);
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(rtf.find("\\b"), std::string::npos);
    EXPECT_NE(rtf.find("\\qr"), std::string::npos);
    EXPECT_NE(rtf.find("Courier New"), std::string::npos);
    // Umlauts are escaped, so word processors read them in any code page.
    EXPECT_TRUE(rtf.find("\\'fc") != std::string::npos || rtf.find("\\u252") != std::string::npos);

    TForm2* back = OpenDocument(path);
    TRichEdit* edit = back->RichEdit1;
    EXPECT_EQ(TextOf(edit), L"Fett und Grüße\r\nZweite Zeile");
    Select(edit, 0, 4);
    EXPECT_TRUE(edit->SelAttributes().Bold());
    EXPECT_EQ(edit->Paragraph().Alignment(), TAlignment::taRightJustify);
    Select(edit, 5, 3);
    EXPECT_FALSE(edit->SelAttributes().Bold());
    Select(edit, 16, 4);
    EXPECT_EQ(edit->SelAttributes().Name(), L"Courier New");
    EXPECT_EQ(edit->SelAttributes().Size(), 12);
    EXPECT_TRUE(edit->SelAttributes().Italic());
    EXPECT_EQ(edit->Paragraph().Alignment(), TAlignment::taLeftJustify);
}

TEST_F(DocumentWindow, PlainTextFilesOfEachEncodingShowTheirUmlauts) {
    const String expected = L"Grüße aus Köln – Übermaß\r\nÄrger";
    const struct { const wchar_t* name; std::string bytes; } files[] = {
        {L"utf8bom.txt", "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln \xE2\x80\x93 \xC3\x9C" "berma\xC3\x9F\r\n\xC3\x84rger"},
        {L"utf8.txt", "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln \xE2\x80\x93 \xC3\x9C" "berma\xC3\x9F\n\xC3\x84rger"},
        {L"cp1252.txt", "Gr\xFC\xDF" "e aus K\xF6ln \x96 \xDC" "berma\xDF\r\n\xC4rger"},
        {L"utf16.txt", std::string("\xFF\xFE", 2)},
    };
    std::string utf16 = files[3].bytes;
    for (wchar_t c : String(L"Grüße aus Köln – Übermaß\r\nÄrger")) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    for (auto& f : files) {
        String path = Path(f.name);
        WriteBytes(path, f.name == String(L"utf16.txt") ? utf16 : f.bytes);
        TForm2* doc = OpenDocument(path);
        EXPECT_EQ(TextOf(doc->RichEdit1), expected) << WideToUtf8(f.name);
        EXPECT_FALSE(doc->RichEdit1->Modified());
    }
    // Text that merely looks like rich text at first is still read as text.
    String fake = Path(L"fake.txt");
    WriteBytes(fake, "{\\rtx nicht formatiert}");
    EXPECT_EQ(TextOf(OpenDocument(fake)->RichEdit1), L"{\\rtx nicht formatiert}");
}

TEST_F(DocumentWindow, LoadFailuresLeaveTheWindowOpenUntitledWithEmptyText) {
    String missing = Path(L"gibtsnicht.txt");
    TForm2* doc = NewDocument();
    try {
        doc->OpenDocument(missing);
        ADD_FAILURE() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind(L"Datei " + missing + L" kann nicht geöffnet werden. ", 0), 0u) << WideToUtf8(e.Message());
    }
    EXPECT_TRUE(::IsWindow(doc->Handle()));
    EXPECT_EQ(doc->FileName, L"ohne Namen");
    EXPECT_EQ(WindowText(doc->Handle()), L"Ohne Namen");
    EXPECT_EQ(doc->RichEdit1->GetTextLen(), 0);

    // A later Save asks for a name instead of writing to the unread file.
    Type(doc->RichEdit1, L"jetzt");
    int asked = 0;
    dialogs.onExecute = [&](TCommonDialog& d) {
        if (dynamic_cast<TSaveDialog*>(&d)) ++asked;
        return false;
    };
    doc->Speichern1Click(doc->Speichern1);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(FileExists(missing));

    // A binary file is no note: the load fails with the stream message and shows nothing.
    String binary = Path(L"bild.txt");
    WriteBytes(binary, std::string("MZ\x90\0\x03\0\0\0\x04\0\0\0\xFF\xFF", 14));
    TForm2* bin = NewDocument();
    try {
        bin->OpenDocument(binary);
        ADD_FAILURE() << "no exception";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), L"Das Laden des Streams ist misslungen");
    }
    EXPECT_EQ(bin->RichEdit1->GetTextLen(), 0);
    EXPECT_EQ(bin->FileName, L"ohne Namen");
    // Saving the empty window cannot touch the file it failed to read.
    bin->Speichern1Click(bin->Speichern1);
    EXPECT_EQ(ReadBytes(binary).size(), 14u);

    // A file larger than any note the control can hold is refused before it is read.
    String huge = Path(L"riesig.txt");
    HANDLE h = ::CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = (int64_t{1} << 30) + 1;
    ::SetFilePointerEx(h, end, nullptr, FILE_BEGIN);
    ::SetEndOfFile(h);
    ::CloseHandle(h);
    TForm2* big = NewDocument();
    EXPECT_THROW(big->OpenDocument(huge), EReadError);
    EXPECT_EQ(big->RichEdit1->GetTextLen(), 0);
    ::DeleteFileW(huge.c_str());

    // Through the main window's open command the message reaches the exception handler
    // and the new window stays.
    size_t before = OpenDocuments().size();
    dialogs.onExecute = [&](TCommonDialog& d) {
        static_cast<TOpenDialog&>(d).FileName = missing + L"x";
        return true;
    };
    dialogs.answers = {mrOk};
    try {
        doc->Oeffnen1Click(doc->Oeffnen1);
    } catch (const Exception& e) {
        Application()->HandleException(e);
    }
    EXPECT_EQ(OpenDocuments().size(), before + 1);
    for (TForm* f : OpenDocuments()) windows_.push_back(f->Handle());
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_NE(dialogs.messages.back().find(L"kann nicht geöffnet werden"), String::npos);
}

TEST_F(DocumentWindow, FailedSaveKeepsOldFileAndModifiedAndLeavesNoTemporaryFile) {
    String path = Path(L"schreibgeschuetzt.txt");
    WriteBytes(path, "alter Inhalt");
    TForm2* doc = OpenDocument(path);
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    Type(doc->RichEdit1, L"neu ");
    auto entries = FolderEntries(folder_);
    try {
        doc->Speichern1Click(doc->Speichern1);
        ADD_FAILURE() << "no exception";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind(L"Datei " + path + L" kann nicht erstellt werden.", 0), 0u) << WideToUtf8(e.Message());
    }
    EXPECT_TRUE(doc->RichEdit1->Modified());
    EXPECT_EQ(ReadBytes(path), "alter Inhalt");
    EXPECT_EQ(FolderEntries(folder_), entries);

    // A target that is a folder cannot be replaced either.
    String folderTarget = Path(L"ordner");
    ::CreateDirectoryW(folderTarget.c_str(), nullptr);
    AnswerSaveDialog(folderTarget);
    entries = FolderEntries(folder_);
    EXPECT_THROW(doc->Speichernals1Click(doc->Speichernals1), EFCreateError);
    EXPECT_TRUE(doc->RichEdit1->Modified());
    EXPECT_EQ(FolderEntries(folder_), entries);
    ::RemoveDirectoryW(folderTarget.c_str());

    // Writable again, the same note saves and replaces the old text.
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    AnswerSaveDialog(path);
    doc->Speichernals1Click(doc->Speichernals1);
    EXPECT_FALSE(doc->RichEdit1->Modified());
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBFneu alter Inhalt");  // read as plain text, saved so
}

// --- commands ---

TEST_F(DocumentWindow, WordWrapTogglesWithScrollBarsAndCheckMark) {
    TForm2* doc = NewDocument();
    String line;
    for (int i = 0; i < 60; ++i) line += L"Wort ";
    Type(doc->RichEdit1, line);
    auto lines = [&] { return static_cast<int>(::SendMessageW(doc->RichEdit1->Handle(), EM_GETLINECOUNT, 0, 0)); };
    EXPECT_EQ(lines(), 1);

    doc->Zeilenumbruch1Click(doc->Zeilenumbruch1);
    EXPECT_TRUE(doc->RichEdit1->WordWrap());
    EXPECT_EQ(doc->RichEdit1->ScrollBars(), TScrollStyle::ssVertical);
    EXPECT_TRUE(doc->Zeilenumbruch1->Checked());
    EXPECT_GT(lines(), 1);
    // Wrapped, nothing reaches past the right edge: no horizontal bar.
    EXPECT_FALSE(::GetWindowLongW(doc->RichEdit1->Handle(), GWL_STYLE) & WS_HSCROLL);

    doc->Zeilenumbruch1Click(doc->Zeilenumbruch1);
    EXPECT_FALSE(doc->RichEdit1->WordWrap());
    EXPECT_EQ(doc->RichEdit1->ScrollBars(), TScrollStyle::ssBoth);
    EXPECT_FALSE(doc->Zeilenumbruch1->Checked());
    EXPECT_EQ(lines(), 1);
    // The long line needs the horizontal bar now.
    LONG style = ::GetWindowLongW(doc->RichEdit1->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_HSCROLL);
}

TEST_F(DocumentWindow, EditMenuRuleFollowsSelectionAndClipboard) {
    TForm2* doc = NewDocument();
    TMenuItem* selectionItems[] = {doc->Ausschneiden1, doc->Ausschneiden2, doc->Kopieren1, doc->Kopieren2, doc->Loeschen1};
    for (TMenuItem* item : selectionItems) EXPECT_TRUE(item->Enabled());
    EXPECT_TRUE(doc->Einfuegen1->Enabled() && doc->Einfuegen2->Enabled());

    Type(doc->RichEdit1, L"abc def");
    Clipboard()->Clear();
    doc->RichEdit1->SetSelStart(3);
    doc->Bearbeiten1Click(doc->Bearbeiten1);
    for (TMenuItem* item : selectionItems) EXPECT_FALSE(item->Enabled()) << WideToUtf8(item->Name());
    EXPECT_FALSE(doc->Einfuegen1->Enabled());
    EXPECT_FALSE(doc->Einfuegen2->Enabled());
    EXPECT_TRUE(doc->Allesauswaehlen1->Enabled());

    Clipboard()->SetAsText(L"xyz");
    Select(doc->RichEdit1, 0, 3);
    doc->Bearbeiten1Click(doc->Bearbeiten1);
    for (TMenuItem* item : selectionItems) EXPECT_TRUE(item->Enabled()) << WideToUtf8(item->Name());
    EXPECT_TRUE(doc->Einfuegen1->Enabled());
    EXPECT_TRUE(doc->Einfuegen2->Enabled());

    // The context menu runs the rule as it opens: its items follow the selection and clipboard
    // of that moment, not of the last time "Bearbeiten" opened.
    ASSERT_TRUE(doc->PopupMenu1->OnPopup);
    doc->RichEdit1->SetSelStart(7);
    doc->PopupMenu1->OnPopup(doc->PopupMenu1);
    EXPECT_FALSE(doc->Ausschneiden2->Enabled());
    EXPECT_FALSE(doc->Kopieren2->Enabled());
    EXPECT_TRUE(doc->Einfuegen2->Enabled());
    Clipboard()->Clear();
    Select(doc->RichEdit1, 0, 3);
    doc->PopupMenu1->OnPopup(doc->PopupMenu1);
    EXPECT_TRUE(doc->Ausschneiden2->Enabled() && doc->Kopieren2->Enabled());
    EXPECT_FALSE(doc->Einfuegen2->Enabled());

    // The menu's Delete shortcut runs the rule first: with no selection the command does nothing.
    doc->RichEdit1->SetSelStart(7);
    EXPECT_TRUE(doc->MainMenu1->IsShortCut(VK_DELETE, 0));
    EXPECT_FALSE(doc->Loeschen1->Enabled());
    EXPECT_EQ(TextOf(doc->RichEdit1), L"abc def");
    Select(doc->RichEdit1, 3, 4);
    EXPECT_TRUE(doc->MainMenu1->IsShortCut(VK_DELETE, 0));
    EXPECT_EQ(TextOf(doc->RichEdit1), L"abc");
}

TEST_F(DocumentWindow, EntfDeletesTheSelectionOrElseTheNextCharacter) {
    TForm2* doc = NewDocument();
    Type(doc->RichEdit1, L"abc def");
    ::SetFocus(doc->RichEdit1->Handle());
    ASSERT_EQ(::GetFocus(), doc->RichEdit1->Handle());
    auto pressEntf = [&] {
        MSG msg{doc->RichEdit1->Handle(), WM_KEYDOWN, VK_DELETE, 0x01530001, 0, {0, 0}};
        Application()->DispatchOne(msg);
        Pump();
    };
    // Nothing selected: the next character goes, and the menu item stays disabled.
    doc->RichEdit1->SetSelStart(3);
    pressEntf();
    EXPECT_EQ(TextOf(doc->RichEdit1), L"abcdef");
    EXPECT_FALSE(doc->Loeschen1->Enabled());
    EXPECT_EQ(doc->RichEdit1->SelStart(), 3);
    // A selection: the menu command deletes exactly it.
    Select(doc->RichEdit1, 1, 2);
    pressEntf();
    EXPECT_EQ(TextOf(doc->RichEdit1), L"adef");
    // At the end of the text there is nothing to delete.
    doc->RichEdit1->SetSelStart(4);
    pressEntf();
    EXPECT_EQ(TextOf(doc->RichEdit1), L"adef");
    // Einfg with an empty clipboard stays swallowed by its disabled item: nothing is inserted.
    Clipboard()->Clear();
    MSG einfg{doc->RichEdit1->Handle(), WM_KEYDOWN, VK_INSERT, 0x01520001, 0, {0, 0}};
    Application()->DispatchOne(einfg);
    ::SendMessageW(doc->RichEdit1->Handle(), WM_CHAR, L'x', 1);
    EXPECT_EQ(TextOf(doc->RichEdit1), L"adefx");
}

TEST_F(DocumentWindow, StrgTabStepsThroughTheDocumentWindows) {
    TForm2* first = NewDocument();
    TForm2* second = NewDocument();
    TForm* frame = Form1;
    ASSERT_EQ(frame->ActiveMDIChild(), second);
    std::vector<TForm*> seen;
    for (int i = 0; i < 8 && seen.size() < OpenDocuments().size(); ++i) {
        WORD key = VK_TAB;
        static_cast<TForm2*>(frame->ActiveMDIChild())->FormKeyDown(frame->ActiveMDIChild(), key, ssCtrl);
        EXPECT_EQ(key, 0);  // the note gets no tab
        Pump();
        TForm* now = frame->ActiveMDIChild();
        EXPECT_TRUE(std::find(seen.begin(), seen.end(), now) == seen.end()) << "visited twice before all";
        seen.push_back(now);
    }
    // Every document was reached, the last step came back round to the one it started from.
    EXPECT_EQ(seen.size(), OpenDocuments().size());
    EXPECT_EQ(seen.back(), second);
    EXPECT_TRUE(std::find(seen.begin(), seen.end(), first) != seen.end());
    // Strg+Umschalt+Tab goes the other way: back to where one step forward came from.
    WORD key = VK_TAB;
    second->FormKeyDown(second, key, ssCtrl);
    Pump();
    TForm* forward = frame->ActiveMDIChild();
    ASSERT_NE(forward, second);
    key = VK_TAB;
    static_cast<TForm2*>(forward)->FormKeyDown(forward, key, ssCtrl | ssShift);
    Pump();
    EXPECT_EQ(frame->ActiveMDIChild(), second);
}

TEST_F(DocumentWindow, ClipboardCommandsCutCopyPasteDeleteAndSelectAll) {
    TForm2* doc = NewDocument();
    Type(doc->RichEdit1, L"eins zwei");
    Select(doc->RichEdit1, 0, 5);
    doc->AusschneidenClick(doc->Ausschneiden2);
    EXPECT_EQ(Clipboard()->AsText(), L"eins ");
    EXPECT_EQ(TextOf(doc->RichEdit1), L"zwei");
    doc->RichEdit1->SetSelStart(4);
    doc->EinfuegenClick(doc->Einfuegen1);
    EXPECT_EQ(TextOf(doc->RichEdit1), L"zweieins ");
    doc->Allesauswaehlen1Click(doc->Allesauswaehlen1);
    EXPECT_GE(doc->RichEdit1->SelLength(), 9);
    doc->KopierenClick(doc->Kopieren1);
    EXPECT_EQ(Clipboard()->AsText().substr(0, 9), L"zweieins ");
    doc->Loeschen1Click(doc->Loeschen1);
    EXPECT_EQ(doc->RichEdit1->GetTextLen(), 0);
    EXPECT_TRUE(doc->RichEdit1->Modified());
}

TEST_F(DocumentWindow, AlignmentChecksOnlyTheChosenItem) {
    TForm2* doc = NewDocument();
    Type(doc->RichEdit1, L"erste\rzweite");
    doc->RichEdit1->SetSelStart(8);
    doc->AusrichtenClick(doc->Rechts1);
    EXPECT_TRUE(doc->Rechts1->Checked());
    EXPECT_FALSE(doc->Links1->Checked() || doc->Zentriert1->Checked());
    EXPECT_EQ(doc->RichEdit1->Paragraph().Alignment(), TAlignment::taRightJustify);
    doc->AusrichtenClick(doc->Rechts1);
    EXPECT_TRUE(doc->Rechts1->Checked());
    // Only the caret's paragraph changed; the marks do not follow the caret.
    doc->RichEdit1->SetSelStart(1);
    EXPECT_EQ(doc->RichEdit1->Paragraph().Alignment(), TAlignment::taLeftJustify);
    EXPECT_TRUE(doc->Rechts1->Checked());
    doc->AusrichtenClick(doc->Zentriert1);
    EXPECT_EQ(doc->RichEdit1->Paragraph().Alignment(), TAlignment::taCenter);
    EXPECT_TRUE(doc->Zentriert1->Checked());
    EXPECT_FALSE(doc->Links1->Checked() || doc->Rechts1->Checked());
    doc->AusrichtenClick(doc->Links1);
    EXPECT_EQ(doc->RichEdit1->Paragraph().Alignment(), TAlignment::taLeftJustify);
    EXPECT_TRUE(doc->Links1->Checked());
}

TEST_F(DocumentWindow, FontDialogStartsFromTheSelectionAndFormatsIt) {
    TForm2* doc = NewDocument();
    Type(doc->RichEdit1, L"abc def");
    Select(doc->RichEdit1, 0, 3);
    doc->RichEdit1->SelAttributes().SetName(L"Arial");
    Select(doc->RichEdit1, 4, 3);
    String offeredName;
    dialogs.onExecute = [&](TCommonDialog& d) {
        auto& font = dynamic_cast<TFontDialog&>(d);
        offeredName = font.Font.name;
        font.Font.name = L"Times New Roman";
        font.Font.bold = true;
        return true;
    };
    Select(doc->RichEdit1, 0, 3);
    doc->Font1Click(doc->Font1);
    EXPECT_NE(offeredName, L"MS Sans Serif");  // the selection's face (or what draws it), not the base font
    EXPECT_EQ(doc->RichEdit1->SelAttributes().Name(), L"Times New Roman");
    EXPECT_TRUE(doc->RichEdit1->SelAttributes().Bold());
    Select(doc->RichEdit1, 4, 3);
    EXPECT_FALSE(doc->RichEdit1->SelAttributes().Bold());

    // Cancelled, nothing changes.
    dialogs.onExecute = [](TCommonDialog&) { return false; };
    doc->Font1Click(doc->Font1);
    EXPECT_NE(doc->RichEdit1->SelAttributes().Name(), L"Times New Roman");
}

TEST_F(DocumentWindow, PrintingLaysTheWholeTextOnConsecutivePages) {
    TForm2* doc = NewDocument();
    String text;
    for (int i = 0; i < 200; ++i) text += L"Zeile " + IntToStr(i) + L"\r\n";
    doc->RichEdit1->Lines().SetText(text);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 200);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT inch{0, 0, 1440, 1440};
    int breaks = 0;
    int pages = doc->RichEdit1->PrintPages(dc, inch, [&] { ++breaks; });
    EXPECT_GT(pages, 10);
    EXPECT_EQ(breaks, pages - 1);
    // A page four times as tall holds about four times the lines.
    RECT tall{0, 0, 1440, 4 * 1440};
    int tallPages = doc->RichEdit1->PrintPages(dc, tall, [] {});
    EXPECT_LE(tallPages, (pages + 3) / 4 + 1);
    EXPECT_GE(tallPages, pages / 4);
    // An empty note is one blank page; a page too small for one line ends instead of looping.
    doc->RichEdit1->Lines().SetText(L"");
    EXPECT_EQ(doc->RichEdit1->PrintPages(dc, inch, [] {}), 1);
    doc->RichEdit1->Lines().SetText(L"a\r\nb");
    RECT sliver{0, 0, 1440, 2};
    EXPECT_LE(doc->RichEdit1->PrintPages(dc, sliver, [] {}), 2);
    // A page break that gives up (a failed print job) leaves the context as it found it.
    HGDIOBJ fontBefore = ::GetCurrentObject(dc, OBJ_FONT);
    doc->RichEdit1->Lines().SetText(text);
    EXPECT_THROW(doc->RichEdit1->PrintPages(dc, inch, [] { throw std::runtime_error("Seitenwechsel"); }), std::runtime_error);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), fontBefore);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);

    // A cancelled print dialog prints nothing.
    dialogs.onExecute = [](TCommonDialog& d) { return dynamic_cast<TPrintDialog*>(&d) ? false : true; };
    doc->Drucken1Click(doc->Drucken1);
    EXPECT_EQ(dialogs.executes, 1);
}

TEST_F(DocumentWindow, FileAndWindowItemsCallTheMainWindow) {
    TForm2* doc = NewDocument();
    size_t before = OpenDocuments().size();
    doc->Neu2Click(doc->Neu2);
    Pump();
    auto docs = OpenDocuments();
    ASSERT_EQ(docs.size(), before + 1);
    for (TForm* f : docs) windows_.push_back(f->Handle());
    dialogs.onExecute = [](TCommonDialog&) { return false; };
    doc->Oeffnen1Click(doc->Oeffnen1);
    EXPECT_EQ(OpenDocuments().size(), before + 1);

    // Tile puts the windows side by side without overlap.
    doc->Neben1Click(doc->Neben1);
    Pump();
    docs = OpenDocuments();
    RECT a, b, overlap;
    ::GetWindowRect(docs[0]->Handle(), &a);
    ::GetWindowRect(docs[1]->Handle(), &b);
    EXPECT_FALSE(::IntersectRect(&overlap, &a, &b) && overlap.right - overlap.left > 2 && overlap.bottom - overlap.top > 2);
    doc->HinterClick(doc->Hinter);
    Pump();
    ::GetWindowRect(docs[0]->Handle(), &a);
    ::GetWindowRect(docs[1]->Handle(), &b);
    EXPECT_TRUE(::IntersectRect(&overlap, &a, &b));
}

}  // namespace

TEST_F(DocumentWindow, MenuBarRunsTheEditRuleAndKeepsKeysFromTheNoteWhileOpen) {
    TForm2* doc = NewDocument();
    Pump();
    doc->RichEdit1->Lines().SetText(L"abc");
    doc->RichEdit1->SelectAll();
    TmnSkinMainMenuBar* bar = doc->mnSkinMainMenuBar1;
    TmnMantle* mantle = doc->mnMantle1;
    // Opening "&Bearbeiten" from the bar runs the Edit rule first: with a selection, copying works.
    doc->Kopieren1->SetEnabled(false);
    bar->EnterMenuMode();
    ASSERT_TRUE(mantle->InMainMenu());
    ASSERT_TRUE(bar->HandleAccelerator(L'b'));
    Pump();
    ASSERT_TRUE(mantle->SkinMenu().Visible);
    EXPECT_TRUE(doc->Kopieren1->Enabled());

    // Keys pressed while the menu is open do not reach the note, and Escape does not close it.
    for (WPARAM key : {WPARAM('Q'), WPARAM(VK_ESCAPE), WPARAM(VK_ESCAPE)}) {
        ::PostMessageW(doc->RichEdit1->Handle(), WM_KEYDOWN, key, 1);
        if (key == 'Q') ::PostMessageW(doc->RichEdit1->Handle(), WM_CHAR, 'q', 1);
        Pump();
    }
    EXPECT_EQ(doc->RichEdit1->Lines().Text(), L"abc");
    EXPECT_FALSE(mantle->InMainMenu());
    EXPECT_FALSE(mantle->SkinMenu().Visible);
    EXPECT_TRUE(::IsWindow(doc->Handle()));
    // Afterwards typing reaches the note again.
    doc->RichEdit1->SetSelStart(3);
    ::PostMessageW(doc->RichEdit1->Handle(), WM_CHAR, 'd', 1);
    Pump();
    EXPECT_EQ(doc->RichEdit1->Lines().Text(), L"abcd");
}

TEST_F(DocumentWindow, ALetterInAnOpenMenuChoosesItsItemBeforeTheBar) {
    TForm2* doc = NewDocument();
    Pump();
    TmnSkinMainMenuBar* bar = doc->mnSkinMainMenuBar1;
    TmnMantle* mantle = doc->mnMantle1;
    auto press = [&](WPARAM key) {
        ::PostMessageW(doc->RichEdit1->Handle(), WM_KEYDOWN, key, 1);
        Pump();
    };
    bar->EnterMenuMode();
    ASSERT_TRUE(bar->HandleAccelerator(L'd'));
    Pump();
    ASSERT_TRUE(mantle->SkinMenu().Visible);
    // "Z" is no item of "Datei": it moves to "&Zeichen" on the bar.
    press('Z');
    ASSERT_TRUE(mantle->SkinMenu().Visible);
    ASSERT_FALSE(mantle->SkinMenu().PopupList.empty());
    EXPECT_EQ(mantle->SkinMenu().PopupList[0]->Items[0]->MenuItem, doc->Links1);
    // Back on "Datei", "D" is "&Drucken" there, not the bar's "&Datei": the print dialog opens.
    press(VK_LEFT);
    press(VK_LEFT);
    ASSERT_FALSE(mantle->SkinMenu().PopupList.empty());
    ASSERT_EQ(mantle->SkinMenu().PopupList[0]->Items[0]->MenuItem, doc->Neu2);
    int printDialogs = 0;
    dialogs.onExecute = [&](TCommonDialog& d) {
        if (dynamic_cast<TPrintDialog*>(&d)) ++printDialogs;
        return false;
    };
    press('D');
    EXPECT_EQ(printDialogs, 1);
    EXPECT_FALSE(mantle->SkinMenu().Visible);
    EXPECT_FALSE(mantle->InMainMenu());
}

TEST_F(DocumentWindow, InANarrowWindowAltAndALetterStillReachTheHiddenItems) {
    TForm2* doc = NewDocument();
    ::SetWindowPos(doc->Handle(), nullptr, 0, 0, 200, 300, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    TmnSkinMainMenuBar* bar = doc->mnSkinMainMenuBar1;
    ASSERT_TRUE(bar->Overflow);
    TmnSkinMainMenuBarItem* fenster = nullptr;
    for (int i = 0; i < bar->ItemCount(); ++i)
        if (bar->Item(i)->MenuItem == doc->Fenster1) fenster = bar->Item(i);
    ASSERT_NE(fenster, nullptr);
    ASSERT_FALSE(fenster->Fits);
    // Alt+F: the marker's popup opens and "&Fenster" in it opens its own menu.
    EXPECT_TRUE(doc->IsShortCut('F', ssAlt));
    Pump();
    TmnSkinMenu& chain = doc->mnMantle1->SkinMenu();
    ASSERT_TRUE(chain.Visible);
    ASSERT_EQ(chain.PopupList.size(), 2u);
    EXPECT_EQ(chain.PopupList[1]->Items[0]->MenuItem, doc->Neben1);
    chain.CloseAll();
    Pump();
    // A letter no item has stays unhandled.
    EXPECT_FALSE(bar->HandleAccelerator(L'q'));
    EXPECT_FALSE(chain.Visible);
}

TEST_F(DocumentWindow, EditorShortcutsReachTheMenuThroughTheSkinnedFrame) {
    TForm2* doc = NewDocument();
    const String path = Path(L"kurz.txt");
    doc->FileName = path;
    Type(doc->RichEdit1, L"kurz");
    // The platform menu is off the form; the form skinning component routes Strg+S to the menu.
    EXPECT_EQ(doc->Menu(), nullptr);
    EXPECT_TRUE(doc->IsShortCut('S', ssCtrl));
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(doc->RichEdit1->Modified());
}
