#pragma once
// TmnSkinStatusBar: a panel aligned to the bottom of its form, with an optional size grip that
// sizes the form (the drag is handed to the top-level window).
#include "skin/controls/skin_panel_win.h"

namespace fn {

class TmnSkinStatusBar : public TmnSkinPanel {
public:
    explicit TmnSkinStatusBar(TComponent* owner);
    const wchar_t* ClassName() const override { return L"TmnSkinStatusBar"; }

    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool on);
    // The owner form's switch for the grip (off while the form cannot be sized).
    bool GripAllowed() const { return gripAllowed_; }
    void SetGripAllowed(bool on);
    bool GripShown() const { return sizeGrip_ && gripAllowed_ && !IsDesigning(); }
    // The grip's rectangle in control coordinates (empty while it is not shown).
    TSkinRect GripRect() const;

    // Also gives the manager to every skinned control on the bar.
    void SetSkinData(TmnSkinData* skinData) override;
    TAccessibleInfo AccessibleInfo() override;
    void AdjustClientRect(RECT& rect) override;
    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateControlDefaultImage(TBitmap& bitmap) override;
    void CreateControlSkinImage(TBitmap& bitmap) override;

private:
    void DrawGrip(TCanvas& canvas, TColor highlight, TColor shadow);
    // The record's grip picture part, or empty.
    TSkinRect GripImage() const;

    bool sizeGrip_ = false;
    bool gripAllowed_ = true;
};

}  // namespace fn
