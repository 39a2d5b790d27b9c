// The mantle's menus that reach beyond its own window, on real windows under Wine: the frame's
// window list of document windows, the menus and activation of documents in a frame that is not
// the program's main form, and the tray icon's menu with minimising to and restoring from the
// notification area.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/win/application.h"
#include "platform/win/dialogs.h"
#include "platform/win/forms.h"
#include "skin/data/skin_data.h"
#include "skin/form/mantle_win.h"
#include "skin/form/skin_objects.h"
#include "skin/menus/skin_menu_win.h"
#include "skin/menus/skin_popup_menu_win.h"
#include "skin/tray/tray_icon_win.h"

namespace fn {
namespace {

void Pump() {
    MSG msg;
    for (int i = 0; i < 2000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) Application()->DispatchOne(msg);
}

void RegisterOnce() {
    static const bool done = [] {
        Application()->Initialize();
        TmnMantle::Register();
        return true;
    }();
    (void)done;
}

// An MDI frame (not the main form) with a "Fenster" menu as its window menu.
constexpr const wchar_t* kFrame = LR"(object Frame: TForm
  Width = 600
  Height = 420
  Caption = 'Rahmen'
  FormStyle = fsMDIForm
  WindowMenu = Fenster1
  object MainMenu1: TMainMenu
    object Fenster1: TMenuItem
      Caption = '&Fenster'
      object Nebeneinander1: TMenuItem
        Caption = '&Nebeneinander'
      end
    end
  end
  object mnMantle1: TmnMantle
    BorderIcons = [biSystemMenu, biMinimize, biMaximize, biRollUp]
  end
end
)";

struct MdiFrame {
    std::unique_ptr<TForm> frame;
    TmnMantle* mantle = nullptr;
    TMenuItem* list = nullptr;

    MdiFrame() {
        RegisterOnce();
        frame = std::make_unique<TForm>(nullptr);
        frame->LoadFromText(kFrame);
        mantle = TmnMantle::Of(frame.get());
        list = frame->WindowMenu();
        frame->Show();
        Pump();
    }
    TForm* NewChild(const wchar_t* name, const wchar_t* caption) {
        auto* child = new TForm(frame.get());
        child->LoadFromText(L"object Doc: TForm\n  FormStyle = fsMDIChild\n  Width = 240\n  Height = 160\nend\n");
        child->SetName(name);
        child->SetCaption(caption);
        new TmnMantle(child);
        child->Show();
        Pump();
        return child;
    }
    TMenuItem* Item(const wchar_t* name) const {
        for (int i = 0; list && i < list->Count(); ++i)
            if (list->Items(i)->Name() == name) return list->Items(i);
        return nullptr;
    }
    int ChildItems() const {
        int n = 0;
        for (int i = 0; list && i < list->Count(); ++i) n += list->Items(i)->Name().find(L"_MTLCHILDITEM") != String::npos;
        return n;
    }
};

TEST(WindowList, FollowsTheDocumentsOfTheFrameThatHoldsThem) {
    MdiFrame f;
    ASSERT_NE(f.list, nullptr);
    ASSERT_NE(Application()->MainForm(), f.frame.get());
    TForm* a = f.NewChild(L"DocA", L"Einkaufsliste");
    TForm* b = f.NewChild(L"DocB", L"Ideen");
    // One item per shown document after the frame's own items, named and captioned after it.
    ASSERT_EQ(f.list->Count(), 3);
    ASSERT_NE(f.Item(L"DocA_MTLCHILDITEM"), nullptr);
    EXPECT_EQ(f.Item(L"DocA_MTLCHILDITEM")->Caption(), L"Einkaufsliste");
    EXPECT_EQ(f.list->Items(0)->Name(), L"Nebeneinander1");

    // A new caption reaches the item; the active document's item alone is checked.
    a->SetCaption(L"Einkaufsliste (geändert)");
    EXPECT_EQ(f.Item(L"DocA_MTLCHILDITEM")->Caption(), L"Einkaufsliste (geändert)");
    ::SendMessageW(f.frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->Handle()), 0);
    Pump();
    EXPECT_TRUE(f.Item(L"DocA_MTLCHILDITEM")->Checked());
    EXPECT_FALSE(f.Item(L"DocB_MTLCHILDITEM")->Checked());
    ::SendMessageW(f.frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(b->Handle()), 0);
    Pump();
    EXPECT_FALSE(f.Item(L"DocA_MTLCHILDITEM")->Checked());
    EXPECT_TRUE(f.Item(L"DocB_MTLCHILDITEM")->Checked());

    // Clicking the item of a minimised document restores it and brings it to the front.
    TmnMantle* am = TmnMantle::Of(a);
    am->RunWindowAction(TmnWindowAction::Minimize);
    ASSERT_EQ(am->SkinWindowState(), swsMinimized);
    f.Item(L"DocA_MTLCHILDITEM")->Click();
    Pump();
    EXPECT_EQ(am->SkinWindowState(), swsNormal);
    EXPECT_EQ(f.frame->ActiveMDIChild(), a);
    EXPECT_TRUE(f.Item(L"DocA_MTLCHILDITEM")->Checked());

    // Hiding takes the item away, showing brings it back once.
    b->Hide();
    Pump();
    EXPECT_EQ(f.Item(L"DocB_MTLCHILDITEM"), nullptr);
    b->Show();
    Pump();
    EXPECT_EQ(f.ChildItems(), 2);

    // Destroying removes the item; destroying a hidden one (its item already gone) changes
    // nothing more.
    delete b;
    Pump();
    EXPECT_EQ(f.Item(L"DocB_MTLCHILDITEM"), nullptr);
    EXPECT_EQ(f.ChildItems(), 1);
    a->Hide();
    Pump();
    EXPECT_EQ(f.ChildItems(), 0);
    delete a;
    Pump();
    EXPECT_EQ(f.list->Count(), 1);  // the frame's own item stays
}

TEST(WindowList, TheLastDocumentLeavingTakesAStaleItemAlong) {
    MdiFrame f;
    TForm* a = f.NewChild(L"DocA", L"Einzig");
    // An item left behind by a window that went without a word.
    auto* stale = new TMenuItem(f.frame.get());
    stale->SetName(L"Gone_MTLCHILDITEM");
    f.list->Add(stale);
    auto* later = new TMenuItem(f.frame.get());
    later->SetName(L"Other_MTLCHILDITEM");
    f.list->Add(later);
    a->Hide();
    Pump();
    // Only the first remaining one goes; the frame's own items stay.
    EXPECT_EQ(f.Item(L"DocA_MTLCHILDITEM"), nullptr);
    EXPECT_EQ(f.Item(L"Gone_MTLCHILDITEM"), nullptr);
    EXPECT_NE(f.Item(L"Other_MTLCHILDITEM"), nullptr);
    EXPECT_NE(f.Item(L"Nebeneinander1"), nullptr);
}

TEST(WindowList, ADocumentHiddenWhileTheListIsOpenClosesTheMenuFirst) {
    MdiFrame f;
    TForm* a = f.NewChild(L"DocA", L"Eins");
    f.NewChild(L"DocB", L"Zwei");
    TmnSkinMenu& chain = f.mantle->SkinMenu();
    chain.Popup(f.frame->Handle(), nullptr, false, f.list, RECT{100, 100, 101, 101}, 0);
    Pump();
    ASSERT_TRUE(chain.Visible);
    ASSERT_FALSE(chain.PopupList.empty());
    ASSERT_EQ(chain.PopupList[0]->Items.size(), 3u);
    a->Hide();
    Pump();
    // The popup that showed the item is gone with it; nothing points at the freed item.
    EXPECT_FALSE(chain.Visible);
    EXPECT_EQ(f.Item(L"DocA_MTLCHILDITEM"), nullptr);
    chain.Popup(f.frame->Handle(), nullptr, false, f.list, RECT{100, 100, 101, 101}, 0);
    Pump();
    ASSERT_FALSE(chain.PopupList.empty());
    EXPECT_EQ(chain.PopupList[0]->Items.size(), 2u);
    chain.CloseAll();
    Pump();
}

TEST(WindowList, FrameWithoutWindowMenuAndUnnamedDocumentsListNothing) {
    RegisterOnce();
    TForm frame(nullptr);
    frame.LoadFromText(L"object Plain: TForm\n  Width = 400\n  Height = 300\n  FormStyle = fsMDIForm\nend\n");
    new TmnMantle(&frame);
    frame.Show();
    auto* child = new TForm(&frame);
    child->LoadFromText(L"object Doc: TForm\n  FormStyle = fsMDIChild\nend\n");
    new TmnMantle(child);
    child->Show();
    child->SetCaption(L"Neu");
    child->Hide();
    Pump();
    EXPECT_EQ(frame.WindowMenu(), nullptr);

    MdiFrame f;
    TForm* unnamed = f.NewChild(L"", L"Ohne Namen");
    EXPECT_EQ(f.ChildItems(), 0);
    unnamed->Hide();
    Pump();
    EXPECT_EQ(f.list->Count(), 1);
}

// A frame's window menu that goes away is forgotten, not used after it was freed.
TEST(WindowList, FreedWindowMenuIsForgotten) {
    MdiFrame f;
    TForm* a = f.NewChild(L"DocA", L"Erste");
    delete f.list;
    f.list = nullptr;
    EXPECT_EQ(f.frame->WindowMenu(), nullptr);
    a->SetCaption(L"Zweite");
    a->Hide();
    Pump();
}

// Documents in a frame that is not the main form: their popup menus open through that frame's
// chain, and a click that activates the active document marks it active.
TEST(FrameOfADocument, IsTheFormHoldingItsClientNotTheMainForm) {
    MdiFrame f;
    TForm* a = f.NewChild(L"DocA", L"Erste");
    auto* popup = new TmnSkinPopupMenu(a);
    EXPECT_EQ(popup->FindMenuOwner(), static_cast<TmnMenuOwner*>(f.mantle));

    TmnMantle* am = TmnMantle::Of(a);
    ASSERT_EQ(f.frame->ActiveMDIChild(), a);
    ::SendMessageW(a->Handle(), WM_NCACTIVATE, FALSE, 0);
    ASSERT_FALSE(am->FormActive());
    ::SendMessageW(a->Handle(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(f.frame->Handle()), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_TRUE(am->FormActive());
}

// The platform menu the mantle takes off its form keeps its shortcuts, until it is freed.
TEST(TakenMenu, KeepsItsShortcutsAndIsForgottenWhenFreed) {
    RegisterOnce();
    TForm form(nullptr);
    form.LoadFromText(LR"(object WithMenu: TForm
  Width = 300
  Height = 200
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object Datei1: TMenuItem
      Caption = '&Datei'
      object Neu1: TMenuItem
        Caption = '&Neu'
        ShortCut = 16462
      end
    end
  end
  object mnMantle1: TmnMantle
  end
end
)");
    TmnMantle* mantle = TmnMantle::Of(&form);
    int clicks = 0;
    dynamic_cast<TMenuItem*>(form.FindComponent(L"Neu1"))->OnClick = [&](TComponent*) { ++clicks; };
    form.Show();
    Pump();
    EXPECT_EQ(form.Menu(), nullptr);
    EXPECT_EQ(mantle->TakenMenu(), form.FindComponent(L"MainMenu1"));
    EXPECT_TRUE(mantle->FormShortCut('N', ssCtrl));
    EXPECT_EQ(clicks, 1);
    delete form.FindComponent(L"MainMenu1");
    EXPECT_EQ(mantle->TakenMenu(), nullptr);
    EXPECT_FALSE(mantle->FormShortCut('N', ssCtrl));
    EXPECT_EQ(clicks, 1);
}

// ---- the tray ----

class ShellRecorder : public TmnShellNotify {
public:
    ShellRecorder() { previous_ = SetShellNotifySeam(this); }
    ~ShellRecorder() override { SetShellNotifySeam(previous_); }
    BOOL Notify(DWORD message, NOTIFYICONDATAW&) override {
        messages.push_back(message);
        return TRUE;
    }
    int Count(DWORD message) const {
        int n = 0;
        for (DWORD m : messages) n += m == message;
        return n;
    }
    std::vector<DWORD> messages;

private:
    TmnShellNotify* previous_ = nullptr;
};

class SilentDialogs : public TDialogService {
public:
    void ShowMessage(const String& text) override { messages.push_back(text); }
    std::vector<String> messages;
};

struct TrayForm {
    ShellRecorder shell;
    SilentDialogs dialogs;
    std::unique_ptr<TForm> form;
    TmnMantle* mantle = nullptr;
    TmnTrayIcon* tray = nullptr;

    TrayForm() {
        RegisterOnce();
        SetDialogService(&dialogs);
        form = std::make_unique<TForm>(nullptr);
        form->LoadFromText(L"object TrayForm: TForm\n  Left = 60\n  Top = 50\n  Width = 380\n  Height = 260\n"
                           L"  Caption = 'Tray'\nend\n");
        mantle = new TmnMantle(form.get());
        mantle->SetBorderIcons(BorderIconBit(biSystemMenu) | BorderIconBit(biMinimize) | BorderIconBit(biMaximize) |
                               BorderIconBit(biMinimizeToTray));
        tray = new TmnTrayIcon(form.get());
        form->Show();
        Pump();
    }
    ~TrayForm() { SetDialogService(nullptr); }
    RECT Bounds() const {
        RECT r;
        ::GetWindowRect(form->Handle(), &r);
        return r;
    }
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

constexpr int LeftButton = 0;  // the skin objects' number of the left mouse button

TEST(SkinObjectMenus, AButtonsItemOfASkinnedPopupMenuOpensThatComponent) {
    MdiFrame f;
    auto* popup = new TmnSkinPopupMenu(f.frame.get());
    auto* skin = new TmnSkinData(f.frame.get());
    popup->SetSkinData(skin);
    auto* eins = new TMenuItem(popup);
    eins->SetCaption(L"&Eins");
    popup->Items()->Add(eins);
    int popups = 0;
    popup->OnPopup = [&](TComponent*) { ++popups; };
    TmnSkinButtonObject button(*f.mantle, nullptr);
    button.ObjectRect = {10, 10, 30, 30};
    button.MenuItem = popup->Items();
    button.MouseDown(15, 15, LeftButton);
    TmnSkinMenu& chain = f.mantle->SkinMenu();
    ASSERT_TRUE(chain.Visible);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(chain.SkinData, skin);  // the component's skin, not the mantle's
    EXPECT_EQ(chain.PopupCtrl, f.frame->Handle());
    ASSERT_EQ(chain.PopupList[0]->Items.size(), 1u);
    EXPECT_EQ(chain.PopupList[0]->Items[0]->MenuItem, eins);
    chain.CloseAll();
    Pump();
    // A plain menu's item opens through the mantle's own chain, without that component's event.
    TPopupMenu plain(nullptr);
    plain.Items()->Add(new TMenuItem(&plain));
    TmnSkinButtonObject other(*f.mantle, nullptr);
    other.ObjectRect = {40, 10, 60, 30};
    other.MenuItem = plain.Items();
    other.MouseDown(45, 15, LeftButton);
    EXPECT_TRUE(chain.Visible);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(chain.SkinData, f.mantle->MenusSkinData());
    chain.CloseAll();
    Pump();
}

TEST(SkinObjectMenus, ASystemMenuRebuiltWhileItShowsIsNeverPaintedFromItsFreedItems) {
    MdiFrame f;
    RECT wr;
    ::GetWindowRect(f.frame->Handle(), &wr);
    f.mantle->ShowSystemMenu({wr.left + 5, wr.top + 5, wr.left + 20, wr.top + 20});
    Pump();
    TmnSkinMenu& chain = f.mantle->SkinMenu();
    ASSERT_TRUE(chain.Visible);
    ASSERT_FALSE(chain.PopupList.empty());
    std::vector<TMenuItem*> shown;
    for (const auto& item : chain.PopupList[0]->Items) shown.push_back(item->MenuItem);
    f.mantle->SystemMenuItem();  // rebuilds the standard items: the shown ones are freed
    for (const auto& item : chain.PopupList[0]->Items)
        for (TMenuItem* old : shown) EXPECT_NE(item->MenuItem, old);
    Pump();
    EXPECT_FALSE(chain.Visible);
}

TEST(Tray, IconGetsTheMantlesMenuOfRestoreLineAndClose) {
    TrayForm t;
    t.tray->SetIconVisible(true);
    t.mantle->SetTrayIcon(t.tray);
    EXPECT_FALSE(t.tray->IconVisible());
    EXPECT_FALSE(t.tray->MinimizeToTray);
    ASSERT_EQ(t.tray->PopupMenu(), &t.mantle->TrayPopupMenu());
    TMenuItem* root = t.tray->PopupMenu()->Items();
    ASSERT_EQ(root->Count(), 3);
    EXPECT_EQ(root->Items(0)->Name(), L"TRAY_MTL_RESTORE");
    EXPECT_EQ(root->Items(0)->Caption(), L"&Wiederherstellen");
    EXPECT_TRUE(root->Items(1)->IsLine());
    EXPECT_EQ(root->Items(2)->Name(), L"TRAY_MTL_CLOSE");
    EXPECT_EQ(root->Items(2)->Caption(), L"&Schließen");
    EXPECT_EQ(root->Items(2)->ShortCut(), ShortCut(VK_F4, ssAlt));
    // A tray icon with a menu of its own keeps it.
    auto* other = new TmnTrayIcon(t.form.get());
    auto* own = new TmnSkinPopupMenu(t.form.get());
    other->SetPopupMenu(own);
    t.mantle->SetTrayIcon(other);
    EXPECT_EQ(other->PopupMenu(), own);
    // The first icon no longer points at the mantle's menu or its restore.
    EXPECT_EQ(t.tray->PopupMenu(), nullptr);
    EXPECT_FALSE(t.tray->OnDblClick);
}

TEST(Tray, RestoreBringsTheWindowBackInTheStateItHad) {
    TrayForm t;
    t.mantle->SetTrayIcon(t.tray);
    int minimized = 0, restored = 0;
    t.mantle->OnMinimizeToTray = [&](TComponent*) { ++minimized; };
    t.mantle->OnRestoreFromTray = [&](TComponent*) { ++restored; };
    t.mantle->RunWindowAction(TmnWindowAction::Maximize);
    const RECT maximized = t.Bounds();

    // Through the caption button's command: hidden behind the icon.
    t.mantle->PostWindowAction(TmnWindowAction::MinimizeToTray);
    Pump();
    EXPECT_FALSE(::IsWindowVisible(t.form->Handle()));
    EXPECT_TRUE(t.tray->IconVisible());
    EXPECT_EQ(minimized, 1);

    // The menu's restore: visible again, still maximised over the same rectangle, icon gone.
    t.tray->PopupMenu()->Items()->Items(0)->Click();
    Pump();
    EXPECT_TRUE(::IsWindowVisible(t.form->Handle()));
    EXPECT_EQ(t.mantle->SkinWindowState(), swsMaximized);
    EXPECT_TRUE(SameRect(t.Bounds(), maximized));
    EXPECT_FALSE(t.tray->IconVisible());
    EXPECT_FALSE(t.tray->MinimizeToTray);
    EXPECT_EQ(restored, 1);

    // The icon's double click restores as well; with AlwaysShowInTray the icon stays.
    t.mantle->AlwaysShowInTray = true;
    t.mantle->RunWindowAction(TmnWindowAction::MinimizeToTray);
    ASSERT_FALSE(::IsWindowVisible(t.form->Handle()));
    ::SendMessageW(t.tray->Handle(), TrayCallbackMessage, TrayIconId, WM_LBUTTONDBLCLK);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(t.form->Handle()));
    EXPECT_TRUE(t.tray->IconVisible());
    EXPECT_EQ(restored, 2);
    EXPECT_TRUE(t.dialogs.messages.empty());
}

TEST(Tray, WithoutATrayIconTheCommandsDoNothing) {
    TrayForm t;
    int events = 0;
    t.mantle->OnMinimizeToTray = [&](TComponent*) { ++events; };
    t.mantle->OnRestoreFromTray = [&](TComponent*) { ++events; };
    const RECT before = t.Bounds();
    t.mantle->RunWindowAction(TmnWindowAction::MinimizeToTray);
    t.mantle->RunWindowAction(TmnWindowAction::RestoreFromTray);
    t.mantle->TrayPopupMenu().Items()->Items(0)->Click();
    Pump();
    EXPECT_TRUE(::IsWindowVisible(t.form->Handle()));
    EXPECT_TRUE(SameRect(t.Bounds(), before));
    EXPECT_EQ(events, 0);
    EXPECT_EQ(t.shell.Count(NIM_ADD), 0);
}

// The tray icon outlives the mantle: it keeps no menu or handler of the freed component.
TEST(Tray, MantleFreedBeforeItsTrayIconLeavesNothingBehind) {
    TrayForm t;
    t.mantle->SetTrayIcon(t.tray);
    delete t.mantle;
    t.mantle = nullptr;
    EXPECT_EQ(t.tray->PopupMenu(), nullptr);
    EXPECT_FALSE(t.tray->OnDblClick);
    ::SendMessageW(t.tray->Handle(), TrayCallbackMessage, TrayIconId, WM_LBUTTONDBLCLK);
    ::SendMessageW(t.tray->Handle(), TrayCallbackMessage, TrayIconId, WM_RBUTTONDOWN);
    Pump();
}

}  // namespace
}  // namespace fn
