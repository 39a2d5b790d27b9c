#pragma once
// TmnSkinMainMenuBar: the skinned control that stands in for a window's menu bar. It shows the
// top-level items of a TMainMenu as TmnSkinMainMenuBarItem objects drawn from the skin's
// "mainmenubar" record and its item record (or as plain text on button face), opens their
// sub-menus as skinned popups through its owner's menu chain, follows the mouse from item to
// item while a popup is open, runs the keyboard menu mode its owner routes to it, hides items
// that do not fit behind a marker that opens them as a popup, merges a maximised MDI child's
// menu and shows that child's caption buttons (TmnSkinMainMenuBarButton) at its two ends.
//
// The geometry, hit-testing and keyboard choices are the portable menu_bar_layout unit, what
// the mouse and the keys do is the portable state machine of menu_bar_state; the objects and
// their looks are main_menu_bar_objects_win.h; this unit draws them (paint file), feeds mouse
// and keys to the state machine and carries its steps out (input file), and talks to the owner. A command chosen on the bar
// runs after the message that chose it (posted), so a command that changes the menu or closes
// the window never frees the object still handling its mouse or key.
#include <climits>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/win/menus.h"
#include "skin/controls/skin_control_win.h"
#include "skin/form/form_partners_win.h"
#include "skin/form/main_menu_bar_objects_win.h"
#include "skin/form/menu_bar_layout.h"
#include "skin/form/menu_bar_state.h"
#include "platform/win/window_timer.h"

namespace fn {

class TmnSkinMainMenuBar : public TmnSkinControl, public TmnMenuBarPartner {
public:
    explicit TmnSkinMainMenuBar(TComponent* owner);
    ~TmnSkinMainMenuBar() override;
    const wchar_t* ClassName() const override { return L"TmnSkinMainMenuBar"; }
    // Registers the class for form data ("TmnSkinMainMenuBar").
    static void Register();

    // Published properties.
    bool ScrollMenu() const { return scrollMenu_; }
    void SetScrollMenu(bool scroll);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool use);
    TFont& DefItemFont() { return defItemFont_; }
    int DefaultWidth() const { return defaultWidth_; }
    void SetDefaultWidth(int width);
    int DefaultHeight() const { return defaultHeight_; }
    void SetDefaultHeight(int height);
    bool PopupToUp() const { return popupToUp_; }
    void SetPopupToUp(bool up) { popupToUp_ = up; }
    TmnMenuBarOwner* Mantle() const { return mantle_; }
    // The owner; a component implementing TmnMenuBarOwner is followed until it is destroyed.
    void SetMantle(TmnMenuBarOwner* mantle);
    TMainMenu* MainMenu() const override { return mainMenu_; }
    void SetMainMenu(TMainMenu* menu);
    TMainMenu* MergedChildMenu() const override { return Merged ? childMenu_ : nullptr; }
    // The hint of the item the mouse highlighted last.
    const String& Hint() const { return hint_; }
    void SetHint(const String& hint) { hint_ = hint; }

    std::function<void(TComponent* sender, TMenuItem* item)> OnItemMouseEnter, OnItemMouseLeave;
    // An item's sub-menu is about to open (its items may still change).
    std::function<void(TComponent* sender, TMenuItem* item)> OnItemPopup;

    // The owner's entry points.
    void EnterMenuMode() override;
    void LeaveMenuMode() override;
    void NextItem() override;
    void PreviousItem() override;
    bool PressHotItem() override;
    bool HandleAccelerator(wchar_t key) override;
    bool MenuKey(TMenuKey key, wchar_t ch, const TMenuChainFacts& chain) override;
    void PopupClosed() override;
    // Skipped while a menu mode is on (the open popup belongs to the items); done when it ends.
    void RebuildItems() override;
    void ShowChildButtons() override;
    void UpdateChildButtons() override;

    // Run-time state.
    bool Skinned() const { return record_ != nullptr; }
    std::vector<std::unique_ptr<TmnMenuBarObject>> Objects;  // child buttons first, then items
    int ButtonCount = 0;
    bool ChildButtonsShown = false;
    bool Overflow = false;
    bool MarkerActive = false;
    bool Merged = false;
    TSkinRect ItemsArea;
    // The bar's menu mode (keyboard, or an item's popup open) and its hot object (-1: none).
    bool MenuMode() const { return state_.MenuMode(); }
    int HotIndex() const { return state_.Item(); }

    int ItemCount() const { return static_cast<int>(Objects.size()) - ButtonCount; }
    TmnSkinMainMenuBarItem* Item(int index) const;
    int IndexOf(const TmnMenuBarObject* object) const;
    TmnMenuBarObject* ObjectAt(int index) const;
    // The overflow marker's rectangle (bar coordinates).
    TSkinRect MarkerRect() const { return marker_; }

    // Hover tracking at a bar point; (-1, -1) stands for outside the bar.
    void Track(int x, int y);
    // Lays out the buttons and items for the current size.
    void Layout();
    void LayoutAnew();  // laid out and painted again
    void RedrawObject(TmnMenuBarObject& object);
    // Opens the items hidden behind the marker as a popup.
    void OpenOverflowPopup();
    // The owner's chain, or null without an owner.
    TmnSkinMenu* Menu() const { return mantle_ ? &mantle_->SkinMenu() : nullptr; }
    bool PopupOpen() const;
    // The usable skin, or null.
    const TmnSkinData* Skin() const { return skinData_ && !skinData_->Empty() ? skinData_ : nullptr; }
    TmnSkinPictures& Pictures() { return pictures_; }
    // A bar rectangle on the screen.
    RECT ScreenRect(const TSkinRect& r);
    // The item's font (from its record or DefItemFont) selected into canvas.
    void SelectItemFont(TCanvas& canvas, const TmnSkinMainMenuBarItem& item);
    // Runs item's command after the current message.
    void PostClick(TMenuItem* item);
    void StartTimer(int which);
    void StopTimer(int which);
    bool ItemTransparent() const { return record_ && record_->ItemTransparent; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void ParentBackgroundChanged() override;
    TAccessibleInfo AccessibleInfo() override;
    int AccessibleChildCount() override { return ItemCount(); }
    TAccessibleInfo AccessibleChild(int index) override;

    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    void ChangeScale(int dpi, int fromDpi) override;
    void Notification(TComponent* component, Operation operation) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    enum : int { HoverTimer = 1, MorphTimer = 2, AnimateTimer = 3 };

protected:
    void Paint(HDC dc) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void HandleCreated() override;

private:
    // The bar's own deferred work, posted to its window.
    enum : UINT {
        MsgClick = WM_APP + 0x51,    // run the chosen item's command
        MsgRebuild = WM_APP + 0x52,  // rebuild the items held back by a menu mode
        MsgClosed = WM_APP + 0x53,   // the press that closed a popup has been handled
    };

    // What the bar shows from its menus: the items, the merged child menu and the child's
    // buttons. A rebuild that would show the same is left out.
    struct TLook {
        struct Item {
            TMenuItem* MenuItem;
            String Caption;
            bool Enabled;
            bool operator==(const Item&) const = default;
        };
        TForm* Child = nullptr;
        TMainMenu* ChildMenu = nullptr;
        bool Buttons = false;
        TmnBorderIcons Icons{};
        std::vector<Item> Items;
        bool operator==(const TLook&) const = default;
    };
    TLook Look() const;
    void Rebuild();
    void CreateChildButtons();
    void RefreshButtonStates();
    void FreeObjects();
    void HoverTick();
    // True when the pointer (screen coordinates) is somewhere else than at the last call.
    bool PointerMoved(POINT screen);
    void MorphTick();
    void AnimateTick();
    void PaintBackground(TBitmap& buffer);
    void DrawMarker(TCanvas& canvas);
    void ButtonDown(int x, int y, int button, bool doubleClick);
    void ButtonUp(int x, int y, int button);
    int RequiredHeight() const;
    // The objects as the state machine sees them.
    TMenuBarEntries Entries() const;
    // Carries out the state machine's steps; button is the mouse button, ch a key's character.
    void Execute(const TMenuBarActions& actions, int button = MenuBarLeftButton, wchar_t ch = 0);
    // The object under a bar point, or -1.
    int ObjectUnder(int x, int y) const;
    // Letters of items hidden behind the marker open the marker's popup.
    bool OverflowKeys() const;
    void NotifyFocus(int itemIndex);

    TInterfaceRef<TmnMenuBarOwner> mantle_;
    TMainMenu* mainMenu_ = nullptr;
    TMainMenu* childMenu_ = nullptr;
    TComponent* childForm_ = nullptr;  // followed so a closing child never leaves a stale menu
    bool scrollMenu_ = true;
    bool useSkinFont_ = true;
    TFont defItemFont_;
    int defaultWidth_ = 0, defaultHeight_ = 22;
    bool popupToUp_ = false;
    String hint_;
    const TmnDataSkinMainMenuBar* record_ = nullptr;
    const TmnDataSkinMainMenuItem* itemRecord_ = nullptr;
    TSkinRect marker_;
    TmnSkinPictures pictures_;
    TBitmap buffer_;   // the bar as painted last
    TBitmap measure_;  // a memory context for measuring captions
    TWindowTimer hoverTimer_, morphTimer_, animateTimer_;
    static constexpr POINT kNoPointer{INT_MIN, INT_MIN};
    POINT lastPointer_ = kNoPointer;  // screen position of the last tracked pointer
    TMenuItem* pendingClick_ = nullptr;
    bool rebuildPending_ = false;
    std::optional<TLook> built_;  // what the objects were built from; none after they were freed
    TMenuBarState state_;
};

}  // namespace fn
