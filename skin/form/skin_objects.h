#pragma once
// The skin objects of a skinned window's frame: the base class with its slot order, user
// objects, animated objects, buttons and the standard caption buttons. (The caption object is
// in caption_object.h.) Portable: the objects draw through a TmnObjectPainter and reach their
// window through a TmnSkinObjectOwner.
//
// Pictures: an image rectangle counts only when it lies wholly in its picture; every rectangle
// cut from the active picture is empty when the record's picture index names no picture. An
// object with no image for a state falls back to the next one, at last to its plain look.
#include <memory>

#include "platform/core/bitmap_data.h"
#include "skin/data/object_records.h"
#include "skin/form/object_geometry.h"
#include "skin/form/object_painter.h"
#include "skin/form/skin_object_owner.h"

namespace fn {

// The images of an object's states, cut from the active picture: normal, hovered (active),
// for an inactive window, and pressed (down).
struct TmnStateImages {
    TSkinRect Normal, Active, InActive, Down;
};

class TmnActiveSkinObject {
public:
    // record may be null only for the owner's unskinned standard buttons.
    TmnActiveSkinObject(TmnSkinObjectOwner& owner, const TmnDataSkinObject* record);
    virtual ~TmnActiveSkinObject() = default;
    TmnActiveSkinObject(const TmnActiveSkinObject&) = delete;
    TmnActiveSkinObject& operator=(const TmnActiveSkinObject&) = delete;

    // Slots 0..7, in this order in every class.
    virtual bool MorphPending();
    virtual void Draw(TmnObjectPainter& canvas, bool directRedraw);
    virtual void DblClick();
    virtual void MouseDown(int x, int y, int button);
    virtual void MouseUp(int x, int y, int button);
    virtual void MouseMove(int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    // The window lost the mouse capture during a press: the press ends without its command.
    virtual void CancelPress() {}
    // The popup menu this object opened has closed.
    virtual void MenuClosed() {}

    bool MorphEnabled() const;
    // After a change of state: fade through the owner's morph timer, else redraw at once. With
    // the desktop's animation off the fade jumps to its end.
    void StartMorph();
    // One tick of the morph timer.
    void MorphStep();

    TmnSkinObjectOwner* Parent;
    double MorphFactor = 0;
    bool MouseIn = false;
    const TBitmapData* Picture = nullptr;        // the main frame picture, not owned
    const TBitmapData* ActivePicture = nullptr;  // none when the index names no picture
    TmnSkinData* SkinData = nullptr;
    String IDName;
    String Hint;
    TSkinRect SkinRect, ActiveSkinRect, InActiveSkinRect;
    TSkinRect ObjectRect;
    bool Active = false;
    bool Morphing = false;
    int MorphKind = mkDefault;
    bool Enabled = true;
    bool Visible = true;
    bool SkinRectInAPicture = false;

protected:
    // A rectangle of the active picture, or empty when it is not wholly inside it.
    TSkinRect FromActive(const TSkinRect& r) const;
    // The picture the normal image comes from (active picture when SkinRectInAPicture).
    const TBitmapData* NormalPicture() const { return SkinRectInAPicture ? ActivePicture : Picture; }
    bool CanCut(const TBitmapData* picture, const TSkinRect& r) const;
    // Copies r of the picture to ObjectRect; false when there is nothing to copy.
    bool CopyImage(TmnObjectPainter& p, const TBitmapData* picture, const TSkinRect& r);
    // A cross-fade between two images at MorphFactor, drawn at ObjectRect.
    void DrawMorph(TmnObjectPainter& p, const TBitmapData* normalPicture, const TSkinRect& normal,
                   const TSkinRect& hover);
    bool MorphInProgress() const { return Active ? MorphFactor != 1 : MorphFactor != 0; }
    // The images a standard button or an animated object shows while its command would restore
    // the window, each checked against the active picture.
    template <class R>
    TmnStateImages RestoreImages(const R& record) const {
        return {FromActive(record.RestoreRect), FromActive(record.RestoreActiveRect),
                FromActive(record.RestoreInactiveRect), FromActive(record.RestoreDownRect)};
    }
    // Runs a button command (codes of the record's "command").
    void ExecuteCommand(int command);
    bool RestoreConditionHolds(int command) const;
};

class TmnUserObject : public TmnActiveSkinObject {
public:
    using TmnActiveSkinObject::TmnActiveSkinObject;
    void Draw(TmnObjectPainter& canvas, bool directRedraw) override;
};

class TmnSkinButtonObject : public TmnActiveSkinObject {
public:
    TmnSkinButtonObject(TmnSkinObjectOwner& owner, const TmnDataSkinButton* record);

    bool MorphPending() override;
    void Draw(TmnObjectPainter& canvas, bool directRedraw) override;
    void MouseDown(int x, int y, int button) override;
    void MouseUp(int x, int y, int button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CancelPress() override;
    void MenuClosed() override;

    void SetDown(bool value);
    bool MenuOpen() const { return menuOpen_; }

    bool Down = false;
    bool PopupUp = false;
    TSkinRect DisableSkinRect, DownRect;
    TMenuItem* MenuItem = nullptr;

protected:
    void OpenPopupMenu();
    bool menuOpen_ = false;  // a popup opened by this button is showing
};

class TmnSkinStdButtonObject : public TmnSkinButtonObject {
public:
    TmnSkinStdButtonObject(TmnSkinObjectOwner& owner, const TmnDataSkinStdButton* record);
    // An unskinned built-in button ("closebutton", ... with its command).
    TmnSkinStdButtonObject(TmnSkinObjectOwner& owner, const String& idName, int command);

    bool MorphPending() override;
    void Draw(TmnObjectPainter& canvas, bool directRedraw) override;
    void DblClick() override;
    void MouseDown(int x, int y, int button) override;
    void MouseUp(int x, int y, int button) override;

    bool SkinSupport = false;
    int Command = cmClose;
    TmnStateImages Restore;

private:
    bool IsIconButton() const;
    void DrawPlain(TmnObjectPainter& p);
};

class TmnSkinAnimateObject : public TmnActiveSkinObject {
public:
    TmnSkinAnimateObject(TmnSkinObjectOwner& owner, const TmnDataSkinAnimate* record);

    void Draw(TmnObjectPainter& canvas, bool directRedraw) override;
    void DblClick() override;
    void MouseDown(int x, int y, int button) override;
    void MouseUp(int x, int y, int button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CancelPress() override;
    void MenuClosed() override;

    // One tick of the animation timer; true when the frame changed.
    bool AnimateStep();
    // Takes part in the animation timer's ticks.
    bool Animating() const { return Active && !(Pressed && !DownSkinRect.IsEmpty()); }
    void SetFrame(int n);
    // The rectangle of frame k in the active picture (relative to first).
    TSkinRect FrameRect(const TSkinRect& first, int k) const;

    int CurrentFrame = 1;
    int Elapsed = AnimationTick;
    int FrameInterval = 50;
    TMenuItem* MenuItem = nullptr;
    bool PopupUp = false;
    bool Pressed = false;
    bool MenuOpen = false;
    int CountFrames = 0;  // whole frames the active picture holds, 0: no animation
    bool Cycle = false;
    bool ButtonStyle = false;
    bool Forward = true;
    int Command = cmClose;
    TSkinRect DownSkinRect;
    TmnStateImages Restore;

private:
    void Execute();
    void OpenMenu();
    void Animate();  // timer or redraw after a change of hover state
    // A button-style animation runs forward while the mouse is in and back when it leaves.
    void PlayHover(bool forward);
};

// Creates the object for a record by its class (standard button, button, caption, animate,
// user object, tested in that order); null for menu records and anything else.
std::unique_ptr<TmnActiveSkinObject> CreateSkinObject(TmnSkinObjectOwner& owner, const TmnDataSkinObject& record);

}  // namespace fn
