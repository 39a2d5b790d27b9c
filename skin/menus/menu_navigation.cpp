#include "skin/menus/menu_navigation.h"

namespace fn {

wchar_t AccelChar(std::wstring_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') { ++i; continue; }
        return caption[i + 1];
    }
    return 0;
}

String StripAccel(std::wstring_view caption) {
    String out;
    out.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != L'&') { out += caption[i]; continue; }
        if (i + 1 < caption.size() && caption[i + 1] == L'&') { out += L'&'; ++i; }
    }
    return out;
}

wchar_t FoldCase(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
    // Latin-1: U+00E0..U+00FE map to U+00C0..U+00DE, except the division sign U+00F7.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 32);
    if (c == 0xFF) return 0x178;
    // Latin Extended-A pairs (odd is the small letter), with the two ranges whose pairs start
    // on an odd code point.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return static_cast<wchar_t>(c & ~1u);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1u) ? c : static_cast<wchar_t>(c - 1);
    return c;
}

int FindAccelItem(const std::vector<TMenuNavItem>& items, wchar_t ch) {
    if (ch == 0) return -1;
    const wchar_t key = FoldCase(ch);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].Accel != 0 && FoldCase(items[i].Accel) == key) return static_cast<int>(i);
    return -1;
}

int EnsureVisible(const TMenuScroll& scroll, int count, int item) {
    int start = scroll.Start;
    if (!scroll.Scroll || !scroll.VisibleFrom) return start;
    if (item < start) return item;
    // Move down until the item is inside; each step shows at least the item at the new start.
    while (start < item && item >= start + scroll.VisibleFrom(start)) ++start;
    (void)count;
    return start;
}

namespace {

TNavResult Walk(const std::vector<TMenuNavItem>& items, int from, int step, const TMenuScroll& scroll) {
    const int n = static_cast<int>(items.size());
    TNavResult r{-1, scroll.Start};
    if (n == 0) return r;
    int i = from;
    for (int tries = 0; tries < n; ++tries) {
        i = ((i % n) + n) % n;
        if (IsSelectable(items[static_cast<size_t>(i)])) {
            r.Item = i;
            r.Start = EnsureVisible(scroll, n, i);
            return r;
        }
        i += step;
    }
    return r;
}

}  // namespace

TNavResult NextMenuItem(const std::vector<TMenuNavItem>& items, int active, const TMenuScroll& scroll) {
    const int n = static_cast<int>(items.size());
    int from = (active < 0 || active + 1 >= n) ? 0 : active + 1;
    return Walk(items, from, 1, scroll);
}

TNavResult PrevMenuItem(const std::vector<TMenuNavItem>& items, int active, const TMenuScroll& scroll) {
    const int n = static_cast<int>(items.size());
    int from = (active <= 0 || active > n) ? n - 1 : active - 1;
    return Walk(items, from, -1, scroll);
}

TNavResult FirstMenuItem(const std::vector<TMenuNavItem>& items, const TMenuScroll& scroll) {
    return Walk(items, 0, 1, scroll);
}

TNavResult LastMenuItem(const std::vector<TMenuNavItem>& items, const TMenuScroll& scroll) {
    return Walk(items, static_cast<int>(items.size()) - 1, -1, scroll);
}

}  // namespace fn
