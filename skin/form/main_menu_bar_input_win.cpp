// The menu bar's mouse and keyboard: hover tracking, presses on items, buttons and the overflow
// marker, and the menu mode its owner routes the keys of.
#include "skin/form/main_menu_bar_win.h"

#include <utility>

#include "skin/menus/menu_navigation.h"
#include "skin/menus/skin_menu_win.h"

namespace fn {

// ---- mouse ----

void TmnSkinMainMenuBar::Track(int x, int y) {
    PrevHotIndex = HotIndex;
    std::vector<TMenuBarHitObject> hits;
    for (const auto& o : Objects) {
        TmnSkinMainMenuBarItem* item = o->AsItem();
        hits.push_back({o->ObjectRect, o->Enabled, o->Visible && (!item || item->Fits)});
    }
    const int found = MenuBarHitTest(hits, x, y);
    const bool prevIsItem = PrevHotIndex >= 0 && PrevHotIndex < static_cast<int>(Objects.size()) &&
                            Objects[static_cast<size_t>(PrevHotIndex)]->AsItem();
    HotIndex = MenuBarTrackHot(found, PrevHotIndex, prevIsItem, MenuMode, PressedIndex);
    if (HotIndex != PrevHotIndex) {
        // Entering or leaving may open or close popups: the objects are taken before either runs.
        TmnMenuBarObject* left = PrevHotIndex >= 0 && PrevHotIndex < static_cast<int>(Objects.size())
                                     ? Objects[static_cast<size_t>(PrevHotIndex)].get() : nullptr;
        TmnMenuBarObject* entered = HotIndex >= 0 ? Objects[static_cast<size_t>(HotIndex)].get() : nullptr;
        if (left && left->Enabled) left->MouseLeave();
        if (entered && entered->Enabled && IndexOf(entered) >= 0) entered->MouseEnter();
    }
    if (Overflow && scrollMenu_) {
        const bool in = MenuBarRectContains(marker_, x, y);
        if (in != MarkerActive) {
            MarkerActive = in;
            Invalidate();
        }
    }
}

bool TmnSkinMainMenuBar::PointerMoved(POINT screen) {
    const bool moved = screen.x != lastPointer_.x || screen.y != lastPointer_.y;
    lastPointer_ = screen;
    return moved;
}

void TmnSkinMainMenuBar::HoverTick() {
    POINT pt;
    // A pointer resting on an item leaves the highlight to the keyboard (Alt+D with the pointer
    // over "Hilfe" keeps "Datei" open); only a move of the pointer takes it back.
    if (!handle_ || !::GetCursorPos(&pt) || !PointerMoved(pt)) return;
    ::ScreenToClient(handle_, &pt);
    if (pt.x < 0 || pt.y < 0 || pt.x >= Width() || pt.y >= Height()) {
        StopTimer(HoverTimer);
        Track(-1, -1);
    } else {
        Track(pt.x, pt.y);
    }
}

void TmnSkinMainMenuBar::MouseEnter() {
    TmnSkinControl::MouseEnter();
    StartTimer(HoverTimer);
}

void TmnSkinMainMenuBar::MouseLeave() {
    TmnSkinControl::MouseLeave();
    StopTimer(HoverTimer);
    lastPointer_ = kNoPointer;
    Track(-1, -1);
}

void TmnSkinMainMenuBar::ButtonDown(int x, int y, int button, bool doubleClick) {
    Track(x, y);
    // A click on the item whose popup is open only closes it, and the item stays hot. The chain's
    // message hook may have closed the popup already on this very press (closedByPress_).
    const int closed = std::exchange(closedByPress_, -1);
    TmnSkinMainMenuBarItem* item = HotIndex >= 0 && HotIndex < static_cast<int>(Objects.size())
                                       ? Objects[static_cast<size_t>(HotIndex)]->AsItem() : nullptr;
    if (item && button == MenuBarLeftButton && !doubleClick &&
        (closed == HotIndex || (item->Down && item->HasSubItems() && PopupOpen()))) {
        if (mantle_) {
            mantle_->CloseMenus();
            if (mantle_->InMainMenu()) mantle_->MainMenuExit();
        }
        if (!item->Active) item->MouseEnter();
        return;
    }
    if (HotIndex >= 0 && HotIndex < static_cast<int>(Objects.size())) {
        PressedIndex = HotIndex;
        TmnMenuBarObject* object = Objects[static_cast<size_t>(HotIndex)].get();
        auto* b = dynamic_cast<TmnSkinMainMenuBarButton*>(object);
        // A caption button follows the mouse until release; the system-menu button opens its
        // menu at once, which takes the mouse itself.
        if (b && b->Command != TmnSkinMainMenuBarButton::cmdSysMenu && button == MenuBarLeftButton) ::SetCapture(handle_);
        object->MouseDown(x, y, button);
        if (doubleClick && IndexOf(object) >= 0) object->DblClick();
    } else if (Overflow && scrollMenu_ && MenuBarRectContains(marker_, x, y) && button == MenuBarLeftButton) {
        OpenOverflowPopup();
    }
}

void TmnSkinMainMenuBar::ButtonUp(int x, int y, int button) {
    const int pressed = std::exchange(PressedIndex, -1);
    if (pressed >= 0 && pressed < static_cast<int>(Objects.size())) Objects[static_cast<size_t>(pressed)]->MouseUp(x, y, button);
    if (handle_ && ::GetCapture() == handle_) ::ReleaseCapture();
}

void TmnSkinMainMenuBar::OpenOverflowPopup() {
    TmnSkinMenu* menu = Menu();
    if (!menu || !mainMenu_ || !Overflow) return;
    // The hidden items are the visible menu items from the first one that does not fit on; the
    // chain counts its start in the menu's own list, where hidden menu items also stand.
    TmnSkinMainMenuBarItem* first = nullptr;
    int hidden = 0;
    for (int i = 0; i < ItemCount(); ++i)
        if (!Item(i)->Fits) {
            if (!first) first = Item(i);
            ++hidden;
        }
    if (!first) return;
    TMenuItem* root = mainMenu_->Items();
    const RECT anchor = ScreenRect(marker_);
    mantle_->CloseMenus();
    mantle_->StartMenuRouting();
    if (!Merged) {
        const int start = first->MenuItem ? root->IndexOf(first->MenuItem) : -1;
        if (start >= 0) menu->Popup(handle_, skinData_, false, root, anchor, start);
        return;
    }
    // Merged: the chain lists the bar menu's items, then the child's; it starts where as many
    // visible items remain as are hidden.
    TMenuItem* childRoot = childMenu_->Items();
    std::vector<TMenuItem*> combined;
    for (int i = 0; i < root->Count(); ++i) combined.push_back(root->Items(i));
    for (int i = 0; i < childRoot->Count(); ++i) combined.push_back(childRoot->Items(i));
    int start = static_cast<int>(combined.size());
    for (int remaining = hidden; start > 0 && remaining > 0;)
        if (combined[static_cast<size_t>(--start)]->Visible()) --remaining;
    menu->PopupMerged(handle_, skinData_, false, root, childRoot, anchor, start);
}

// ---- keyboard ----

std::vector<TMenuBarNavItem> TmnSkinMainMenuBar::NavItems() const {
    std::vector<TMenuBarNavItem> items;
    // A hidden bar offers nothing to the keyboard: no menu mode, no accelerators.
    if (!Visible()) return items;
    for (int i = 0; i < ItemCount(); ++i) {
        const TmnSkinMainMenuBarItem& it = *Item(i);
        items.push_back({it.Enabled && it.MenuItem, it.Fits, it.Active, it.Down,
                         it.MenuItem ? AccelChar(it.MenuItem->Caption()) : wchar_t(0)});
    }
    return items;
}

void TmnSkinMainMenuBar::NotifyFocus(int itemIndex) {
    if (handle_ && itemIndex >= 0) ::NotifyWinEvent(EVENT_OBJECT_FOCUS, handle_, OBJID_CLIENT, itemIndex + 1);
}

void TmnSkinMainMenuBar::EnterMenuMode() {
    const int i = MenuBarEntryItem(NavItems());
    if (i < 0) return;  // nothing to highlight: no menu mode at all
    MenuMode = true;
    if (handle_) ::NotifyWinEvent(EVENT_SYSTEM_MENUSTART, handle_, OBJID_CLIENT, CHILDID_SELF);
    TmnSkinMainMenuBarItem* item = Item(i);
    HotIndex = ButtonCount + i;
    if (!item->Active) item->MouseEnter();
    if (mantle_) mantle_->MainMenuEnter();
    NotifyFocus(i);
}

void TmnSkinMainMenuBar::LeaveMenuMode() {
    const bool was = MenuMode;
    MenuMode = false;
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        if (!item.Down && !item.Active) continue;
        item.Active = item.MouseIn = item.Down = false;
        if (item.AnimationEnabled() && !item.InActiveAnimation) {
            item.CurrentFrame = 0;
            RedrawObject(item);
        } else {
            item.StartMorph();
        }
        break;
    }
    HotIndex = PrevHotIndex = -1;
    if (was && handle_) ::NotifyWinEvent(EVENT_SYSTEM_MENUEND, handle_, OBJID_CLIENT, CHILDID_SELF);
    // A rebuild held back by the menu mode runs once the handlers that ended it have returned.
    if (rebuildPending_ && handle_) ::PostMessageW(handle_, MsgRebuild, 0, 0);
}

void TmnSkinMainMenuBar::NextItem() { StepItem(true); }

void TmnSkinMainMenuBar::PreviousItem() { StepItem(false); }

void TmnSkinMainMenuBar::StepItem(bool forward) {
    const TMenuBarMove m = MenuBarStep(NavItems(), forward);
    if (m.Enter < 0 || m.Enter == m.Leave) return;
    TmnSkinMainMenuBarItem* leave = Item(m.Leave);
    TmnSkinMainMenuBarItem* enter = Item(m.Enter);
    if (leave) leave->MouseLeave();
    HotIndex = ButtonCount + m.Enter;
    enter->MouseEnter();
    NotifyFocus(m.Enter);
}

bool TmnSkinMainMenuBar::PressHotItem() {
    const bool popupOpen = PopupOpen();
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        if ((item.Down && !item.HasSubItems()) || (item.Active && !popupOpen)) {
            item.Active = false;
            item.MouseDown(0, 0, MenuBarLeftButton);
            return true;
        }
    }
    return false;
}

bool TmnSkinMainMenuBar::HandleAccelerator(wchar_t key) {
    std::vector<TMenuBarNavItem> nav = NavItems();
    const int i = MenuBarAccelItem(nav, key);
    if (i < 0) {
        // An item hidden behind the overflow marker is reached through the marker's popup,
        // which takes the letter in turn (so a narrow window keeps every item at hand).
        for (int k = 0; k < static_cast<int>(nav.size()); ++k) {
            const TmnSkinMainMenuBarItem& item = *Item(k);
            nav[static_cast<size_t>(k)].Fits = !item.Fits;
            nav[static_cast<size_t>(k)].Enabled = !item.Fits && item.SavedEnabled && item.MenuItem;
        }
        if (!Overflow || !scrollMenu_ || MenuBarAccelItem(nav, key) < 0 || !Menu()) return false;
        OpenOverflowPopup();
        if (Menu()->Visible) Menu()->KeyDown(0, key);
        return true;
    }
    const bool popupOpen = PopupOpen();
    TmnSkinMainMenuBarItem* item = Item(i);
    HotIndex = ButtonCount + i;
    item->MouseEnter();
    if (!popupOpen || !item->HasSubItems()) item->MouseDown(0, 0, MenuBarLeftButton);
    NotifyFocus(i);
    return true;
}

void TmnSkinMainMenuBar::PopupClosed() {
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        if (!item.Down) continue;
        item.Down = false;
        item.Active = true;
        RedrawObject(item);
        return;
    }
}

}  // namespace fn
