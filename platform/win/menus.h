#pragma once
// Menus of the class-library layer: items with captions, shortcuts, check marks and click
// events; main menus shown as a window's menu bar and popup menus tracked at a point.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/classes.h"
#include "platform/win/handles.h"

namespace fn {

using TNotifyEvent = std::function<void(TComponent* sender)>;

class TBitmap;
class TCanvas;
class TImageList;
// Draws an item instead of its menu: sender is whatever shows the item, rect the part of canvas
// that the caption would fill, selected the highlighted state.
using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas& canvas, const RECT& rect, bool selected)>;

// Shortcuts use the class library's encoding: low byte the virtual key, plus these flags.
using TShortCut = unsigned short;
inline constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;

enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;

// "Strg+C", "Einfg", "Entf", "Umsch+F1": the German key names the menus show.
String ShortCutToText(TShortCut shortCut);
TShortCut ShortCut(WORD key, TShiftState shift);
// The shift state of the keyboard now (for key messages being dispatched).
TShiftState KeyboardShiftState();

class TAction;
class TMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    const wchar_t* ClassName() const override { return L"TMenuItem"; }

    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption);
    bool IsLine() const { return caption_ == L"-"; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the other radio items of its group under the same parent.
    void SetChecked(bool checked);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value) { groupIndex_ = value; }
    // Index into the menu's Images; -1 none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // The item's own picture, shown instead of an image-list image when not empty.
    TBitmap& Bitmap();
    bool HasBitmap() const;
    // The help text shown while the item is highlighted.
    const String& Hint() const { return hint_; }
    void SetHint(const String& hint) { hint_ = hint; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    int HelpContext() const { return helpContext_; }
    // The item a double click on its menu's owner chooses (tray icons).
    bool Default() const { return default_; }
    void SetDefault(bool value) { default_ = value; }

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    // Runs OnClick (with this item as sender), else the linked action's OnExecute.
    virtual void Click();

    // The action whose caption, shortcut, hint, image and states this item shows; none by default.
    TAction* Action() const { return action_; }
    void SetAction(TAction* action);
    // The linked action brings its state up to date (its OnUpdate), just before the item shows.
    void UpdateAction();

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_[static_cast<size_t>(index)]; }
    TMenuItem* Parent() const { return parent_; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    int IndexOf(const TMenuItem* item) const;
    // The menu this item belongs to (through its parents), or null.
    TMenu* GetParentMenu() const;
    // Command identifier of the item in the native menu.
    UINT Command() const { return command_; }

    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    void ReadChild(TComponent* child) override;

private:
    friend class TMenu;
    friend class TAction;
    void Changed();
    // Takes over the linked action's state.
    void ActionChanged();
    void UncheckGroup();

    String caption_;
    String hint_;
    std::unique_ptr<TBitmap> bitmap_;
    int imageIndex_ = -1, groupIndex_ = 0;
    bool radioItem_ = false;
    TShortCut shortCut_ = 0;
    bool checked_ = false, enabled_ = true, visible_ = true, default_ = false;
    int helpContext_ = 0;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root item only
    TAction* action_ = nullptr;
    std::vector<TMenuItem*> items_;
    UINT command_;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The invisible root item holding the top-level items.
    TMenuItem* Items() const { return items_; }
    // Finds the item whose shortcut matches, clicks every parent item from the top down, then
    // the item itself when it is enabled. Returns true when a shortcut matched (the key is used
    // up even when the item was disabled).
    bool IsShortCut(WORD key, TShiftState shift);
    TMenuItem* FindItem(UINT command) const;
    TMenuItem* FindShortCut(TShortCut shortCut) const;
    // Native menu built from the items (rebuilt when items change).
    HMENU Handle();
    // The images the items' ImageIndex refers to; cleared when the list goes.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    // Called when an item's caption, state or children change.
    virtual void MenuChanged();

    void ReadChild(TComponent* child) override;
    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    void Notification(TComponent* component, Operation operation) override;

protected:
    virtual HMENU CreateNativeMenu() = 0;
    void FillNativeMenu(HMENU menu, TMenuItem* parent);
    TMenuHandle native_;

private:
    TMenuItem* items_;
    TImageList* images_ = nullptr;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    const wchar_t* ClassName() const override { return L"TMainMenu"; }
    // The window whose menu bar shows this menu (set by the form), redrawn on changes.
    void SetWindow(HWND window) { window_ = window; }
    void MenuChanged() override;

protected:
    HMENU CreateNativeMenu() override;

private:
    HWND window_ = nullptr;
};

class TPopupMenu : public TMenu {
public:
    using TMenu::TMenu;
    const wchar_t* ClassName() const override { return L"TPopupMenu"; }
    TNotifyEvent OnPopup;
    // Shows the menu at screen point (x, y) for window owner and runs the chosen item.
    virtual void Popup(int x, int y, HWND owner);
    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;

protected:
    HMENU CreateNativeMenu() override;
};

void RegisterMenuClasses();

}  // namespace fn
