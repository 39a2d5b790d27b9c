// The menu bar's mouse and keyboard: the facts the state machine (menu_bar_state.h) is fed, the
// steps it answers carried out on the objects, hover polling, and the overflow marker's popup.
#include "skin/form/main_menu_bar_win.h"

#include "skin/menus/menu_navigation.h"
#include "skin/menus/skin_menu_win.h"

namespace fn {

// ---- the state machine's facts and steps ----

TMenuBarEntries TmnSkinMainMenuBar::Entries() const {
    TMenuBarEntries entries;
    // A hidden bar offers nothing to the keyboard: no menu mode, no accelerators.
    const bool shown = Visible();
    for (const auto& o : Objects) {
        const TmnSkinMainMenuBarItem* item = o->AsItem();
        if (!item) {
            entries.push_back({false, o->Enabled, o->Visible});
            continue;
        }
        // An item behind the overflow marker is disabled while hidden; its own state is saved.
        const bool enabled = shown && (item->Fits ? item->Enabled : item->SavedEnabled) && item->MenuItem;
        entries.push_back({true, enabled, item->Fits, item->HasSubItems(),
                           item->MenuItem ? AccelChar(item->MenuItem->Caption()) : wchar_t(0)});
    }
    return entries;
}

TmnMenuBarObject* TmnSkinMainMenuBar::ObjectAt(int index) const {
    return index >= 0 && index < static_cast<int>(Objects.size()) ? Objects[static_cast<size_t>(index)].get() : nullptr;
}

void TmnSkinMainMenuBar::Execute(const TMenuBarActions& actions, int button, wchar_t ch) {
    for (const TMenuBarAction& a : actions) {
        // Steps may open or close popups: each takes its objects when it runs.
        TmnMenuBarObject* object = ObjectAt(a.Item);
        TmnMenuBarObject* other = ObjectAt(a.Other);
        TmnSkinMainMenuBarItem* item = object ? object->AsItem() : nullptr;
        switch (a.Step) {
            case TMenuBarStep::Hover:
                if (other && other->Enabled) other->MouseLeave();
                object = ObjectAt(a.Item);  // leaving may have closed a popup and changed the list
                if (object && object->Enabled) object->MouseEnter();
                break;
            case TMenuBarStep::Select:
                if (other) other->MouseLeave();
                object = ObjectAt(a.Item);
                if (object && !object->Active) object->MouseEnter();
                NotifyFocus(a.Item - ButtonCount);
                break;
            case TMenuBarStep::Open:
                if (!mantle_) break;  // without an owner there is no chain to open
                if (TmnSkinMainMenuBarItem* open = other ? other->AsItem() : nullptr) {
                    open->SetDown(false);
                    if (item) {
                        item->Active = item->MouseIn = true;
                        if (item->MorphEnabled()) item->MorphFactor = 1;
                    }
                }
                if (item) {
                    item->SetDown(true);
                    state_.Opened(a.Item);
                }
                break;
            case TMenuBarStep::Run:
                if (item) item->Run();
                break;
            case TMenuBarStep::Press:
                if (auto* b = dynamic_cast<TmnSkinMainMenuBarButton*>(object)) {
                    // A caption button follows the mouse until release; the system-menu button
                    // opens its menu at once, which takes the mouse itself.
                    if (b->Command != TmnSkinMainMenuBarButton::cmdSysMenu && button == MenuBarLeftButton) ::SetCapture(handle_);
                    b->MouseDown(0, 0, button);
                    if (a.DoubleClick && IndexOf(b) >= 0) b->DblClick();
                }
                break;
            case TMenuBarStep::Release:
                if (object) object->MouseUp(0, 0, button);
                if (handle_ && ::GetCapture() == handle_) ::ReleaseCapture();
                break;
            case TMenuBarStep::Close:
                if (mantle_) {
                    mantle_->CloseMenus();
                    if (mantle_->InMainMenu()) mantle_->MainMenuExit();
                }
                if (object && !object->Active) object->MouseEnter();
                break;
            case TMenuBarStep::Unpress:
                if (!item) break;
                item->Down = false;
                item->Active = true;
                RedrawObject(*item);
                break;
            case TMenuBarStep::EnterMode:
                if (handle_) ::NotifyWinEvent(EVENT_SYSTEM_MENUSTART, handle_, OBJID_CLIENT, CHILDID_SELF);
                if (mantle_) mantle_->MainMenuEnter();
                break;
            case TMenuBarStep::LeaveMode:
                if (mantle_) mantle_->MainMenuExit();
                break;
            case TMenuBarStep::Overflow:
                OpenOverflowPopup();
                if (ch && Menu() && Menu()->Visible) Menu()->KeyDown(0, ch);
                break;
            case TMenuBarStep::ToChain:
                break;
        }
    }
}

// ---- mouse ----

int TmnSkinMainMenuBar::ObjectUnder(int x, int y) const {
    std::vector<TMenuBarHitObject> hits;
    for (const auto& o : Objects) {
        TmnSkinMainMenuBarItem* item = o->AsItem();
        hits.push_back({o->ObjectRect, o->Enabled, o->Visible && (!item || item->Fits)});
    }
    return MenuBarHitTest(hits, x, y);
}

void TmnSkinMainMenuBar::Track(int x, int y) {
    Execute(state_.MouseMove(ObjectUnder(x, y), Entries()));
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
    const bool onMarker = Overflow && scrollMenu_ && MenuBarRectContains(marker_, x, y);
    Execute(state_.MouseDown(ObjectUnder(x, y), button == MenuBarLeftButton, doubleClick, PopupOpen(), onMarker, Entries()),
            button);
}

void TmnSkinMainMenuBar::ButtonUp(int, int, int button) {
    Execute(state_.MouseUp(), button);
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

void TmnSkinMainMenuBar::NotifyFocus(int itemIndex) {
    if (handle_ && itemIndex >= 0) ::NotifyWinEvent(EVENT_OBJECT_FOCUS, handle_, OBJID_CLIENT, itemIndex + 1);
}

bool TmnSkinMainMenuBar::OverflowKeys() const { return Overflow && scrollMenu_ && Menu(); }

void TmnSkinMainMenuBar::EnterMenuMode() { Execute(state_.EnterMenuMode(Entries())); }

void TmnSkinMainMenuBar::LeaveMenuMode() {
    const bool ended = state_.LeaveMenuMode();
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
    if (ended && handle_) ::NotifyWinEvent(EVENT_SYSTEM_MENUEND, handle_, OBJID_CLIENT, CHILDID_SELF);
    // A rebuild held back by the menu mode runs once the handlers that ended it have returned.
    if (rebuildPending_ && handle_) ::PostMessageW(handle_, MsgRebuild, 0, 0);
}

void TmnSkinMainMenuBar::NextItem() { Execute(state_.Step(true, Entries())); }

void TmnSkinMainMenuBar::PreviousItem() { Execute(state_.Step(false, Entries())); }

bool TmnSkinMainMenuBar::PressHotItem() {
    const TMenuBarActions actions = state_.PressSelected(PopupOpen(), Entries());
    Execute(actions);
    return !actions.empty();
}

bool TmnSkinMainMenuBar::HandleAccelerator(wchar_t key) {
    const TMenuBarActions actions = state_.Accelerator(key, PopupOpen(), OverflowKeys(), Entries());
    Execute(actions, MenuBarLeftButton, key);
    return !actions.empty();
}

bool TmnSkinMainMenuBar::MenuKey(TMenuKey key, wchar_t ch, const TMenuChainFacts& chain) {
    const TMenuBarActions actions = state_.Key(key, ch, chain, OverflowKeys(), Entries());
    if (actions.size() == 1 && actions.front().Step == TMenuBarStep::ToChain) return false;
    Execute(actions, MenuBarLeftButton, ch);
    return true;
}

void TmnSkinMainMenuBar::PopupClosed() { Execute(state_.PopupEscaped()); }

}  // namespace fn
