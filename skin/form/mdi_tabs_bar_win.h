#pragma once
// TmnSkinMDITabsBar: a skinned bar on an MDI frame with one tab per shown document window, in
// the order the windows were first shown. A click brings a tab's window to the front (restoring
// it when minimised), a drag reorders the tabs, a right click opens the window's system menu
// through the frame's form skinning component. The children's form skinning components add,
// remove, redraw and re-mark the tabs; the bar lays them out (TmnMDITabsModel), paints them from
// the skin's tab record or as skinned buttons, and handles the mouse.
#include <functional>
#include <memory>
#include <vector>

#include "platform/win/forms.h"
#include "skin/controls/skin_control_win.h"
#include "skin/form/form_partners_win.h"
#include "skin/form/mdi_tabs_layout.h"

namespace fn {

enum TmnSkinMDITabKind { mntkTab, mntkButton };

class TmnSkinMDITabsBar;

// One tab, owned by the bar's list.
class TmnMDITab {
public:
    TmnMDITab(TmnSkinMDITabsBar* bar, TForm* child) : TabsBar(bar), Child(child) {}

    TmnSkinMDITabsBar* TabsBar;
    bool Active = false;    // its child is the frame's active MDI child
    bool MouseIn = false;   // the mouse is over it
    TSkinRect ObjectRect;   // its place in the bar (set by the layout)
    TForm* Child;

private:
    friend class TmnSkinMDITabsBar;
    TWndProcHook destroyWatch_;  // the child's window going takes the tab with it
};

using TmnMDITabEvent = std::function<void(TComponent* sender, TmnMDITab* tab)>;
using TmnMDITabMouseEvent =
    std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, TmnMDITab* tab)>;

class TmnSkinMDITabsBar : public TmnSkinControl, public TmnMDITabsPartner, private TmnMDITabsHost {
public:
    explicit TmnSkinMDITabsBar(TComponent* owner);
    ~TmnSkinMDITabsBar() override;
    const wchar_t* ClassName() const override { return L"TmnSkinMDITabsBar"; }

    // Published properties.
    TmnSkinMDITabKind TabKind() const { return tabKind_; }
    void SetTabKind(TmnSkinMDITabKind kind);
    TmnMDITabsOwner* Mantle() const { return mantle_; }
    // The frame's form skinning component; the reference is cleared when it is destroyed.
    void SetMantle(TmnMDITabsOwner* mantle);
    bool SupportChildMenus() const { return supportChildMenus_; }
    void SetSupportChildMenus(bool on) { supportChildMenus_ = on; }
    bool UseSkinSize() const { return useSkinSize_; }
    void SetUseSkinSize(bool on);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool on);
    bool MoveTabs() const { return moveTabs_; }
    void SetMoveTabs(bool on);
    int DefaultHeight() const { return defaultHeight_; }
    void SetDefaultHeight(int height);
    TFont& DefaultFont() { return defaultFont_; }
    void SetDefaultFont(const TFont& font) { defaultFont_.Assign(font); }
    int DefaultTabWidth() const { return model_.DefaultTabWidth(); }
    void SetDefaultTabWidth(int width);

    TmnMDITabEvent OnTabMouseEnter, OnTabMouseLeave;
    TmnMDITabMouseEvent OnTabMouseDown, OnTabMouseUp;

    // TmnMDITabsPartner. A child that already has a tab is not added twice.
    void AddTab(TForm* child) override;
    void RemoveTab(TForm* child) override;
    void DrawTab(TForm* child) override;
    void UpdateActiveTabs() override;
    // Draws one tab straight onto the bar's window.
    void DrawTab(TmnMDITab& tab);

    int TabCount() const { return static_cast<int>(tabs_.size()); }
    TmnMDITab& Tabs(int index) const { return *tabs_[static_cast<size_t>(index)]; }
    // The index of child's tab, -1 when it has none.
    int IndexOfChild(const TForm* child) const;
    // The hover, press and drag state (HotTab, OldHotTab, DragTab, Pressed, Dragging, ...).
    const TmnMDITabsModel& Model() const { return model_; }
    // Whether the bar holds the mouse now.
    bool HasCapture() const;

    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void ParentBackgroundChanged() override;
    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    void ChangeScale(int dpi, int fromDpi) override;
    void Notification(TComponent* component, Operation operation) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Registers the class for form data ("TmnSkinMDITabsBar").
    static void Register();

protected:
    void CreateControlDefaultImage(TBitmap& bitmap) override;
    void CreateControlSkinImage(TBitmap& bitmap) override;

private:
    // The values of the skin's tab record, read on every skin change.
    struct TabSkin {
        TSkinRect TabImage, ActiveTabImage, MouseInTabImage, TabsBGImage;
        int TabLeftOffset = 0, TabRightOffset = 0;
        String FontName;
        int FontHeight = 0;
        TFontStyles FontStyle = 0;
        TColor FontColor = 0, ActiveFontColor = 0, MouseInFontColor = 0;
        bool TabStretch = false;
    };
    enum class TabState { Normal, MouseIn, Active };

    // TmnMDITabsHost
    void TabMouseEnter(int index) override;
    void TabMouseLeave(int index) override;
    void SetTabMouseIn(int index, bool in);
    void MoveTab(int from, int to) override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void Repaint() override { Invalidate(); }

    void LayoutTabs();
    void PaintTabs(TCanvas& canvas);
    void PaintTab(TCanvas& canvas, TmnMDITab& tab);
    void PaintSkinnedTab(TCanvas& canvas, TmnMDITab& tab, TabState state);
    void PaintButtonTab(TCanvas& canvas, TmnMDITab& tab, TabState state);
    void PaintPlainTab(TCanvas& canvas, TmnMDITab& tab, TabState state);
    void DrawTabText(TCanvas& canvas, const TmnMDITab& tab, TSkinRect area);
    void DrawDropMarker(TCanvas& canvas, int x);
    void SetSkinFont(TCanvas& canvas);
    bool SkinTransparent() const;
    // The frame whose active child the tabs mark: the form that holds the bar.
    TForm* Frame() const;
    void ClickTab(int index);
    void ChildMenu(int index, int x, int y);
    void RaiseMouse(const TmnMDITabMouseEvent& event, TMouseButton button, int index);
    void ApplySkinHeight();

    std::vector<std::unique_ptr<TmnMDITab>> tabs_;
    TmnMDITabsModel model_{*this};
    TmnSkinMDITabKind tabKind_ = mntkTab;
    TInterfaceRef<TmnMDITabsOwner> mantle_;
    bool supportChildMenus_ = true, useSkinSize_ = true, useSkinFont_ = true, moveTabs_ = true;
    int defaultHeight_ = 21;
    TFont defaultFont_;
    TabSkin skin_;
    // Copies of the skin pictures the tabs are cut from; dropped when the skin changes.
    TBitmap picture_, buttonPicture_;
    const TBitmapData* pictureSource_ = nullptr;
    const TBitmapData* buttonPictureSource_ = nullptr;
};

}  // namespace fn
