#pragma once
// The tray icon's decisions without a window or a shell: single versus double clicks, the
// animation's icon order, the icon index against the list, and the tooltip text. Portable.
#include <array>

#include "platform/core/strings.h"

namespace fn {

// Reports a single click either at button up once the double-click time has passed since the
// button went down, or when that time ends after a quick click; a double click reports no click.
class TTrayClickDetector {
public:
    // Left button down: the caller starts its click timer (double-click time).
    void ButtonDown() { clickStart_ = true; timerRunning_ = true; }
    // Left button up: true when Click is reported now.
    bool ButtonUp() {
        bool click = false;
        if (clickStart_) {
            clickReady_ = true;
            if (!timerRunning_) { clickReady_ = false; isDblClick_ = false; click = true; }
        }
        clickStart_ = false;
        return click;
    }
    // Double click: DblClick is reported; the pending single click is dropped.
    void DoubleClick() { clickReady_ = false; isDblClick_ = true; }
    // The click timer fired (the caller stops it): true when Click is reported now.
    bool TimerFired() {
        timerRunning_ = false;
        bool click = false;
        if (!isDblClick_ && clickReady_) { clickReady_ = false; click = true; }
        isDblClick_ = false;
        return click;
    }
    bool TimerRunning() const { return timerRunning_; }

private:
    bool clickStart_ = false, clickReady_ = false, isDblClick_ = false, timerRunning_ = false;
};

// An icon index kept inside a list of count icons (0 without icons).
inline int ClampIconIndex(int index, int count) {
    if (count <= 0 || index < 0) return 0;
    return index >= count ? count - 1 : index;
}
// The index shown after index in a cycle of count icons.
inline int NextIconIndex(int index, int count) { return (count <= 0 || index >= count - 1) ? 0 : index + 1; }

// The tooltip field of the shell's record: the first 127 characters of hint when it is shown,
// else all zero.
std::array<wchar_t, 128> TrayTip(const String& hint, bool showHint);

// Bounds of the animation interval (milliseconds): 0 or absurd values would spin the timer.
inline unsigned ClampAnimateInterval(unsigned ms) { return ms < 25 ? 25 : (ms > 60000 ? 60000 : ms); }

}  // namespace fn
