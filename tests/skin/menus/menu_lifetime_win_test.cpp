// Menus that outlive what they show: platform items freed while their popup is open (by the
// program, by a rebuilt menu, by an item's own drawing handler), and a chain closed by the hook
// whose close handler frees another open chain. Freed objects keep or overwrite their memory here,
// so a later use shows up as a count or a fault instead of passing unnoticed.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <utility>

#include "menus_fixture.h"
#include "platform/win/application.h"
#include "skin/data/skin_messages.h"

namespace fn {
namespace {

using test::CountingWindow;
using test::FakeTimers;
using test::Pump;
using test::TestOwner;

// A menu item whose memory is overwritten when it is freed: reading it afterwards faults.
class PoisonedItem : public TMenuItem {
public:
    using TMenuItem::TMenuItem;
    static void* operator new(size_t n) { return ::operator new(n); }
    static void operator delete(void* p, size_t n) {
        std::memset(p, 0xA5, n);
        ::operator delete(p);
    }
};

// A menu item whose memory stays as its destructor left it: drawing it after it was freed runs its
// (destroyed) drawing handler, which counts that instead of faulting.
class KeptItem : public TMenuItem {
public:
    using TMenuItem::TMenuItem;
    static void* operator new(size_t n) { return ::operator new(n); }
    static void operator delete(void*, size_t) {}
};

class MenuLifetimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.skin = &test::FennickSkin();
        owner.menu->WorkAreaOverride = RECT{0, 0, 1024, 768};
        owner.menu->DesktopSettings = [] { return TmnMenuDesktopSettings{}; };
        MSG key{nullptr, WM_KEYDOWN, VK_DOWN, 1, 0, {0, 0}};
        Application()->NoteInput(key);  // opened from the keyboard: the first item is highlighted
        root = Add(nullptr, L"root");
    }
    void TearDown() override {
        owner.menu->CloseAll();
        Pump();
    }
    TmnSkinMenu& menu() { return *owner.menu; }
    template <class Item = TMenuItem>
    Item* Add(TMenuItem* parent, const wchar_t* caption) {
        auto* item = new Item(&items);
        item->SetCaption(caption);
        if (parent) parent->Add(item);
        return item;
    }
    // Whether any window of the chain still holds item.
    bool Shows(const TMenuItem* item) {
        for (const auto& w : menu().PopupList)
            for (const auto& i : w->Items)
                if (i->MenuItem == item) return true;
        return false;
    }
    TmnSkinPopupWindow& Window(int i) { return *menu().PopupList[static_cast<size_t>(i)]; }
    void MouseOver(TmnSkinPopupWindow& w, int i) {
        const TSkinRect& r = w.Items[static_cast<size_t>(i)]->ObjectRect;
        ::SendMessageW(w.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    }
    void PaintWindow(TmnSkinPopupWindow& w) {
        TBitmap shot(300, 300);
        w.PaintTo(shot.Canvas().Handle());
        ::RedrawWindow(w.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }

    FakeTimers timers;
    TestOwner owner;
    CountingWindow opener;
    TComponent items{nullptr};
    TMenuItem* root = nullptr;
};

TEST_F(MenuLifetimeTest, AFreedItemIsNeverPaintedOrChosenAndItsChainCloses) {
    Add(root, L"&Neu");
    TMenuItem* open = Add<PoisonedItem>(root, L"&Öffnen");
    Add(root, L"Sch&ließen");
    menu().Popup(opener.Handle(), owner.skin, false, root, {100, 100, 100, 100}, 0);
    ASSERT_EQ(menu().PopupList.size(), 1u);
    TmnSkinPopupWindow& w = Window(0);
    delete open;
    ASSERT_FALSE(Shows(open));
    // Until the chain has closed it, the window paints, tracks and names nothing of the freed item
    // (whose memory now holds garbage).
    PaintWindow(w);
    MouseOver(w, 1);
    timers.Fire(w.Handle(), 3);  // a morph tick
    EXPECT_EQ(w.AccessibleChildCount(), 0);
    EXPECT_FALSE(menu().HasAccelerator(L'ö'));
    Pump();
    EXPECT_FALSE(menu().Visible);
    EXPECT_TRUE(menu().PopupList.empty());
    EXPECT_EQ(opener.Count(MSG_SKIN_MENU_CLOSED), 1);
    // A new chain opens as usual and is not closed by what the old one left behind.
    menu().Popup(opener.Handle(), owner.skin, false, root, {100, 100, 100, 100}, 0);
    Pump();
    ASSERT_TRUE(menu().Visible);
    EXPECT_EQ(Window(0).Items.size(), 2u);
}

TEST_F(MenuLifetimeTest, AFreedSubMenuItemClosesOnlyItsWindowAndAFreedParentItsSubMenuToo) {
    TMenuItem* recent = Add(root, L"&Zuletzt");
    TMenuItem* first = Add<PoisonedItem>(recent, L"A");
    Add(recent, L"B");
    TMenuItem* last = Add<PoisonedItem>(root, L"&Ende");
    Add(last, L"C");
    menu().Popup(opener.Handle(), owner.skin, false, root, {100, 100, 100, 100}, 0);
    ASSERT_TRUE(menu().KeyDown(VK_RIGHT, 0));
    Pump();
    ASSERT_EQ(menu().PopupList.size(), 2u);
    ASSERT_TRUE(Window(0).Items[0]->Down);
    delete first;
    ASSERT_FALSE(Shows(first));
    // The key finds the stale window: it closes it and is used up by that.
    EXPECT_TRUE(menu().KeyDown(VK_DOWN, 0));
    ASSERT_EQ(menu().PopupList.size(), 1u);
    EXPECT_TRUE(menu().Visible);
    EXPECT_FALSE(Window(0).Items[0]->Down);  // its opening item no longer shows it open
    EXPECT_EQ(opener.Count(MSG_SKIN_MENU_CLOSED), 0);
    // The parent of an open sub-menu goes: both windows close.
    menu().KeyDown(VK_DOWN, 0);
    ASSERT_TRUE(menu().KeyDown(VK_RIGHT, 0));
    Pump();
    ASSERT_EQ(menu().PopupList.size(), 2u);
    delete last;
    ASSERT_FALSE(Shows(last));
    PaintWindow(Window(1));
    Pump();
    EXPECT_FALSE(menu().Visible);
    EXPECT_EQ(opener.Count(MSG_SKIN_MENU_CLOSED), 1);
}

TEST_F(MenuLifetimeTest, AnItemsDrawingHandlerThatFreesTheNextItemStopsThePaint) {
    TMenuItem* drawing = Add(root, L"&Eins");
    TMenuItem* victim = Add<KeptItem>(root, L"&Zwei");
    int drawn = 0, drawnAfterFree = 0;
    bool freed = false;
    victim->OnDrawItem = [&](TObject*, TCanvas&, const RECT&, bool) { drawnAfterFree += freed; };
    drawing->OnDrawItem = [&](TObject*, TCanvas&, const RECT&, bool) {
        ++drawn;
        if (!std::exchange(freed, true)) delete victim;
    };
    menu().Popup(opener.Handle(), owner.skin, false, root, {100, 100, 100, 100}, 0);
    ASSERT_EQ(menu().PopupList.size(), 1u);
    PaintWindow(Window(0));
    ASSERT_TRUE(freed);
    Pump();
    EXPECT_EQ(drawnAfterFree, 0);
    EXPECT_EQ(drawn, 1);  // the stale window is not painted again before it closes
    EXPECT_FALSE(menu().Visible);
}

// A chain kept in memory of its own after it is freed, so that a call on it afterwards reaches
// its owner, which counts it instead of faulting.
class KeptMenu : public TmnSkinMenu {
public:
    using TmnSkinMenu::TmnSkinMenu;
    static void* operator new(size_t n) {
        EXPECT_LE(n, sizeof(arena));
        return arena;
    }
    static void operator delete(void*, size_t) {}

private:
    alignas(std::max_align_t) static inline unsigned char arena[sizeof(TmnSkinMenu) + 256];
};

class CountingOwner : public TComponent, public TmnMenuOwner {
public:
    CountingOwner() : TComponent(nullptr), menu(new KeptMenu(this, this)) {}
    HWND MenuOwnerWindow() const override {
        if (menuFreed) ++callsAfterFree;
        return form.Handle();
    }
    TmnSkinMenu& SkinMenu() override { return *menu; }
    TmnSkinData* MenusSkinData() const override { return nullptr; }
    CountingWindow form;
    TmnSkinMenu* menu;
    bool menuFreed = false;
    mutable int callsAfterFree = 0;
};

TEST_F(MenuLifetimeTest, AMenuFreedByAnotherMenusCloseHandlerIsNotClosedAgain) {
    Add(root, L"&Neu");
    CountingOwner other;
    menu().Popup(opener.Handle(), owner.skin, false, root, {100, 100, 100, 100}, 0);
    other.menu->Popup(nullptr, nullptr, false, root, {300, 100, 300, 100}, 0);
    ASSERT_TRUE(menu().Visible);
    ASSERT_TRUE(other.menu->Visible);
    menu().OnMenuClose = [&](TComponent*) {
        delete other.menu;
        other.menuFreed = true;
    };
    // The program loses the foreground: the hook closes every open chain.
    ::SendMessageW(owner.form.Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(other.menuFreed);
    EXPECT_FALSE(menu().Visible);
    EXPECT_EQ(other.callsAfterFree, 0);
    // A closing message at the form does the same.
    other.menuFreed = false;
    other.menu = new KeptMenu(&other, &other);
    menu().Popup(opener.Handle(), owner.skin, false, root, {100, 100, 100, 100}, 0);
    other.menu->Popup(nullptr, nullptr, false, root, {300, 100, 300, 100}, 0);
    menu().OnMenuClose = [&](TComponent*) {
        delete other.menu;
        other.menuFreed = true;
    };
    ::SendMessageW(owner.form.Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(other.menuFreed);
    EXPECT_EQ(other.callsAfterFree, 0);
}

}  // namespace
}  // namespace fn
