#pragma once
// TmnSkinUpDown: two skinned arrow buttons that step a position between Min and Max, with
// auto-repeat while a button is held, and the arrow keys, Page Up/Down, Home and End when it
// has the focus.
#include "platform/win/window_timer.h"
#include "skin/controls/skin_control_win.h"
#include "skin/controls/updown_model.h"

namespace fn {

enum class TUDOrientation { udHorizontal, udVertical };

class TmnSkinUpDown : public TmnSkinCustomControl, private TUpDownHost {
public:
    explicit TmnSkinUpDown(TComponent* owner);
    const wchar_t* ClassName() const override { return L"TmnSkinUpDown"; }

    bool UseSkinSize() const { return useSkinSize_; }
    void SetUseSkinSize(bool on);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation orientation);
    int Increment() const { return model_.Increment(); }
    void SetIncrement(int increment) { model_.SetIncrement(increment); }
    int Position() const { return model_.Position(); }
    void SetPosition(int position) { model_.SetPosition(position); }
    int Min() const { return model_.Min(); }
    void SetMin(int value) { model_.SetMin(value); }
    int Max() const { return model_.Max(); }
    void SetMax(int value) { model_.SetMax(value); }

    TNotifyEvent OnChange, OnUpButtonClick, OnDownButtonClick;

    // The state machine behind the buttons (tests read the buttons' areas and states).
    const TUpDownModel& Model() const { return model_; }
    // The repeat timer's period while it runs, 0 when stopped.
    unsigned RepeatPeriod() const { return repeatPeriod_; }
    // One tick of the repeat timer (WM_TIMER calls it; tests drive it directly).
    void RepeatTick() { if (!model_.InChange()) model_.RepeatTick(); }

    TAccessibleInfo AccessibleInfo() override;
    void GetSkinData() override;
    void BeforeChangeSkinData() override;
    void CalcSize(int& width, int& height) override;
    void SetControlRegion() override;
    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    static constexpr UINT_PTR kRepeatTimer = 1;

protected:
    void GetCreateParams(CreateParams& params) override;
    void Paint(HDC dc) override;
    void CreateControlDefaultImage(TBitmap& bitmap) override;
    void CreateControlSkinImage(TBitmap& bitmap) override;

private:
    // TUpDownHost
    void StartRepeat(unsigned milliseconds) override;
    void StopRepeat() override;
    void ButtonsChanged() override { Invalidate(); }
    void PositionChanged() override;
    void ButtonClicked(int button) override;

    void Layout();
    void DrawResizeButtons(TBitmap& bitmap);
    bool Vertical() const { return orientation_ == TUDOrientation::udVertical; }
    TmnDataSkinUpDownControl* UpDownRecord() const;
    bool KeyDown(WPARAM key);

    TUpDownModel model_{*this};
    bool useSkinSize_ = true;
    TUDOrientation orientation_ = TUDOrientation::udHorizontal;
    TWindowTimer timer_;
    unsigned repeatPeriod_ = 0;
    // The images of the record: normal, active, pressed for each button.
    TSkinRect images_[2][3]{};
};

}  // namespace fn
