#pragma once
// The menu bar's mouse and keyboard without a window: which object is hot, whether the bar is in
// its menu mode with an item selected or an item's popup open, what a press, a slide along the
// bar, a letter, an arrow key, Escape, Alt or F10 does, and what a closed popup leaves behind.
// Each event answers with the steps the bar's window and its form's skinning component carry out
// (main_menu_bar_input_win.cpp, mantle_menus_win.cpp); the popup chain itself stays theirs and is
// described to the events as facts. Portable.
#include <vector>

namespace fn {

// One object on the bar (child buttons first, then the items) as the state machine sees it.
struct TMenuBarEntry {
    bool IsItem = true;
    bool Enabled = true;
    bool Fits = true;       // shown on the bar, not behind the overflow marker
    bool HasPopup = false;  // an item with sub-items
    wchar_t Accel = 0;      // the caption's "&" character, 0 for none
};
using TMenuBarEntries = std::vector<TMenuBarEntry>;

// The skinned popup chain as it stands when a key comes.
struct TMenuChainFacts {
    int Levels = 0;          // open popup windows, 0 for none
    bool OnSubmenu = false;  // the deepest window's selected item opens a further popup
    bool HasAccel = false;   // the deepest window has an item for the key's character
};

enum class TMenuBarMode {
    Idle,       // no menu mode; an object may be hot under the mouse
    Selecting,  // menu mode with an item selected and no popup (Alt, F10, Escape from a popup)
    Open,       // an item is pressed: its popup is open (a command item just shows pressed)
};

enum class TMenuBarStep {
    Hover,       // Item (-1: none) takes the hover look; Other, hot before, loses it
    Select,      // Item is selected by the keyboard; Other loses the selection; readers are told
    Open,        // Item shows pressed and its popup opens; Other, open before, closes first
    Run,         // the menu modes end and Item's command runs after the current message
    Press,       // the child button Item takes the mouse press (DoubleClick: a double click)
    Release,     // the child button Item takes the mouse release
    Close,       // the open popup closes and the menu mode ends; Item stays hot under the mouse
    Unpress,     // Item's popup closed by Escape: the item stays selected in menu mode
    EnterMode,   // the menu mode begins: keys are routed to the bar, readers are told
    LeaveMode,   // the owner ends the menu mode: popups close, no item stays highlighted
    Overflow,    // the items behind the marker open as a popup (and take the key's character)
    ToChain,     // the key belongs to the open popup chain
};

struct TMenuBarAction {
    TMenuBarStep Step;
    int Item = -1;
    int Other = -1;
    bool DoubleClick = false;
    bool operator==(const TMenuBarAction&) const = default;
};
using TMenuBarActions = std::vector<TMenuBarAction>;

// Keys the menu mode knows; any other key is Other.
enum class TMenuKey { Other, Left, Right, Up, Down, Enter, Escape };

class TMenuBarState {
public:
    TMenuBarMode Mode() const {
        return !menuMode_ ? TMenuBarMode::Idle : open_ >= 0 ? TMenuBarMode::Open : TMenuBarMode::Selecting;
    }
    bool MenuMode() const { return menuMode_; }
    // The hot or selected object, or -1.
    int Item() const { return item_; }
    // The item that shows pressed (its popup open), or -1.
    int OpenItem() const { return open_; }
    // The object a mouse button went down on, until it goes up.
    int Pressed() const { return pressed_; }

    // The objects were made anew: nothing is hot, pressed or open; the mode is left as it is.
    void Reset();

    // The mouse is over object found (-1: over no object or outside the bar).
    TMenuBarActions MouseMove(int found, const TMenuBarEntries& entries);
    // A button went down over found; left is the left button. chainOpen: a popup of the bar shows;
    // onMarker: the press is on the overflow marker.
    TMenuBarActions MouseDown(int found, bool left, bool doubleClick, bool chainOpen, bool onMarker,
                              const TMenuBarEntries& entries);
    TMenuBarActions MouseUp();
    // Another window took the mouse during a press: the pressed object lets go without acting.
    void PressLost() { pressed_ = -1; }

    // Alt or F10 let go: the menu mode begins on the first reachable item (the hot one when it is
    // reachable). Nothing when no item can be reached.
    TMenuBarActions EnterMenuMode(const TMenuBarEntries& entries);
    // The menu mode ended (its owner's doing): nothing stays selected or open. True when a mode
    // was on (or the bar's own Close or Run just ended it).
    bool LeaveMenuMode();
    // Right / Left along the bar, wrapping; an open popup moves along.
    TMenuBarActions Step(bool forward, const TMenuBarEntries& entries);
    // Enter or Down on the selected item opens its popup (or runs it); on an item that shows
    // pressed without a popup it runs. Empty: the key is not the bar's.
    TMenuBarActions PressSelected(bool chainOpen, const TMenuBarEntries& entries);
    // A letter: the item it names is selected and opened or run; with a popup open a letter of an
    // item with sub-items moves the popup there. A letter only a hidden item carries opens the
    // overflow popup. Empty: no item has the letter.
    TMenuBarActions Accelerator(wchar_t ch, bool chainOpen, bool overflowMarker, const TMenuBarEntries& entries);
    // A key while the bar is in menu mode: the bar's own moves first, the popup chain's otherwise.
    // For a letter the Accelerator's answer comes first (when the chain has no item for it).
    // Empty: the key is taken and nothing changes.
    TMenuBarActions Key(TMenuKey key, wchar_t ch, const TMenuChainFacts& chain, bool overflowMarker,
                        const TMenuBarEntries& entries);

    // Item's popup was opened as an Open step asked. Closing another chain on the way may have
    // ended the menu mode through the owner; the opened item puts it back.
    void Opened(int item);
    // The popup chain closed by Escape while the menu mode goes on.
    TMenuBarActions PopupEscaped();
    // The popup chain closed (a choice, a click elsewhere, Escape of the last window) while
    // downItem still showed pressed (-1: none): when a press on that item closed it, that press
    // must not open it again, until it has been handled.
    void PopupClosed(int downItem);
    void ClosingPressHandled() { closedByPress_ = -1; }

private:
    void EnterTo(int item, TMenuBarActions& out);
    // A press on item: open its popup, or run it.
    void PressItem(int item, const TMenuBarEntries& entries, TMenuBarActions& out);
    void MoveTo(int item, bool keyboard, TMenuBarActions& out);
    // The bar itself ends the mode (Close, Run); its owner's LeaveMenuMode follows.
    void EndMode();

    bool menuMode_ = false;
    int item_ = -1;
    int open_ = -1;
    int pressed_ = -1;
    int closedByPress_ = -1;  // the item whose popup closed, until the press that closed it is handled
    bool endedByBar_ = false;
};

// What Alt, F10 and Alt+Space do (the platform's key menu), decided by the form's skinning
// component whether or not it has a menu bar.
// Tap: Alt or F10 let go; Space: Alt+Space; Letter: Alt with a letter no shortcut took.
enum class TKeyMenuKey { Tap, Space, Letter };

struct TKeyMenuFacts {
    bool AltUsed = false;     // Alt went down and served a shortcut since
    bool InMenuMode = false;  // the bar's menu mode is on
    bool ChainOpen = false;   // a skinned popup shows (not the bar's)
    bool InPopupMode = false; // a popup's key routing is on though no popup shows any more
    bool HasBar = false;
};

struct TKeyMenuPlan {
    bool LeaveMenuMode = false;
    bool CloseChain = false;
    bool EndPopupMode = false;
    bool SystemMenu = false;
    bool EnterMenuMode = false;
};

TKeyMenuPlan PlanKeyMenu(TKeyMenuKey key, const TKeyMenuFacts& facts);

// Alt as a lone tap or as a modifier: a tap opens the menu mode when it is let go; Alt held
// while another key served as a shortcut is spent (the platform still reports its release).
class TAltTap {
public:
    void Pressed() { used_ = false; }
    // A key went down with Alt held; taken: a shortcut used it.
    void KeyWithAlt(bool taken) { used_ = used_ || taken; }
    // Alt let go: true when it was used as a modifier (the key menu is not a tap then). Forgets.
    bool TakeUsed() {
        const bool used = used_;
        used_ = false;
        return used;
    }

private:
    bool used_ = false;
};

}  // namespace fn
