#pragma once
// The up-down's state without a window: the position kept between Min and Max, the two
// buttons' areas and states, and the press / hover / auto-repeat machine. The window unit feeds
// it mouse, key and timer input and carries out what it asks of its host. Portable.
#include <array>
#include <cstddef>

#include "platform/core/graph_types.h"
#include "skin/paint/rects.h"

namespace fn {

// What the model asks of the control that holds it. The repeat timer is the clock seam: tests
// tick the model themselves.
class TUpDownHost {
public:
    virtual ~TUpDownHost() = default;
    virtual void StartRepeat(unsigned milliseconds) = 0;  // (re)starts the one repeat timer
    virtual void StopRepeat() = 0;
    virtual void ButtonsChanged() = 0;                     // repaint
    virtual void PositionChanged() = 0;                    // OnChange
    virtual void ButtonClicked(int button) = 0;            // OnUpButtonClick / OnDownButtonClick
};

class TUpDownModel {
public:
    static constexpr int kUp = 0, kDown = 1;  // button indexes: incrementing, decrementing
    static constexpr unsigned kFirstDelay = 500, kRepeatPeriod = 100, kReenterPeriod = 50;

    struct Button {
        TSkinRect Area;
        bool Active = false;  // the pointer is over it
        bool Down = false;    // pressed
    };

    explicit TUpDownModel(TUpDownHost& host) : host_(host) {}

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int Increment() const { return increment_; }
    // A value outside Min..Max is ignored (false); otherwise stored and reported.
    bool SetPosition(int value);
    // Min and Max stay ordered: a new Min above Max moves Max with it, and the other way
    // round. The position is pulled into the range without a report.
    void SetMin(int value);
    void SetMax(int value);
    void SetIncrement(int value) { increment_ = value; }
    // Position + count * Increment in the given direction (+1 up, -1 down), computed without
    // overflow; ignored when it leaves the range (the mouse's rule) or, with clamp, stopped at
    // Min or Max (the keyboard's rule). False when the position did not change.
    bool Step(int direction, int count = 1, bool clamp = false);
    // Jumps to Min or Max (Home, End).
    bool MoveTo(int value) { return value != position_ && SetPosition(value); }

    // Button layout: the record's areas, or halves of the control (vertical: up on top;
    // horizontal: the decrementing half on the left).
    void SetAreas(const TSkinRect& up, const TSkinRect& down);
    void LayoutHalves(int width, int height, bool vertical);
    const Button& Buttons(int i) const { return buttons_[static_cast<size_t>(i)]; }
    // The button whose area holds the point, edges included; -1 for none.
    int ButtonAt(int x, int y) const;
    int HoverButton() const { return hover_; }
    int PressedButton() const { return pressed_; }
    // The way a held button repeats (RepeatDirection, coded 0 none, 1 decrement, 2 increment).
    enum class TRepeat { None, Decrement, Increment };
    TRepeat Repeating() const { return repeating_; }

    void MouseMove(int x, int y);
    void MouseDown(int x, int y);
    void MouseUp(int x, int y);
    void MouseLeave();
    void RepeatTick();
    // The press ends without a click: capture lost, mode cancelled, disabled or hidden.
    void Cancel();

    // True while PositionChanged runs: user steps are refused then, so a handler that opens a
    // modal dialog is not entered again by the timer or the mouse behind it.
    bool InChange() const { return inChange_; }

private:
    void Report();
    void SetHover(int button);

    TUpDownHost& host_;
    int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
    std::array<Button, 2> buttons_{};
    int hover_ = -1, previousHover_ = -1, pressed_ = -1;
    TRepeat repeating_ = TRepeat::None;
    bool firstDelay_ = false;
    bool inChange_ = false;
};

// The unskinned look of one button: frame and fill colours and its arrow (1 left, 2 right,
// 3 up, 4 down).
struct TUpDownButtonLook {
    TColor FrameColor, FillColor;
    int Arrow;
};
TUpDownButtonLook DefaultButtonLook(int button, bool active, bool down, bool vertical);

}  // namespace fn
