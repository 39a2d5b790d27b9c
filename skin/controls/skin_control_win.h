#pragma once
// The base of every skinned windowed control. TmnSkinControl finds its record in a skin data
// manager by SkinDataName, paints through an off-screen bitmap (the skin's look or the plain
// default look), raises mouse enter and leave, and follows skin changes. TmnSkinCustomControl
// adds the custom-control record's geometry: a picture that is fixed, nine-part, or a
// horizontal or vertical strip, an optional mask that shapes the window, and a client
// background.
#include <functional>

#include "platform/win/accessible.h"
#include "platform/win/controls.h"
#include "platform/win/graphics.h"
#include "skin/controls/control_geometry.h"
#include "skin/data/skin_data.h"
#include "skin/paint/tiling.h"

namespace fn {

using TNotifyEvent = std::function<void(TComponent* sender)>;

class TmnSkinControl : public TWinControl, public TAccessibleSource {
public:
    explicit TmnSkinControl(TComponent* owner);
    ~TmnSkinControl() override;
    const wchar_t* ClassName() const override { return L"TmnSkinControl"; }

    TmnSkinData* SkinData() const { return skinData_; }
    // Follows the new manager at once when it holds a skin (outside design time).
    virtual void SetSkinData(TmnSkinData* skinData);
    const String& SkinDataName() const { return skinDataName_; }
    virtual void SetSkinDataName(const String& name) { skinDataName_ = name; }
    // Index of the control's record in the manager's control list; -1: no skin, default look.
    int SkinIndex() const { return skinIndex_; }
    // The window's region while the skin shapes it; it belongs to the window, never deleted here.
    HRGN ControlRegion() const { return controlRegion_; }

    TNotifyEvent OnMouseEnter, OnMouseLeave;

    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    bool Enabled() const;
    void Invalidate();

    // Looks the record up again (SkinIndex).
    virtual void GetSkinData();
    // The manager changed its skin (or the control its manager): re-read and repaint.
    virtual void ChangeSkinData();
    // A skin change begins: the control lets go of every record and picture of the old skin.
    virtual void BeforeChangeSkinData();
    virtual void AfterChangeSkinData() {}
    // What lies behind the control changed (MSG_PARENT_BG_CHANGED).
    virtual void ParentBackgroundChanged() {}

    // Role, name, value and state for assistive technology; the base keeps the standard ones.
    TAccessibleInfo AccessibleInfo() override { return {}; }

    // Draws the control as it looks now into a device context at (0, 0).
    void PaintTo(HDC dc) { Paint(dc); }

    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    void Notification(TComponent* component, Operation operation) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    // The two looks, drawn into a bitmap of the control's size.
    virtual void CreateControlDefaultImage(TBitmap& bitmap) {}
    virtual void CreateControlSkinImage(TBitmap& bitmap) {}
    // Paints into dc: the look chosen by SkinIndex, through a bitmap.
    virtual void Paint(HDC dc);
    virtual void MouseEnter();
    virtual void MouseLeave();
    bool HasSkin() const { return skinIndex_ != -1; }
    // The display scale the control is drawn at: its skin manager's, else its form's.
    int ShownDpi() const;
    // The control's record, or null (no skin, or an index the manager no longer has).
    TmnDataSkinControl* Record() const;
    // Sends MSG_PARENT_BG_CHANGED to every child window.
    void NotifyChildrenBackground();
    // The system deleted the window's region with the window.
    void HandleDestroyed() override;
    // Copies the manager's picture at index into target once (source remembers which picture
    // it holds); the copy is dropped when the skin changes.
    void TakePicture(int index, TBitmap& target, const TBitmapData*& source);

    TmnSkinData* skinData_ = nullptr;
    String skinDataName_;
    int skinIndex_ = -1;
    bool inWMPaint_ = false;
    HRGN controlRegion_ = nullptr;  // handed to the window; the window deletes it

private:
    bool mouseInside_ = false;
};

class TmnSkinCustomControl : public TmnSkinControl {
public:
    explicit TmnSkinCustomControl(TComponent* owner);
    const wchar_t* ClassName() const override { return L"TmnSkinCustomControl"; }

    int DefaultWidth() const { return defaultWidth_; }
    void SetDefaultWidth(int width);
    int DefaultHeight() const { return defaultHeight_; }
    void SetDefaultHeight(int height);
    TFont& DefaultFont() { return defaultFont_; }
    void SetDefaultFont(const TFont& font);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool use) { useSkinFont_ = use; Invalidate(); }

    TResizeMode ResizeMode() const { return resizeMode_; }
    const TSkinRect& SkinRect() const { return skinRect_; }
    // The resized geometry for the current size (NewLT ... NewClientRect).
    const TFrameGeometry& NewGeometry() const { return new_; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    // The size the control takes when asked for width x height (fixed-size pictures keep their
    // size, strips their thickness); refreshes the resized geometry.
    virtual void CalcSize(int& width, int& height);
    // Shapes the window by the mask, or removes the shape when there is none.
    virtual void SetControlRegion();
    // A rectangle of the picture (relative to SkinRect) in control coordinates.
    TSkinRect MapSkinRect(const TSkinRect& r) const;

    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    void ChangeScale(int dpi, int fromDpi) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void DefaultFontChanged() {}
    // Size limits the control adds to the skin's (the panel's constraints).
    virtual void ConstrainSize(int& width, int& height) {}
    void Paint(HDC dc) override;
    void CreateControlDefaultImage(TBitmap& bitmap) override;
    void CreateControlSkinImage(TBitmap& bitmap) override;
    // The picture's source rectangle r resized to the control into bitmap.
    void DrawSkinImage(TBitmap& bitmap, TBitmap& picture, const TSkinRect& r);
    // The client piece of the picture tiled or stretched into fill.
    virtual void DrawClientBackground(TCanvas& canvas, const TSkinRect& fill) { DrawClientPiece(canvas, fill, stretchEffect_); }
    // The record's client piece tiled from fill's corner, or stretched by the stretch settings.
    void DrawClientPiece(TCanvas& canvas, const TSkinRect& fill, bool stretch);
    void HandleCreated() override;
    // The record as a custom-control record, or null.
    TmnDataSkinCustomControl* CustomRecord() const;
    bool HasPicture() const { return !picture_.Empty(); }

    bool forceBackground_ = false;
    bool drawBackground_ = true;
    int defaultWidth_ = 0, defaultHeight_ = 0;
    TFont defaultFont_;
    bool useSkinFont_ = true;
    TFrameGeometry g_;     // LT, RT, LB, RB, Cl of the record
    TSkinRect skinRect_;
    TFrameGeometry new_;   // NewLT ... NewClientRect
    TBitmap picture_;      // the record's picture; empty: none
    TBitmap mask_;         // the record's mask; empty: none
    TResizeMode resizeMode_ = rmNone;
    bool stretchEffect_ = false;
    TStretchType stretchType_ = stFull;
    TStretchFlags stretch_;

private:
    const TBitmapData* pictureSource_ = nullptr;
    const TBitmapData* maskSource_ = nullptr;
    int shownWidth_ = 0, shownHeight_ = 0;  // the window's size at the last WM_SIZE
};

// Delivers a manager's skin-change message (MSG_SKIN_BEFORE_CHANGE, MSG_SKIN_CHANGE,
// MSG_SKIN_AFTER_CHANGE) to every skinned control under root that uses that manager; a
// MSG_SKIN_CHANGE without a manager re-reads every skinned control under root.
void NotifySkinControls(TWinControl* root, unsigned message, TmnSkinData* manager);

}  // namespace fn
