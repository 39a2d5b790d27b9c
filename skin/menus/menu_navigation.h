#pragma once
// Keyboard navigation of one popup window, without a window: which item the arrow keys,
// Home/End and a mnemonic select, and how the scrolled range follows. Portable.
#include <functional>
#include <string_view>
#include <vector>

#include "platform/core/strings.h"

namespace fn {

struct TMenuNavItem {
    bool Separator = false;
    bool Enabled = true;
    bool HasSubItems = false;
    wchar_t Accel = 0;  // the character after the single '&' of the caption, 0 for none
};

inline bool IsSelectable(const TMenuNavItem& item) { return item.Enabled && !item.Separator; }

// The mnemonic character of a caption ("&Öffnen" gives 'Ö'; "&&" is a literal '&'), or 0.
wchar_t AccelChar(std::wstring_view caption);
// The caption as a reader hears it: "&&" becomes "&", a single '&' goes.
String StripAccel(std::wstring_view caption);
// Upper case for ASCII, Latin-1 and Latin Extended-A letters (enough for German, French and the
// other Western captions a skin's menus carry); other characters stay as they are.
wchar_t FoldCase(wchar_t c);
// The first item whose mnemonic is ch ignoring case, or -1. Disabled items and separators count:
// the caller decides what a disabled match does.
int FindAccelItem(const std::vector<TMenuNavItem>& items, wchar_t ch);

// The scrolled range of a window: VisibleFrom(start) answers how many items fit from start on.
struct TMenuScroll {
    bool Scroll = false;
    int Start = 0;
    std::function<int(int start)> VisibleFrom;
};

struct TNavResult {
    int Item = -1;  // -1: nothing selectable, nothing changes
    int Start = 0;  // the scrolled range's new start
};

// Down / Up: the next selectable item after active (from the top when none is active), wrapping
// at the ends; the range scrolls so the item is visible. No selectable item: Item -1.
TNavResult NextMenuItem(const std::vector<TMenuNavItem>& items, int active, const TMenuScroll& scroll);
TNavResult PrevMenuItem(const std::vector<TMenuNavItem>& items, int active, const TMenuScroll& scroll);
// Home / End: the first or last selectable item.
TNavResult FirstMenuItem(const std::vector<TMenuNavItem>& items, const TMenuScroll& scroll);
TNavResult LastMenuItem(const std::vector<TMenuNavItem>& items, const TMenuScroll& scroll);
// The smallest start at or after scroll.Start (or before it) that shows item.
int EnsureVisible(const TMenuScroll& scroll, int count, int item);

}  // namespace fn
