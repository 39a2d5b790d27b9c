// References between the skin components of one window, on real windows under Wine: a bar or
// manager freed alone leaves nothing dangling in the mantle (or the mantle in its bar), also
// when one side of a mutual reference or one of two slots let go first; and the application's
// message filters of two mantles in menu mode, removed out of order.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "skin/data/stored_skin.h"
#include "skin/form/main_menu_bar_win.h"
#include "skin/form/mantle_win.h"
#include "skin/form/mdi_tabs_bar_win.h"

namespace fn {
namespace {

void Pump() {
    MSG msg;
    for (int i = 0; i < 2000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) Application()->DispatchOne(msg);
}

constexpr const wchar_t* kBarForm = LR"(object BarForm: TForm
  Left = 120
  Top = 90
  Width = 420
  Height = 300
  Caption = 'Verweise'
  object mnSkinMainMenuBar1: TmnSkinMainMenuBar
    Align = alTop
    SkinData = mnSkinData1
    Mantle = mnMantle1
    MainMenu = MainMenu1
  end
  object MainMenu1: TMainMenu
    object Datei1: TMenuItem
      Caption = '&Datei'
      object Neu1: TMenuItem
        Caption = '&Neu'
      end
    end
  end
  object mnMantle1: TmnMantle
    SkinData = mnSkinData1
    MenusSkinData = mnSkinData1
    MainMenuBar = mnSkinMainMenuBar1
  end
  object mnSkinData1: TmnSkinData
    CompressedStoredSkin = mnStoredSkin1
  end
  object mnStoredSkin1: TmnCompressedStoredSkin
    FileName = 'skin.ini'
    CompressedData = @FENNICK_SKIN
  end
end
)";

struct BarForm {
    std::unique_ptr<TForm> form;
    TmnMantle* mantle;
    TmnSkinMainMenuBar* bar;
    TmnSkinData* skin;

    BarForm() {
        static const bool registered = [] {
            Application()->Initialize();
            TmnSkinData::Register();
            TmnCompressedStoredSkin::Register();
            TmnMantle::Register();
            TmnSkinMainMenuBar::Register();
            return true;
        }();
        (void)registered;
        form = std::make_unique<TForm>(nullptr);
        form->LoadFromText(kBarForm);
        mantle = TmnMantle::Of(form.get());
        bar = form->Field<TmnSkinMainMenuBar>(L"mnSkinMainMenuBar1");
        skin = form->Field<TmnSkinData>(L"mnSkinData1");
        form->Show();
        Pump();
    }
    // Paints the whole window, runs the bar's menu mode by keys and closes the window.
    void UseAndClose() {
        ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        mantle->MainMenuEnter();
        mantle->MenuKeyDown(VK_RIGHT, 0);
        mantle->MenuKeyDown(VK_ESCAPE, 0);
        mantle->MainMenuExit();
        Pump();
        form->Close();
        Pump();
        form.reset();
    }
};

TEST(References, BarsFreedAloneLeaveTheMantleWhole) {
    BarForm f;
    ASSERT_EQ(f.mantle->MainMenuBar(), static_cast<TmnMenuBarPartner*>(f.bar));
    auto* tabs = new TmnSkinMDITabsBar(f.form.get());
    f.mantle->SetMDITabsBar(tabs);
    delete tabs;
    EXPECT_EQ(f.mantle->MDITabsBar(), nullptr);
    delete f.bar;
    EXPECT_EQ(f.mantle->MainMenuBar(), nullptr);
    f.UseAndClose();
}

// A bar and a manager that belong to another owner (as a shared module's would) hear of each
// other only through their own links.
TEST(References, AMutualReferenceLetGoOnOneSideStillClearsTheOther) {
    for (bool barLetsGo : {true, false}) {
        BarForm f;
        TComponent module(nullptr);
        auto* bar = new TmnSkinMainMenuBar(&module);
        bar->SetParent(f.form.get());
        bar->SetMantle(f.mantle);
        f.mantle->SetMainMenuBar(bar);
        if (barLetsGo) {
            bar->SetMantle(nullptr);
            delete bar;
            EXPECT_EQ(f.mantle->MainMenuBar(), nullptr);
            f.UseAndClose();
        } else {
            f.mantle->SetMainMenuBar(nullptr);
            delete f.mantle;
            EXPECT_EQ(bar->Mantle(), nullptr);
            ::RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            delete bar;
        }
    }
}

TEST(References, OneOfTwoSlotsOnTheSameManagerLetGoLeavesTheOther) {
    BarForm f;
    TComponent module(nullptr);
    auto* shared = new TmnSkinData(&module);
    shared->SetCompressedStoredSkin(f.form->Field<TmnCompressedStoredSkin>(L"mnStoredSkin1"));
    f.mantle->SetSkinData(shared);
    f.mantle->SetMenusSkinData(shared);
    f.mantle->SetMenusSkinData(nullptr);  // SkinData still holds the manager
    delete shared;
    EXPECT_EQ(f.mantle->SkinData(), nullptr);
    f.UseAndClose();
}

// Two windows in menu mode at once: each mantle filters the application's messages while its
// mode runs, whatever order the modes end in, and the program's own handler comes after them.
TEST(References, MessageFiltersOfTwoMantlesEndInAnyOrder) {
    auto a = std::make_unique<BarForm>();
    BarForm b;
    std::vector<UINT> reached;
    Application()->OnMessage = [&](MSG& msg, bool&) { reached.push_back(msg.message); };
    auto wheel = [&] {
        MSG msg{};
        msg.hwnd = b.form->Handle();
        msg.message = WM_MOUSEWHEEL;
        msg.wParam = MAKEWPARAM(0, WHEEL_DELTA);
        Application()->DispatchOne(msg);
    };
    a->mantle->MainMenuEnter();
    b.mantle->MainMenuEnter();
    EXPECT_EQ(Application()->MessageFilters().Count(), 2);
    a->mantle->MainMenuExit();
    wheel();  // b's menu mode still swallows the wheel
    EXPECT_TRUE(reached.empty());
    b.mantle->MainMenuExit();
    a.reset();  // nothing may still call into the freed window's mantle
    wheel();
    EXPECT_EQ(reached, std::vector<UINT>{WM_MOUSEWHEEL});
    EXPECT_EQ(Application()->MessageFilters().Count(), 0);
    Application()->OnMessage = nullptr;
}

}  // namespace
}  // namespace fn
