#pragma once
// The objects on a skinned menu bar: TmnSkinMainMenuBarItem for each top-level menu item and
// TmnSkinMainMenuBarButton for the caption buttons of a maximised MDI child, with their common
// base TmnMenuBarObject. They keep their hover, pressed and fade states, draw themselves into
// the bar's buffer and run the bar's popups through it (main_menu_bar_win.h). The fade and the
// frame animation step as the frame's skin objects do (object_geometry.h).
#include <windows.h>

#include "platform/win/menus.h"
#include "skin/data/skin_data.h"
#include "skin/form/object_geometry.h"
#include "skin/form/object_painter_win.h"

namespace fn {

class TmnSkinMainMenuBar;
class TmnSkinMainMenuBarItem;

// The bar's rectangles as the platform takes them.
inline RECT MenuBarRect(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
// A picture of the skin that really holds pixels, or none.
const TBitmapData* MenuBarPicture(const TmnSkinData* skin, int index);
// Mouse buttons as the objects receive them.
inline constexpr int MenuBarLeftButton = 0;

// Base of the bar's items and child buttons, owned by the bar's object list.
class TmnMenuBarObject {
public:
    TmnMenuBarObject(TmnSkinMainMenuBar& parent, const TmnDataSkinObject* record);
    virtual ~TmnMenuBarObject() = default;
    TmnMenuBarObject(const TmnMenuBarObject&) = delete;
    TmnMenuBarObject& operator=(const TmnMenuBarObject&) = delete;

    TmnSkinMainMenuBar& Parent;
    bool MouseIn = false, Active = false, Down = false, Enabled = true, Visible = true;
    const TBitmapData* Picture = nullptr;  // the record's active picture, or none
    double MorphFactor = 0;
    String IDName;
    TSkinRect SkinRect, ActiveSkinRect, DownRect;
    TSkinRect ObjectRect;  // bar coordinates
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;

    // The morph timer when morphing is on, else a redraw now.
    virtual void StartMorph();
    // Draws into the bar's paint buffer.
    virtual void Draw(TBitmap& buffer) { (void)buffer; }
    virtual void MouseDown(int x, int y, int button) { (void)x, (void)y, (void)button; }
    virtual void MouseUp(int x, int y, int button) { (void)x, (void)y, (void)button; }
    virtual void DblClick() {}
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool MorphPending() const;

    bool MorphEnabled() const;
    virtual TmnSkinMainMenuBarItem* AsItem() { return nullptr; }
};

// One top-level menu item on the bar.
class TmnSkinMainMenuBarItem : public TmnMenuBarObject {
public:
    // record: the item record of the skin, or null for the unskinned look.
    TmnSkinMainMenuBarItem(TmnSkinMainMenuBar& parent, const TmnDataSkinMainMenuItem* record, TMenuItem* menuItem);

    bool SkinSupport = false;
    TMenuItem* MenuItem;
    TmnObjectFont TextFont;  // the character set is the bar's
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, UnEnabledFontColor = 0;
    TSkinRect TextRect, PressedRect;
    TmnStripEnds ItemEnds;  // the item picture's fixed ends
    bool StretchEffect = false;
    TSkinRect AnimateSkinRect;
    int FrameCount = 0;  // whole frames of the strip inside the picture; 0: no animation
    TmnFrameStrip AnimationStrip;
    int AnimateInterval = 25;
    bool InActiveAnimation = false;
    int CurrentFrame = 0;
    bool Fits = true;
    bool SavedEnabled = true;

    bool HasSubItems() const { return MenuItem && MenuItem->Count() > 0; }
    bool AnimationEnabled() const;
    // Opens (true) or closes this item's popup look; opening also opens the popup.
    void SetDown(bool down);
    // The command of an item without sub-items: the menu modes end, then it runs (posted).
    void Run();

    void StartMorph() override;
    void Draw(TBitmap& buffer) override;
    void MouseEnter() override;
    void MouseLeave() override;
    TmnSkinMainMenuBarItem* AsItem() override { return this; }

private:
    void DrawSkinned(TBitmap& buffer);
    void DrawUnskinned(TCanvas& canvas);
    void DrawCaption(TCanvas& canvas, const RECT& box, TColor color);
};

// A caption button of the maximised MDI child.
class TmnSkinMainMenuBarButton : public TmnMenuBarObject {
public:
    enum : int { cmdClose = 0, cmdRestore = 1, cmdMinimize = 2, cmdSysMenu = 3 };
    // record: the button record, or null for the unskinned button of command and name.
    TmnSkinMainMenuBarButton(TmnSkinMainMenuBar& parent, const TmnDataSkinStdButton* record, int command,
                             const wchar_t* name);

    bool SkinSupport = false;
    int Command;

    void Draw(TBitmap& buffer) override;
    void MouseDown(int x, int y, int button) override;
    void MouseUp(int x, int y, int button) override;
    void DblClick() override;
    void MouseEnter() override;
    void MouseLeave() override;
    // The popup chain opened from the bar closed.
    void MenuClosed(bool hot);
};

}  // namespace fn
