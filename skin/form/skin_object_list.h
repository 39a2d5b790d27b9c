#pragma once
// The skin objects of one window, in skin record order, and what their owner does with them:
// creation from the records, placement for a window size, hit-testing, hover tracking, the
// mouse dispatch with its capture, the ticks of the morph and animation timers, the reset on
// activation, button visibility and hints. Portable; the owner supplies the window.
#include <functional>
#include <memory>
#include <vector>

#include "skin/form/border_icons.h"
#include "skin/form/caption_object.h"
#include "skin/form/frame_layout.h"
#include "skin/form/skin_objects.h"

namespace fn {

class TmnSkinObjectList {
public:
    explicit TmnSkinObjectList(TmnSkinObjectOwner& owner) : owner_(owner) {}
    ~TmnSkinObjectList() { Clear(); }
    TmnSkinObjectList(const TmnSkinObjectList&) = delete;
    TmnSkinObjectList& operator=(const TmnSkinObjectList&) = delete;

    // Frees the objects and builds them anew from the owner's skin (none when it has no loaded
    // skin). The timers that drive the old objects stop first, whatever started the change.
    void Rebuild();
    // The owner's built-in buttons for a window without skin.
    void CreateUnskinned();
    // Stops the owner's object timers, forgets the tracked objects and frees every object.
    void Clear();

    int Count() const { return static_cast<int>(objects_.size()); }
    TmnActiveSkinObject& operator[](int i) const { return *objects_[static_cast<size_t>(i)]; }
    TmnActiveSkinObject* Object(int i) const {
        return i >= 0 && i < Count() ? objects_[static_cast<size_t>(i)].get() : nullptr;
    }
    TmnSkinCaptionObject* FirstCaption() const;

    // Objects not cut from the active picture take their place in a window of w x h by the
    // corner rule.
    void Layout(const TmnCornerFrame& frame, int w, int h);

    // The visible standard buttons and animate objects cut from the active picture take their
    // places in the frame's button strip, and the caption object's edges follow the strip.
    // iconWidth × iconHeight is the system-menu button's size while the form's icon stands in for
    // it (0: the skin's size).
    void LayoutStrip(const TmnFrameGeometry& g, int iconWidth = 0, int iconHeight = 0);
    // The built-in frame's layout for a window of w × h; the visible buttons take their places.
    TmnBuiltInFrame LayoutBuiltIn(int w, int h, bool toolWindow, int iconWidth = 0, int iconHeight = 0);

    // The first enabled, visible object containing (x, y), or -1.
    int ObjectAt(int x, int y) const;
    // Hover tracking at a window point, only while the window is active: the object under it
    // becomes ActiveObject (only when inside is set; while an object holds the capture, no other
    // counts). The object left gets MouseLeave, the one entered MouseEnter. Returns true when
    // ActiveObject changed (the owner then moves the object hint).
    bool TrackMouse(int x, int y, bool inside);
    // Mouse dispatch. MouseDown returns true when the window should capture the mouse (any
    // object but a caption).
    bool MouseDown(int x, int y, int button);
    void MouseUp(int x, int y, int button);
    void MouseMove(int x, int y);
    void DblClick();
    // The window lost the mouse capture: the captured object's press ends without a command.
    void CaptureLost();
    // A popup opened by an object closed.
    void MenuClosed(TmnActiveSkinObject& object);

    // Timer ticks. Each returns whether anything moved and stops its timer when nothing did.
    bool MorphTick();
    bool AnimateTick();

    // Activation changed: hover states reset (animate objects to frame 1, others to normal).
    void ResetHoverStates();
    // The first caption whose Active differs from the window's takes the new state.
    void SetCaptionState(bool redraw);

    // Button visibility by the border icons; customVisible answers for command-4 objects.
    void ApplyBorderIcons(TmnBorderIcons icons, bool hideCaptionButtons,
                          const std::function<bool(const String& idName)>& customVisible);
    // Standard button and animate object hints from the library strings.
    void ApplyDefaultHints();

    int ActiveObject = -1;
    int OldActiveObject = -1;
    int CaptureObject = -1;

private:
    void FitCaptionToFreeArea(TmnSkinCaptionObject& caption, const TmnFrameGeometry& g) const;
    TmnSkinObjectOwner& owner_;
    std::vector<std::unique_ptr<TmnActiveSkinObject>> objects_;
};

}  // namespace fn
