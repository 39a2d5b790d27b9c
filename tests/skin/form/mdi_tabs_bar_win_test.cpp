// The MDI tabs bar on a real MDI frame with real document windows: tabs in first-shown order,
// their widths, switching (also to a minimised window), dragging with the mouse held, the child
// menu on a right click, windows going while a tab is hovered, and the painted looks.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/win/application.h"
#include "skin/data/skin_archive.h"
#include "skin/form/mdi_tabs_bar_win.h"
#include "skin/menus/skin_menu_win.h"
#include "tests/platform/win/gdi_support.h"
#include "tests/skin/form/form_test_support.h"

namespace fn {
namespace {

using test::At;

// The frame is the program's main form, so the document windows are made in it.
TForm* Frame() {
    static TForm* frame = [] {
        Application()->Initialize();
        TForm* f = nullptr;
        Application()->CreateForm(f);
        f->LoadFromText(L"object Frame: TForm\n  Caption = 'Rahmen'\n  FormStyle = fsMDIForm\n  Left = 20\n  Top = 20\n"
                        L"  Width = 640\n  Height = 480\n  Visible = True\nend\n");
        return f;
    }();
    return frame;
}

// The part of a document window's form skinning the bar relies on: showing and hiding add and
// remove the tab, activation re-marks the tabs, and the window state is answered.
struct ChildSkinning : TComponent, test::TestOwner {
    ChildSkinning(TForm* child, TmnSkinMDITabsBar* bar) : TComponent(child) {
        hook.Install(child->WindowProc(), [child, bar](HWND, UINT msg, WPARAM w, LPARAM l, const TWndProcNext& next) {
            const LRESULT r = next(msg, w, l);
            if (msg == WM_SHOWWINDOW) {
                if (w) bar->AddTab(child);
                else bar->RemoveTab(child);
            } else if (msg == WM_NCACTIVATE || msg == WM_MDIACTIVATE) {
                bar->UpdateActiveTabs();
            }
            return r;
        });
        // The MDI client may have shown the window when it made it.
        if (::IsWindowVisible(child->Handle())) bar->AddTab(child);
    }
    TWndProcHook hook;
};

// The frame's form skinning as far as the bar asks it: the child menus.
struct FrameMantle : TComponent, TmnMDITabsOwner {
    explicit FrameMantle(TComponent* owner) : TComponent(owner), menu(new TmnSkinMenu(this, this)) {}
    HWND MenuOwnerWindow() const override { return Frame()->Handle(); }
    TmnSkinMenu& SkinMenu() override { return *menu; }
    TmnSkinData* MenusSkinData() const override { return nullptr; }
    void ShowChildSystemMenu(TForm* child, POINT screen) override { menus.push_back({child, screen}); }
    TmnSkinMenu* menu;
    std::vector<std::pair<TForm*, POINT>> menus;
};

struct MdiTabsBarWin : ::testing::Test {
    void SetUp() override {
        bar = new TmnSkinMDITabsBar(Frame());
        bar->SetParent(Frame());
        bar->SetBounds(0, 0, 300, 21);
    }
    void TearDown() override {
        for (TForm* c : children) delete c;
        delete bar;
        Application()->ProcessMessages();
    }
    TForm* Open(const wchar_t* caption, bool skinned = true) {
        auto* child = new TForm(Application());
        child->LoadFromText(String(L"object Doc: TForm\n  FormStyle = fsMDIChild\n  Caption = '") + caption +
                            L"'\n  Width = 200\n  Height = 150\nend\n");
        if (skinned) skinning.push_back(new ChildSkinning(child, bar));
        child->Show();
        children.push_back(child);
        return child;
    }
    void Close(TForm* child) {
        std::erase(children, child);
        delete child;
    }
    LRESULT Mouse(UINT msg, int x, int y) {
        const WPARAM keys = msg == WM_LBUTTONDOWN || (msg == WM_MOUSEMOVE && bar->Model().Pressed()) ? MK_LBUTTON : 0;
        return ::SendMessageW(bar->Handle(), msg, keys, MAKELPARAM(x, y));
    }
    void Click(int x) {
        Mouse(WM_LBUTTONDOWN, x, 5);
        Mouse(WM_LBUTTONUP, x, 5);
    }
    std::unique_ptr<TBitmap> Snapshot() {
        auto b = std::make_unique<TBitmap>(bar->Width(), bar->Height());
        bar->PaintTo(b->Canvas().Handle());
        return b;
    }
    std::vector<TForm*> Order() const {
        std::vector<TForm*> v;
        for (int i = 0; i < bar->TabCount(); ++i) v.push_back(bar->Tabs(i).Child);
        return v;
    }

    TmnSkinMDITabsBar* bar = nullptr;
    std::vector<TForm*> children;
    std::vector<ChildSkinning*> skinning;
};

TEST_F(MdiTabsBarWin, TabsFollowTheShownWindowsInFirstShownOrderAndShareTheBar) {
    TForm* a = Open(L"Eins");
    TForm* b = Open(L"Zwei");
    Snapshot();
    ASSERT_EQ(bar->TabCount(), 2);
    EXPECT_EQ(bar->Tabs(0).ObjectRect, (TSkinRect{0, 0, 100, 21}));
    EXPECT_EQ(bar->Tabs(1).ObjectRect, (TSkinRect{100, 0, 200, 21}));
    TForm* c = Open(L"Drei");
    TForm* d = Open(L"Vier");
    Snapshot();
    ASSERT_EQ(Order(), (std::vector<TForm*>{a, b, c, d}));
    EXPECT_EQ(bar->Tabs(1).ObjectRect, (TSkinRect{75, 0, 150, 21}));
    EXPECT_EQ(bar->Tabs(3).ObjectRect, (TSkinRect{225, 0, 300, 21}));
    // Hidden, a window has no tab; shown again it comes last. Shown twice, it has one tab.
    b->Hide();
    EXPECT_EQ(Order(), (std::vector<TForm*>{a, c, d}));
    b->Show();
    bar->AddTab(b);
    EXPECT_EQ(Order(), (std::vector<TForm*>{a, c, d, b}));
    EXPECT_EQ(bar->Tabs(3).Child->Caption(), L"Zwei");
}

TEST_F(MdiTabsBarWin, AClickBringsItsWindowToTheFrontAndMarksItsTab) {
    TForm* a = Open(L"Eins");
    TForm* b = Open(L"Zwei");
    ASSERT_EQ(bar->TabCount(), 2);
    ASSERT_EQ(Frame()->ActiveMDIChild(), b);
    int downs = 0, ups = 0;
    bar->OnTabMouseDown = [&](TComponent*, TMouseButton button, TShiftState, TmnMDITab* tab) {
        downs += button == TMouseButton::mbLeft && tab->Child == a;
    };
    bar->OnTabMouseUp = [&](TComponent*, TMouseButton, TShiftState, TmnMDITab* tab) { ups += tab->Child == a; };
    Click(50);
    EXPECT_EQ(Frame()->ActiveMDIChild(), a);
    EXPECT_TRUE(bar->Tabs(0).Active);
    EXPECT_FALSE(bar->Tabs(1).Active);
    EXPECT_EQ(Order(), (std::vector<TForm*>{a, b}));  // a click reorders nothing
    EXPECT_EQ((std::pair{downs, ups}), (std::pair{1, 1}));
    EXPECT_FALSE(bar->HasCapture());
    // Beside the tabs nothing happens.
    Click(250);
    EXPECT_EQ(Frame()->ActiveMDIChild(), a);
    EXPECT_EQ(ups, 1);
}

TEST_F(MdiTabsBarWin, AClickRestoresAMinimisedWindow) {
    TForm* a = Open(L"Eins");
    TForm* b = Open(L"Zwei");
    // Minimised by the platform (a window without form skinning).
    ::SendMessageW(Frame()->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->Handle()), 0);
    ::ShowWindow(a->Handle(), SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(a->Handle()));
    Click(50);
    EXPECT_FALSE(::IsIconic(a->Handle()));
    EXPECT_EQ(Frame()->ActiveMDIChild(), a);
    // Minimised by its form skinning: the restore is asked of the component (it runs later).
    auto* s = skinning[1];
    s->state = swsMinimized;
    Click(150);
    EXPECT_EQ(s->actions, (std::vector<TmnWindowAction>{TmnWindowAction::Restore}));
    EXPECT_EQ(Frame()->ActiveMDIChild(), b);
    s->state = swsNormal;
    Click(150);
    EXPECT_EQ(s->actions.size(), 1u);
}

TEST_F(MdiTabsBarWin, DraggingHoldsTheMouseAndReordersOnRelease) {
    TForm* a = Open(L"Eins");
    TForm* b = Open(L"Zwei");
    TForm* c = Open(L"Drei");
    ASSERT_EQ(bar->TabCount(), 3);
    Mouse(WM_LBUTTONDOWN, 50, 5);
    EXPECT_TRUE(bar->HasCapture());
    Mouse(WM_MOUSEMOVE, 120, 5);
    EXPECT_TRUE(bar->Model().Dragging());
    Mouse(WM_MOUSEMOVE, 420, 5);  // outside the bar: the bar still has the mouse
    Snapshot();
    EXPECT_EQ(bar->Tabs(0).ObjectRect, (TSkinRect{200, 0, 300, 21}));  // kept inside the bar
    Mouse(WM_LBUTTONUP, 420, 5);
    EXPECT_EQ(Order(), (std::vector<TForm*>{b, c, a}));
    EXPECT_FALSE(bar->HasCapture());
    EXPECT_FALSE(bar->Model().Dragging());
    // Not past any middle: the order stays.
    Mouse(WM_LBUTTONDOWN, 150, 5);
    Mouse(WM_MOUSEMOVE, 170, 5);
    Mouse(WM_LBUTTONUP, 170, 5);
    EXPECT_EQ(Order(), (std::vector<TForm*>{b, c, a}));
    // Without MoveTabs a press never drags.
    bar->SetMoveTabs(false);
    Mouse(WM_LBUTTONDOWN, 50, 5);
    Mouse(WM_MOUSEMOVE, 280, 5);
    EXPECT_FALSE(bar->Model().Dragging());
    Mouse(WM_LBUTTONUP, 280, 5);
    EXPECT_EQ(Order(), (std::vector<TForm*>{b, c, a}));
}

TEST_F(MdiTabsBarWin, LosingTheMouseEndsTheDragWithoutMovingATab) {
    TForm* a = Open(L"Eins");
    TForm* b = Open(L"Zwei");
    Mouse(WM_LBUTTONDOWN, 50, 5);
    Mouse(WM_MOUSEMOVE, 190, 5);
    ASSERT_TRUE(bar->Model().Dragging());
    ::SetCapture(Frame()->Handle());  // another window takes the mouse
    EXPECT_FALSE(bar->Model().Dragging());
    EXPECT_FALSE(bar->Model().Pressed());
    EXPECT_EQ(bar->Model().DragTab(), -1);
    ::ReleaseCapture();
    Mouse(WM_LBUTTONUP, 190, 5);
    EXPECT_EQ(Order(), (std::vector<TForm*>{a, b}));
    // Cancelling the mode does the same.
    Mouse(WM_LBUTTONDOWN, 50, 5);
    Mouse(WM_MOUSEMOVE, 190, 5);
    ::SendMessageW(bar->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(bar->Model().Dragging());
    EXPECT_FALSE(bar->HasCapture());
}

TEST_F(MdiTabsBarWin, ClosingEveryWindowWhileATabIsHoveredLeavesNothingBehind) {
    std::vector<TForm*> open;
    for (const wchar_t* c : {L"Eins", L"Zwei", L"Drei", L"Vier"}) open.push_back(Open(c));
    std::vector<String> left;
    bar->OnTabMouseLeave = [&](TComponent*, TmnMDITab* tab) { left.push_back(tab->Child->Caption()); };
    ASSERT_EQ(bar->TabCount(), 4);
    Mouse(WM_MOUSEMOVE, 160, 5);
    ASSERT_EQ(bar->Model().HotTab(), 2);
    ASSERT_TRUE(bar->Tabs(2).MouseIn);
    Mouse(WM_LBUTTONDOWN, 160, 5);
    Mouse(WM_MOUSEMOVE, 200, 5);  // a drag runs as well
    // Closing another window's tab resets the hover and ends the drag.
    Close(open[0]);
    EXPECT_EQ(left, (std::vector<String>{L"Drei"}));
    EXPECT_EQ(bar->Model().HotTab(), -1);
    EXPECT_EQ(bar->Model().OldHotTab(), -1);
    EXPECT_EQ(bar->Model().DragTab(), -1);
    EXPECT_FALSE(bar->HasCapture());
    Mouse(WM_LBUTTONUP, 200, 5);
    for (int i = 1; i < 4; ++i) {
        Mouse(WM_MOUSEMOVE, 10, 5);
        if (i == 2) open[i]->Hide();  // one hidden first, the others destroyed while shown
        Close(open[i]);
    }
    EXPECT_EQ(bar->TabCount(), 0);
    EXPECT_EQ(bar->Model().Count(), 0);
    EXPECT_EQ(bar->Model().HotTab(), -1);
    Mouse(WM_MOUSEMOVE, 10, 5);
    Click(10);
    ::SendMessageW(bar->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(At(*Snapshot(), 10, 5), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(MdiTabsBarWin, MovingFromTabToTabReportsLeavingOneBeforeEnteringTheNext) {
    for (const wchar_t* c : {L"Eins", L"Zwei", L"Drei", L"Vier"}) Open(c);
    std::vector<String> events;
    bar->OnTabMouseEnter = [&](TComponent*, TmnMDITab* tab) { events.push_back(L"+" + tab->Child->Caption()); };
    bar->OnTabMouseLeave = [&](TComponent*, TmnMDITab* tab) { events.push_back(L"-" + tab->Child->Caption()); };
    Mouse(WM_MOUSEMOVE, 10, 5);
    Mouse(WM_MOUSEMOVE, 160, 5);
    EXPECT_EQ(events, (std::vector<String>{L"+Eins", L"-Eins", L"+Drei"}));
    EXPECT_FALSE(bar->Tabs(0).MouseIn);
    EXPECT_TRUE(bar->Tabs(2).MouseIn);
}

TEST_F(MdiTabsBarWin, AWindowDestroyedWhileShownLosesItsTabAndItsWatch) {
    TForm* a = Open(L"Eins", false);
    bar->AddTab(a);  // fed by hand: nothing tells the bar of a hide or a close
    TForm* b = Open(L"Zwei", false);
    bar->AddTab(b);
    const int hooks = a->WindowProc().HookCount();
    bar->RemoveTab(a);
    EXPECT_EQ(a->WindowProc().HookCount(), hooks - 1);
    bar->RemoveTab(a);  // unknown now: nothing happens
    ::DestroyWindow(b->Handle());
    EXPECT_EQ(bar->TabCount(), 0);
}

TEST_F(MdiTabsBarWin, ARightClickOpensTheWindowsMenuThroughTheFramesComponent) {
    auto* mantle = new FrameMantle(Frame());
    TForm* a = Open(L"Eins");
    TForm* plain = Open(L"Zwei", false);
    bar->AddTab(plain);
    std::vector<TMouseButton> downs;
    bar->OnTabMouseDown = [&](TComponent*, TMouseButton button, TShiftState, TmnMDITab*) { downs.push_back(button); };
    Mouse(WM_RBUTTONDOWN, 40, 7);
    EXPECT_TRUE(mantle->menus.empty());  // no component set yet
    bar->SetMantle(mantle);
    Mouse(WM_RBUTTONDOWN, 40, 7);
    ASSERT_EQ(mantle->menus.size(), 1u);
    EXPECT_EQ(mantle->menus[0].first, a);
    POINT expected{40, 7};
    ::ClientToScreen(bar->Handle(), &expected);
    EXPECT_EQ(mantle->menus[0].second.x, expected.x);
    EXPECT_EQ(mantle->menus[0].second.y, expected.y);
    Mouse(WM_RBUTTONDOWN, 140, 7);  // a window without form skinning has no such menu
    bar->SetSupportChildMenus(false);
    Mouse(WM_RBUTTONDOWN, 40, 7);
    EXPECT_EQ(mantle->menus.size(), 1u);
    EXPECT_EQ(downs.size(), 4u);
    EXPECT_EQ(downs.back(), TMouseButton::mbRight);
    // The component going clears the reference.
    delete mantle;
    EXPECT_EQ(bar->Mantle(), nullptr);
    bar->SetSupportChildMenus(true);
    Mouse(WM_RBUTTONDOWN, 40, 7);
}

TEST_F(MdiTabsBarWin, TheUnskinnedLookMarksTheActiveAndTheHoveredTab) {
    bar->SetBounds(0, 0, 400, 21);
    Open(L"Eins");
    Open(L"Zwei");
    Open(L"Drei");
    Mouse(WM_MOUSEMOVE, 150, 1);
    const auto shot = Snapshot();
    EXPECT_EQ(At(*shot, 2, 1), ::GetSysColor(COLOR_BTNFACE));  // normal
    EXPECT_EQ(At(*shot, 102, 1), RGB(182, 189, 210));           // under the mouse
    EXPECT_EQ(At(*shot, 202, 1), RGB(133, 147, 181));           // the active window's
    EXPECT_EQ(At(*shot, 302, 1), ::GetSysColor(COLOR_BTNFACE));  // beside the tabs
    // The caption is written on the tab.
    int written = 0;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 21; ++y) written += At(*shot, x, y) != ::GetSysColor(COLOR_BTNFACE);
    EXPECT_GT(written, 0);
}

TEST_F(MdiTabsBarWin, FormDataSetsThePropertiesAndResolvesTheFramesComponent) {
    TmnSkinMDITabsBar::Register();
    RegisterComponentClass(L"TFrameMantle", [](TComponent* owner) { return new FrameMantle(owner); });
    TForm form(nullptr);
    form.LoadFromText(L"object Host: TForm\n  Width = 400\n  Height = 200\n"
                      L"  object Tabs: TmnSkinMDITabsBar\n    Mantle = Mantle1\n    TabKind = mntkButton\n"
                      L"    MoveTabs = False\n    SupportChildMenus = False\n    DefaultTabWidth = 80\n"
                      L"    DefaultHeight = 25\n    DefaultFont.Name = 'Tahoma'\n  end\n"
                      L"  object Mantle1: TFrameMantle\n  end\nend\n");
    auto* tabs = form.Field<TmnSkinMDITabsBar>(L"Tabs");
    EXPECT_EQ(tabs->Mantle(), dynamic_cast<TmnMDITabsOwner*>(form.FindComponent(L"Mantle1")));
    EXPECT_EQ(tabs->TabKind(), mntkButton);
    EXPECT_FALSE(tabs->MoveTabs());
    EXPECT_FALSE(tabs->SupportChildMenus());
    EXPECT_EQ(tabs->DefaultTabWidth(), 80);
    EXPECT_EQ(tabs->Height(), 25);
    EXPECT_EQ(tabs->DefaultFont().Name(), L"Tahoma");
    EXPECT_EQ(tabs->SkinDataName(), L"tab");
    // A reference to a component that is no form skinning component is refused.
    TForm wrong(nullptr);
    EXPECT_THROW(wrong.LoadFromText(L"object Host: TForm\n  object Tabs: TmnSkinMDITabsBar\n    Mantle = Other\n  end\n"
                                    L"  object Other: TmnSkinMDITabsBar\n  end\nend\n"),
                 EReadError);
}

// ---- with a skin ----

// A 60 x 30 picture: the background piece red (0..10); the normal, active and mouse-in tab
// images green, blue and yellow (10..30, 30..40, 40..50; 0x40 in the top half, 0xC0 in the
// bottom half); a button piece grey (50..60).
COLORREF PictureColor(int x, int y) {
    const int half = y < 15 ? 0x40 : 0xC0;
    if (x < 10) return RGB(200, 0, 0);
    if (x < 30) return RGB(0, half, 0);
    if (x < 40) return RGB(0, 0, half);
    if (x < 50) return RGB(half, half, 0);
    return RGB(128, 128, 128);
}

struct MdiTabsBarSkinned : MdiTabsBarWin {
    void Load(const String& tabSection, const String& formInfo = L"", bool withButton = true) {
        TSkinArchive a;
        TBitmapData p;
        p.SetSize(60, 30);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x) {
                const COLORREF c = PictureColor(x, y);
                p.SetPixel(x, y, (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c));
            }
        a.ActivePictures = {p};
        TStringList lines;
        lines.SetText(L"[VERSION]\nskinname=Tabs\n[PICTURES]\npicture=\ninactivepicture=\nmask=\nactivepicturescount=1\n"
                      L"0=p.bmp\n[FORMINFO]\n" + formInfo + L"[SKINCOLORS]\n[SKINOBJECTS]\ncount=0\n"
                      L"[SKINCONTROLS]\ncount=" + (withButton ? L"2" : L"1") + L"\n0=tab:tab\n1=resizebutton:button\n"
                      L"[tab]\n" + tabSection +
                      L"[resizebutton]\npictureindex=0\nskinrect=50,0,60,30\nlefttoppoint=2,2\nrighttoppoint=8,2\n"
                      L"leftbottompoint=2,28\nrightbottompoint=8,28\nclientrect=2,2,8,28\nstretcheffect=1\n");
        a.Description = lines.Lines();
        TMemoryStream bytes;
        WriteSkinArchive(bytes, a);
        bytes.SetPosition(0);
        skin = std::make_unique<TmnSkinData>(nullptr);
        skin->LoadFromArchive(bytes);
        ASSERT_FALSE(skin->Empty());
        bar->SetSkinData(skin.get());
    }
    void TearDown() override {
        MdiTabsBarWin::TearDown();
        skin.reset();
    }
    std::unique_ptr<TmnSkinData> skin;
};

const wchar_t* const kTabs =
    L"pictureindex=0\ntabrect=10,0,30,30\nactivetabrect=30,0,40,30\nmouseintabrect=40,0,50,30\n"
    L"tabsbgrect=0,0,10,30\ntableftoffset=2\ntabrightoffset=2\n";

TEST_F(MdiTabsBarSkinned, TheSkinGivesTheHeightTheBackgroundAndTheTabs) {
    Load(kTabs);
    EXPECT_EQ(bar->Height(), 30);  // the tab image's height
    Open(L"Eins");
    Open(L"Zwei");
    Mouse(WM_MOUSEMOVE, 10, 1);
    const auto shot = Snapshot();
    EXPECT_EQ(At(*shot, 5, 2), RGB(0x40, 0x40, 0));     // hovered, not active: the mouse-in image
    EXPECT_EQ(At(*shot, 150, 2), RGB(0, 0, 0x40));      // the active window's tab
    EXPECT_EQ(At(*shot, 150, 25), RGB(0, 0, 0xC0));
    EXPECT_EQ(At(*shot, 295, 2), RGB(200, 0, 0));       // the background beyond the tabs
    // Without the skin's size the bar keeps its default height and the image is stretched to it.
    bar->SetUseSkinSize(false);
    EXPECT_EQ(bar->Height(), 21);
    const auto small = Snapshot();
    EXPECT_EQ(At(*small, 150, 1), RGB(0, 0, 0x40));
    EXPECT_EQ(At(*small, 150, 19), RGB(0, 0, 0xC0));
}

TEST_F(MdiTabsBarSkinned, AtTheBottomTheTabsAreUpsideDown) {
    Load(kTabs);
    Open(L"Eins");
    bar->SetAlign(TAlign::alBottom);
    const auto shot = Snapshot();
    EXPECT_EQ(At(*shot, 50, 2), RGB(0, 0, 0xC0));
    EXPECT_EQ(At(*shot, 50, 27), RGB(0, 0, 0x40));
}

TEST_F(MdiTabsBarSkinned, AnEmptyBackgroundOrPictureDrawsNoImageAndNeverDividesByZero) {
    Load(L"pictureindex=0\ntabrect=10,0,30,30\n");  // no background piece
    bar->SetBounds(0, 0, 300, 30);
    auto shot = Snapshot();  // no tabs either
    EXPECT_EQ(At(*shot, 10, 5), ::GetSysColor(COLOR_BTNFACE));
    Open(L"Eins");
    shot = Snapshot();
    EXPECT_EQ(At(*shot, 150, 5), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(*shot, 5, 5), RGB(0, 0x40, 0));  // no active image of its own: the tab image
    // A picture index outside the list: nothing is cut from it.
    Load(L"pictureindex=9\ntabrect=10,0,30,30\ntabsbgrect=0,0,10,30\n");
    shot = Snapshot();
    EXPECT_EQ(At(*shot, 150, 5), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(MdiTabsBarSkinned, ButtonTabsUseTheSkinsButtonRecord) {
    Load(kTabs);
    Open(L"Eins");
    bar->SetTabKind(mntkButton);
    auto shot = Snapshot();
    EXPECT_EQ(At(*shot, 2, 2), RGB(128, 128, 128));
    EXPECT_EQ(At(*shot, 295, 2), RGB(200, 0, 0));
    // A skin without the button record draws no tabs; the background stays.
    Load(kTabs, L"", false);
    shot = Snapshot();
    EXPECT_EQ(At(*shot, 2, 2), RGB(200, 0, 0));
    EXPECT_EQ(At(*shot, 50, 2), RGB(200, 0, 0));
}

TEST_F(MdiTabsBarSkinned, ATransparentBarShowsWhatLiesBehindIt) {
    Load(kTabs, L"mditabstransparent=1\n");
    const auto shot = Snapshot();
    EXPECT_NE(At(*shot, 50, 2), RGB(200, 0, 0));
}

}  // namespace
}  // namespace fn
