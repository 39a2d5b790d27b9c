#pragma once
// TmnMantle: the component that dresses its form. It takes over the form's non-client area
// through the window-procedure seam: the frame painted from the skin's frame picture (or the
// built-in frame without a skin), the window region cut from the mask, the caption buttons and
// other skin objects with their hover tracking, the client background, translucency, the
// routing of shortcuts and menu keys to the skinned menus, and the re-reading of everything when
// the skin data manager loads another skin.
#include <functional>
#include <memory>
#include <optional>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "platform/win/graphics.h"
#include "platform/win/handles.h"
#include "platform/win/window_timer.h"
#include "platform/win/wndproc_hook.h"
#include "skin/data/skin_messages.h"
#include "skin/form/form_partners_win.h"
#include "skin/form/frame_layout.h"
#include "skin/form/frame_painter_win.h"
#include "skin/form/frame_states.h"
#include "skin/form/object_painter_win.h"
#include "skin/form/object_timers_win.h"
#include "skin/form/skin_object_list.h"
#include "skin/form/window_actions.h"

namespace fn {

class TmnSkinMenu;
class TmnSkinHint;
class TmnTrayIcon;
class TmnSkinStatusBar;
class TmnSkinPopupMenu;
class TmnFrameRegion;
class TmnSkinnedFramePainter;

enum TmnPositionInMonitor { mnpDefault, mnpScreenCenter, mnpDesktopCenter };

using TmnCaptionPaintEvent = std::function<void(TCanvas& canvas, const RECT& r, bool active)>;
using TmnObjectMouseEvent = std::function<void(const String& idName, int x, int y, const TSkinRect& r, int button)>;
using TmnObjectMoveEvent = std::function<void(const String& idName, int x, int y, const TSkinRect& r)>;
using TmnObjectNotifyEvent = std::function<void(const String& idName)>;
using TmnObjectPaintEvent = std::function<void(const String& idName, TCanvas& canvas, const TSkinRect& r)>;
using TmnCustomObjectEvent = std::function<void(const String& idName, bool& objectVisible)>;

class TmnMantle : public TComponent,
                 public TmnSkinObjectOwner,
                 public TmnMenuBarOwner,
                 public TmnMDITabsOwner,
                 public TmnSkinMessageTarget {
public:
    // owner must be a form (EInvalidCast otherwise).
    explicit TmnMantle(TComponent* owner);
    ~TmnMantle() override;
    const wchar_t* ClassName() const override { return L"TmnMantle"; }

    // Registers the class for form data ("TmnMantle").
    static void Register();

    // The form's component: the first TmnMantle among its components, or null.
    static TmnMantle* Of(const TForm* form);

    TForm& Form() const { return form_; }

    // Published properties.
    TmnPositionInMonitor PositionInMonitor = mnpDefault;
    bool UseFormCursorInNCArea = false;
    int ClientWidth = 0, ClientHeight = 0;
    bool AlwaysShowInTray = false;
    bool LogoBitMapTransparent = false;
    bool MaximizeOnFullScreen = false;
    bool ShowObjectHint = false;
    bool UseDefaultObjectHint = true;
    bool UseDefaultSysMenu = true;
    int MinHeight = 0, MinWidth = 0, MaxHeight = 0, MaxWidth = 0;
    bool Magnetic = false;
    BYTE MagneticSize = 5;
    TFont& DefCaptionFont() { return defCaptionFont_; }
    TFont& DefInActiveCaptionFont() { return defInactiveCaptionFont_; }
    TBitmap& LogoBitMap() { return logo_; }

    bool HideCaptionButtons() const { return hideCaptionButtons_; }
    void SetHideCaptionButtons(bool hide);
    TmnBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TmnBorderIcons icons);
    bool ShowIcon() const override { return showIcon_; }
    void SetShowIcon(bool show);
    bool AlwaysMinimizeToTray() const override { return alwaysMinimizeToTray_; }
    void SetAlwaysMinimizeToTray(bool value) { alwaysMinimizeToTray_ = value; }
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool value);
    BYTE AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(BYTE value);
    bool AlphaBlendAnimation = false;

    // Forwarded to the skinned menu chain at once.
    int MaxMenuItemsInWindow() const;
    void SetMaxMenuItemsInWindow(int count);
    bool UseSkinFontInMenu() const;
    void SetUseSkinFontInMenu(bool use);
    int DefMenuItemHeight() const;
    void SetDefMenuItemHeight(int height);
    void SetDefMenuItemFont(const TFontDesc& font);
    void SetMenusAlphaBlend(bool value);
    void SetMenusAlphaBlendAnimation(bool value);
    void SetMenusAlphaBlendValue(BYTE value);

    // References (cleared when the component they name goes).
    TmnSkinData* SkinData() const override { return skinData_; }
    void SetSkinData(TmnSkinData* skinData);
    TmnSkinData* MenusSkinDataRef() const { return menusSkinData_; }
    void SetMenusSkinData(TmnSkinData* skinData);
    TmnMenuBarPartner* MainMenuBar() const { return mainMenuBar_; }
    void SetMainMenuBar(TmnMenuBarPartner* bar);
    TmnMDITabsPartner* MDITabsBar() const { return mdiTabsBar_; }
    void SetMDITabsBar(TmnMDITabsPartner* bar);
    TmnSkinHint* SkinHint() const { return skinHint_; }
    void SetSkinHint(TmnSkinHint* hint);
    TmnTrayIcon* TrayIcon() const { return trayIcon_; }
    void SetTrayIcon(TmnTrayIcon* icon);
    TmnSkinStatusBar* StatusBar() const { return statusBar_; }
    void SetStatusBar(TmnSkinStatusBar* bar);
    TPopupMenu* SystemMenu() const { return systemMenu_; }
    void SetSystemMenu(TPopupMenu* menu);

    // Events.
    TmnCaptionPaintEvent OnCaptionPaint;
    TNotifyEvent OnChangeSkinData, OnBeforeChangeSkinData, OnAfterChangeSkinData;
    TmnObjectMouseEvent OnMouseUpEvent, OnMouseDownEvent;
    TmnObjectMoveEvent OnMouseMoveEvent;
    TmnObjectNotifyEvent OnMouseEnterEvent, OnMouseLeaveEvent;
    TmnObjectPaintEvent OnPaintEvent;
    TNotifyEvent OnActivate, OnDeActivate, OnSkinMenuOpen, OnSkinMenuClose, OnChangeRollUpState;
    TNotifyEvent OnMainMenuEnter, OnMainMenuExit, OnMinimizeToTray, OnRestoreFromTray;
    TmnCustomObjectEvent OnActivateCustomObject;
    TNotifyEvent OnMinimize, OnRestore, OnMaximize;
    std::function<bool(WORD key, TShiftState shift)> OnShortCut;

    // Run-time state.
    bool Skinned() const { return skinned_; }
    int FormWidth() const { return formWidth_; }
    int FormHeight() const { return formHeight_; }
    const TmnFrameGeometry& Geometry() const { return geometry_; }
    TmnSkinObjectList& ObjectList() { return objects_; }
    bool FormActive() const { return formActive_; }
    bool InSizeMove() const { return inSizeMove_; }
    bool SkinChanging() const { return skinChanging_; }
    bool ChildMaximized() const { return childMaximized_; }
    TPopupMenu& DefaultSysMenu() { return *defaultSysMenu_; }
    // The platform menu taken off the form when it was shown (its shortcuts still count).
    TMainMenu* TakenMenu() const { return takenMenu_; }
    // The tray icon's menu (restore, close) handed to a tray icon that has none.
    TmnSkinPopupMenu& TrayPopupMenu() { return *trayPopupMenu_; }
    bool RolledUpInMaximized() const { return state_.RolledUpInMaximized; }
    const TSkinRect* RestoreBounds() const { return state_.HasRestoreBounds ? &state_.RestoreBounds : nullptr; }

    // The form's client rectangle in window coordinates (the skin's, or the built-in frame's).
    RECT ClientRectInWindow() const;
    // Paints the frame (skinned or built-in) into dc, which covers the whole window; true when
    // it painted (the form shows a frame of its own).
    bool PaintFrame(HDC dc);
    // Paints the client background into dc (client coordinates); mdiClient for the MDI client.
    void PaintBackground(HDC dc, bool mdiClient);
    // Runs the skin change for this component's manager (also what the setter runs).
    void ChangeSkinData();

    // Redraws the caption state after the activation of the window or of its frame changed.
    void FollowActivation();
    // The platform's key-menu command (Alt or F10 let go, Alt+Space): the bar's menu mode.
    void KeyMenu(LPARAM key);

    // TmnSkinObjectOwner.
    bool IsFormActive() const override;
    TmnSkinWindowState SkinWindowState() const override { return state_.State; }
    bool RolledUp() const override { return state_.RolledUp; }
    bool ClientAreaAnimation() const override;
    String CaptionText() const override;
    String MaximizedChildCaption() const override;
    uint8_t DefCaptionCharSet() const override;
    void RedrawObject(TmnActiveSkinObject& object) override;
    void DrawFormIcon(TmnObjectPainter& painter, int x, int y) override;
    bool HasCaptionPaint() const override { return static_cast<bool>(OnCaptionPaint); }
    void CaptionPaint(TmnObjectPainter& painter, int target, const TSkinRect& r, bool active) override;
    void PaintEvent(const String& idName, TmnObjectPainter& painter, const TSkinRect& r) override;
    void MouseDownEvent(const String& idName, int x, int y, const TSkinRect& r, int button) override;
    void MouseUpEvent(const String& idName, int x, int y, const TSkinRect& r, int button) override;
    void MouseMoveEvent(const String& idName, int x, int y, const TSkinRect& r) override;
    void MouseEnterEvent(const String& idName) override;
    void MouseLeaveEvent(const String& idName) override;
    void PostWindowAction(TmnWindowAction action) override;
    TMenuItem* SystemMenuItem() override;
    bool OpenPopup(TmnActiveSkinObject& object, TMenuItem* item, const TSkinRect& objectRect) override;
    void StartTimer(TmnObjectTimer timer) override;
    void StopTimer(TmnObjectTimer timer) override;

    // TmnMenuOwner, TmnMenuBarOwner, TmnMDITabsOwner.
    HWND MenuOwnerWindow() const override;
    TmnSkinMenu& SkinMenu() override { return *skinMenu_; }
    TmnSkinData* MenusSkinData() const override { return menusSkinData_ ? menusSkinData_ : skinData_; }
    void ResetMenuButtons() override;
    void StartMenuRouting() override;
    bool RoutesMenuKeys() const override { return inMainMenu_; }
    bool InMainMenu() const override { return inMainMenu_; }
    bool InSkinMenu() const override { return inSkinMenu_; }
    void MainMenuEnter() override;
    void MainMenuExit() override;
    void CloseMenus() override;
    TForm* MaximizedChild() const override;
    void ChildWindowAction(TForm* child, TmnWindowAction action) override;
    TmnBorderIcons ChildBorderIcons(TForm* child) const override;
    void ShowChildSystemMenu(TForm* child, const RECT& anchor, HWND opener) override;
    void ShowChildSystemMenu(TForm* child, POINT screen) override;

    // The window commands (posted by objects, run here).
    void RunWindowAction(TmnWindowAction action);
    // Opens the system menu under anchor (screen coordinates); opener (the form when none) is
    // told when it closes.
    void ShowSystemMenu(const RECT& anchor, HWND opener = nullptr);
    // WM_CONTEXTMENU: the form's plain popup menu opens as a skinned chain, like every other
    // menu of the window. False when the form has none (or a skinned one that opens itself).
    bool ShowContextMenu(HWND clicked, LPARAM lParam);
    // The form's shortcut routine (the mantle's filter of the form's shortcuts); next is the
    // rest of the form's chain.
    bool FormShortCut(WORD key, TShiftState shift, const TForm::TShortCutFilters::TNext& next = {});
    // The form's own shortcuts, the system menu's Alt+Space and the menu bar's letters.
    bool TakeShortCut(WORD key, TShiftState shift, const TForm::TShortCutFilters::TNext& next);
    // The menu keyboard handler of the menu modes: true when the key was used.
    bool MenuKeyDown(WORD key, wchar_t ch);

    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    void Loaded() override;
    void ChangeScale(int dpi, int fromDpi) override;
    void Notification(TComponent* component, Operation operation) override;
    // A skin manager's message (before, change, after), through the form's window or, for a
    // form without one, directly.
    void TakeSkinMessage(TmnSkinData* manager, unsigned message) override;

private:
    // The form's window procedure: a dispatcher over the message families below, each of
    // which answers the messages it handles and nullopt for any other.
    LRESULT FormProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next);
    std::optional<LRESULT> ShowingMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next);
    std::optional<LRESULT> FrameMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next);
    std::optional<LRESULT> SizingMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next);
    std::optional<LRESULT> MDIMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next);
    std::optional<LRESULT> SkinMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next);
    std::optional<LRESULT> MouseMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next);
    LRESULT ClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next);
    void MenuClosingCheck(UINT msg);
    void DispatchMouse(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void Shown(HWND window);
    TSkinPoint ToWindow(POINT screen) const;
    int HitTest(int x, int y);
    void TrackMouse(int x, int y, bool inside);
    void MouseTimerTick();
    void SetCaptionState(bool redraw);

    // The window list of the frame's window menu: one item per shown document window.
    void AddWindowListItem();
    void RemoveWindowListItem();
    void UpdateWindowListCaption();
    void CheckWindowListItems(bool active);
    void BuildTrayMenu();
    // Items of the component's menus: one that posts a window action, the close item with its
    // shortcut (Alt+F4, Strg+F4 in a document window), a divider.
    TMenuItem* AddActionItem(TMenu& menu, const wchar_t* name, const String& caption, TmnWindowAction action);
    void AddCloseItem(TMenu& menu, const wchar_t* name, const String& caption);
    void AddLine(TMenu& menu);
    // The place and size of the component's own minimised state, and the area it is sought in.
    void MoveToMinimizedPosition();
    // Where the window is placed, in the coordinates SetWindowPos takes: its frame's client
    // area for a document window, else the work area of its monitor.
    RECT PlacementArea() const;
    // The rectangle of the maximised state (parent coordinates for a document window).
    RECT MaximizedBounds() const;
    // The window commands' view of this window, and the state a command leaves.
    TmnWindowFacts WindowFacts() const;
    void KeepWindowState(const TmnWindowState& state);
    // Sends every document window the refit, then re-places the minimised ones.
    void RefitChildren();

    bool IsMDIChild() const { return form_.FormStyle() == TFormStyle::fsMDIChild; }
    bool IsMDIFrame() const { return form_.FormStyle() == TFormStyle::fsMDIForm; }
    bool MaximizedMDIChild() const { return IsMDIChild() && state_.State == swsMaximized; }
    // The frame is drawn at all: not for a maximised MDI child.
    // A borderless form and a maximised document window have no frame of their own.
    bool DrawsFrame() const { return form_.BorderStyle() != TFormBorderStyle::bsNone && !MaximizedMDIChild(); }
    // The form's border style lets a person size it.
    bool Resizable() const;
    // The built-in frame's caption is the tool-window size.
    bool ToolWindowFrame() const;
    int BuiltInCaptionHeight() const;
    // The form whose MDI client holds this document window (null for other forms, or while
    // that frame is being destroyed), and its component.
    TForm* FrameForm() const;
    TmnMantle* FrameMantle() const;
    // asRolledUp: the limits the window has once rolled up (its height the frame rows alone).
    TmnSizeLimits SizeLimits(bool withMaximum = true, bool asRolledUp = false) const;
    void TileChildren(bool sideBySide);
    // The window region from the mask for the current size (null: none).
    TRegionHandle BuildFrameRegion();
    // What a new region repaints: the whole window, the frame alone (a change of size, which
    // the platform repaints itself), or nothing (the caller repaints everything).
    enum TRegionRedraw { rrWhole, rrFrame, rrNone };
    void Relayout(int w, int h, TRegionRedraw redraw = rrWhole);
    void LayoutObjects();
    void UpdateRegion(bool rebuild, TRegionRedraw redraw = rrWhole);
    void ApplyButtonVisibility();
    void ShowButtonsAnew();  // the buttons' visibility applied and the frame painted
    void NcPaint();
    void SkinBeforeChange();
    void EnforceMinimumSize();
    void NotifyControls(TmnSkinData* manager, bool beforeChange);
    void SubclassMDIClient();
    void FadeStep();
    void AddLayered(BYTE alpha);
    void RemoveLayered();
    void HookMessages();
    void UnhookMessages();
    void ApplicationMessage(MSG& msg, bool& handled, const TApplication::TMessageFilters::TNext& next);
    void MenuClosed();
    void RebuildDefaultSysMenu();
    void HideObjectHint();
    void ShowObjectHintFor(int index);

    TForm& form_;
    TmnSkinData* skinData_ = nullptr;
    TmnSkinData* menusSkinData_ = nullptr;
    TInterfaceRef<TmnMenuBarPartner> mainMenuBar_;
    TInterfaceRef<TmnMDITabsPartner> mdiTabsBar_;
    TmnSkinHint* skinHint_ = nullptr;
    TmnTrayIcon* trayIcon_ = nullptr;
    TmnSkinStatusBar* statusBar_ = nullptr;
    TPopupMenu* systemMenu_ = nullptr;

    bool hideCaptionButtons_ = false;
    TmnBorderIcons borderIcons_ = DefaultBorderIcons;
    bool showIcon_ = false;
    bool alwaysMinimizeToTray_ = false;
    bool alphaBlend_ = false;
    BYTE alphaBlendValue_ = 200;

    TFont defCaptionFont_, defInactiveCaptionFont_;
    TBitmap logo_;
    TPopupMenu* defaultSysMenu_ = nullptr;   // owned (component of this one)
    TmnSkinPopupMenu* trayPopupMenu_ = nullptr;
    TmnSkinMenu* skinMenu_ = nullptr;
    // Declared before the objects: the list stops their timers as it goes.
    std::unique_ptr<TmnObjectTimers> timers_;
    TmnSkinObjectList objects_{*this};
    TmnSkinPictures pictures_;
    std::unique_ptr<TmnFrameRegion> region_;
    TmnTileBrush tileBrush_, mdiTileBrush_;  // the backgrounds of the form and the MDI client
    std::unique_ptr<TmnSkinnedFramePainter> framePainter_;  // its border images are kept
    TIconHandle iconCopy_;

    bool skinned_ = false;
    int formWidth_ = 0, formHeight_ = 0;
    TmnFrameGeometry geometry_;
    // The window's state as the window commands see and leave it.
    TmnWindowState state_;
    bool formActive_ = false;
    bool childMaximized_ = false;
    bool inSizeMove_ = false, fullDrag_ = false;
    // A size-move loop ran inside the platform's handling of the current button press.
    bool sizeMoveInPress_ = false;
    TmnMagnet magnet_;
    bool skinChanging_ = false;
    bool inMainMenu_ = false, inSkinMenu_ = false;
    bool pendingChange_ = false;    // a skin change waits for the window
    HWND seenWindow_ = nullptr;     // the window the seam last saw a message of
    HWND shownWindow_ = nullptr;    // the window whose showing steps ran
    bool fadeAnimating_ = false;
    BYTE fadeAlpha_ = 0, fadeTarget_ = 255;
    DWORD fadeLastTick_ = 0;
    int popupObject_ = -1;          // the object whose popup is open
    bool switchingPopup_ = false;   // the bar closes one popup to open the next
    TMainMenu* takenMenu_ = nullptr;   // the platform menu taken off the form
    TFilterHook<void(MSG&, bool&)> messageHook_;           // while a menu mode runs
    TFilterHook<bool(WORD, TShiftState)> shortCutHook_;
    TAltTap altTap_;  // whether Alt served a shortcut since it went down

    TWndProcHook formHook_, clientHook_;
    TWindowTimer fadeTimer_;
};


}  // namespace fn
