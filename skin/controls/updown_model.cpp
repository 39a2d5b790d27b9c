#include "skin/controls/updown_model.h"

#include <algorithm>
#include <cstdint>

namespace fn {

bool TUpDownModel::SetPosition(int value) {
    if (value < min_ || value > max_) return false;
    position_ = value;
    Report();
    return true;
}

void TUpDownModel::Report() {
    if (inChange_) return;  // a handler setting the position itself is not entered again
    inChange_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inChange_};
    host_.PositionChanged();
}

void TUpDownModel::SetMin(int value) {
    min_ = value;
    max_ = std::max(max_, value);
    position_ = std::clamp(position_, min_, max_);
}

void TUpDownModel::SetMax(int value) {
    max_ = value;
    min_ = std::min(min_, value);
    position_ = std::clamp(position_, min_, max_);
}

bool TUpDownModel::Step(int direction, int count, bool clamp) {
    if (increment_ == 0 || inChange_) return false;
    int64_t target = static_cast<int64_t>(position_) + int64_t{direction} * count * int64_t{increment_};
    if (clamp) target = std::clamp<int64_t>(target, min_, max_);
    if (target < min_ || target > max_ || target == position_) return false;
    return SetPosition(static_cast<int>(target));
}

void TUpDownModel::SetAreas(const TSkinRect& up, const TSkinRect& down) {
    buttons_[kUp].Area = up;
    buttons_[kDown].Area = down;
}

void TUpDownModel::LayoutHalves(int width, int height, bool vertical) {
    if (vertical) SetAreas({0, 0, width, height / 2}, {0, height / 2, width, height});
    else SetAreas({width / 2, 0, width, height}, {0, 0, width / 2, height});
}

int TUpDownModel::ButtonAt(int x, int y) const {
    for (int i = 0; i < 2; ++i)
        if (PointInsideRect({x, y}, buttons_[static_cast<size_t>(i)].Area)) return i;
    return -1;
}

void TUpDownModel::SetHover(int b) {
    if (b == hover_) return;
    previousHover_ = hover_;
    hover_ = b;
    if (previousHover_ != -1) {
        Button& prev = buttons_[static_cast<size_t>(previousHover_)];
        prev.Active = false;
        if (prev.Down && increment_ != 0) host_.StopRepeat();
        host_.ButtonsChanged();
    }
    if (b != -1) {
        buttons_[static_cast<size_t>(b)].Active = true;
        buttons_[static_cast<size_t>(1 - b)].Active = false;
        if (buttons_[static_cast<size_t>(b)].Down && increment_ != 0 && repeating_ != TRepeat::None)
            host_.StartRepeat(kReenterPeriod);
        host_.ButtonsChanged();
    }
}

void TUpDownModel::MouseMove(int x, int y) {
    int b = ButtonAt(x, y);
    if (pressed_ != -1 && b != pressed_) b = -1;
    SetHover(b);
}

void TUpDownModel::MouseDown(int x, int y) {
    MouseMove(x, y);
    if (hover_ == -1 || pressed_ != -1) return;
    buttons_[static_cast<size_t>(1 - hover_)].Active = false;
    pressed_ = hover_;
    Button& b = buttons_[static_cast<size_t>(pressed_)];
    b.Active = b.Down = true;
    host_.ButtonsChanged();
    if (increment_ != 0) {
        repeating_ = pressed_ == kUp ? TRepeat::Increment : TRepeat::Decrement;
        firstDelay_ = true;
        host_.StartRepeat(kFirstDelay);
    }
}

void TUpDownModel::MouseUp(int x, int y) {
    if (pressed_ == -1) return;
    const int button = pressed_;
    Button& b = buttons_[static_cast<size_t>(button)];
    host_.StopRepeat();
    repeating_ = TRepeat::None;
    b.Down = false;
    if (ButtonAt(x, y) != button) b.Active = false;
    pressed_ = -1;
    host_.ButtonsChanged();
    if (!b.Active || inChange_) return;  // released elsewhere, or while the change handler runs
    Step(button == kUp ? +1 : -1);
    host_.ButtonClicked(button);
}

void TUpDownModel::MouseLeave() {
    hover_ = previousHover_ = -1;
    bool changed = false;
    for (Button& b : buttons_) {
        changed = changed || b.Active;
        b.Active = false;
    }
    if (changed) host_.ButtonsChanged();
}

void TUpDownModel::RepeatTick() {
    if (repeating_ == TRepeat::None) {
        host_.StopRepeat();  // a tick left over from a press that has ended
        return;
    }
    if (firstDelay_) {
        firstDelay_ = false;
        host_.StartRepeat(kRepeatPeriod);
        return;
    }
    Step(repeating_ == TRepeat::Increment ? +1 : -1);
}

void TUpDownModel::Cancel() {
    host_.StopRepeat();
    repeating_ = TRepeat::None;
    if (pressed_ == -1) return;
    Button& b = buttons_[static_cast<size_t>(pressed_)];
    b.Down = b.Active = false;
    pressed_ = hover_ = previousHover_ = -1;
    host_.ButtonsChanged();
}

TUpDownButtonLook DefaultButtonLook(int button, bool active, bool down, bool vertical) {
    constexpr TColor navy = 8388608;
    TUpDownButtonLook look{clBtnShadow, clBtnFace, 0};
    if (active && down) look = {navy, 11899781, 0};
    else if (active) look = {navy, 13811126, 0};
    if (button == TUpDownModel::kUp) look.Arrow = vertical ? 3 : 2;
    else look.Arrow = vertical ? 4 : 1;
    return look;
}

}  // namespace fn
