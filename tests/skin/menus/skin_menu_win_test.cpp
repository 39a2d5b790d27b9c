// The skinned menu chain with real windows under Wine: opening and closing by mouse and keys,
// sub-menus after the delay, scrolling, mnemonics, placement, the key handler's answers, the
// deferred commands and the faults that used to break the chain. Timers are fired by the test.
#include <gtest/gtest.h>
#include <oleacc.h>

#include "menus_fixture.h"
#include "platform/win/actions.h"
#include "platform/win/application.h"
#include "platform/win/image_list.h"
#include "skin/data/skin_messages.h"
#include "skin/menus/skin_popup_menu_win.h"
#include "skin/paint/system_win.h"

namespace fn {
namespace {

using test::CountingWindow;
using test::FakeTimers;
using test::Pump;
using test::TestOwner;

constexpr UINT_PTR MouseTimerId = 1, ScrollTimerId = 2, MorphTimerId = 3, FadeTimerId = 4, WaitTimerId = 1;

class SkinMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.skin = &test::FennickSkin();
        menu().WorkAreaOverride = RECT{0, 0, 1024, 768};
        menu().DesktopSettings = [] { return TmnMenuDesktopSettings{}; };
        root = Item(nullptr, L"root");
        PressKey();  // the menus here open from the keyboard unless a test says otherwise
    }
    // The newest input the application handled: a key, or a mouse button.
    static void PressKey() {
        MSG key{nullptr, WM_KEYDOWN, VK_DOWN, 1, 0, {0, 0}};
        Application()->NoteInput(key);
    }
    static void ClickMouse() {
        MSG click{nullptr, WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, {10, 10}};
        Application()->NoteInput(click);
    }
    void TearDown() override {
        menu().CloseAll();
        Pump();
    }
    TmnSkinMenu& menu() { return *owner.menu; }
    TMenuItem* Item(TMenuItem* parent, const wchar_t* caption, bool enabled = true) {
        auto* item = new TMenuItem(&items);
        item->SetCaption(caption);
        item->SetEnabled(enabled);
        if (parent) parent->Add(item);
        return item;
    }
    // root: &Neu, &Öffnen (clicks counted), -, Gesperrt (disabled), &Zuletzt > (A, B), Sch&ließen
    void Standard() {
        neu = Item(root, L"&Neu");
        open = Item(root, L"&Öffnen");
        open->OnClick = [this](TComponent*) { ++openClicks; };
        Item(root, L"-");
        Item(root, L"Gesperrt", false);
        recent = Item(root, L"&Zuletzt");
        recent->OnClick = [this](TComponent*) { recentWindowsAtClick = static_cast<int>(menu().PopupList.size()); };
        Item(recent, L"A");
        Item(recent, L"B");
        Item(root, L"Sch&ließen");
    }
    void Open(TmnSkinData* skin, HWND ctrl = nullptr, RECT at = {100, 100, 100, 100}) {
        menu().Popup(ctrl, skin, false, root, at, 0);
    }
    TmnSkinPopupWindow& Window(int i) { return *menu().PopupList[static_cast<size_t>(i)]; }
    // The screen point at the middle of item i of window w.
    POINT Over(TmnSkinPopupWindow& w, int i) {
        const TSkinRect& r = w.Items[static_cast<size_t>(i)]->ObjectRect;
        POINT pt{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
        ::ClientToScreen(w.Handle(), &pt);
        return pt;
    }
    void ClickAt(TmnSkinPopupWindow& w, int i) {
        const TSkinRect& r = w.Items[static_cast<size_t>(i)]->ObjectRect;
        ::SendMessageW(w.Handle(), WM_LBUTTONUP, 0, MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    }

    FakeTimers timers;
    TestOwner owner;
    TComponent items{nullptr};
    TMenuItem* root = nullptr;
    TMenuItem *neu = nullptr, *open = nullptr, *recent = nullptr;
    int openClicks = 0;
    int recentWindowsAtClick = -1;
};

TEST_F(SkinMenuTest, OpensSkinnedWithTheFirstEnabledItemHighlighted) {
    Standard();
    Open(owner.skin);
    ASSERT_EQ(menu().PopupList.size(), 1u);
    TmnSkinPopupWindow& w = Window(0);
    EXPECT_TRUE(menu().Visible);
    EXPECT_TRUE(::IsWindowVisible(w.Handle()));
    EXPECT_NE(w.WindowRecord, nullptr);
    EXPECT_NE(w.ItemRecord, nullptr);
    EXPECT_EQ(w.Items.size(), 6u);
    EXPECT_EQ(w.ActiveItem, 0);
    EXPECT_TRUE(w.Items[0]->WaitCommand);
    // The mask gives the window a region.
    HRGN probe = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(::GetWindowRgn(w.Handle(), probe), ERROR);
    ::DeleteObject(probe);
    // Items follow each other in the items area, the divider lower than the rest.
    EXPECT_EQ(w.Items[1]->ObjectRect.Top, w.Items[0]->ObjectRect.Bottom);
    EXPECT_LT(w.Items[2]->ObjectRect.Height(), w.Items[1]->ObjectRect.Height());
    // The cursor poll waits for the mouse to reach the window.
    EXPECT_FALSE(timers.Has(w.Handle(), MouseTimerId));
    ::SendMessageW(w.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_TRUE(timers.Has(w.Handle(), MouseTimerId));
    // Opened by a click, no item is highlighted until the pointer or a key picks one.
    menu().CloseAll();
    ClickMouse();
    Open(owner.skin);
    ASSERT_EQ(menu().PopupList.size(), 1u);
    EXPECT_EQ(Window(0).ActiveItem, -1);
    EXPECT_TRUE(menu().KeyDown(VK_DOWN, 0));
    EXPECT_EQ(Window(0).ActiveItem, 0);
}

TEST_F(SkinMenuTest, NothingToShowOpensNothing) {
    Open(owner.skin);
    EXPECT_FALSE(menu().Visible);
    Item(root, L"unsichtbar")->SetVisible(false);
    Open(owner.skin);
    EXPECT_FALSE(menu().Visible);
    EXPECT_TRUE(menu().PopupList.empty());
    Standard();
    menu().Popup(nullptr, owner.skin, false, root, {0, 0, 0, 0}, 99);
    EXPECT_FALSE(menu().Visible);
}

TEST_F(SkinMenuTest, HoverOpensTheSubMenuAfterTheDelay) {
    Standard();
    Open(owner.skin);
    TmnSkinPopupWindow& w = Window(0);
    w.MouseAt(Over(w, 4), true);
    EXPECT_EQ(w.ActiveItem, 4);
    EXPECT_EQ(menu().PopupList.size(), 1u);
    ASSERT_TRUE(timers.Has(menu().MessageWindow(), WaitTimerId));
    EXPECT_EQ(timers.Interval(menu().MessageWindow(), WaitTimerId), 500u);
    timers.Fire(menu().MessageWindow(), WaitTimerId);
    ASSERT_EQ(menu().PopupList.size(), 2u);
    EXPECT_TRUE(w.Items[4]->Down);
    EXPECT_FALSE(timers.Has(menu().MessageWindow(), WaitTimerId));
    // The sub-menu's first item is level with its parent item, right beside it.
    RECT parent, sub;
    ::GetWindowRect(w.Handle(), &parent);
    ::GetWindowRect(Window(1).Handle(), &sub);
    EXPECT_EQ(sub.left, parent.left + w.Items[4]->ObjectRect.Right + 1);
    EXPECT_EQ(sub.top + Window(1).Items[0]->ObjectRect.Top, parent.top + w.Items[4]->ObjectRect.Top);
    // Moving to another item before the delay cancels the wait.
    menu().CloseFrom(1);
    w.MouseAt(Over(w, 0), true);
    w.MouseAt(Over(w, 4), true);
    EXPECT_TRUE(timers.Has(menu().MessageWindow(), WaitTimerId));
    w.MouseAt(Over(w, 5), true);
    EXPECT_FALSE(timers.Has(menu().MessageWindow(), WaitTimerId));
    EXPECT_EQ(menu().WaitItem, nullptr);
}

TEST_F(SkinMenuTest, ClickOnAParentRunsItsOnClickFirstThenOpensTheSubMenu) {
    Standard();
    Open(owner.skin);
    TmnSkinPopupWindow& w = Window(0);
    ClickAt(w, 4);
    // Nothing happens inside the window's own message.
    EXPECT_EQ(menu().PopupList.size(), 1u);
    Pump();
    EXPECT_EQ(recentWindowsAtClick, 1);
    EXPECT_EQ(menu().PopupList.size(), 2u);
}

TEST_F(SkinMenuTest, LeafClickClosesTheChainRunsTheCommandAndTellsEveryone) {
    Standard();
    CountingWindow ctrl;
    Open(owner.skin, ctrl.Handle());
    int closedCalls = 0;
    menu().OnMenuClose = [&](TComponent*) { ++closedCalls; };
    TmnSkinPopupWindow& w = Window(0);
    ClickAt(w, 1);  // a click without a mouse move before it
    EXPECT_EQ(openClicks, 0);
    EXPECT_TRUE(menu().Visible);
    Pump();
    EXPECT_EQ(openClicks, 1);
    EXPECT_FALSE(menu().Visible);
    EXPECT_TRUE(menu().PopupList.empty());
    EXPECT_EQ(closedCalls, 1);
    EXPECT_EQ(ctrl.Count(MSG_SKIN_MENU_CLOSED), 1);
    EXPECT_EQ(ctrl.Count(MSG_SKIN_MENU_COMMAND), 1);
    EXPECT_GE(owner.form.Count(MSG_SKIN_MENU_CLOSED), 1);
    EXPECT_EQ(menu().LastCtrl, nullptr);
}

TEST_F(SkinMenuTest, DisabledItemsAndDividersDoNothingWhenClicked) {
    Standard();
    Open(owner.skin);
    ClickAt(Window(0), 3);
    ClickAt(Window(0), 2);
    Pump();
    EXPECT_TRUE(menu().Visible);
}

TEST_F(SkinMenuTest, ArrowKeysSkipDividersAndDisabledItems) {
    Standard();
    Open(owner.skin);
    TmnSkinPopupWindow& w = Window(0);
    EXPECT_TRUE(menu().KeyDown(VK_DOWN, 0));
    EXPECT_EQ(w.ActiveItem, 1);
    EXPECT_TRUE(menu().KeyDown(VK_DOWN, 0));
    EXPECT_EQ(w.ActiveItem, 4);
    EXPECT_FALSE(w.Items[1]->Active);
    EXPECT_TRUE(menu().KeyDown(VK_UP, 0));
    EXPECT_EQ(w.ActiveItem, 1);
    EXPECT_TRUE(menu().KeyDown(VK_END, 0));
    EXPECT_EQ(w.ActiveItem, 5);
    EXPECT_TRUE(menu().KeyDown(VK_DOWN, 0));
    EXPECT_EQ(w.ActiveItem, 0);
    EXPECT_TRUE(menu().KeyDown(VK_HOME, 0));
    EXPECT_EQ(w.ActiveItem, 0);
    // Right on an item with sub-items opens it; Left and Esc close one level at a time.
    menu().KeyDown(VK_DOWN, 0);
    menu().KeyDown(VK_DOWN, 0);
    EXPECT_TRUE(menu().KeyDown(VK_RIGHT, 0));
    Pump();
    ASSERT_EQ(menu().PopupList.size(), 2u);
    EXPECT_EQ(Window(1).ActiveItem, 0);
    EXPECT_TRUE(menu().KeyDown(VK_LEFT, 0));
    EXPECT_EQ(menu().PopupList.size(), 1u);
    EXPECT_FALSE(w.Items[4]->Down);
    EXPECT_TRUE(menu().KeyDown(VK_RIGHT, 0));
    Pump();
    EXPECT_TRUE(menu().KeyDown(VK_ESCAPE, 0));
    EXPECT_EQ(menu().PopupList.size(), 1u);
    EXPECT_TRUE(menu().Visible);
    EXPECT_TRUE(menu().KeyDown(VK_ESCAPE, 0));
    EXPECT_FALSE(menu().Visible);
}

TEST_F(SkinMenuTest, AHighlightFadesInAndOutInFiveTicksExactly) {
    Standard();
    Open(owner.skin);
    TmnSkinPopupWindow& w = Window(0);
    TmnSkinMenuItem &first = *w.Items[0], &second = *w.Items[1];
    ASSERT_TRUE(first.MorphingEnabled());
    for (int i = 0; i < 5; ++i) timers.Fire(w.Handle(), MorphTimerId);
    EXPECT_EQ(first.MorphFactor, 1.0);
    menu().KeyDown(VK_DOWN, 0);
    for (int i = 0; i < 5; ++i) timers.Fire(w.Handle(), MorphTimerId);
    // Both ends are reached exactly: the item left is drawn as normal again, not as a morph.
    EXPECT_EQ(first.MorphFactor, 0.0);
    EXPECT_EQ(second.MorphFactor, 1.0);
    timers.Fire(w.Handle(), MorphTimerId);  // nothing left to step: the timer stops
    EXPECT_FALSE(timers.Has(w.Handle(), MorphTimerId));
}

TEST_F(SkinMenuTest, ItemsShowWhatTheirActionsUpdateSetsWhenTheirWindowOpens) {
    TAction save(&items), secret(&items), deep(&items);
    int updates = 0;
    save.OnUpdate = [&](TComponent*) {
        ++updates;
        save.SetCaption(L"&Speichern");
        save.SetEnabled(false);
    };
    secret.OnUpdate = [&](TComponent*) { secret.SetVisible(false); };
    deep.OnUpdate = [&](TComponent*) { deep.SetCaption(L"&Tief"); };
    Item(root, L"")->SetAction(&save);
    Item(root, L"Geheim")->SetAction(&secret);
    Item(root, L"&Neu");
    TMenuItem* more = Item(root, L"&Mehr");
    Item(more, L"")->SetAction(&deep);
    Open(owner.skin);
    EXPECT_EQ(updates, 1);
    TmnSkinPopupWindow& w = Window(0);
    ASSERT_EQ(w.Items.size(), 3u);  // the item its action hid is left out
    EXPECT_EQ(w.AccessibleChild(0).Name, L"Speichern");
    EXPECT_FALSE(w.Items[0]->Enabled());
    EXPECT_EQ(w.ActiveItem, 1);  // the disabled item is passed over
    // A sub-menu's items are brought up to date as it opens.
    menu().KeyDown(VK_DOWN, 0);
    ASSERT_TRUE(menu().KeyDown(VK_RIGHT, 0));
    Pump();
    ASSERT_EQ(menu().PopupList.size(), 2u);
    EXPECT_EQ(Window(1).AccessibleChild(0).Name, L"Tief");
}

TEST_F(SkinMenuTest, TheKeyHandlerSaysWhichKeysItUsed) {
    Standard();
    EXPECT_FALSE(menu().KeyDown(VK_DOWN, 0));  // no chain
    Open(owner.skin);
    EXPECT_FALSE(menu().KeyDown(VK_F5, 0));
    EXPECT_FALSE(menu().KeyDown('X', L'x'));   // no item has that mnemonic
    EXPECT_FALSE(menu().KeyDown(VK_LEFT, 0));  // one window: the menu bar may move on
    EXPECT_FALSE(menu().KeyDown(VK_RIGHT, 0)); // the active item has no sub-menu
    EXPECT_TRUE(menu().KeyDown(VK_RETURN, 0));
    Pump();
    EXPECT_FALSE(menu().Visible);
}

TEST_F(SkinMenuTest, MnemonicsMatchUmlautsIgnoringCase) {
    Standard();
    Open(owner.skin);
    EXPECT_TRUE(menu().KeyDown(0xC0, L'ö'));
    Pump();
    EXPECT_EQ(openClicks, 1);
    EXPECT_FALSE(menu().Visible);
    Open(owner.skin);
    EXPECT_TRUE(menu().KeyDown('Z', L'Z'));  // a parent item: its sub-menu opens
    Pump();
    EXPECT_EQ(menu().PopupList.size(), 2u);
    EXPECT_FALSE(menu().KeyDown('L', L'l'));  // no such mnemonic in the sub-menu
    Pump();
    EXPECT_EQ(menu().PopupList.size(), 2u);
}

TEST_F(SkinMenuTest, KeysWithNothingSelectableOrNoActiveItemDoNothing) {
    Item(root, L"-");
    Item(root, L"Aus", false);
    Item(root, L"-");
    Open(owner.skin);
    ASSERT_TRUE(menu().Visible);
    EXPECT_EQ(Window(0).ActiveItem, -1);
    EXPECT_TRUE(menu().KeyDown(VK_DOWN, 0));
    EXPECT_TRUE(menu().KeyDown(VK_UP, 0));
    EXPECT_TRUE(menu().KeyDown(VK_HOME, 0));
    EXPECT_EQ(Window(0).ActiveItem, -1);
    EXPECT_TRUE(menu().KeyDown(VK_RETURN, 0));
    EXPECT_FALSE(menu().KeyDown(VK_RIGHT, 0));
    Pump();
    EXPECT_TRUE(menu().Visible);
    Window(0).ActiveItem = 77;  // stale index: ignored, not read
    EXPECT_TRUE(menu().KeyDown(VK_RETURN, 0));
    EXPECT_TRUE(menu().KeyDown(VK_DOWN, 0));
}

TEST_F(SkinMenuTest, LongMenuScrollsBetweenItsMarkers) {
    for (int i = 0; i < 30; ++i) Item(root, (L"Eintrag " + std::to_wstring(i)).c_str());
    menu().MaxMenuItemsInWindow = 10;
    Open(owner.skin);
    TmnSkinPopupWindow& w = Window(0);
    EXPECT_TRUE(w.Scroll);
    EXPECT_TRUE(w.LimitedByMax);
    EXPECT_EQ(w.VisibleCount, 10);
    RECT r;
    ::GetClientRect(w.Handle(), &r);
    EXPECT_EQ(w.Items[0]->ObjectRect.Top, w.NewItemsRect.Top + PopupMarkerHeight);
    // Hovering the bottom strip scrolls one item per tick until the last is visible.
    POINT strip{(w.NewItemsRect.Left + w.NewItemsRect.Right) / 2, w.NewItemsRect.Bottom - 3};
    ::ClientToScreen(w.Handle(), &strip);
    w.MouseAt(strip, true);
    EXPECT_EQ(w.ScrollMarker, TScrollMarker::Down);
    ASSERT_TRUE(timers.Has(w.Handle(), ScrollTimerId));
    for (int i = 0; i < 40 && timers.Has(w.Handle(), ScrollTimerId); ++i) timers.Fire(w.Handle(), ScrollTimerId);
    EXPECT_EQ(w.VisibleStartIndex, 20);
    EXPECT_TRUE(w.Items[29]->Visible);
    EXPECT_FALSE(w.Items[19]->Visible);
    EXPECT_FALSE(timers.Has(w.Handle(), ScrollTimerId));
    // The keyboard scrolls too: Down past the end wraps to the top.
    w.ActiveItem = 29;
    menu().KeyDown(VK_DOWN, 0);
    EXPECT_EQ(w.ActiveItem, 0);
    EXPECT_EQ(w.VisibleStartIndex, 0);
    menu().KeyDown(VK_UP, 0);
    EXPECT_EQ(w.ActiveItem, 29);
    EXPECT_EQ(w.VisibleStartIndex, 20);
}

TEST_F(SkinMenuTest, PlacedInsideTheWorkAreaNearItsEdges) {
    Standard();
    const RECT work{0, 0, 1024, 768};
    auto bounds = [&](RECT anchor) {
        menu().CloseAll();
        Open(owner.skin, nullptr, anchor);
        RECT r;
        ::GetWindowRect(Window(0).Handle(), &r);
        return r;
    };
    RECT r = bounds({1020, 100, 1020, 100});
    EXPECT_LE(r.right, work.right);
    r = bounds({100, 760, 100, 760});
    EXPECT_LE(r.bottom, 760);  // above the anchor
    r = bounds({-40, -40, -40, -40});
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    // A sub-menu at the right edge opens to the left of its parent.
    r = bounds({1000, 100, 1000, 100});
    TmnSkinPopupWindow& w = Window(0);
    w.MouseAt(Over(w, 4), true);
    timers.Fire(menu().MessageWindow(), WaitTimerId);
    ASSERT_EQ(menu().PopupList.size(), 2u);
    RECT sub;
    ::GetWindowRect(Window(1).Handle(), &sub);
    EXPECT_EQ(sub.right, r.left + w.Items[4]->ObjectRect.Left - 1);
    EXPECT_GE(sub.left, 0);
}

TEST_F(SkinMenuTest, AMergedWindowShowsTheSecondMenuAfterTheFirstInAHigherFrame) {
    Standard();  // six items
    TMenuItem* second = Item(nullptr, L"second");
    Item(second, L"X");
    Item(second, L"Y");
    menu().PopupMerged(nullptr, nullptr, false, root, second, {100, 100, 100, 100}, 4);
    ASSERT_EQ(menu().PopupList.size(), 1u);
    TmnSkinPopupWindow& merged = Window(0);
    ASSERT_EQ(merged.Items.size(), 4u);
    EXPECT_EQ(merged.Items[0]->MenuItem, recent);
    EXPECT_EQ(merged.Items[2]->MenuItem->Caption(), L"X");
    RECT mergedRect;
    ::GetWindowRect(merged.Handle(), &mergedRect);
    menu().CloseAll();
    TMenuItem* plain = Item(nullptr, L"plain");
    for (const wchar_t* caption : {L"A", L"B", L"C", L"D"}) Item(plain, caption);
    menu().Popup(nullptr, nullptr, false, plain, {100, 100, 100, 100}, 0);
    ASSERT_EQ(menu().PopupList.size(), 1u);
    RECT plainRect;
    ::GetWindowRect(Window(0).Handle(), &plainRect);
    EXPECT_EQ(mergedRect.bottom - mergedRect.top, plainRect.bottom - plainRect.top + 2);
}

TEST_F(SkinMenuTest, CloseFromAnyDepthStopsTheSubMenuWait) {
    Standard();
    Open(owner.skin);
    TmnSkinPopupWindow& w = Window(0);
    w.MouseAt(Over(w, 4), true);
    ASSERT_TRUE(timers.Has(menu().MessageWindow(), WaitTimerId));
    menu().CloseFrom(1);
    EXPECT_FALSE(timers.Has(menu().MessageWindow(), WaitTimerId));
    EXPECT_EQ(menu().WaitItem, nullptr);
    // A stray tick after the close does nothing.
    timers.Fire(menu().MessageWindow(), WaitTimerId);
    EXPECT_EQ(menu().PopupList.size(), 1u);
}

TEST_F(SkinMenuTest, AParentOnClickThatClosesTheChainLeavesNothingRunning) {
    Standard();
    recent->OnClick = [this](TComponent*) { menu().CloseAll(); };
    Open(owner.skin);
    ClickAt(Window(0), 4);
    Pump();
    EXPECT_FALSE(menu().Visible);
    EXPECT_TRUE(menu().PopupList.empty());
    // One that frees the very item being run.
    Open(owner.skin);
    TMenuItem* doomed = Item(root, L"Weg");
    menu().CloseAll();
    Open(owner.skin);
    menu().OnMenuClose = [&](TComponent*) { delete doomed; doomed = nullptr; };
    bool ran = false;
    doomed->OnClick = [&](TComponent*) { ran = true; };
    ClickAt(Window(0), 6);
    Pump();
    EXPECT_FALSE(ran);
    EXPECT_EQ(doomed, nullptr);
}

TEST_F(SkinMenuTest, AnOldChainClosesBeforeTheNewOpenerIsStored) {
    Standard();
    CountingWindow first, second;
    Open(owner.skin, first.Handle());
    Open(owner.skin, second.Handle());
    EXPECT_EQ(first.Count(MSG_SKIN_MENU_CLOSED), 1);
    EXPECT_EQ(second.Count(MSG_SKIN_MENU_CLOSED), 0);
    EXPECT_EQ(menu().PopupCtrl, second.Handle());
    // An opener destroyed while its menu is open is not told anything.
    {
        CountingWindow gone;
        menu().CloseAll();
        Open(owner.skin, gone.Handle());
    }
    menu().CloseAll();
    SUCCEED();
}

TEST_F(SkinMenuTest, OnMenuCloseIsClearedBeforeItRuns) {
    Standard();
    Open(owner.skin);
    int second = 0;
    menu().OnMenuClose = [&](TComponent*) {
        // The handler opens the next menu with a close handler of its own.
        Open(owner.skin);
        menu().OnMenuClose = [&](TComponent*) { ++second; };
    };
    menu().KeyDown(VK_ESCAPE, 0);
    EXPECT_TRUE(menu().Visible);
    EXPECT_TRUE(static_cast<bool>(menu().OnMenuClose));
    menu().KeyDown(VK_ESCAPE, 0);
    EXPECT_EQ(second, 1);
    EXPECT_FALSE(static_cast<bool>(menu().OnMenuClose));
}

TEST_F(SkinMenuTest, IndexesOutOfRangeMeanUnskinned) {
    Standard();
    TmnSkinData& skin = *owner.skin;
    auto& pw = const_cast<TmnDataSkinPopupWindow&>(skin.PopupWindow());
    const TmnDataSkinPopupWindow saved = pw;
    pw.WindowPictureIndex = 99;
    Open(&skin);
    EXPECT_EQ(Window(0).WindowRecord, nullptr);
    EXPECT_EQ(Window(0).ItemRecord, nullptr);
    EXPECT_EQ(Window(0).Items[0]->ObjectRect.Height(), 20);
    menu().CloseAll();
    pw.WindowPictureIndex = saved.WindowPictureIndex;
    pw.MaskPictureIndex = -7;
    Open(&skin);
    EXPECT_NE(Window(0).WindowRecord, nullptr);
    HRGN probe = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(Window(0).Handle(), probe), ERROR);  // no mask: no region
    ::DeleteObject(probe);
    menu().CloseAll();
    pw = saved;
    // Item heights below 1 fall back to the default.
    auto* record = const_cast<TmnDataSkinMenuItem*>(dynamic_cast<const TmnDataSkinMenuItem*>(
        skin.SkinObjects()[static_cast<size_t>(skin.GetObjectIndex(L"MENUITEM"))].get()));
    ASSERT_NE(record, nullptr);
    const TSkinRect savedRect = record->SkinRect;
    record->SkinRect.Bottom = record->SkinRect.Top;
    menu().DefaultMenuItemHeight = 17;
    Open(&skin);
    EXPECT_EQ(Window(0).Items[0]->ObjectRect.Height(), 17);
    menu().CloseAll();
    record->SkinRect = savedRect;
}

// The client object of a popup window read the way a screen reader reads it.
class PopupAccessible {
public:
    explicit PopupAccessible(HWND window) {
        if (FAILED(::AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&acc_))))
            acc_ = nullptr;
    }
    ~PopupAccessible() {
        if (acc_) acc_->Release();
    }
    bool Ok() const { return acc_ != nullptr; }
    long Count() {
        long n = -1;
        return SUCCEEDED(acc_->get_accChildCount(&n)) ? n : -1;
    }
    long Role(long id) {
        VARIANT role{};
        return SUCCEEDED(acc_->get_accRole(Id(id), &role)) && role.vt == VT_I4 ? role.lVal : -1;
    }
    std::wstring Name(long id) {
        BSTR name = nullptr;
        if (FAILED(acc_->get_accName(Id(id), &name)) || !name) return L"<none>";
        std::wstring text(name);
        ::SysFreeString(name);
        return text;
    }
    long State(long id) {
        VARIANT state{};
        return SUCCEEDED(acc_->get_accState(Id(id), &state)) && state.vt == VT_I4 ? state.lVal : -1;
    }
    long Focus() {
        VARIANT focus{};
        return SUCCEEDED(acc_->get_accFocus(&focus)) && focus.vt == VT_I4 ? focus.lVal : -1;
    }

private:
    static VARIANT Id(long id) {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = id;
        return v;
    }
    IAccessible* acc_ = nullptr;
};

TEST_F(SkinMenuTest, ScreenReadersReadAMenuOfItemsNamedWithoutTheMnemonic) {
    ::CoInitialize(nullptr);
    Standard();
    Item(root, L"Drag && &Drop")->SetChecked(true);
    Open(owner.skin);
    TmnSkinPopupWindow& w = Window(0);
    {
        PopupAccessible acc(w.Handle());
        ASSERT_TRUE(acc.Ok());
        EXPECT_EQ(acc.Role(CHILDID_SELF), ROLE_SYSTEM_MENUPOPUP);
        ASSERT_EQ(acc.Count(), 7);
        EXPECT_EQ(acc.Role(1), ROLE_SYSTEM_MENUITEM);
        EXPECT_EQ(acc.Name(1), L"Neu");
        EXPECT_EQ(acc.Name(2), L"Öffnen");
        EXPECT_EQ(acc.Role(3), ROLE_SYSTEM_SEPARATOR);
        EXPECT_EQ(acc.Name(7), L"Drag & Drop");
        // The active item is focused and selected, no other.
        EXPECT_EQ(acc.State(1) & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED),
                  STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED);
        EXPECT_EQ(acc.State(2) & STATE_SYSTEM_FOCUSED, 0);
        EXPECT_NE(acc.State(4) & STATE_SYSTEM_UNAVAILABLE, 0);
        EXPECT_EQ(acc.State(2) & STATE_SYSTEM_UNAVAILABLE, 0);
        EXPECT_NE(acc.State(5) & STATE_SYSTEM_HASPOPUP, 0);
        EXPECT_NE(acc.State(7) & STATE_SYSTEM_CHECKED, 0);
        EXPECT_EQ(acc.State(1) & STATE_SYSTEM_CHECKED, 0);
        EXPECT_EQ(acc.Focus(), 1);
        // The focus follows the keyboard.
        EXPECT_TRUE(menu().KeyDown(VK_DOWN, 0));
        EXPECT_EQ(acc.State(1) & STATE_SYSTEM_FOCUSED, 0);
        EXPECT_NE(acc.State(2) & STATE_SYSTEM_FOCUSED, 0);
        EXPECT_EQ(acc.Focus(), 2);
        // An id beyond the items is not answered as an item.
        EXPECT_NE(acc.Role(8), ROLE_SYSTEM_MENUITEM);
        // The window goes while the reader still holds its object: no item is answered any more.
        menu().CloseAll();
        EXPECT_NE(acc.Count(), 7);
        EXPECT_NE(acc.Role(1), ROLE_SYSTEM_MENUITEM);
    }
    ::CoUninitialize();
}

TEST_F(SkinMenuTest, TheHookRoutesKeysAndSwallowsCharactersWhileOpen) {
    Standard();
    Open(owner.skin);
    ::PostMessageW(owner.form.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(owner.form.Handle(), WM_CHAR, L'a', 0);
    ::PostMessageW(owner.form.Handle(), WM_KEYDOWN, VK_F5, 0);
    Pump();
    EXPECT_EQ(Window(0).ActiveItem, 1);
    EXPECT_EQ(owner.form.Count(WM_CHAR), 0);
    EXPECT_EQ(owner.form.Count(WM_KEYDOWN), 1);  // F5 was not used by the menu
    // A menu-closing message at the owner form closes the chain.
    ::SendMessageW(owner.form.Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(menu().Visible);
    ::PostMessageW(owner.form.Handle(), WM_CHAR, L'a', 0);
    Pump();
    EXPECT_EQ(owner.form.Count(WM_CHAR), 1);  // closed: characters flow again
    // The next chain installs the hooks again: its keys are routed the same way.
    Open(owner.skin);
    ::PostMessageW(owner.form.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(owner.form.Handle(), WM_CHAR, L'b', 0);
    Pump();
    EXPECT_EQ(Window(0).ActiveItem, 1);
    EXPECT_EQ(owner.form.Count(WM_CHAR), 1);
    EXPECT_EQ(owner.form.Count(WM_KEYDOWN), 1);
}

TEST_F(SkinMenuTest, FadeFollowsTheDesktopSetting) {
    if (!LayeredWindowsAvailable()) GTEST_SKIP();
    Standard();
    menu().AlphaBlend = true;
    menu().AlphaBlendAnimation = true;
    menu().AlphaBlendValue = 200;
    menu().DesktopSettings = [] { return TmnMenuDesktopSettings{true, false}; };
    Open(owner.skin);
    EXPECT_EQ(Window(0).Alpha, 200);
    EXPECT_FALSE(timers.Has(Window(0).Handle(), FadeTimerId));
    menu().CloseAll();
    menu().DesktopSettings = [] { return TmnMenuDesktopSettings{true, true}; };
    Open(owner.skin);
    TmnSkinPopupWindow& w = Window(0);
    EXPECT_EQ(w.Alpha, 0);
    for (int i = 0; i < 40 && timers.Has(w.Handle(), FadeTimerId); ++i) timers.Fire(w.Handle(), FadeTimerId);
    EXPECT_EQ(w.Alpha, 200);
    EXPECT_TRUE(::IsWindowVisible(w.Handle()));
}

TEST_F(SkinMenuTest, PaintsTheSkinnedAndTheUnskinnedLook) {
    Standard();
    Open(nullptr);  // no skin
    TmnSkinPopupWindow& w = Window(0);
    EXPECT_EQ(w.WindowRecord, nullptr);
    RECT client;
    ::GetClientRect(w.Handle(), &client);
    TBitmap shot(client.right, client.bottom);
    w.PaintTo(shot.Canvas().Handle());
    // The highlighted first item: the hover fill inside its frame.
    const TSkinRect& r = w.Items[0]->ObjectRect;
    EXPECT_EQ(shot.Canvas().Pixel(r.Right - 3, r.Top + 2), ColorToColorRef(0xD2BDB6));
    EXPECT_EQ(shot.Canvas().Pixel(r.Left, r.Top + 2), ColorToColorRef(0x800000));
    menu().CloseAll();
    Open(owner.skin);
    TmnSkinPopupWindow& s = Window(0);
    ::GetClientRect(s.Handle(), &client);
    TBitmap skinned(client.right, client.bottom);
    s.PaintTo(skinned.Canvas().Handle());
    // The background's corner comes from the popup picture.
    TBitmap picture;
    picture.Assign(*owner.skin->ActivePicture(owner.skin->PopupWindow().WindowPictureIndex));
    EXPECT_EQ(skinned.Canvas().Pixel(1, 1), picture.Canvas().Pixel(1, 1));
}

TEST_F(SkinMenuTest, TheNextWindowIsPaintedFromAChangedPictureNotFromTheKeptOne) {
    Standard();
    auto Corner = [&] {
        Open(owner.skin);
        TmnSkinPopupWindow& w = Window(0);
        RECT client;
        ::GetClientRect(w.Handle(), &client);
        TBitmap shot(client.right, client.bottom);
        w.PaintTo(shot.Canvas().Handle());
        menu().CloseAll();
        return shot.Canvas().Pixel(1, 1);
    };
    const COLORREF before = Corner();
    EXPECT_EQ(Corner(), before);  // the kept background paints the same
    // The skin's popup picture changes (a reloaded skin): the corner follows it.
    auto& picture = owner.skin->WritableActivePictures().at(static_cast<size_t>(owner.skin->PopupWindow().WindowPictureIndex));
    const TBitmapData saved = picture;
    for (uint32_t& p : picture.Pixels) p ^= 0x00FFFFFF;
    TBitmap changed;
    changed.Assign(picture);
    const COLORREF after = Corner();
    picture = saved;
    EXPECT_NE(after, before);
    EXPECT_EQ(after, changed.Canvas().Pixel(1, 1));
}

TEST_F(SkinMenuTest, PopupMenuComponentOpensThroughItsOwner) {
    TmnSkinPopupMenu popup(&owner);
    popup.SetMenuOwner(&owner);
    auto* a = new TMenuItem(&popup);
    a->SetCaption(L"&Eins");
    popup.Items()->Add(a);
    int popups = 0, closes = 0;
    popup.OnPopup = [&](TComponent*) { ++popups; };
    popup.OnMenuClose = [&](TComponent*) { ++closes; };
    popup.Popup(50, 50);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(owner.routingStarts, 1);
    ASSERT_TRUE(menu().Visible);
    menu().KeyDown(VK_ESCAPE, 0);
    EXPECT_EQ(closes, 1);
    // Without an owner nothing opens.
    TmnSkinPopupMenu lonely(nullptr);
    lonely.Items()->Add(new TMenuItem(&lonely));
    lonely.Popup(10, 10);
    EXPECT_FALSE(menu().Visible);
}

TEST_F(SkinMenuTest, OpeningAndClosingLeavesNoGdiObjectsBehind) {
    Standard();
    for (int i = 0; i < 3; ++i) { Open(owner.skin); menu().CloseAll(); }
    const DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 200; ++i) {
        Open(owner.skin);
        RECT client;
        ::GetClientRect(Window(0).Handle(), &client);
        TBitmap shot(client.right, client.bottom);
        Window(0).PaintTo(shot.Canvas().Handle());
        menu().CloseAll();
    }
    const DWORD after = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (before == 0) GTEST_SKIP() << "no GDI object count here";
    EXPECT_LE(after, before + 5);
}

// A w x h bitmap of one colour whose bottom-left pixel (the transparent colour) is key.
std::unique_ptr<TBitmap> Picture(int w, int h, COLORREF colour, COLORREF key) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas().Brush().SetColor(static_cast<TColor>(colour));
    b->Canvas().FillRect({0, 0, w, h});
    ::SetPixelV(b->Canvas().Handle(), 0, h - 1, key);
    return b;
}

bool HasColour(TBitmap& shot, const TSkinRect& r, COLORREF colour) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (shot.Canvas().Pixel(x, y) == colour) return true;
    return false;
}

TEST_F(SkinMenuTest, ItemsShowTheirImagesBitmapsAndRadioMarks) {
    const COLORREF red = RGB(220, 0, 0), blue = RGB(0, 0, 210), white = RGB(255, 255, 255), green = RGB(0, 200, 0);
    TPopupMenu popup(nullptr);
    TImageList images(nullptr, 12, 12);
    images.Add(*Picture(12, 12, red, white));
    popup.SetImages(&images);
    auto add = [&](const wchar_t* caption) {
        auto* item = new TMenuItem(&popup);
        item->SetCaption(caption);
        popup.Items()->Add(item);
        return item;
    };
    add(L"Bild")->SetImageIndex(0);
    TMenuItem* disabled = add(L"Gesperrt");
    disabled->SetImageIndex(0);
    disabled->SetEnabled(false);
    TMenuItem* own = add(L"Eigenes");
    own->SetImageIndex(0);
    own->Bitmap().Assign(*Picture(8, 8, blue, green));
    TMenuItem* on = add(L"Radio an");
    on->SetRadioItem(true);
    on->SetChecked(true);
    TMenuItem* off = add(L"Radio aus");
    off->SetRadioItem(true);
    add(L"Bild außerhalb")->SetImageIndex(5);

    menu().Popup(nullptr, nullptr, false, popup.Items(), {100, 100, 100, 100}, 0);
    TmnSkinPopupWindow& w = Window(0);
    EXPECT_EQ(w.ImageList(), &images);
    EXPECT_EQ(w.GlyphWidth, 12 + 5);
    RECT client;
    ::GetClientRect(w.Handle(), &client);
    TBitmap shot(client.right, client.bottom);
    w.PaintTo(shot.Canvas().Handle());
    auto rect = [&](int i) { return w.Items[static_cast<size_t>(i)]->ObjectRect; };
    auto middle = [&](int i) { return (rect(i).Top + rect(i).Bottom) / 2; };
    // The list image at x = 4, centred; its transparent colour leaves the item's own colour.
    EXPECT_EQ(shot.Canvas().Pixel(rect(0).Left + 4 + 6, middle(0)), red);
    EXPECT_FALSE(HasColour(shot, rect(0), white));
    // Disabled: the image is there, greyed.
    EXPECT_FALSE(HasColour(shot, rect(1), red));
    EXPECT_TRUE(HasColour(shot, rect(1), ::GetSysColor(COLOR_BTNSHADOW)));
    // The item's bitmap before the list.
    EXPECT_EQ(shot.Canvas().Pixel(rect(2).Left + 4 + 3, middle(2)), blue);
    EXPECT_FALSE(HasColour(shot, rect(2), red));
    EXPECT_FALSE(HasColour(shot, rect(2), green));
    // A checked radio item shows a filled dot in the text colour, an unchecked one nothing; an
    // index outside the list shows no image.
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    const int gx = rect(3).Left + 4, gy = middle(3) - 4;
    EXPECT_EQ(shot.Canvas().Pixel(gx + 2, gy + 4), text);
    EXPECT_EQ(shot.Canvas().Pixel(gx + 5, gy + 5), text);
    EXPECT_NE(shot.Canvas().Pixel(rect(4).Left + 4 + 2, middle(4)), text);
    EXPECT_FALSE(HasColour(shot, rect(5), red));
    // The list going while the menu shows: the items draw without it.
    popup.SetImages(nullptr);
    EXPECT_EQ(w.ImageList(), nullptr);
    w.PaintTo(shot.Canvas().Handle());
    EXPECT_FALSE(HasColour(shot, rect(0), red));
}

TEST_F(SkinMenuTest, AnOwnerDrawnItemDrawsItselfInsteadOfItsCaption) {
    Standard();
    TObject* sender = nullptr;
    bool selected = false;
    RECT drawn{};
    neu->OnDrawItem = [&](TObject* s, TCanvas& canvas, const RECT& r, bool sel) {
        sender = s;
        selected = sel;
        drawn = r;
        canvas.Brush().SetColor(static_cast<TColor>(RGB(0, 255, 0)));
        canvas.FillRect(r);
    };
    Open(owner.skin);
    TmnSkinPopupWindow& w = Window(0);
    RECT client;
    ::GetClientRect(w.Handle(), &client);
    TBitmap shot(client.right, client.bottom);
    w.PaintTo(shot.Canvas().Handle());
    EXPECT_EQ(sender, w.Items[0].get());
    EXPECT_TRUE(selected);  // the first item is highlighted when the window opens
    const TmnDataSkinMenuItem& record = *w.ItemRecord;
    EXPECT_EQ(drawn.left, record.TextRect.Left);
    EXPECT_EQ(drawn.right, record.TextRect.Right + w.Items[0]->ObjectRect.Width() - record.SkinRect.Width());
    const TSkinRect& r = w.Items[0]->ObjectRect;
    EXPECT_EQ(shot.Canvas().Pixel(r.Left + drawn.left + 1, r.Top + (drawn.top + drawn.bottom) / 2), RGB(0, 255, 0));
    EXPECT_FALSE(HasColour(shot, w.Items[1]->ObjectRect, RGB(0, 255, 0)));
}

TEST_F(SkinMenuTest, TheHighlightedItemsHintShowsAsTheApplicationsHint) {
    Standard();
    neu->SetHint(L"Legt ein neues Dokument an");
    open->SetHint(L"Öffnet ein Dokument");
    Open(owner.skin);
    TmnSkinPopupWindow& w = Window(0);
    EXPECT_EQ(w.Hint, L"Legt ein neues Dokument an");
    menu().KeyDown(VK_DOWN, 0);
    EXPECT_EQ(w.Hint, L"Öffnet ein Dokument");
    TApplication& app = *Application();
    MSG move{w.Handle(), WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
    app.DispatchOne(move);
    ASSERT_TRUE(timers.Has(app.Handle(), 1));
    timers.Fire(app.Handle(), 1);
    ASSERT_NE(app.HintWindow(), nullptr);
    EXPECT_TRUE(app.HintWindow()->Visible());
    EXPECT_EQ(app.HintWindow()->Text(), L"Öffnet ein Dokument");
    // An item without a hint: nothing to show over the window.
    menu().KeyDown(VK_DOWN, 0);
    EXPECT_EQ(w.Hint, L"");
    app.DispatchOne(move);
    EXPECT_FALSE(app.HintWindow()->Visible());
    EXPECT_FALSE(timers.Has(app.Handle(), 1));
}

TEST_F(SkinMenuTest, KeysReachTheChainAfterASubMenuOpened) {
    Standard();
    Open(owner.skin);
    ClickAt(Window(0), 4);
    Pump();
    ASSERT_EQ(menu().PopupList.size(), 2u);
    ::PostMessageW(owner.form.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(owner.form.Handle(), WM_CHAR, L'x', 0);
    Pump();
    EXPECT_EQ(menu().PopupList.size(), 1u);
    EXPECT_EQ(owner.form.Count(WM_CHAR), 0);
}

}  // namespace
}  // namespace fn
