#pragma once
// TmnSkinObjectOwner: what the skin objects need from the component that owns them (the form
// skinning component on a real window; a test double in the tests). The objects read the skin
// and the window's state through it, ask it to redraw them, to run window commands, to open
// popup menus and to run the timers that drive morphing and animation.
//
// Window commands are handed over, never carried out inside the object's handler: an
// implementation posts them, so that closing or re-skinning the window cannot free the object
// that is still running its mouse handler.
//
// The mouse capture stays with the owner: TmnSkinObjectList::MouseDown says when to take it
// (any object but a caption), and the owner reports its loss (WM_CAPTURECHANGED, a dialog or
// another window taking over during a press) through TmnSkinObjectList::CaptureLost. The
// owner's timer ticks go to MorphTick and AnimateTick, which stop the timers when nothing moved.
#include "skin/skin_geometry.h"
#include "platform/core/strings.h"

namespace fn {

class TmnSkinData;
class TmnActiveSkinObject;
class TmnObjectPainter;
class TMenuItem;

// Window state of a skinned form (kept by the owner, the platform window stays normal).
enum TmnSkinWindowState : int { swsNormal = 0, swsMinimized = 1, swsMaximized = 2 };

// What a caption button asks the window to do.
enum class TmnWindowAction { Close, Maximize, Restore, Minimize, MinimizeToTray, RollUp, RollDown, RestoreFromTray };

enum class TmnObjectTimer { Mouse, Morph, Animate };

class TmnSkinObjectOwner {
public:
    virtual ~TmnSkinObjectOwner() = default;

    // The skin: the manager the objects were made from (may be null or Empty).
    virtual TmnSkinData* SkinData() const = 0;

    // The window.
    virtual bool IsFormActive() const = 0;
    virtual TmnSkinWindowState SkinWindowState() const = 0;
    virtual bool RolledUp() const = 0;
    virtual bool ShowIcon() const = 0;
    virtual bool AlwaysMinimizeToTray() const = 0;
    // The desktop's animation setting: when off, fades and caption animations jump to their end.
    virtual bool ClientAreaAnimation() const = 0;
    // The window's caption, and the caption to append when a maximised MDI child's title
    // belongs in this frame's caption (empty when none).
    virtual String CaptionText() const = 0;
    virtual String MaximizedChildCaption() const = 0;
    // Character set of the owner's default caption font.
    virtual uint8_t DefCaptionCharSet() const = 0;

    // Drawing. RedrawObject draws one object at once on the window (nothing while the window
    // shows no frame of its own).
    virtual void RedrawObject(TmnActiveSkinObject& object) = 0;
    virtual void DrawFormIcon(TmnObjectPainter& painter, int x, int y) = 0;
    // OnCaptionPaint: when assigned, it replaces the caption text drawing.
    virtual bool HasCaptionPaint() const = 0;
    virtual void CaptionPaint(TmnObjectPainter& painter, int target, const TSkinRect& r, bool active) = 0;
    // OnPaintEvent of user objects.
    virtual void PaintEvent(const String& idName, TmnObjectPainter& painter, const TSkinRect& r) = 0;

    // The object events.
    virtual void MouseDownEvent(const String& idName, int x, int y, const TSkinRect& r, int button) = 0;
    virtual void MouseUpEvent(const String& idName, int x, int y, const TSkinRect& r, int button) = 0;
    virtual void MouseMoveEvent(const String& idName, int x, int y, const TSkinRect& r) = 0;
    virtual void MouseEnterEvent(const String& idName) = 0;
    virtual void MouseLeaveEvent(const String& idName) = 0;

    // Runs the action after the current message has been handled (posted).
    virtual void PostWindowAction(TmnWindowAction action) = 0;

    // Menus: the root item of the skinned system menu; opening an item's sub-items as a skinned
    // popup under the object's rectangle (window coordinates). Returns false when the item has
    // no sub-items and nothing opened. When the popup closes, the owner calls MenuClosed on the
    // object that opened it.
    virtual TMenuItem* SystemMenuItem() = 0;
    virtual bool OpenPopup(TmnActiveSkinObject& object, TMenuItem* item, const TSkinRect& objectRect) = 0;

    // The owner's timers (morph and animation 25 ms, mouse tracking 50 ms).
    virtual void StartTimer(TmnObjectTimer timer) = 0;
    virtual void StopTimer(TmnObjectTimer timer) = 0;
};

}  // namespace fn
