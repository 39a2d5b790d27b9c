#pragma once
// TmnSkinPopupWindow: one window of a skinned menu chain. It shows one TmnSkinMenuItem per
// platform item, sized, placed and laid out by popup_layout, drawn from the skin's "POPUPWINDOW"
// record or in the unskinned look; it tracks the cursor and answers the keys its chain routes
// to it (menu_navigation decides where they lead).
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/core/bitmap_data.h"
#include "platform/win/accessible.h"
#include "platform/win/graphics.h"
#include "platform/win/hint_window.h"
#include "platform/win/window_timer.h"
#include "skin/data/object_records.h"
#include "skin/menus/menu_navigation.h"
#include "skin/menus/popup_layout.h"
#include "skin/menus/skin_menu_item_win.h"
#include "skin/paint/rects.h"

namespace fn {

class TImageList;
class TmnSkinMenu;

// A popup window tells screen readers it is a menu and its items are menu items (named by
// their captions without the mnemonic "&"); the application's hint shows the highlighted item's
// hint over it.
class TmnSkinPopupWindow : public TAccessibleSource, public THintSource {
public:
    explicit TmnSkinPopupWindow(TmnSkinMenu& menu);
    ~TmnSkinPopupWindow() override;
    TmnSkinPopupWindow(const TmnSkinPopupWindow&) = delete;
    TmnSkinPopupWindow& operator=(const TmnSkinPopupWindow&) = delete;

    // Builds the items, sizes, places and shows the window (without activating it). title names
    // the window for screen readers (the opening item's caption).
    void Show(const RECT& anchor, const std::vector<TMenuItem*>& items, bool popupUp, bool isSubMenu,
              bool merged, const String& title);

    HWND Handle() const { return handle_; }
    // A platform item shown here was freed: the window waits to be closed and does nothing else.
    bool Stale() const { return stale_; }
    void MarkStale();
    TmnSkinMenu& ParentMenu;
    // The skin's "POPUPWINDOW" record (PW); none when the window is drawn unskinned.
    const TmnDataSkinPopupWindow* WindowRecord = nullptr;
    const TmnDataSkinMenuItem* ItemRecord = nullptr;
    std::vector<std::unique_ptr<TmnSkinMenuItem>> Items;
    // The platform menu's images, or none (read each time: the list may go while a menu shows).
    TImageList* ImageList() const;
    int GlyphWidth = 19;
    String Hint;  // the highlighted item's hint
    int VisibleStartIndex = 0, VisibleCount = 0;
    bool Scroll = false, LimitedByMax = false;
    TScrollMarker ScrollMarker = TScrollMarker::None;  // the strip scrolling (ScrollCode 0, 1, 2)
    TSkinRect NewItemsRect;
    int ShowX = 0, ShowY = 0;
    int ActiveItem = -1, OldActiveItem = -1;
    BYTE Alpha = 255;  // the opacity applied last

    // The cursor poll (every 50 ms, and on mouse moves): the cursor at screen point pt, over this
    // window or not.
    void MouseAt(POINT pt, bool overThis);
    // The left button went up at client point pt.
    void ButtonUpAt(POINT pt);
    // The key handler of the last window: true when the key was used.
    bool KeyDown(WORD key, wchar_t ch);
    // Item under a client point among the visible items, or -1.
    int ItemAt(POINT pt) const;
    void EnterItem(int index, bool byKeyboard);
    void LeaveItem(int index);
    void StartMorph(TmnSkinMenuItem& item);
    // Items shown as opened (their sub-menu's window has gone) go back to normal.
    void ReleaseOpenedItems();
    // Scrolls the range to start (clamped) and lays the items out again.
    void ScrollTo(int start);
    // Paints the whole window into dc at (0, 0).
    void PaintTo(HDC dc);
    void Redraw();
    TFont& Font() { return font_; }
    // A three-part strip of the item picture at width w, built once and kept by the menu.
    TBitmap& ItemStrip(const TSkinRect& r, int leftOffset, int rightOffset, int w, bool stretch);
    bool Skinned() const { return WindowRecord != nullptr && windowPicture_ != nullptr; }
    // The display scale the menu is drawn at: its skin manager's.
    int Dpi() const;
    // A length given at 96 dpi, at that scale.
    int Px(int at96) const;
    // The height of each scroll marker strip at that scale.
    int MarkerHeight() const { return Px(PopupMarkerHeight); }
    TBitmap* ItemPicture() { return itemPicture_; }
    std::vector<TMenuNavItem> NavItems() const;
    TMenuScroll ScrollState() const;

    TAccessibleInfo AccessibleInfo() override;
    int AccessibleChildCount() override { return stale_ ? 0 : static_cast<int>(Items.size()); }
    TAccessibleInfo AccessibleChild(int index) override;
    String HintText() override { return Hint; }

private:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void CreateHandle(int x, int y, int width, int height, const String& text);
    void TakeSkin();
    int MeasureWidth(bool merged);
    void LayoutItems();
    void SetRegion(int width, int height);
    void PaintBackground(TBitmap& target);
    void PaintMarkers(TBitmap& target);
    void MorphTick();
    void ScrollTick();
    void FadeTick();
    std::vector<int> ItemHeights() const;

    HWND handle_ = nullptr;
    TFont font_;
    const TBitmapData* windowPicture_ = nullptr;
    const TBitmapData* maskPicture_ = nullptr;
    TBitmap* itemPicture_ = nullptr;
    TBitmap* windowBitmap_ = nullptr;
    TBitmap* maskBitmap_ = nullptr;
    TFrameGeometry geometry_, newGeometry_;
    POINT lastMouse_{-1, -1};
    TWindowTimer mouseTimer_, morphTimer_, scrollTimer_, fadeTimer_;
    BYTE fadeTarget_ = 255;
    bool stale_ = false;
};

}  // namespace fn
