// The main window: start-up, the file commands, closing with the documents' consent, and the
// menu shortcut machinery the windows share.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "app/document_window.h"
#include "app/running_program.h"
#include "skin/menus/skin_menu_win.h"
#include "platform/core/files.h"
#include "platform/core/streams.h"
#include "tests/app/app_fixture.h"

using namespace fn;
using namespace fn::test;

namespace {

int CountMDIClientChildren(HWND client) {
    int n = 0;
    for (HWND w = ::GetWindow(client, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_MDICHILD) ++n;
    return n;
}

String WindowText(HWND w) {
    wchar_t buf[256];
    ::GetWindowTextW(w, buf, 256);
    return buf;
}

void CloseExtraDocuments() {
    auto docs = OpenDocuments();
    for (size_t i = 1; i < docs.size(); ++i) docs[i]->Close();
    Pump();
}

}  // namespace

TEST(MainWindow, StartUpLeavesOneUntitledDocumentInTheFrame) {
    TForm1* form = StartProgram();
    EXPECT_EQ(WindowText(form->Handle()), L"Fennick Notizen");
    EXPECT_EQ(form->FormStyle(), TFormStyle::fsMDIForm);
    ASSERT_NE(form->ClientHandle(), nullptr);
    EXPECT_EQ(CountMDIClientChildren(form->ClientHandle()), 1);
    auto docs = OpenDocuments();
    ASSERT_EQ(docs.size(), 1u);
    auto* doc = dynamic_cast<TForm2*>(docs[0]);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(WindowText(doc->Handle()), L"Ohne Namen");
    EXPECT_EQ(doc->FileName, L"ohne Namen");
    EXPECT_EQ(doc->Owner(), form);
    EXPECT_TRUE(::IsWindowVisible(doc->Handle()));
    // Only the main window stands for the program: the application's own window stays hidden.
    EXPECT_FALSE(::IsWindowVisible(Application()->Handle()));
    EXPECT_TRUE(::IsWindowVisible(form->Handle()));
}

TEST(MainWindow, EachWindowLoadsItsOwnCopyOfTheEmbeddedSkinAtCreation) {
    TForm1* form = StartProgram();
    ASSERT_NE(form->mnSkinData1, nullptr);
    ASSERT_NE(form->mnStoredSkin1, nullptr);
    EXPECT_EQ(form->mnSkinData1->CompressedStoredSkin(), form->mnStoredSkin1);
    EXPECT_EQ(form->mnStoredSkin1->Description(), L"Fennick");
    EXPECT_EQ(form->mnStoredSkin1->FileName(), L"skin.ini");
    EXPECT_FALSE(form->mnStoredSkin1->IsEmpty());
    EXPECT_FALSE(form->mnSkinData1->Empty());
    EXPECT_FALSE(form->mnSkinData1->SkinLoading());
    EXPECT_EQ(form->mnSkinData1->SkinName(), L"Fennick");
    auto* doc = dynamic_cast<TForm2*>(OpenDocuments().at(0));
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(doc->mnSkinData1, nullptr);
    EXPECT_NE(doc->mnSkinData1, form->mnSkinData1);
    EXPECT_FALSE(doc->mnSkinData1->Empty());
    EXPECT_EQ(doc->mnSkinData1->SkinName(), L"Fennick");
    EXPECT_EQ(doc->mnSkinData1->SkinObjects().size(), form->mnSkinData1->SkinObjects().size());
}

TEST(MainWindow, FileMenuHoldsNewOpenSeparatorExitWithTheUsualShortcutsAndNoPlatformMenuBarShows) {
    TForm1* form = StartProgram();
    auto* menu = dynamic_cast<TMainMenu*>(form->FindComponent(L"MainMenu1"));
    ASSERT_NE(menu, nullptr);
    TMenuItem* datei = menu->Items()->Items(0);
    EXPECT_EQ(datei->Caption(), L"&Datei");
    // The form's own items; the recent notes' items stand among them (recent_files_test).
    std::vector<TMenuItem*> items;
    for (int i = 0; i < datei->Count(); ++i)
        if (!datei->Items(i)->Name().starts_with(L"Zuletzt")) items.push_back(datei->Items(i));
    ASSERT_EQ(items.size(), 4u);
    const wchar_t* captions[] = {L"&Neu", L"&Öffnen", L"-", L"&Beenden"};
    const TShortCut shortCuts[] = {ShortCut('N', ssCtrl), ShortCut('O', ssCtrl), 0, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i]->Caption(), captions[i]);
        EXPECT_EQ(items[i]->ShortCut(), shortCuts[i]);
    }
    // The form skinning component took the platform menu off when the window was first shown.
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(::GetMenu(form->Handle()), nullptr);
}

TEST(MainWindow, NewCommandOpensAnotherUntitledDocument) {
    TForm1* form = StartProgram();
    form->Neu1->Click();
    Pump();
    auto docs = OpenDocuments();
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(static_cast<TForm2*>(docs[1])->FileName, L"ohne Namen");
    CloseExtraDocuments();
    EXPECT_EQ(OpenDocuments().size(), 1u);
}

TEST(MainWindow, OpenSetsFilterOnEveryUseAndCancelCreatesNoWindow) {
    TForm1* form = StartProgram();
    ScriptedDialogs dialogs;
    String seenFilter, seenExt;
    dialogs.onExecute = [&](TCommonDialog& d) {
        auto& open = dynamic_cast<TOpenDialog&>(d);
        seenFilter = open.Filter;
        seenExt = open.DefaultExt;
        return false;
    };
    form->OpenDialog1->Filter = L"x|*.x";
    form->OpenDialog1->DefaultExt = L"x";
    form->Oeffnen1->Click();
    Pump();
    EXPECT_EQ(dialogs.executes, 1);
    EXPECT_EQ(seenFilter, L"Notizen (*.rtf;*.txt)|*.rtf;*.txt|Rich Text (*.rtf)|*.rtf|Text (*.txt)|*.txt|Alle Dateien (*.*)|*.*");
    EXPECT_EQ(seenExt, L"rtf");
    EXPECT_EQ(OpenDocuments().size(), 1u);
}

TEST(MainWindow, OpenConfirmedCreatesADocumentForTheChosenFile) {
    TForm1* form = StartProgram();
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    String path = String(dir) + L"fn_form1_open.txt";
    {
        TFileStream f(path, FileMode::Create);
        f.WriteBuffer("Hallo", 5);
        f.Close();
    }
    ScriptedDialogs dialogs;
    dialogs.onExecute = [&](TCommonDialog& d) {
        dynamic_cast<TOpenDialog&>(d).FileName = path;
        return true;
    };
    form->Oeffnen1->Click();
    Pump();
    auto docs = OpenDocuments();
    ASSERT_EQ(docs.size(), 2u);
    auto* doc = static_cast<TForm2*>(docs[1]);
    EXPECT_EQ(doc->FileName, path);
    EXPECT_EQ(WindowText(doc->Handle()), L"fn_form1_open.txt");
    CloseExtraDocuments();
    RemoveFile(path);
}

TEST(MainWindow, F1AsksForTheWindowsHelpContext) {
    TForm1* form = StartProgram();
    std::vector<std::pair<unsigned, uintptr_t>> requests;
    {
        TFilterHook<bool(unsigned, uintptr_t, bool&)> filter;  // newest: in front of the help hook
        filter.Install(Application()->HelpFilters(), [&](unsigned command, uintptr_t data, bool& callHelp, const auto&) {
            requests.emplace_back(command, data);
            callHelp = false;
            return true;
        });
        HELPINFO info{};
        info.cbSize = sizeof info;
        info.iContextType = HELPINFO_WINDOW;
        info.hItemHandle = form->Handle();
        ::SendMessageW(form->Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    }
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].first, static_cast<unsigned>(HELP_CONTEXT));
    EXPECT_EQ(requests[0].second, 1070u);
}

TEST(Menus, ShortcutTextsUseGermanKeyNames) {
    EXPECT_EQ(ShortCutToText(16451), L"Strg+C");
    EXPECT_EQ(ShortCutToText(45), L"Einfg");
    EXPECT_EQ(ShortCutToText(46), L"Entf");
    EXPECT_EQ(ShortCutToText(scShift | scCtrl | VK_F1), L"Umsch+Strg+F1");
    EXPECT_EQ(ShortCutToText(scAlt | VK_HOME), L"Alt+Pos1");
    EXPECT_EQ(ShortCut('C', ssCtrl), 16451);
}

TEST(Menus, IsShortCutClicksParentsTopDownThenTheEnabledItem) {
    TMainMenu menu(nullptr);
    TMenuItem top(nullptr), sub(nullptr), leaf(nullptr), other(nullptr);
    menu.Items()->Add(&top);
    top.Add(&sub);
    sub.Add(&leaf);
    top.Add(&other);
    leaf.SetShortCut(ShortCut(VK_DELETE, 0));
    std::vector<String> clicks;
    top.OnClick = [&](TComponent*) { clicks.push_back(L"top"); };
    sub.OnClick = [&](TComponent*) {
        clicks.push_back(L"sub");
        leaf.SetEnabled(false);  // an enabling rule run by the parent decides the item's fate
    };
    leaf.OnClick = [&](TComponent*) { clicks.push_back(L"leaf"); };

    EXPECT_TRUE(menu.IsShortCut(VK_DELETE, 0));
    EXPECT_EQ(clicks, (std::vector<String>{L"top", L"sub"}));  // consumed, but the disabled item did not run

    sub.OnClick = [&](TComponent*) { clicks.push_back(L"sub"); };
    leaf.SetEnabled(true);
    clicks.clear();
    EXPECT_TRUE(menu.IsShortCut(VK_DELETE, 0));
    EXPECT_EQ(clicks, (std::vector<String>{L"top", L"sub", L"leaf"}));

    clicks.clear();
    EXPECT_FALSE(menu.IsShortCut(VK_DELETE, ssCtrl));  // other shift state: no match
    EXPECT_TRUE(clicks.empty());
    sub.Remove(&leaf);
    top.Remove(&sub);
    top.Remove(&other);
    menu.Items()->Remove(&top);
}

TEST(MainWindow, ExitAsksEveryDocumentAndOneVetoKeepsTheProgramRunning) {
    TForm1* form = StartProgram();
    form->Neu1->Click();
    Pump();
    auto docs = OpenDocuments();
    ASSERT_EQ(docs.size(), 2u);
    int asked = 0;
    docs[0]->OnCloseQuery = [&](TComponent*, bool&) { ++asked; };
    docs[1]->OnCloseQuery = [&](TComponent*, bool& canClose) { ++asked; canClose = false; };
    form->Beenden1->Click();
    Pump();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(Application()->Terminated());
    EXPECT_TRUE(::IsWindow(form->Handle()));
    EXPECT_EQ(OpenDocuments().size(), 2u);

    // Escape reaches the frame through key preview and asks the same way.
    asked = 0;
    ::PostMessageW(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    Pump();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(Application()->Terminated());
    docs[0]->OnCloseQuery = nullptr;
    docs[1]->OnCloseQuery = nullptr;
    CloseExtraDocuments();
}

TEST(MainWindow, OwnMenuBarShowsOnlyWhileNoDocumentIsOpen) {
    TForm1* form = StartProgram();
    TmnSkinMainMenuBar* bar = form->mnSkinMainMenuBar1;
    ASSERT_NE(bar, nullptr);
    ASSERT_FALSE(OpenDocuments().empty());
    EXPECT_FALSE(bar->Visible());
    // Hidden, it takes no keys: Alt+D is no accelerator and Alt starts no menu mode.
    EXPECT_FALSE(bar->HandleAccelerator(L'd'));
    bar->EnterMenuMode();
    EXPECT_FALSE(form->mnMantle1->InMainMenu());

    for (TForm* doc : OpenDocuments()) doc->Close();
    Pump();
    ASSERT_TRUE(OpenDocuments().empty());
    EXPECT_TRUE(bar->Visible());
    EXPECT_TRUE(::IsWindowVisible(bar->Handle()));
    ASSERT_EQ(bar->ItemCount(), 1);
    EXPECT_EQ(bar->Item(0)->MenuItem, form->Datei1);
    // The bar sits above the documents' area.
    RECT barRect, clientRect;
    ::GetWindowRect(bar->Handle(), &barRect);
    ::GetWindowRect(form->ClientHandle(), &clientRect);
    EXPECT_EQ(clientRect.top, barRect.bottom);
    // New and open are reachable: Alt+D opens "Datei" in the skinned menu, Strg+N makes a note.
    EXPECT_TRUE(form->IsShortCut('D', ssAlt));
    Pump();
    EXPECT_TRUE(form->mnMantle1->SkinMenu().Visible);
    // Letting go of Alt afterwards (the platform's menu key) leaves the menu open; Alt pressed
    // and let go once more closes it.
    ::SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    Pump();
    EXPECT_TRUE(form->mnMantle1->SkinMenu().Visible);
    EXPECT_TRUE(form->mnMantle1->InMainMenu());
    ::SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    Pump();
    EXPECT_FALSE(form->mnMantle1->SkinMenu().Visible);
    EXPECT_FALSE(form->mnMantle1->InMainMenu());
    EXPECT_TRUE(form->IsShortCut('N', ssCtrl));
    Pump();
    EXPECT_EQ(OpenDocuments().size(), 1u);
    EXPECT_FALSE(bar->Visible());
    ::GetWindowRect(form->ClientHandle(), &clientRect);
    EXPECT_LT(clientRect.top, barRect.bottom);
}

TEST(MainWindow, AMaximisedNoteFillsTheFrameWithoutARepeatedMenu) {
    TForm1* form = StartProgram();
    auto docs = OpenDocuments();
    ASSERT_FALSE(docs.empty());
    auto* doc = static_cast<TForm2*>(docs.back());
    // The document window has no maximise button: the state is set in code.
    const TmnBorderIcons icons = doc->mnMantle1->BorderIcons();
    doc->mnMantle1->SetBorderIcons(icons | BorderIconBit(biMaximize));
    doc->mnMantle1->RunWindowAction(TmnWindowAction::Maximize);
    Pump();
    EXPECT_EQ(form->mnMantle1->MaximizedChild(), doc);
    EXPECT_EQ(form->mnMantle1->MaximizedChildCaption(), L"Ohne Namen");
    // The frame's own bar stays hidden: the note's menu is on the note's own bar, once.
    EXPECT_FALSE(form->mnSkinMainMenuBar1->Visible());
    EXPECT_TRUE(::IsWindowVisible(doc->mnSkinMainMenuBar1->Handle()));
    RECT client, note;
    ::GetClientRect(form->ClientHandle(), &client);
    ::GetWindowRect(doc->Handle(), &note);
    ::MapWindowPoints(nullptr, form->ClientHandle(), reinterpret_cast<POINT*>(&note), 2);
    EXPECT_LE(note.left, 0);
    EXPECT_GE(note.right, client.right);
    EXPECT_GE(note.bottom, client.bottom);
    doc->mnMantle1->RunWindowAction(TmnWindowAction::Restore);
    doc->mnMantle1->SetBorderIcons(icons);
    Pump();
    EXPECT_EQ(form->mnMantle1->MaximizedChild(), nullptr);
}

namespace {

// The captions of the open notes, in creation order.
std::vector<String> NoteCaptions() {
    std::vector<String> captions;
    for (TForm* doc : OpenDocuments()) captions.push_back(WindowText(doc->Handle()));
    return captions;
}

// A drop of the given files as the shell posts it (the receiver frees it).
HDROP DropOf(const std::vector<String>& files) {
    String names;
    for (const String& f : files) names += f + L'\0';
    names += L'\0';
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    ::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

}  // namespace

TEST(MainWindow, NamedDroppedAndHandedOverFilesEachOpenInTheirOwnNote) {
    TForm1* form = StartProgram();
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const String greetings = String(temp) + L"Grüße.txt", spaced = String(temp) + L"mit Leerzeichen.txt";
    const String missing = String(temp) + L"fehlt_fn.txt";
    for (const String& path : {greetings, spaced}) {
        TFileStream f(path, FileMode::Create);
        f.WriteBuffer("Hallo", 5);
        f.Close();
    }
    const std::vector<String> before = NoteCaptions();
    auto added = [&] {
        const std::vector<String> now = NoteCaptions();
        return std::vector<String>(now.begin() + std::min(before.size(), now.size()), now.end());
    };
    {
        // One file that cannot be read shows the usual error; the files after it still open.
        ScriptedDialogs dialogs;
        dialogs.answers = {mrOk};
        form->OpenFiles({greetings, missing, spaced});
        Pump();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].rfind(L"Datei " + missing + L" kann nicht geöffnet werden.", 0), 0u)
            << WideToUtf8(dialogs.messages[0]);
        EXPECT_EQ(added(), (std::vector<String>{L"Grüße.txt", L"Ohne Namen", L"mit Leerzeichen.txt"}));
    }
    CloseExtraDocuments();
    // Dropped onto the frame, then onto a note: each file in a note of its own.
    ::PostMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({spaced, greetings})), 0);
    Pump();
    EXPECT_EQ(added(), (std::vector<String>{L"mit Leerzeichen.txt", L"Grüße.txt"}));
    // The same files dropped onto a note are open already: their notes come forward, none is added.
    ::PostMessageW(OpenDocuments()[0]->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({greetings, spaced})), 0);
    Pump();
    EXPECT_EQ(added(), (std::vector<String>{L"mit Leerzeichen.txt", L"Grüße.txt"}));
    CloseExtraDocuments();
    // A later start hands over its files, or without files asks for a new note.
    EXPECT_TRUE(HandOverToRunningProgram({spaced}));
    EXPECT_TRUE(HandOverToRunningProgram({}));
    Pump();
    EXPECT_EQ(added(), (std::vector<String>{L"mit Leerzeichen.txt", L"Ohne Namen"}));
    CloseExtraDocuments();
    RemoveFile(greetings);
    RemoveFile(spaced);
}

TEST(MainWindow, FrameAndNotesCarryTheProgramsIconForTaskBarAndAltTab) {
    TForm1* form = StartProgram();
    HMODULE self = ::GetModuleHandleW(nullptr);
    auto icon = [&](int cx, int cy) {
        return reinterpret_cast<LONG_PTR>(::LoadImageW(self, MAKEINTRESOURCEW(1), IMAGE_ICON, ::GetSystemMetrics(cx),
                                                       ::GetSystemMetrics(cy), LR_SHARED));
    };
    ASSERT_NE(icon(SM_CXICON, SM_CYICON), 0);
    for (HWND window : {form->Handle(), OpenDocuments().at(0)->Handle()}) {
        EXPECT_EQ(::GetClassLongPtrW(window, GCLP_HICON), icon(SM_CXICON, SM_CYICON));
        EXPECT_EQ(::GetClassLongPtrW(window, GCLP_HICONSM), icon(SM_CXSMICON, SM_CYSMICON));
    }
}

// Runs last: it ends the program.
TEST(MainWindow, ZEscapeWithoutVetoEndsTheProgramAfterAskingTheDocuments) {
    TForm1* form = StartProgram();
    int asked = 0;
    for (TForm* doc : OpenDocuments()) doc->OnCloseQuery = [&](TComponent*, bool&) { ++asked; };
    ::PostMessageW(form->ClientHandle(), WM_KEYDOWN, VK_ESCAPE, 1);
    Pump();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(Application()->Terminated());
}
