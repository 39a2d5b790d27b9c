#include "skin/form/menu_bar_state.h"

#include <cstddef>
#include <utility>

#include "skin/form/menu_bar_layout.h"

namespace fn {

namespace {

bool Valid(const TMenuBarEntries& entries, int i) { return i >= 0 && i < static_cast<int>(entries.size()); }

bool IsItem(const TMenuBarEntries& entries, int i) { return Valid(entries, i) && entries[static_cast<std::size_t>(i)].IsItem; }

// The items as the keyboard sees them, and where they start in the object list.
struct TNav {
    int First = 0;
    std::vector<TMenuBarNavItem> Items;
};

TNav NavOf(const TMenuBarEntries& entries, int hot, int open) {
    TNav nav;
    while (nav.First < static_cast<int>(entries.size()) && !entries[static_cast<std::size_t>(nav.First)].IsItem) ++nav.First;
    for (int i = nav.First; i < static_cast<int>(entries.size()); ++i) {
        const TMenuBarEntry& e = entries[static_cast<std::size_t>(i)];
        nav.Items.push_back({e.Enabled, e.Fits, i == hot, i == open, e.Accel});
    }
    return nav;
}

}  // namespace

void TMenuBarState::Reset() {
    item_ = open_ = pressed_ = closedByPress_ = -1;
}

void TMenuBarState::MoveTo(int item, bool keyboard, TMenuBarActions& out) {
    const int before = item_ == item ? -1 : item_;
    item_ = item;
    if (open_ >= 0 && item >= 0 && item != open_) {
        // A popup is open: it follows the mouse (or the arrow keys) to this item.
        if (before >= 0) out.push_back({TMenuBarStep::Hover, -1, before});
        out.push_back({TMenuBarStep::Open, item, open_});
        open_ = item;
        return;
    }
    out.push_back({keyboard ? TMenuBarStep::Select : TMenuBarStep::Hover, item, before});
}

TMenuBarActions TMenuBarState::MouseMove(int found, const TMenuBarEntries& entries) {
    TMenuBarActions out;
    const int hot = MenuBarTrackHot(found, item_, IsItem(entries, item_), MenuMode(), pressed_);
    if (hot == item_) return out;
    // Onto a child button the open popup stays where it is.
    if (!IsItem(entries, hot)) {
        out.push_back({TMenuBarStep::Hover, hot, item_});
        item_ = hot;
        return out;
    }
    MoveTo(hot, false, out);
    return out;
}

void TMenuBarState::PressItem(int item, const TMenuBarEntries& entries, TMenuBarActions& out) {
    const TMenuBarEntry& e = entries[static_cast<std::size_t>(item)];
    if (!e.Enabled) return;
    if (!e.HasPopup) {
        // A command on the bar itself: the menu modes end, then the command runs.
        out.push_back({TMenuBarStep::Run, item});
        EndMode();
        item_ = -1;
        return;
    }
    if (!MenuMode()) out.push_back({TMenuBarStep::EnterMode});
    out.push_back({TMenuBarStep::Open, item, open_ == item ? -1 : open_});
    menuMode_ = true;
    item_ = open_ = item;
}

TMenuBarActions TMenuBarState::MouseDown(int found, bool left, bool doubleClick, bool chainOpen, bool onMarker,
                                         const TMenuBarEntries& entries) {
    TMenuBarActions out = MouseMove(found, entries);
    const int closed = closedByPress_;
    closedByPress_ = -1;
    const int hot = item_;
    // A click on the item whose popup is open only closes it, and the item stays hot. The chain
    // may have closed the popup already on this very press (closed).
    if (IsItem(entries, hot) && left && !doubleClick &&
        (closed == hot || (open_ == hot && entries[static_cast<std::size_t>(hot)].HasPopup && chainOpen))) {
        out.push_back({TMenuBarStep::Close, hot});
        EndMode();
        return out;
    }
    if (Valid(entries, hot)) {
        pressed_ = hot;
        if (!IsItem(entries, hot)) out.push_back({TMenuBarStep::Press, hot, -1, doubleClick});
        else if (left) PressItem(hot, entries, out);
    } else if (onMarker && left) {
        out.push_back({TMenuBarStep::Overflow});
    }
    return out;
}

TMenuBarActions TMenuBarState::MouseUp() {
    const int pressed = pressed_;
    pressed_ = -1;
    if (pressed < 0) return {};
    return {{TMenuBarStep::Release, pressed}};
}

TMenuBarActions TMenuBarState::EnterMenuMode(const TMenuBarEntries& entries) {
    const TNav nav = NavOf(entries, item_, open_);
    const int i = MenuBarEntryItem(nav.Items);
    if (i < 0) return {};  // nothing to highlight: no menu mode at all
    TMenuBarActions out{{TMenuBarStep::EnterMode}};
    menuMode_ = true;
    const int before = item_;
    item_ = nav.First + i;
    out.push_back({TMenuBarStep::Select, item_, before == item_ ? -1 : before});
    return out;
}

bool TMenuBarState::LeaveMenuMode() {
    const bool ended = menuMode_ || std::exchange(endedByBar_, false);
    // A mode the bar ended itself (a click closing its popup) keeps the item under the mouse hot.
    if (menuMode_) item_ = -1;
    menuMode_ = false;
    open_ = -1;
    return ended;
}

void TMenuBarState::EndMode() {
    endedByBar_ = endedByBar_ || menuMode_;
    menuMode_ = false;
    open_ = -1;
}

TMenuBarActions TMenuBarState::Step(bool forward, const TMenuBarEntries& entries) {
    const TNav nav = NavOf(entries, item_, open_);
    const TMenuBarMove m = MenuBarStep(nav.Items, forward);
    if (m.Enter < 0 || m.Enter == m.Leave) return {};
    TMenuBarActions out;
    MoveTo(nav.First + m.Enter, true, out);
    return out;
}

TMenuBarActions TMenuBarState::PressSelected(bool chainOpen, const TMenuBarEntries& entries) {
    TMenuBarActions out;
    if (IsItem(entries, open_) && !entries[static_cast<std::size_t>(open_)].HasPopup) PressItem(open_, entries, out);
    else if (IsItem(entries, item_) && open_ < 0 && !chainOpen) PressItem(item_, entries, out);
    return out;
}

TMenuBarActions TMenuBarState::Accelerator(wchar_t ch, bool chainOpen, bool overflowMarker,
                                           const TMenuBarEntries& entries) {
    TNav nav = NavOf(entries, item_, open_);
    const int found = MenuBarAccelItem(nav.Items, ch);
    if (found < 0) {
        // An item hidden behind the overflow marker is reached through the marker's popup, which
        // takes the letter in turn (so a narrow window keeps every item at hand).
        for (TMenuBarNavItem& n : nav.Items) {
            n.Enabled = n.Enabled && !n.Fits;
            n.Fits = !n.Fits;
        }
        if (!overflowMarker || MenuBarAccelItem(nav.Items, ch) < 0) return {};
        return {{TMenuBarStep::Overflow}};
    }
    const int item = nav.First + found;
    const bool hasPopup = entries[static_cast<std::size_t>(item)].HasPopup;
    const bool wasOpen = open_ >= 0 && open_ != item;
    TMenuBarActions out;
    MoveTo(item, true, out);
    // A popup that followed the letter is open already; anything else is pressed.
    if (wasOpen ? !hasPopup : (!chainOpen || !hasPopup)) PressItem(item, entries, out);
    return out;
}

TMenuBarActions TMenuBarState::Key(TMenuKey key, wchar_t ch, const TMenuChainFacts& chain, bool overflowMarker,
                                   const TMenuBarEntries& entries) {
    const bool chainOpen = chain.Levels > 0;
    // A letter belongs to the open popup's items first ("&Drucken" under "&Datei"); only a
    // letter none of them has moves along the bar.
    if (ch && !(chainOpen && chain.HasAccel)) {
        TMenuBarActions out = Accelerator(ch, chainOpen, overflowMarker, entries);
        if (!out.empty()) return out;
    }
    if (key == TMenuKey::Escape && !chainOpen) return {{TMenuBarStep::LeaveMode}};
    // Left from a first-level popup and Right from an item without a further popup move along
    // the bar; in a deeper popup they stay the chain's.
    if (key == TMenuKey::Left && chain.Levels <= 1) return Step(false, entries);
    if (key == TMenuKey::Right && (!chainOpen || !chain.OnSubmenu)) return Step(true, entries);
    if (key == TMenuKey::Enter || key == TMenuKey::Down) {
        TMenuBarActions out = PressSelected(chainOpen, entries);
        if (!out.empty()) return out;
    }
    if (!chainOpen) return {};  // taken: nothing in the menu mode answers this key
    return {{TMenuBarStep::ToChain}};
}

void TMenuBarState::Opened(int item) {
    menuMode_ = true;
    item_ = open_ = item;
    endedByBar_ = false;
}

TMenuBarActions TMenuBarState::PopupEscaped() {
    if (open_ < 0) return {};
    const int item = open_;
    open_ = -1;
    item_ = item;
    return {{TMenuBarStep::Unpress, item}};
}

void TMenuBarState::PopupClosed(int downItem) {
    closedByPress_ = downItem;
}

TKeyMenuPlan PlanKeyMenu(TKeyMenuKey key, const TKeyMenuFacts& facts) {
    TKeyMenuPlan plan;
    // Alt let go after it served as a modifier, or a letter no item carries: nothing happens.
    if ((key == TKeyMenuKey::Tap && facts.AltUsed) || key == TKeyMenuKey::Letter) return plan;
    if (facts.InMenuMode) {
        plan.LeaveMenuMode = true;
        return plan;
    }
    plan.CloseChain = facts.ChainOpen;
    plan.EndPopupMode = !facts.ChainOpen && facts.InPopupMode;
    plan.SystemMenu = key == TKeyMenuKey::Space;
    plan.EnterMenuMode = key == TKeyMenuKey::Tap && facts.HasBar;
    return plan;
}

}  // namespace fn
