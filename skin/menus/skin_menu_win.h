#pragma once
// The skinned menu chain: TmnSkinMenu opens a chain of TmnSkinPopupWindow windows for a
// platform menu item's sub-items, each showing one TmnSkinMenuItem per visible item, drawn from
// the skin's "POPUPWINDOW" and menu-item records or in the unskinned look. The geometry and the
// keyboard navigation are the portable popup_layout and menu_navigation units; this unit makes
// the windows, timers and hooks and draws.
//
// Safety rules kept here: a click (mouse, Enter, mnemonic, the sub-menu delay) is carried out
// after the handler that saw it has returned (posted to the chain's own message window), so no
// popup window is freed inside its own message; the item to run is remembered by its platform
// item, which reports its destruction; the opener is checked with IsWindow before it is told
// anything. Every platform item a window shows is watched too: when one is freed (a menu rebuilt
// while it shows), its window goes stale at once (it paints, tracks and answers nothing more) and
// the chain closes it, with the windows below it, as soon as no handler of the chain is running. While a chain is open, one thread hook routes key-downs to the chain's key handler
// (consumed keys and every character never reach the focused window) and swallows the mouse
// wheel; a second sees the owner form's menu-closing messages, a click outside the chain and the
// program losing the foreground, and closes the chain. The two hooks are installed only while a
// chain is open: kept longer, they would slow every message the thread sends.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/win/accessible.h"
#include "platform/win/controls.h"
#include "platform/win/gdi.h"
#include "platform/win/graphics.h"
#include "platform/win/handles.h"
#include "platform/win/hint_window.h"
#include "platform/win/image_list.h"
#include "platform/win/menus.h"
#include "skin/data/skin_data.h"
#include "skin/menus/menu_navigation.h"
#include "skin/menus/menu_owner_win.h"
#include "skin/menus/popup_layout.h"
#include "platform/win/window_timer.h"
#include "skin/paint/rects.h"

namespace fn {

class TmnSkinMenu;
class TmnSkinPopupWindow;

// True for the messages that close an open chain when the owner form receives them.
bool IsMenuClosingMessage(UINT msg);

// The character a key-down produces on the current keyboard layout, modifiers other than Shift
// left out (Alt+Ö chooses the same item as Ö); 0 for none.
wchar_t KeyChar(const MSG& msg);

// The desktop's menu effects: with animation off, menus appear at once and items do not animate.
struct TmnMenuDesktopSettings {
    bool MenuAnimation = true;  // SPI_GETMENUANIMATION
    bool MenuFade = true;       // SPI_GETMENUFADE
};
TmnMenuDesktopSettings ReadMenuDesktopSettings();

// Drawn items are the sender of their platform item's OnDrawItem.
class TmnSkinMenuItem : public TObject {
public:
    TmnSkinMenuItem(TmnSkinPopupWindow& parent, TMenuItem* menuItem);

    TmnSkinPopupWindow& Parent;
    const TmnDataSkinMenuItem* Record = nullptr;
    TBitmap* ActivePicture = nullptr;  // the window's copy of the record's picture, or none
    double MorphFactor = 0;
    TMenuItem* MenuItem;  // null once the platform item was freed (its window is stale then)
    TSkinRect ObjectRect;
    bool Active = false;
    bool Down = false;
    bool Visible = true;
    bool WaitCommand = false;
    int CurrentFrame = 0;

    // A freed platform item reads as a disabled plain item until its stale window is closed.
    bool IsSeparator() const { return MenuItem && MenuItem->IsLine(); }
    bool Enabled() const { return MenuItem && MenuItem->Enabled(); }
    bool HasSubItems() const;
    bool Selectable() const { return Enabled() && !IsSeparator(); }
    bool MorphingEnabled() const;
    bool AnimationEnabled() const;
    int FrameCount() const;  // the record's frame count bounded by the frames its picture holds
    UINT AnimateInterval() const;
    // Draws the item at ObjectRect on the window's off-screen canvas.
    void Draw(TCanvas& canvas);

private:
    // All in item coordinates (the canvas origin is moved to ObjectRect), w x h.
    void DrawSkinned(TCanvas& c, int w, int h);
    void DrawUnskinned(TCanvas& c, int w, int h);
    void DrawStateImage(HDC dc, int w, bool active);
    void DrawContent(TCanvas& c, const RECT& textRect, int glyphColumn, TColor color, bool skinned);
    // The item's bitmap, else its image-list image, at (x, y) (or centred in the record's image
    // rectangle); false when it has neither. A checked item's image gets a frame in color.
    bool DrawImage(TCanvas& c, int x, int middle, TColor color, bool skinned);
    // The size of that image, or {0, 0}.
    SIZE ImageSize() const;
};

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
    const TmnDataSkinPopupWindow* PW = nullptr;
    const TmnDataSkinMenuItem* ItemRecord = nullptr;
    std::vector<std::unique_ptr<TmnSkinMenuItem>> Items;
    // The platform menu's images, or none (read each time: the list may go while a menu shows).
    TImageList* ImageList() const;
    int GlyphWidth = 19;
    String Hint;  // the highlighted item's hint
    int VisibleStartIndex = 0, VisibleCount = 0;
    bool Scroll = false, LimitedByMax = false;
    int ScrollCode = 0;
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
    // Scrolls the range to start (clamped) and lays the items out again.
    void ScrollTo(int start);
    // Paints the whole window into dc at (0, 0).
    void PaintTo(HDC dc);
    void Redraw();
    TFont& Font() { return font_; }
    // A three-part strip of the item picture at width w, built once and kept by the menu.
    TBitmap& ItemStrip(const TSkinRect& r, int leftOffset, int rightOffset, int w, bool stretch);
    bool Skinned() const { return PW != nullptr && windowPicture_ != nullptr; }
    TBitmap* ItemPicture() { return itemPicture_; }
    std::vector<TMenuNavItem> NavItems() const;
    TMenuScroll ScrollState() const;

    TAccessibleInfo AccessibleInfo() override;
    int AccessibleChildCount() override { return stale_ ? 0 : static_cast<int>(Items.size()); }
    TAccessibleInfo AccessibleChild(int index) override;
    String HintText() override { return Hint; }

private:
    static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);
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

class TmnSkinMenu : public TComponent {
public:
    TmnSkinMenu(TComponent* owner, TmnMenuOwner* menuOwner);
    ~TmnSkinMenu() override;
    const wchar_t* ClassName() const override { return L"TmnSkinMenu"; }

    // Settings (the owner copies its own into these).
    bool UseSkinFont = true;
    int DefaultMenuItemHeight = 20;
    TFontDesc DefaultMenuItemFont{L"Arial", 14};
    bool AlphaBlend = false;
    BYTE AlphaBlendValue = 150;
    bool AlphaBlendAnimation = false;
    int MaxMenuItemsInWindow = 0;
    // Where the desktop's menu effects come from (tests answer them).
    std::function<TmnMenuDesktopSettings()> DesktopSettings = ReadMenuDesktopSettings;
    // The work area a chain is placed in; unset: the one of the monitor the anchor lies on.
    std::optional<RECT> WorkAreaOverride;

    // State.
    TmnSkinData* SkinData = nullptr;
    std::vector<std::unique_ptr<TmnSkinPopupWindow>> PopupList;
    bool Visible = false;
    bool First = false;
    HWND PopupCtrl = nullptr;
    HWND LastCtrl = nullptr;
    RECT WorkArea{0, 0, 0, 0};
    TmnSkinMenuItem* WaitItem = nullptr;
    TNotifyEvent OnMenuClose;

    TmnMenuOwner* MenuOwner() const { return owner_; }
    // Opens a chain for item's sub-items from startIndex on at anchor (screen coordinates).
    void Popup(HWND popupCtrl, TmnSkinData* skinData, bool popupUp, TMenuItem* item, const RECT& anchor,
               int startIndex);
    // One window showing firstItem's sub-items followed by secondItem's, from startIndex on.
    void PopupMerged(HWND popupCtrl, TmnSkinData* skinData, bool popupUp, TMenuItem* firstItem,
                     TMenuItem* secondItem, const RECT& anchor, int startIndex);
    void CloseFrom(int depth);
    void CloseAll();
    // Closes the first stale window and every window below it (the whole chain when it is the
    // first); true when one was closed.
    bool CloseStale();
    int IndexOf(const TmnSkinPopupWindow* window) const;
    void ItemChosen(TmnSkinPopupWindow& window, TmnSkinMenuItem& item, bool byKeyboard, bool click);
    // Carries out a click of item after the current message has been handled.
    void PostClick(TmnSkinPopupWindow& window, TmnSkinMenuItem& item);
    // Whether the innermost open popup has an item with ch as its accelerator.
    bool HasAccelerator(wchar_t ch) const;
    // The key handler of the open chain (routed by the hook): true when the key was used.
    bool KeyDown(WORD key, wchar_t ch);
    bool WaitTimerActive() const { return waitTimer_.Active(); }
    // The usable skin of the current chain, or null.
    const TmnSkinData* Skin() const { return SkinData && !SkinData->Empty() ? SkinData : nullptr; }
    // The window that carries the chain's timers and deferred commands.
    HWND MessageWindow() const { return messageWindow_; }
    // The desktop settings taken when the chain opened.
    const TmnMenuDesktopSettings& Effects() const { return effects_; }
    bool IsChainWindow(HWND window) const;
    // The platform bitmap of a skin picture, converted once and kept while the picture is the
    // same (compared by content, so a reloaded skin is never shown from a stale copy).
    TBitmap& PictureBitmap(const TBitmapData& picture);
    // A copy of the popup region for a window of w x h, built from the mask once per size.
    TRegionHandle PopupRegion(const TFrameGeometry& g, const TFrameGeometry& n, const TBitmapData& mask, int w, int h);
    // The skinned background of a popup window of w x h (geometry g resized to n), built from
    // picture once per size and settings and reused by the next windows.
    TBitmap& PopupBackground(const TmnDataSkinPopupWindow& pw, TBitmap& picture, const TFrameGeometry& g,
                             const TFrameGeometry& n, int w, int h, bool scroll);
    // The off-screen buffer a popup window paints into (every pixel is painted each time), kept
    // between paints and windows while the size stays.
    TBitmap& PaintBuffer(int w, int h);
    // A three-part strip of an item picture at width w, built once and reused.
    TBitmap& ItemStrip(TBitmap& picture, const TSkinRect& r, int leftOffset, int rightOffset, int w, bool stretch);

    void Notification(TComponent* component, Operation operation) override;

private:
    friend class TmnSkinPopupWindow;
    static LRESULT CALLBACK StaticMessageProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CallWndHook(int code, WPARAM wParam, LPARAM lParam);
    void OpenChain(HWND popupCtrl, TmnSkinData* skinData, const RECT& anchor);
    void OpenWindow(const RECT& anchor, const std::vector<TMenuItem*>& items, bool popupUp, bool subMenu,
                    bool merged, const String& title);
    void RunPendingClick();
    void ClearPending();
    void InstallHooks();
    void RemoveHooks();
    // The platform items shown or about to be clicked, each linked for its free notification once
    // however many windows show it.
    void Watch(TMenuItem* item);
    void Unwatch(TMenuItem* item);
    std::map<const TComponent*, int> watched_;

    TmnMenuOwner* owner_;
    HWND messageWindow_ = nullptr;
    struct CachedPicture {
        TBitmapData Source;
        std::unique_ptr<TBitmap> Bitmap;
    };
    std::vector<CachedPicture> pictures_;
    struct CachedRegion {
        TBitmapData Mask;
        TFrameGeometry From, To;
        int W = 0, H = 0;
        TRegionHandle Region;
    } region_;
    // Painted parts kept between windows; emptied whenever a new picture is converted (a
    // changed skin), so none refers to a picture that has gone.
    struct CachedStrip {
        const TBitmap* Picture;
        TSkinRect Rect;
        int Left, Right, Width;
        bool Stretch;
        std::unique_ptr<TBitmap> Image;
    };
    std::vector<CachedStrip> strips_;
    struct CachedBackground {
        const TBitmap* Picture = nullptr;
        TFrameGeometry From, To;
        int W = 0, H = 0;
        bool Scroll = false;
        bool Stretch[4] = {};
        bool StretchEffect = false;
        TStretchType StretchType = stFull;
        std::unique_ptr<TBitmap> Image;
    } background_;
    std::unique_ptr<TBitmap> paintBuffer_;
    TWindowTimer waitTimer_;
    TmnMenuDesktopSettings effects_;
    struct Pending {
        TmnSkinPopupWindow* Window = nullptr;
        TMenuItem* Item = nullptr;
    } pending_;
};

}  // namespace fn
