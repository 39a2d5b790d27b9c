// The skinned main menu bar as a real window under Wine, with a real popup chain and a stand-in
// owner that behaves as the form skinning component does around menu modes: items drawn skinned
// and unskinned, the overflow and its popup, the popup following the mouse, the keyboard menu
// mode, merged child menus and the child's caption buttons, and what screen readers are told.
#include <oleacc.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "skin/form/main_menu_bar_win.h"
#include "tests/platform/win/gdi_support.h"
#include "tests/skin/menus/menus_fixture.h"

namespace fn {
namespace {

using test::At;
using test::Pump;

const COLORREF kFace = ::GetSysColor(COLOR_BTNFACE);
constexpr COLORREF kHover = RGB(0xB6, 0xBD, 0xD2);    // $D2BDB6
constexpr COLORREF kPressed = RGB(0x85, 0x93, 0xB5);  // $B59385

// The owner side of the bar, as the form skinning component carries it out: the main-menu mode,
// the closed-chain handling on its window, and the maximised child's operations recorded.
class BarOwner : public TComponent, public TmnMenuBarOwner {
public:
    explicit BarOwner(TComponent* o = nullptr) : TComponent(o), menu(new TmnSkinMenu(this, this)) {
        static const ATOM atom = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = &Proc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"MenuBarTestOwner";
            return ::RegisterClassExW(&wc);
        }();
        window = ::CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(atom)), L"Owner",
                                   WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~BarOwner() override {
        menu->CloseAll();
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        ::DestroyWindow(window);
    }

    HWND MenuOwnerWindow() const override { return window; }
    TmnSkinMenu& SkinMenu() override { return *menu; }
    TmnSkinData* MenusSkinData() const override { return skin; }
    void StartMenuRouting() override { inSkin = true; }
    bool InMainMenu() const override { return inMain; }
    bool InSkinMenu() const override { return inSkin; }
    void MainMenuEnter() override {
        if (inMain) return;
        inMain = true;
        ++enters;
    }
    void MainMenuExit() override {
        if (!inMain) return;
        inMain = false;
        menu->CloseAll();
        if (bar) bar->LeaveMenuMode();
        ++exits;
    }
    void CloseMenus() override {
        if (menu->Visible) menu->CloseAll();
    }
    TForm* MaximizedChild() const override { return child; }
    TmnBorderIcons ChildBorderIcons(TForm*) const override { return icons; }
    void ChildWindowAction(TForm* c, TmnWindowAction a) override { actions.push_back({c, a}); }
    void ShowChildSystemMenu(TForm*, const RECT& anchor, HWND opener) override {
        ++systemMenus;
        menu->Popup(opener, skin, false, systemMenu, anchor, 0);
    }

    HWND window;
    TmnSkinMenu* menu;
    TmnSkinData* skin = nullptr;
    TmnSkinMainMenuBar* bar = nullptr;
    bool inMain = false, inSkin = false;
    int enters = 0, exits = 0, systemMenus = 0;
    TForm* child = nullptr;
    TmnBorderIcons icons = DefaultBorderIcons;
    TMenuItem* systemMenu = nullptr;
    std::vector<std::pair<TForm*, TmnWindowAction>> actions;

private:
    // A chain closed: the skinned-menu mode ends, and with it the main-menu mode.
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<BarOwner*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
        if (self && msg == MSG_SKIN_MENU_CLOSED) {
            self->inSkin = false;
            if (self->inMain) {
                self->inMain = false;
                if (self->bar) self->bar->LeaveMenuMode();
                ++self->exits;
            }
            return 0;
        }
        return ::DefWindowProcW(w, msg, wp, lp);
    }
};

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::FennickSkin();  // the application object first
        form = std::make_unique<TForm>(nullptr);
        form->LoadFromText(L"object BarHost: TForm\n  Left = 40\n  Top = 40\n  Width = 600\n  Height = 300\n"
                           L"  Caption = 'Leiste'\nend\n");
        ::ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
        owner = std::make_unique<BarOwner>();
        menu = new TMainMenu(form.get());
        root = menu->Items();
    }
    void TearDown() override {
        owner->menu->CloseAll();
        owner->bar = nullptr;
        form.reset();
        owner.reset();
        Pump();
    }

    TMenuItem* Add(TMenuItem* parent, const wchar_t* caption, const wchar_t* name = L"") {
        auto* item = new TMenuItem(form.get());
        item->SetCaption(caption);
        item->SetName(name);
        item->OnClick = [this, item](TComponent*) { clicks.push_back(item); };
        parent->Add(item);
        return item;
    }
    // Datei, Bearbeiten and Format open menus; "&Über" runs at once.
    void Standard() {
        datei = Add(root, L"&Datei", L"Datei1");
        Add(datei, L"&Neu");
        Add(datei, L"&Öffnen");
        bearbeiten = Add(root, L"&Bearbeiten", L"Bearbeiten1");
        Add(bearbeiten, L"&Kopieren");
        format = Add(root, L"&Format", L"Format1");
        Add(format, L"&Schrift");
        ueber = Add(root, L"&Über", L"Ueber1");
    }
    TmnSkinMainMenuBar& Make(TmnSkinData* skin, int width = 560) {
        owner->skin = skin;
        bar = new TmnSkinMainMenuBar(form.get());
        bar->SetParent(form.get());
        bar->SetBounds(0, 0, width, 22);
        bar->SetAlign(TAlign::alNone);
        bar->SetMantle(owner.get());
        owner->bar = bar;
        bar->SetSkinData(skin);
        bar->SetMainMenu(menu);
        bar->Handle();
        bar->Layout();
        return *bar;
    }
    std::unique_ptr<TBitmap> Snapshot() {
        auto b = std::make_unique<TBitmap>(bar->Width(), bar->Height());
        bar->PaintTo(b->Canvas().Handle());
        return b;
    }
    // Mouse messages as the window gets them, at bar coordinates.
    void Mouse(UINT msg, int x, int y) { ::SendMessageW(bar->Handle(), msg, 0, MAKELPARAM(x, y)); }
    void Click(int item) {
        const TSkinRect r = bar->Item(item)->ObjectRect;
        Mouse(WM_MOUSEMOVE, r.Left + 3, r.Top + 3);
        Mouse(WM_LBUTTONDOWN, r.Left + 3, r.Top + 3);
        Mouse(WM_LBUTTONUP, r.Left + 3, r.Top + 3);
    }
    // The menu items the open chain's first window shows.
    std::vector<TMenuItem*> Shown() {
        std::vector<TMenuItem*> items;
        if (owner->menu->PopupList.empty()) return items;
        for (const auto& i : owner->menu->PopupList[0]->Items) items.push_back(i->MenuItem);
        return items;
    }
    std::vector<TMenuItem*> SubItems(TMenuItem* item) {
        std::vector<TMenuItem*> items;
        for (int i = 0; i < item->Count(); ++i) items.push_back(item->Items(i));
        return items;
    }
    // A caption's width in a font, as the platform measures it with the mnemonic processed.
    static int TextWidth(const wchar_t* name, int height, const String& caption) {
        TBitmap b(1, 1);
        b.Canvas().Font().SetName(name);
        b.Canvas().Font().SetHeight(height);
        b.Canvas().PrepareText();
        RECT r{0, 0, 0, 0};
        ::DrawTextW(b.Canvas().Handle(), caption.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
        return r.right;
    }

    test::FakeTimers timers;
    std::unique_ptr<TForm> form;
    std::unique_ptr<BarOwner> owner;
    TMainMenu* menu = nullptr;
    TMenuItem* root = nullptr;
    TmnSkinMainMenuBar* bar = nullptr;
    TMenuItem *datei = nullptr, *bearbeiten = nullptr, *format = nullptr, *ueber = nullptr;
    std::vector<TMenuItem*> clicks;
};

TEST_F(MenuBarTest, UnskinnedItemsAreTextOnButtonFace) {
    Standard();
    Add(root, L"Versteckt")->SetVisible(false);
    TmnSkinMainMenuBar& b = Make(nullptr);
    EXPECT_FALSE(b.Skinned());
    EXPECT_EQ(b.Height(), 22);
    ASSERT_EQ(b.ItemCount(), 4);  // the invisible item gets no object
    int x = 2;
    const wchar_t* captions[] = {L"&Datei", L"&Bearbeiten", L"&Format", L"&Über"};
    for (int i = 0; i < 4; ++i) {
        const TSkinRect r = b.Item(i)->ObjectRect;
        EXPECT_EQ(r, (TSkinRect{x, 2, x + TextWidth(L"Arial", 14, captions[i]) + 12, 20})) << i;
        EXPECT_FALSE(b.Item(i)->SkinSupport);
        x = r.Right;
    }
    EXPECT_EQ(b.Item(0)->IDName, L"Datei1");
    auto img = Snapshot();
    const TSkinRect d = b.Item(0)->ObjectRect;
    EXPECT_EQ(At(*img, d.Left + 1, d.Top + 1), kFace);
    // Hovered: framed and filled; pressed: the darker fill.
    b.Track(d.Left + 3, d.Top + 3);
    img = Snapshot();
    EXPECT_EQ(At(*img, d.Left, d.Top), RGB(0, 0, 0x80));
    EXPECT_EQ(At(*img, d.Left + 1, d.Top + 1), kHover);
    EXPECT_EQ(At(*img, d.Right, d.Top + 1), kFace);
    Mouse(WM_LBUTTONDOWN, d.Left + 3, d.Top + 3);
    img = Snapshot();
    EXPECT_EQ(At(*img, d.Left + 1, d.Top + 1), kPressed);
    // A bar whose skin has no record of its name is unskinned too.
    TmnSkinMainMenuBar& other = Make(&test::FennickSkin());
    other.SetSkinDataName(L"keinebar");
    other.ChangeSkinData();
    EXPECT_FALSE(other.Skinned());
    EXPECT_EQ(other.Height(), 22);
    EXPECT_EQ(other.Item(0)->ObjectRect.Left, 2);
}

TEST_F(MenuBarTest, SkinnedItemsWidenTheItemPictureByTheirCaption) {
    Standard();
    TmnSkinData& skin = test::FennickSkin();
    TmnSkinMainMenuBar& b = Make(&skin);
    ASSERT_TRUE(b.Skinned());
    EXPECT_EQ(b.Height(), 24);  // the bar picture's height, whatever was asked
    b.SetBounds(0, 0, 560, 40);
    EXPECT_EQ(b.Height(), 24);
    const TmnSkinMainMenuBarItem& first = *b.Item(0);
    ASSERT_TRUE(first.SkinSupport);
    // "menubaritem": skinrect 24 wide, textrect 6 wide, Tahoma 14; items start at "itemsrect".
    const int w = TextWidth(L"Tahoma", 14, L"&Datei");
    EXPECT_EQ(first.ObjectRect, (TSkinRect{2, 0, 2 + 24 - 6 + w + 2, 24}));
    EXPECT_EQ(b.Item(1)->ObjectRect.Left, first.ObjectRect.Right);
    // Normal items show the item picture's ends; the hover picture after a full fade.
    const TBitmapData& picture = skin.ActivePictures()[1];
    auto px = [&](int x, int y) {
        const uint32_t p = picture.Pixel(x, y);
        return RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
    };
    auto img = Snapshot();
    EXPECT_EQ(At(*img, 3, 12), px(33, 12));
    b.Track(5, 5);
    EXPECT_TRUE(timers.Has(b.Handle(), TmnSkinMainMenuBar::MorphTimer));
    for (int i = 0; i < 5; ++i) timers.Fire(b.Handle(), TmnSkinMainMenuBar::MorphTimer);
    EXPECT_EQ(b.Item(0)->MorphFactor, 1.0);
    timers.Fire(b.Handle(), TmnSkinMainMenuBar::MorphTimer);  // nothing left to step: it stops
    EXPECT_FALSE(timers.Has(b.Handle(), TmnSkinMainMenuBar::MorphTimer));
    img = Snapshot();
    EXPECT_EQ(At(*img, 3, 12), px(57, 12));
    // The mouse leaves: five ticks back to the normal picture, exactly.
    b.Track(-1, -1);
    for (int i = 0; i < 5; ++i) timers.Fire(b.Handle(), TmnSkinMainMenuBar::MorphTimer);
    EXPECT_EQ(b.Item(0)->MorphFactor, 0.0);
    timers.Fire(b.Handle(), TmnSkinMainMenuBar::MorphTimer);
    EXPECT_FALSE(timers.Has(b.Handle(), TmnSkinMainMenuBar::MorphTimer));
    EXPECT_EQ(At(*Snapshot(), 3, 12), px(33, 12));
    // Skin effects off: no fade, the hover picture at once.
    skin.SetEnableSkinEffects(false);
    b.Track(first.ObjectRect.Left + 4, 4);
    img = Snapshot();
    skin.SetEnableSkinEffects(true);
    EXPECT_EQ(At(*img, 3, 12), px(57, 12));
    // Widened after a paint, the bar shows the strip's right end at its new edge, as a bar made
    // that wide does.
    const int wider = b.Width() + 120;
    Make(&skin, wider);
    const auto fresh = Snapshot();
    bar = &b;
    b.SetBounds(0, 0, wider, 24);
    EXPECT_EQ(At(*Snapshot(), wider - 2, 12), At(*fresh, wider - 2, 12));
    EXPECT_EQ(At(*fresh, wider - 1, 12), px(31, 12));  // the bar picture's right end ("skinrect" 0,0,32,24)
}

TEST_F(MenuBarTest, ASkinnedItemsCaptionTakesTheFontOfItsRecordUnlessTheBarSaysOtherwise) {
    Standard();
    TmnSkinMainMenuBar& b = Make(&test::FennickSkin());
    TBitmap target(1, 1);
    TFont& font = target.Canvas().Font();
    font.SetName(L"Courier New");
    font.SetHeight(30);
    font.SetStyle(FontStyleBit(fsItalic));
    b.SelectItemFont(target.Canvas(), *b.Item(0));
    EXPECT_EQ(font.Name(), L"Tahoma");
    EXPECT_EQ(font.Height(), 14);
    EXPECT_EQ(font.Style(), 0);
    b.DefItemFont().SetName(L"Arial");
    b.SetUseSkinFont(false);
    b.SelectItemFont(target.Canvas(), *b.Item(0));
    EXPECT_EQ(font.Name(), L"Arial");
}

// Two items of one caption look alike, the first painted too: its text is measured in its own
// font, not in the one the bar's canvas held before (which clipped the first caption).
TEST_F(MenuBarTest, TheFirstItemsCaptionIsMeasuredInItsOwnFont) {
    Add(root, L"&Datei");
    Add(root, L"&Datei");
    TmnSkinMainMenuBar& b = Make(&test::FennickSkin());
    const TSkinRect first = b.Item(0)->ObjectRect, second = b.Item(1)->ObjectRect;
    ASSERT_EQ(first.Width(), second.Width());
    auto img = Snapshot();
    int differing = 0;
    for (int y = first.Top; y < first.Bottom; ++y)
        for (int x = 0; x < first.Width(); ++x) differing += At(*img, first.Left + x, y) != At(*img, second.Left + x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(MenuBarTest, ItemAnimationsRunOnlyTheWholeFramesInsideThePicture) {
    Standard();
    TmnSkinData& skin = test::FennickSkin();
    auto* record = dynamic_cast<TmnDataSkinMainMenuItem*>(
        skin.SkinObjects()[static_cast<size_t>(skin.GetObjectIndex(L"menubaritem"))].get());
    ASSERT_NE(record, nullptr);
    const TBitmapData* picture = skin.ActivePicture(record->ActivePictureIndex);
    ASSERT_NE(picture, nullptr);
    // Four frames side by side of which only two lie inside the picture.
    const TSkinRect savedStrip = record->AnimateSkinRect;
    const int savedCount = record->FrameCount;
    const int fw = record->SkinRect.Width(), h = record->SkinRect.Height();
    record->AnimateSkinRect = {picture->Width - 2 * fw, 0, picture->Width + 2 * fw, h};
    record->FrameCount = 4;
    TmnSkinMainMenuBar& b = Make(&skin);
    record->AnimateSkinRect = savedStrip;
    record->FrameCount = savedCount;
    const TmnSkinMainMenuBarItem& first = *b.Item(0);
    ASSERT_TRUE(first.AnimationEnabled());
    EXPECT_EQ(first.FrameCount, 2);
    b.Track(first.ObjectRect.Left + 3, 3);
    ASSERT_TRUE(timers.Has(b.Handle(), TmnSkinMainMenuBar::AnimateTimer));
    int ticks = 0;
    while (timers.Has(b.Handle(), TmnSkinMainMenuBar::AnimateTimer) && ticks < 10) {
        timers.Fire(b.Handle(), TmnSkinMainMenuBar::AnimateTimer);
        ++ticks;
    }
    EXPECT_EQ(first.CurrentFrame, 3);  // past the last frame: the hover picture
    EXPECT_EQ(ticks, 4);               // three frames on, and the tick that finds nothing to do
    b.Track(-1, -1);
    EXPECT_EQ(first.CurrentFrame, 0);  // without an inactive animation it drops back at once
}

TEST_F(MenuBarTest, ItemsThatDoNotFitHideBehindTheMarkerWhichOpensExactlyThem) {
    Standard();
    TMenuItem* ansicht = Add(root, L"&Ansicht");
    Add(ansicht, L"&Zoom");
    TMenuItem* fenster = Add(root, L"F&enster");
    Add(fenster, L"&Nebeneinander");
    fenster->SetEnabled(false);
    TmnSkinMainMenuBar& b = Make(nullptr, 200);
    ASSERT_EQ(b.ItemCount(), 6);
    ASSERT_TRUE(b.Overflow);
    int fit = 0;
    while (fit < 6 && b.Item(fit)->Fits) ++fit;
    ASSERT_GT(fit, 0);
    ASSERT_LT(fit, 6);
    for (int i = fit; i < 6; ++i) {
        EXPECT_FALSE(b.Item(i)->Fits) << i;
        EXPECT_FALSE(b.Item(i)->Enabled) << i;
    }
    EXPECT_EQ(b.MarkerRect(), (TSkinRect{193, 2, 198, 20}));
    // Hidden items are never hit, even where they would stand.
    b.Track(b.Item(fit)->ObjectRect.Left + 1, 5);
    EXPECT_NE(b.HotIndex(), fit);

    // An invisible item before the hidden ones does not shift the popup's start.
    root->Items(1)->SetVisible(false);
    b.RebuildItems();
    fit = 0;
    while (fit < b.ItemCount() && b.Item(fit)->Fits) ++fit;
    std::vector<TMenuItem*> hidden;
    for (int i = fit; i < b.ItemCount(); ++i) hidden.push_back(b.Item(i)->MenuItem);
    ASSERT_FALSE(hidden.empty());
    Mouse(WM_LBUTTONDOWN, 195, 10);
    Mouse(WM_LBUTTONUP, 195, 10);
    EXPECT_EQ(Shown(), hidden);
    owner->menu->CloseAll();

    // Widened, everything fits again; the disabled item stays disabled.
    b.SetBounds(0, 0, 560, 22);
    b.Layout();
    EXPECT_FALSE(b.Overflow);
    for (int i = 0; i < b.ItemCount(); ++i) EXPECT_EQ(b.Item(i)->Enabled, b.Item(i)->MenuItem != fenster) << i;
}

TEST_F(MenuBarTest, AnOpenPopupFollowsTheMouseAlongTheBar) {
    Standard();
    datei->SetHint(L"Dateien anlegen, öffnen und speichern");
    TmnSkinMainMenuBar& b = Make(&test::FennickSkin());
    std::vector<TMenuItem*> popups;
    b.OnItemPopup = [&](TComponent*, TMenuItem* item) { popups.push_back(item); };
    Click(0);
    EXPECT_EQ(b.Hint(), L"Dateien anlegen, öffnen und speichern");
    EXPECT_TRUE(b.Item(0)->Down);
    EXPECT_TRUE(b.MenuMode());
    EXPECT_TRUE(owner->inMain);
    EXPECT_EQ(Shown(), SubItems(datei));
    // Onto "Bearbeiten" without a click: the first popup closes, the second opens.
    const TSkinRect r = b.Item(1)->ObjectRect;
    Mouse(WM_MOUSEMOVE, r.Left + 4, 5);
    EXPECT_FALSE(b.Item(0)->Down);
    EXPECT_TRUE(b.Item(1)->Down);
    EXPECT_EQ(owner->menu->PopupList.size(), 1u);
    EXPECT_EQ(Shown(), SubItems(bearbeiten));
    EXPECT_TRUE(b.MenuMode());
    EXPECT_TRUE(owner->inMain);
    EXPECT_EQ(b.HotIndex(), 1);
    EXPECT_EQ(popups, (std::vector<TMenuItem*>{datei, bearbeiten}));
    // Down into the popup: the bar keeps its item, and a rebuild asked on leaving waits.
    TmnSkinMainMenuBarItem* kept = b.Item(1);
    b.OnMouseLeave = [&](TComponent*) { b.RebuildItems(); };
    ::SendMessageW(b.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(b.Item(1), kept);
    EXPECT_TRUE(kept->Down);
    EXPECT_EQ(b.HotIndex(), 1);
    // Over a command item the popup closes; the item waits for its click.
    Mouse(WM_MOUSEMOVE, b.Item(3)->ObjectRect.Left + 3, 5);
    EXPECT_FALSE(owner->menu->Visible);
    Mouse(WM_LBUTTONDOWN, b.Item(3)->ObjectRect.Left + 3, 5);
    EXPECT_FALSE(owner->inMain);
    EXPECT_FALSE(b.MenuMode());
    EXPECT_TRUE(clicks.empty());  // posted: it runs after this message
    Pump();
    EXPECT_EQ(clicks, std::vector<TMenuItem*>{ueber});
}

TEST_F(MenuBarTest, ASecondClickOnTheOpenItemClosesItsPopup) {
    Standard();
    TmnSkinMainMenuBar& b = Make(&test::FennickSkin());
    const TSkinRect r = b.Item(0)->ObjectRect;
    // As the mouse does it: the press is posted, and the chain's message hook sees it first.
    auto postedClick = [&] {
        ::PostMessageW(b.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.Left + 3, r.Top + 3));
        ::PostMessageW(b.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.Left + 3, r.Top + 3));
        Pump();
    };
    for (bool posted : {true, false}) {
        Click(0);
        ASSERT_TRUE(owner->menu->Visible);
        ASSERT_TRUE(b.Item(0)->Down);
        if (posted) postedClick();
        else Click(0);
        EXPECT_FALSE(owner->menu->Visible) << posted;
        EXPECT_FALSE(b.Item(0)->Down) << posted;
        EXPECT_FALSE(owner->inMain) << posted;
        EXPECT_FALSE(b.MenuMode()) << posted;
        EXPECT_TRUE(b.Item(0)->Active) << posted;  // still under the mouse
        Pump();
    }
    // Once that press is done with, the next click opens it again. Sliding onto another item
    // opens that one, and a click there closes it as well.
    Click(0);
    EXPECT_TRUE(owner->menu->Visible);
    EXPECT_TRUE(b.Item(0)->Down);
    Mouse(WM_MOUSEMOVE, b.Item(1)->ObjectRect.Left + 3, 5);
    ASSERT_TRUE(b.Item(1)->Down);
    EXPECT_EQ(Shown(), SubItems(bearbeiten));
    Click(1);
    EXPECT_FALSE(owner->menu->Visible);
    EXPECT_FALSE(b.Item(1)->Down);
    EXPECT_TRUE(b.Item(1)->Active);
}

TEST_F(MenuBarTest, KeyboardMenuModeMovesWrapsAndOpens) {
    Standard();
    bearbeiten->SetEnabled(false);
    TmnSkinMainMenuBar& b = Make(&test::FennickSkin());
    b.EnterMenuMode();
    EXPECT_TRUE(b.MenuMode());
    EXPECT_EQ(owner->enters, 1);
    EXPECT_TRUE(b.Item(0)->Active);
    b.NextItem();  // the disabled "Bearbeiten" is skipped
    EXPECT_FALSE(b.Item(0)->Active);
    EXPECT_TRUE(b.Item(2)->Active);
    b.NextItem();
    b.NextItem();  // from the last round to the first
    EXPECT_TRUE(b.Item(0)->Active);
    b.PreviousItem();  // and back round to the last
    EXPECT_TRUE(b.Item(3)->Active);
    EXPECT_EQ(b.HotIndex(), 3);
    b.PreviousItem();
    EXPECT_TRUE(b.Item(2)->Active);
    // Enter opens the highlighted item's popup; Enter again goes to the popup.
    EXPECT_TRUE(b.PressHotItem());
    EXPECT_TRUE(b.Item(2)->Down);
    EXPECT_EQ(Shown(), SubItems(format));
    EXPECT_FALSE(b.PressHotItem());
    // Right with the popup open moves it along.
    b.NextItem();
    EXPECT_TRUE(b.Item(3)->Down);
    EXPECT_FALSE(owner->menu->Visible);  // "Über" has no menu
    b.PreviousItem();
    EXPECT_TRUE(b.Item(2)->Down);
    EXPECT_EQ(Shown(), SubItems(format));
    // Escape closes the popup and keeps the item highlighted in menu mode; Escape again leaves.
    EXPECT_TRUE(owner->menu->KeyDown(VK_ESCAPE, 0));
    EXPECT_FALSE(owner->menu->Visible);
    EXPECT_TRUE(owner->inMain);
    b.PopupClosed();
    EXPECT_FALSE(b.Item(2)->Down);
    EXPECT_TRUE(b.Item(2)->Active);
    EXPECT_TRUE(b.MenuMode());
    EXPECT_TRUE(b.PressHotItem());  // Enter opens it again
    EXPECT_EQ(Shown(), SubItems(format));
    owner->MainMenuExit();
    EXPECT_FALSE(b.MenuMode());
    for (int i = 0; i < b.ItemCount(); ++i) EXPECT_FALSE(b.Item(i)->Active || b.Item(i)->Down) << i;
    EXPECT_EQ(b.HotIndex(), -1);
}

TEST_F(MenuBarTest, AcceleratorsOpenOrRunTheirItem) {
    Standard();
    TmnSkinMainMenuBar& b = Make(&test::FennickSkin());
    EXPECT_TRUE(b.HandleAccelerator(L'd'));
    EXPECT_TRUE(b.Item(0)->Down);
    EXPECT_EQ(Shown(), SubItems(datei));
    // With a popup open a letter moves it to its item.
    EXPECT_TRUE(b.HandleAccelerator(L'B'));
    EXPECT_TRUE(b.Item(1)->Down);
    EXPECT_EQ(Shown(), SubItems(bearbeiten));
    EXPECT_FALSE(b.HandleAccelerator(L'q'));
    // "&Über" with a lower-case umlaut runs at once and ends the menu mode.
    EXPECT_TRUE(b.HandleAccelerator(L'\u00FC'));
    EXPECT_FALSE(owner->menu->Visible);
    EXPECT_FALSE(b.MenuMode());
    EXPECT_FALSE(owner->inMain);
    Pump();
    EXPECT_EQ(clicks, std::vector<TMenuItem*>{ueber});
    // A disabled item's letter is not taken.
    datei->SetEnabled(false);
    b.RebuildItems();
    EXPECT_FALSE(b.HandleAccelerator(L'D'));
}

// A pointer resting on the bar leaves the highlight to the keyboard: the hover polling takes it
// back only when the pointer moves.
TEST_F(MenuBarTest, APointerRestingOnTheBarLeavesTheHighlightToTheKeyboard) {
    Standard();
    TmnSkinMainMenuBar& b = Make(&test::FennickSkin());
    auto at = [&](int item) { return POINT{b.Item(item)->ObjectRect.Left + 3, b.Item(item)->ObjectRect.Top + 3}; };
    auto pointTo = [&](int item) {
        POINT p = at(item);
        ::ClientToScreen(b.Handle(), &p);
        return ::SetCursorPos(p.x, p.y) != FALSE;
    };
    auto tick = [&] { timers.Advance(50); };  // one hover poll
    ASSERT_TRUE(pointTo(3));
    Mouse(WM_MOUSEMOVE, at(3).x, at(3).y);
    EXPECT_EQ(b.HotIndex(), 3);
    // Alt+D with the pointer over "Über": "Datei" opens and stays open.
    EXPECT_TRUE(b.HandleAccelerator(L'd'));
    tick();
    tick();
    EXPECT_TRUE(b.Item(0)->Down);
    EXPECT_EQ(Shown(), SubItems(datei));
    // The platform reporting the pointer where it was (a window moved under it) changes nothing.
    Mouse(WM_MOUSEMOVE, at(3).x, at(3).y);
    EXPECT_TRUE(b.Item(0)->Down);
    // Moved onto "Bearbeiten", the open popup follows the pointer.
    ASSERT_TRUE(pointTo(1));
    tick();
    EXPECT_TRUE(b.Item(1)->Down);
    EXPECT_EQ(Shown(), SubItems(bearbeiten));
}

TEST_F(MenuBarTest, MenuModeNeedsAnItemItCanReach) {
    Standard();
    for (int i = 0; i < root->Count(); ++i) root->Items(i)->SetEnabled(false);
    TmnSkinMainMenuBar& b = Make(nullptr);
    b.EnterMenuMode();
    EXPECT_FALSE(b.MenuMode());
    EXPECT_EQ(owner->enters, 0);
    EXPECT_EQ(b.HotIndex(), -1);
    b.NextItem();
    EXPECT_EQ(b.HotIndex(), -1);
    EXPECT_FALSE(b.PressHotItem());
    // Enabled, but none fits.
    for (int i = 0; i < root->Count(); ++i) root->Items(i)->SetEnabled(true);
    b.RebuildItems();
    b.SetBounds(0, 0, 30, 22);
    b.Layout();
    b.EnterMenuMode();
    EXPECT_FALSE(b.MenuMode());
    EXPECT_EQ(owner->enters, 0);
}

// The frame's bar is asked to rebuild whenever a document is activated: when nothing it shows
// changed, its objects (and their hover) stay and nothing is painted again.
TEST_F(MenuBarTest, ARebuildThatChangesNothingLeavesTheBarAsItIs) {
    Standard();
    TmnSkinMainMenuBar& b = Make(&test::FennickSkin());
    TmnSkinMainMenuBarItem* first = b.Item(0);
    b.Track(first->ObjectRect.Left + 3, 3);
    const bool hot = first->MouseIn;
    ::ValidateRect(b.Handle(), nullptr);
    b.RebuildItems();
    EXPECT_EQ(b.Item(0), first);
    EXPECT_EQ(first->MouseIn, hot);
    EXPECT_FALSE(::GetUpdateRect(b.Handle(), nullptr, FALSE));
    // A state that changed is shown.
    bearbeiten->SetEnabled(false);
    b.RebuildItems();
    EXPECT_TRUE(::GetUpdateRect(b.Handle(), nullptr, FALSE));
    ASSERT_EQ(b.ItemCount(), 4);
    EXPECT_EQ(b.Item(1)->MenuItem, bearbeiten);
}

TEST_F(MenuBarTest, RebuildingWaitsForTheMenuModeToEnd) {
    Standard();
    TmnSkinMainMenuBar& b = Make(nullptr);
    b.EnterMenuMode();
    TmnSkinMainMenuBarItem* first = b.Item(0);
    Add(root, L"&Neu dazu");
    datei->SetCaption(L"&Akte");
    b.RebuildItems();
    EXPECT_EQ(b.ItemCount(), 4);
    EXPECT_EQ(b.Item(0), first);
    EXPECT_TRUE(first->Active);
    owner->MainMenuExit();
    Pump();
    ASSERT_EQ(b.ItemCount(), 5);
    EXPECT_EQ(b.Item(0)->MenuItem->Caption(), L"&Akte");
    // A menu item freed while shown leaves no object pointing at it.
    delete ueber;
    EXPECT_EQ(b.Item(3)->MenuItem, nullptr);
    EXPECT_FALSE(b.HandleAccelerator(L'\u00DC'));
    Pump();
    EXPECT_EQ(b.ItemCount(), 4);
    // The menu itself going leaves an empty bar.
    delete menu;
    menu = nullptr;
    EXPECT_EQ(b.MainMenu(), nullptr);
    Pump();
    EXPECT_EQ(b.ItemCount(), 0);
    auto img = Snapshot();
    EXPECT_EQ(At(*img, 5, 5), kFace);
}

TEST_F(MenuBarTest, AMaximisedChildsMenuMergesByGroupWithItsButtons) {
    Standard();
    datei->SetGroupIndex(0);
    bearbeiten->SetGroupIndex(1);
    format->SetGroupIndex(1);
    ueber->SetGroupIndex(9);
    auto* child = new TForm(form.get());
    auto* childMenu = new TMainMenu(child);
    auto addChild = [&](const wchar_t* caption, int group) {
        auto* item = new TMenuItem(child);
        item->SetCaption(caption);
        item->SetGroupIndex(group);
        auto* sub = new TMenuItem(child);
        sub->SetCaption(L"&Eintrag");
        item->Add(sub);
        childMenu->Items()->Add(item);
        return item;
    };
    TMenuItem* tabelle = addChild(L"&Tabelle", 5);
    TMenuItem* text = addChild(L"Te&xt", 1);
    owner->child = child;
    owner->icons = BorderIconBit(biSystemMenu) | BorderIconBit(biMaximize);
    TmnSkinMainMenuBar& b = Make(&test::FennickSkin());
    ASSERT_TRUE(b.Merged);
    EXPECT_EQ(b.MergedChildMenu(), childMenu);
    EXPECT_FALSE(b.ScrollMenu());
    std::vector<TMenuItem*> order;
    for (int i = 0; i < b.ItemCount(); ++i) order.push_back(b.Item(i)->MenuItem);
    EXPECT_EQ(order, (std::vector<TMenuItem*>{datei, text, tabelle, ueber}));

    b.ShowChildButtons();
    ASSERT_EQ(b.ButtonCount, 4);
    auto button = [&](int i) { return static_cast<TmnSkinMainMenuBarButton*>(b.Objects[static_cast<size_t>(i)].get()); };
    EXPECT_EQ(button(0)->Command, 3);
    EXPECT_EQ(button(1)->Command, 0);
    EXPECT_EQ(button(2)->Command, 1);
    EXPECT_EQ(button(3)->Command, 2);
    EXPECT_FALSE(button(3)->Enabled);  // no minimise icon
    EXPECT_TRUE(button(0)->Enabled);
    // System menu at the left, items after it, close at the right end.
    EXPECT_EQ(button(0)->ObjectRect.Left, 2);
    EXPECT_EQ(b.Item(0)->ObjectRect.Left, button(0)->ObjectRect.Right + 2);
    EXPECT_EQ(button(1)->ObjectRect.Right, b.Width() - 2);
    EXPECT_LT(button(2)->ObjectRect.Right, button(1)->ObjectRect.Left);

    // Close pressed and released outside does nothing; released on it closes the child.
    const TSkinRect c = button(1)->ObjectRect;
    Mouse(WM_MOUSEMOVE, c.Left + 3, c.Top + 3);
    Mouse(WM_LBUTTONDOWN, c.Left + 3, c.Top + 3);
    EXPECT_TRUE(button(1)->Down);
    Mouse(WM_MOUSEMOVE, 300, c.Top + 3);
    Mouse(WM_LBUTTONUP, 300, c.Top + 3);
    EXPECT_FALSE(button(1)->Down);
    EXPECT_TRUE(owner->actions.empty());
    Mouse(WM_MOUSEMOVE, c.Left + 3, c.Top + 3);
    Mouse(WM_LBUTTONDOWN, c.Left + 3, c.Top + 3);
    Mouse(WM_LBUTTONUP, c.Left + 3, c.Top + 3);
    ASSERT_EQ(owner->actions.size(), 1u);
    EXPECT_EQ(owner->actions[0], (std::pair{child, TmnWindowAction::Close}));
    // The disabled minimise button takes no press.
    const TSkinRect m = button(3)->ObjectRect;
    Mouse(WM_MOUSEMOVE, m.Left + 3, m.Top + 3);
    Mouse(WM_LBUTTONDOWN, m.Left + 3, m.Top + 3);
    Mouse(WM_LBUTTONUP, m.Left + 3, m.Top + 3);
    EXPECT_EQ(owner->actions.size(), 1u);

    // The system-menu button opens the child's menu and is released when it closes.
    TMenuItem* sys = new TMenuItem(form.get());
    Add(sys, L"&Schließen");
    owner->systemMenu = sys;
    const TSkinRect s = button(0)->ObjectRect;
    Mouse(WM_MOUSEMOVE, s.Left + 3, s.Top + 3);
    Mouse(WM_LBUTTONDOWN, s.Left + 3, s.Top + 3);
    Mouse(WM_LBUTTONUP, s.Left + 3, s.Top + 3);
    EXPECT_EQ(owner->systemMenus, 1);
    EXPECT_TRUE(button(0)->Down);
    EXPECT_EQ(Shown(), SubItems(sys));
    owner->menu->CloseAll();
    EXPECT_FALSE(button(0)->Down);

    // Restored: the buttons go, the items take their place again.
    owner->child = nullptr;
    b.UpdateChildButtons();
    EXPECT_EQ(b.ButtonCount, 0);
    EXPECT_FALSE(b.ChildButtonsShown);
    b.RebuildItems();
    EXPECT_FALSE(b.Merged);
    EXPECT_EQ(b.ItemCount(), 4);
    EXPECT_EQ(b.Item(0)->ObjectRect.Left, 2);
}

TEST_F(MenuBarTest, UnskinnedChildButtonsAreSquaresOfTheItemsHeight) {
    Standard();
    auto* child = new TForm(form.get());
    owner->child = child;
    TmnSkinMainMenuBar& b = Make(nullptr);
    b.ShowChildButtons();
    ASSERT_EQ(b.ButtonCount, 4);
    EXPECT_EQ(b.Objects[0]->IDName, L"SysMenuButton");
    EXPECT_EQ(b.Objects[1]->IDName, L"CloseButton");
    EXPECT_EQ(b.Objects[0]->ObjectRect, (TSkinRect{2, 2, 20, 20}));
    EXPECT_EQ(b.Objects[1]->ObjectRect, (TSkinRect{b.Width() - 20, 2, b.Width() - 2, 20}));
    auto img = Snapshot();
    EXPECT_EQ(At(*img, 3, 3), kFace);
    // A rebuild keeps them (the child is still maximised).
    b.RebuildItems();
    EXPECT_EQ(b.ButtonCount, 4);
    EXPECT_EQ(b.Item(0)->ObjectRect.Left, 22);
}

TEST_F(MenuBarTest, ScreenReadersSeeAMenuBarOfItemsWithoutTheMnemonic) {
    ::CoInitialize(nullptr);
    Standard();
    bearbeiten->SetEnabled(false);
    TmnSkinMainMenuBar& b = Make(nullptr);
    IAccessible* acc = nullptr;
    ASSERT_TRUE(SUCCEEDED(::AccessibleObjectFromWindow(b.Handle(), OBJID_CLIENT, __uuidof(IAccessible),
                                                       reinterpret_cast<void**>(&acc))));
    auto id = [](long i) {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = i;
        return v;
    };
    VARIANT role{};
    ASSERT_TRUE(SUCCEEDED(acc->get_accRole(id(CHILDID_SELF), &role)));
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_MENUBAR);
    long count = 0;
    acc->get_accChildCount(&count);
    EXPECT_EQ(count, 4);
    BSTR name = nullptr;
    ASSERT_TRUE(SUCCEEDED(acc->get_accName(id(4), &name)));
    EXPECT_EQ(std::wstring(name), L"Über");
    ::SysFreeString(name);
    VARIANT state{};
    acc->get_accState(id(2), &state);
    EXPECT_NE(state.lVal & STATE_SYSTEM_UNAVAILABLE, 0);
    acc->Release();
    ::CoUninitialize();

    // Menu mode is announced as a menu starting and ending.
    static std::vector<DWORD> events;
    events.clear();
    HWINEVENTHOOK hook = ::SetWinEventHook(
        EVENT_SYSTEM_MENUSTART, EVENT_SYSTEM_MENUEND, nullptr,
        [](HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD) { events.push_back(event); },
        ::GetCurrentProcessId(), ::GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    b.EnterMenuMode();
    owner->MainMenuExit();
    Pump();
    ::UnhookWinEvent(hook);
    EXPECT_EQ(events, (std::vector<DWORD>{EVENT_SYSTEM_MENUSTART, EVENT_SYSTEM_MENUEND}));
}

TEST_F(MenuBarTest, ReadFromFormDataWithItsOwnerAndMenu) {
    TmnSkinMainMenuBar::Register();
    RegisterMenuClasses();
    RegisterComponentClass(L"TBarTestOwner", [](TComponent* o) { return new BarOwner(o); });
    const std::wstring text = LR"(object DocHost: TForm
  Width = 400
  Height = 200
  object MainMenu1: TMainMenu
    object Datei1: TMenuItem
      Caption = '&Datei'
      object Neu1: TMenuItem
        Caption = '&Neu'
      end
    end
    object Hilfe1: TMenuItem
      Caption = '&Hilfe'
    end
  end
  object mnSkinMainMenuBar1: TmnSkinMainMenuBar
    Left = 0
    Top = 0
    Width = 380
    Height = 22
    Align = alTop
    TabOrder = 1
    SkinDataName = 'mainmenubar'
    ScrollMenu = True
    UseSkinFont = True
    DefItemFont.Charset = DEFAULT_CHARSET
    DefItemFont.Color = clBtnText
    DefItemFont.Height = 14
    DefItemFont.Name = 'Arial'
    DefItemFont.Style = []
    DefaultWidth = 0
    DefaultHeight = 22
    PopupToUp = False
    Mantle = mnMantle1
    MainMenu = MainMenu1
  end
  object mnMantle1: TBarTestOwner
  end
end
)";
    auto doc = std::make_unique<TForm>(nullptr);
    doc->LoadFromText(text);
    auto* b = doc->Field<TmnSkinMainMenuBar>(L"mnSkinMainMenuBar1");
    auto* o = doc->Field<BarOwner>(L"mnMantle1");
    EXPECT_EQ(b->Mantle(), o);
    EXPECT_EQ(b->MainMenu(), doc->Field<TMainMenu>(L"MainMenu1"));
    ASSERT_EQ(b->ItemCount(), 2);
    EXPECT_EQ(b->Item(1)->IDName, L"Hilfe1");
    EXPECT_EQ(b->Height(), 22);
    EXPECT_EQ(b->DefItemFont().Name(), L"Arial");
    // The owner goes first: the bar forgets it.
    delete o;
    EXPECT_EQ(b->Mantle(), nullptr);
    b->EnterMenuMode();  // without an owner: it highlights, but has no chain to open
    EXPECT_TRUE(b->Item(0)->Active);
    b->PressHotItem();
    EXPECT_FALSE(b->Item(0)->Down);
    doc.reset();

    // A reference to a component of another kind is refused.
    std::wstring wrong = text;
    wrong.replace(wrong.find(L"Mantle = mnMantle1"), 18, L"Mantle = MainMenu1");
    auto bad = std::make_unique<TForm>(nullptr);
    EXPECT_THROW(bad->LoadFromText(wrong), EReadError);
}

}  // namespace
}  // namespace fn
