// The tray icon under Wine, which has no notification area: the shell calls are recorded
// through the seam; the icon's mouse notifications are sent to its window as the shell would.
#include <gtest/gtest.h>

#include <vector>

#include "../menus/menus_fixture.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"
#include "platform/win/forms.h"
#include "skin/menus/skin_popup_menu_win.h"
#include "skin/tray/tray_icon_win.h"

namespace fn {
namespace {

using test::FakeTimers;

struct Call {
    DWORD Message;
    NOTIFYICONDATAW Data;
};

class Recorder : public TmnShellNotify {
public:
    Recorder() { previous_ = SetShellNotifySeam(this); }
    ~Recorder() override { SetShellNotifySeam(previous_); }
    BOOL Notify(DWORD message, NOTIFYICONDATAW& data) override {
        calls.push_back({message, data});
        return message == NIM_ADD ? addResult : TRUE;
    }
    int Count(DWORD message) const {
        int n = 0;
        for (const Call& c : calls) n += c.Message == message;
        return n;
    }
    std::vector<Call> calls;
    BOOL addResult = TRUE;

private:
    TmnShellNotify* previous_ = nullptr;
};

class AnsweringDialogs : public TDialogService {
public:
    void ShowMessage(const String& text) override { messages.push_back(text); }
    std::vector<String> messages;
};

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override { SetDialogService(&dialogs); }
    void TearDown() override { SetDialogService(nullptr); }
    void Mouse(TmnTrayIcon& tray, UINT message) {
        ::SendMessageW(tray.Handle(), TrayCallbackMessage, TrayIconId, message);
    }
    FakeTimers timers;
    Recorder shell;
    AnsweringDialogs dialogs;
};

TEST_F(TrayTest, AddModifyDeleteWithTheWideLayout) {
    {
        TmnTrayIcon tray(nullptr);
        EXPECT_TRUE(tray.MinimizeToTray);
        tray.SetHint(String(200, L'x'));
        tray.SetIconVisible(true);
        ASSERT_EQ(shell.Count(NIM_ADD), 1);
        const NOTIFYICONDATAW& d = shell.calls.back().Data;
        EXPECT_EQ(d.cbSize, sizeof(NOTIFYICONDATAW));
        EXPECT_EQ(d.uID, 1u);
        EXPECT_EQ(d.uFlags, 7u);
        EXPECT_EQ(d.uCallbackMessage, 0x800u);
        EXPECT_EQ(d.hWnd, tray.Handle());
        EXPECT_NE(d.hIcon, nullptr);  // the application's icon
        EXPECT_EQ(String(d.szTip).size(), 127u);
        tray.SetShowHint(false);
        EXPECT_EQ(shell.calls.back().Message, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_EQ(shell.calls.back().Data.szTip[0], 0);
    }
    // No icon is left behind when the component goes.
    EXPECT_EQ(shell.calls.back().Message, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(TrayTest, TaskbarCreatedAddsAVisibleIconAgain) {
    TmnTrayIcon tray(nullptr);
    tray.SetIconVisible(true);
    ::SendMessageW(tray.Handle(), tray.TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(shell.Count(NIM_ADD), 2);
    tray.SetIconVisible(false);
    ::SendMessageW(tray.Handle(), tray.TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(shell.Count(NIM_ADD), 2);
    // A failed add keeps the icon wanted, so the next shell start adds it.
    shell.addResult = FALSE;
    tray.SetIconVisible(true);
    EXPECT_FALSE(tray.IconAdded());
    shell.addResult = TRUE;
    ::SendMessageW(tray.Handle(), tray.TaskbarCreatedMessage(), 0, 0);
    EXPECT_TRUE(tray.IconAdded());
}

TEST_F(TrayTest, SessionEndRemovesTheIcon) {
    TmnTrayIcon tray(nullptr);
    tray.SetIconVisible(true);
    ::SendMessageW(tray.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(shell.Count(NIM_DELETE), 1);
    EXPECT_EQ(::SendMessageW(tray.Handle(), WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_EQ(::SendMessageW(tray.Handle(), WM_CLOSE, 0, 0), 1);
    EXPECT_TRUE(::IsWindow(tray.Handle()));
}

TEST_F(TrayTest, MinimiseHidesOnlyWhenTheIconIsThere) {
    TForm form(nullptr);
    form.LoadFromText(L"object TrayHost: TForm\n  Caption = 'Host'\nend\n");
    form.Show();
    TmnTrayIcon* tray = new TmnTrayIcon(&form);
    shell.addResult = FALSE;
    tray->MinimizeToTrayNow();
    EXPECT_TRUE(::IsWindowVisible(form.Handle()));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    shell.addResult = TRUE;
    tray->MinimizeToTrayNow();
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    // The icon was added before the window was hidden.
    EXPECT_EQ(shell.calls.back().Message, static_cast<DWORD>(NIM_ADD));
    tray->RestoreMainForm();
    EXPECT_TRUE(::IsWindowVisible(form.Handle()));
    // Minimising the owner window goes to the tray after the minimise was handled.
    ::ShowWindow(form.Handle(), SW_MINIMIZE);
    ::SendMessageW(form.Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    test::Pump();
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
}

TEST_F(TrayTest, MinimizedOnStartKeepsTheProgramInTheTrayUntilRestored) {
    TForm form(nullptr);
    form.LoadFromText(L"object TrayStart: TForm\n  Caption = 'Start'\nend\n");
    TmnTrayIcon* tray = new TmnTrayIcon(&form);
    tray->MinimizedOnStart = true;
    tray->Loaded();
    EXPECT_TRUE(tray->IconAdded());
    EXPECT_FALSE(Application()->ShowMainForm());  // the message loop does not show it
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    tray->RestoreMainForm();
    EXPECT_TRUE(::IsWindowVisible(form.Handle()));
    Application()->SetShowMainForm(true);
}

TEST_F(TrayTest, IconIndexAndAnimation) {
    TmnTrayIcon tray(nullptr);
    std::vector<HICON> icons{::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)),
                             ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_WARNING)),
                             ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_INFORMATION))};
    tray.SetIconIndex(5);  // no list: 0
    EXPECT_EQ(tray.IconIndex(), 0);
    tray.SetIconList(icons);
    tray.SetIconIndex(10);
    EXPECT_EQ(tray.IconIndex(), 2);
    std::vector<int> cycled;
    tray.OnCycle = [&](TmnTrayIcon*, int next) { cycled.push_back(next); };
    tray.SetAnimateTimerInterval(0);  // bounded
    tray.SetCycleIcons(true);
    ASSERT_TRUE(tray.AnimateTimerActive());
    EXPECT_GE(timers.Interval(tray.Handle(), 1), 25u);
    std::vector<HICON> shown;
    for (int i = 0; i < 4; ++i) {
        timers.Fire(tray.Handle(), 1);
        shown.push_back(tray.Icon());
    }
    EXPECT_EQ(cycled, (std::vector<int>{1, 2, 0, 1}));
    // Each step replaces the handle it made before (the old one is destroyed, not reused).
    EXPECT_NE(shown[0], nullptr);
    ICONINFO info{};
    EXPECT_TRUE(::GetIconInfo(tray.Icon(), &info));
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    tray.SetCycleIcons(false);
    EXPECT_FALSE(tray.AnimateTimerActive());
    // An empty list: ticks do nothing.
    tray.SetIconList({});
    timers.Fire(tray.Handle(), 1);
    EXPECT_EQ(tray.IconIndex(), 0);
}

TEST_F(TrayTest, ClicksAndDoubleClicks) {
    TmnTrayIcon tray(nullptr);
    std::vector<String> events;
    tray.OnClick = [&](TComponent*) { events.push_back(L"click"); };
    tray.OnDblClick = [&](TComponent*) { events.push_back(L"dbl"); };
    tray.OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { events.push_back(L"down"); };
    tray.OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int, int) { events.push_back(L"up"); };
    Mouse(tray, WM_LBUTTONDOWN);
    Mouse(tray, WM_LBUTTONUP);
    EXPECT_EQ(events, (std::vector<String>{L"down", L"up"}));
    timers.Fire(tray.Handle(), 2);
    EXPECT_EQ(events.back(), L"click");
    events.clear();
    Mouse(tray, WM_LBUTTONDOWN);
    Mouse(tray, WM_LBUTTONUP);
    Mouse(tray, WM_LBUTTONDBLCLK);
    Mouse(tray, WM_LBUTTONUP);
    timers.Fire(tray.Handle(), 2);
    EXPECT_EQ(events, (std::vector<String>{L"down", L"up", L"dbl", L"up"}));
    // Disabled: nothing is reported.
    events.clear();
    tray.Enabled = false;
    Mouse(tray, WM_LBUTTONDOWN);
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayTest, RightButtonOpensTheSkinnedMenuAndDoubleClickRunsTheDefault) {
    test::TestOwner owner;
    TmnTrayIcon tray(nullptr);
    TmnSkinPopupMenu menu(nullptr);
    menu.SetMenuOwner(&owner);
    auto* restore = new TMenuItem(&menu);
    restore->SetCaption(L"&Wiederherstellen");
    restore->SetDefault(true);
    int restores = 0;
    restore->OnClick = [&](TComponent*) { ++restores; };
    menu.Items()->Add(restore);
    tray.SetPopupMenu(&menu);
    Mouse(tray, WM_RBUTTONDOWN);
    EXPECT_TRUE(owner.menu->Visible);
    EXPECT_EQ(owner.menu->PopupCtrl, tray.Handle());
    // The program losing the foreground closes the tray menu.
    ::SendMessageW(tray.Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(owner.menu->Visible);
    Mouse(tray, WM_LBUTTONDBLCLK);
    EXPECT_EQ(restores, 1);
}

TEST_F(TrayTest, ActivationGivesTheFocusBackToTheControlThatHadIt) {
    TForm form(nullptr);
    form.LoadFromText(L"object TrayHost: TForm\n  Caption = 'Host'\nend\n");
    auto* first = new TWinControl(&form);
    auto* second = new TWinControl(&form);
    first->SetParent(&form);
    second->SetParent(&form);
    first->SetBounds(0, 0, 20, 20);
    second->SetBounds(0, 30, 20, 20);
    form.Show();
    auto activate = [&](HWND deactivated) {
        ::SetFocus(nullptr);
        ::SendMessageW(form.Handle(), WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(deactivated));
    };
    second->SetFocus();
    ASSERT_EQ(Screen()->ActiveControl(), second);
    // Without a tray icon the form hands its focus to its first control.
    activate(nullptr);
    EXPECT_EQ(::GetFocus(), first->Handle());

    new TmnTrayIcon(&form);
    second->SetFocus();
    activate(nullptr);
    EXPECT_EQ(::GetFocus(), second->Handle());
    // Not when the window losing the activation is the control's own parent.
    second->SetFocus();
    activate(form.Handle());
    EXPECT_EQ(::GetFocus(), first->Handle());
    // A freed control is forgotten: the form's own choice stands.
    second->SetFocus();
    ::SetFocus(nullptr);
    delete second;
    EXPECT_EQ(Screen()->ActiveControl(), nullptr);
    activate(nullptr);
    EXPECT_EQ(::GetFocus(), first->Handle());
}

}  // namespace
}  // namespace fn
