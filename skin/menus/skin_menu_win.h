#pragma once
// The skinned menu chain: TmnSkinMenu opens a chain of TmnSkinPopupWindow windows (one unit)
// for a platform menu item's sub-items, each showing one TmnSkinMenuItem (another unit) per
// visible item. This unit opens and closes the chain, runs the chosen item, keeps the pictures,
// regions and backgrounds the windows share and installs the chain's hooks.
//
// Safety rules kept here: a click (mouse, Enter, mnemonic, the sub-menu delay) is carried out
// after the handler that saw it has returned (posted to the chain's own message window), so no
// popup window is freed inside its own message; the item to run is remembered by its platform
// item, which reports its destruction; the opener is checked with IsWindow before it is told
// anything. Every platform item a window shows is watched too: when one is freed (a menu rebuilt
// while it shows), its window goes stale at once (it paints, tracks and answers nothing more) and
// the chain closes it, with the windows below it, as soon as no handler of the chain is running.
// While a chain is open, one thread hook routes key-downs to the chain's key handler
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

#include "platform/core/bitmap_data.h"
#include "platform/core/classes.h"
#include "platform/win/gdi.h"
#include "platform/win/graphics.h"
#include "platform/win/menus.h"
#include "platform/win/window_timer.h"
#include "skin/data/skin_data.h"
#include "skin/menus/menu_owner_win.h"
#include "skin/menus/skin_popup_window_win.h"
#include "skin/paint/rects.h"

namespace fn {

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
    HWND MessageWindow();
    // The desktop settings taken when the chain opened.
    const TmnMenuDesktopSettings& Effects() const { return effects_; }
    bool IsChainWindow(HWND window) const;
    // The platform bitmap of a skin picture, converted once and kept while the picture is the
    // same (compared by content, so a reloaded skin is never shown from a stale copy).
    TBitmap& PictureBitmap(const TBitmapData& picture);
    // A copy of the popup region for a window of w x h, built from the mask once per size.
    TRegionHandle PopupRegion(const TFrameGeometry& geometry, const TFrameGeometry& resized, const TBitmapData& mask,
                              int w, int h);
    // The skinned background of a popup window of w x h (geometry resized to resized), built from
    // picture once per size and settings and reused by the next windows.
    TBitmap& PopupBackground(const TmnDataSkinPopupWindow& pw, TBitmap& picture, const TFrameGeometry& geometry,
                             const TFrameGeometry& resized, int w, int h, bool scroll);
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
    // The first window of a new chain, showing the items collect gives once the old chain has closed.
    void OpenFirstWindow(HWND popupCtrl, TmnSkinData* skinData, bool popupUp, const RECT& anchor, bool merged,
                         TMenuItem* titleItem, const std::function<void(std::vector<TMenuItem*>&)>& collect);
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
        TFrameGeometry Geometry, Resized;  // the picture's frame and the frame resized to W x H
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
        TFrameGeometry Geometry, Resized;  // the picture's frame and the frame resized to W x H
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
