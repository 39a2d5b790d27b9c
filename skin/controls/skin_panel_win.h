#pragma once
// TmnSkinPanel: a skinned container with an optional caption bar (text, glyph), a check box in
// the caption that enables or disables the children, a roll-up mode that folds the panel to
// its caption, and a transparent group-box look.
#include "platform/win/image_list.h"
#include "skin/controls/panel_layout.h"
#include "skin/controls/skin_control_win.h"

namespace fn {

class TmnSkinPanel : public TmnSkinCustomControl {
public:
    explicit TmnSkinPanel(TComponent* owner);
    ~TmnSkinPanel() override;
    const wchar_t* ClassName() const override { return L"TmnSkinPanel"; }

    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption);
    bool TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(bool on);
    int RealHeight() const { return rollUp_.RealHeight(); }
    bool AutoEnabledControls() const { return autoEnabledControls_; }
    void SetAutoEnabledControls(bool on) { autoEnabledControls_ = on; }
    bool CheckedMode() const { return checkedMode_; }
    void SetCheckedMode(bool on);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    TAlignment DefaultAlignment() const { return defaultAlignment_; }
    void SetDefaultAlignment(TAlignment alignment);
    int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
    void SetDefaultCaptionHeight(int height);
    TmnSkinBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TmnSkinBorderStyle style);
    bool CaptionMode() const { return captionMode_; }
    void SetCaptionMode(bool on);
    bool RollUpMode() const { return rollUpMode_; }
    void SetRollUpMode(bool on);
    bool RollUpState() const { return rollUp_.State(); }
    void SetRollUpState(bool rolledUp);
    // The image shown beside the caption when there is no glyph; cleared when the list goes.
    TImageList* CaptionImageList() const { return images_; }
    void SetCaptionImageList(TImageList* images);
    int CaptionImageIndex() const { return imageIndex_; }
    void SetCaptionImageIndex(int index);
    TBitmap& Glyph() { return glyph_; }
    void SetGlyph(const TBitmap& glyph);
    int NumGlyphs() const { return numGlyphs_; }
    // Kept in 1..2, whatever form data or a caller asks for.
    void SetNumGlyphs(int count);
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    const TSizeConstraints& Constraints() const { return constraints_; }
    void SetConstraints(const TSizeConstraints& constraints);

    TNotifyEvent OnChecked, OnChangeRollUpState;

    // The caption rectangle for the current size (skinned: from the record).
    const TSkinRect& CaptionArea() const { return captionArea_; }
    // The rectangle that takes caption clicks and toggles the check box or the roll-up.
    TSkinRect CaptionClickArea() const;

    TAccessibleInfo AccessibleInfo() override;
    void Notification(TComponent* component, Operation operation) override;
    void GetSkinData() override;
    void ChangeSkinData() override;
    void AdjustClientRect(RECT& rect) override;
    void ParentBackgroundChanged() override;
    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void GetCreateParams(CreateParams& params) override;
    void ConstrainSize(int& width, int& height) override;
    void Paint(HDC dc) override;
    void CreateControlDefaultImage(TBitmap& bitmap) override;
    void CreateControlSkinImage(TBitmap& bitmap) override;
    void DrawClientBackground(TCanvas& canvas, const TSkinRect& fill) override;
    // A hook for descendants drawing on the transparent look; nothing here.
    virtual void DrawTransparentExtras(TCanvas& canvas) {}
    TmnDataSkinPanelControl* PanelRecord() const;
    // The panel's client rectangle as the alignment sees it, before descendants take parts.
    TSkinRect PanelClient() const;
    // Realigns the children unless they are folded away.
    void Realign();
    bool Focusable() const { return captionMode_ && (checkedMode_ || rollUpMode_); }

private:
    void ApplyRollUp(const TRollUpPlan& plan);
    int CollapsedHeight();
    void ToggleFromCaption();
    void SelectCaptionFont(TCanvas& canvas, bool skinned);
    // The list image is shown: no glyph, and an index inside the list.
    bool ShowsListImage() const { return glyph_.Empty() && images_ && imageIndex_ >= 0 && imageIndex_ < images_->Count(); }
    // List image, glyph or nothing: the width the image takes before the text (without spacing).
    int ImageWidth() const;
    void DrawImage(TCanvas& canvas, int x, const TSkinRect& area);
    void DrawTransparentLook(TBitmap& bitmap);
    void DrawSkinCaption(TCanvas& canvas, TmnDataSkinPanelControl& rec);
    void UpdateTabStop();

    String caption_;
    bool transparentMode_ = false;
    bool autoEnabledControls_ = true;
    bool checkedMode_ = false, checked_ = false;
    TAlignment defaultAlignment_ = taLeftJustify;
    int defaultCaptionHeight_ = 22;
    TmnSkinBorderStyle borderStyle_ = TmnSkinBorderStyle::bvFrame;
    bool captionMode_ = false;
    bool rollUpMode_ = false;
    TPanelRollUp rollUp_;
    std::vector<TWinControl*> foldedChildren_;  // hidden by the roll-up, shown again by unrolling
    TImageList* images_ = nullptr;
    int imageIndex_ = -1;
    TBitmap glyph_;
    int numGlyphs_ = 1;
    int spacing_ = 2;
    TSizeConstraints constraints_;
    TSkinRect captionArea_;
    TBitmap bgPicture_;
    const TBitmapData* bgSource_ = nullptr;
};

}  // namespace fn
