// References between a window's skin components under Wine: a bar or manager freed alone leaves
// nothing dangling, also after the other side or another slot let go of it; and the message
// filters of two mantles in menu mode, ended in any order.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/win/application.h"
#include "skin/form/main_menu_bar_win.h"
#include "skin/form/mantle_win.h"
#include "skin/form/mdi_tabs_bar_win.h"

namespace fn {
namespace {

void Pump() {
    MSG msg;
    for (int i = 0; i < 2000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) Application()->DispatchOne(msg);
}

// A mantle and a bar referring to each other; the bar belongs to another owner (as a shared
// module's components do), so the two hear of each other only through their own links.
struct BarForm {
    TForm form{nullptr};
    TmnMantle* mantle = nullptr;
    TComponent module{nullptr};
    TmnSkinMainMenuBar* bar = new TmnSkinMainMenuBar(&module);

    BarForm() {
        Application()->Initialize();
        form.LoadFromText(L"object F: TForm\n  Width = 400\n  Height = 300\nend\n");
        mantle = new TmnMantle(&form);
        bar->SetParent(&form);
        bar->SetMantle(mantle);
        mantle->SetMainMenuBar(bar);
        form.Show();
        Pump();
    }
    // Paints the window, runs the menu mode by keys and closes the window.
    void UseAndClose() {
        ::RedrawWindow(form.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        mantle->MainMenuEnter();
        mantle->MenuKeyDown(VK_RIGHT, 0);
        mantle->MainMenuExit();
        form.Close();
        Pump();
    }
};

TEST(References, BarsFreedAloneLeaveTheMantleWhole) {
    BarForm f;
    auto* tabs = new TmnSkinMDITabsBar(&f.module);
    f.mantle->SetMDITabsBar(tabs);
    delete tabs;
    delete f.bar;
    EXPECT_EQ(f.mantle->MDITabsBar(), nullptr);
    EXPECT_EQ(f.mantle->MainMenuBar(), nullptr);
    f.UseAndClose();
}

TEST(References, OneReferenceLetGoLeavesTheOthersToTheSameComponent) {
    {
        BarForm f;
        f.bar->SetMantle(nullptr);  // the mantle still points at the bar
        delete f.bar;
        EXPECT_EQ(f.mantle->MainMenuBar(), nullptr);
        f.UseAndClose();
    }
    {
        BarForm f;
        f.mantle->SetMainMenuBar(nullptr);  // the bar still points at the mantle
        delete f.mantle;
        EXPECT_EQ(f.bar->Mantle(), nullptr);
        ::RedrawWindow(f.bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    BarForm f;
    auto* shared = new TmnSkinData(&f.module);
    f.mantle->SetSkinData(shared);
    f.mantle->SetMenusSkinData(shared);
    f.mantle->SetMenusSkinData(nullptr);  // SkinData still holds it
    delete shared;
    EXPECT_EQ(f.mantle->SkinData(), nullptr);
    f.UseAndClose();
}

// Each mantle filters the application's messages while its menu mode runs, whatever order the
// modes end in; the program's own handler comes after the filters.
TEST(References, MessageFiltersOfTwoMantlesEndInAnyOrder) {
    auto a = std::make_unique<BarForm>();
    BarForm b;
    std::vector<UINT> reached;
    Application()->OnMessage = [&](MSG& msg, bool&) { reached.push_back(msg.message); };
    auto send = [&](UINT message, WPARAM wParam) {
        MSG msg{};
        msg.hwnd = b.form.Handle();
        msg.message = message;
        msg.wParam = wParam;
        Application()->DispatchOne(msg);
    };
    a->mantle->MainMenuEnter();
    b.mantle->MainMenuEnter();
    a->mantle->MainMenuExit();
    send(WM_MOUSEWHEEL, 0);  // b's menu mode still swallows the wheel
    EXPECT_TRUE(reached.empty());
    send(WM_KEYDOWN, VK_ESCAPE);  // b's filter ends the mode, and removes itself, while it runs
    EXPECT_FALSE(b.mantle->InMainMenu());
    a.reset();  // nothing may call into the freed window's mantle
    send(WM_MOUSEWHEEL, 0);
    EXPECT_EQ(reached, std::vector<UINT>{WM_MOUSEWHEEL});
    EXPECT_EQ(Application()->MessageFilters().Count(), 0);
    Application()->OnMessage = nullptr;
}

}  // namespace
}  // namespace fn
