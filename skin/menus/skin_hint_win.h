#pragma once
// TmnSkinHint and TmnSkinHintWindow: hints drawn from the skin's "HINTWINDOW" record. The hint
// component that is active serves the program's hints (ActivateSkinHint) while it is active and
// hands them back when it is deactivated or destroyed; skin objects and controls ask it for a
// timed hint at the mouse (ShowHintText / HideHint). Size, placement, the cursor-height scan and
// the timing are the portable hint_layout unit.
#include <windows.h>

#include <functional>

#include "platform/win/controls.h"
#include "platform/win/graphics.h"
#include "skin/menus/hint_layout.h"
#include "skin/menus/timer_seam_win.h"
#include "skin/paint/rects.h"

namespace fn {

class TmnSkinData;
class TmnSkinHint;

class TmnSkinHintWindow {
public:
    TmnSkinHintWindow();
    ~TmnSkinHintWindow();
    TmnSkinHintWindow(const TmnSkinHintWindow&) = delete;
    TmnSkinHintWindow& operator=(const TmnSkinHintWindow&) = delete;

    // Shows text at rect's top-left with the active hint component's skin; nothing without one.
    void ActivateHint(const RECT& rect, const String& text);
    void Hide();
    bool Visible() const { return handle_ && ::IsWindowVisible(handle_); }
    HWND Handle() const { return handle_; }
    const String& Text() const { return text_; }
    // Paints the window into dc at (0, 0) (WM_PRINTCLIENT does the same).
    void PaintTo(HDC dc);

    TmnSkinHint* HintComponent = nullptr;
    TmnSkinData* SkinData = nullptr;  // set only while the skin is usable
    TSkinRect NewClientRect;
    TSkinPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    bool OldAlphaBlend = false;
    BYTE OldAlphaBlendValue = 0;
    // The timer of the component's timed hint runs on this window.
    std::function<void()> OnTimer;

private:
    static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);
    void PrepareFont(TFont& font) const;

    HWND handle_ = nullptr;
    String text_;
};

class TmnSkinHint : public TComponent {
public:
    explicit TmnSkinHint(TComponent* owner);
    ~TmnSkinHint() override;
    const wchar_t* ClassName() const override { return L"TmnSkinHint"; }

    TmnSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TmnSkinData* skinData);
    bool Active() const { return active_; }
    // Setting it makes every other hint component inactive; the program's hints go to the
    // active one, and back to the platform when none is active.
    void SetActive(bool active);
    bool AlphaBlend = false;
    BYTE AlphaBlendValue = 0;
    TFontDesc DefaultFont;
    bool UseSkinFont = true;
    // Pauses of the timed hint (the platform's defaults).
    UINT HintPause = 500;
    UINT HintHidePause = 2500;
    // Asked before a hint shows: may change the text or refuse.
    std::function<void(String& text, bool& canShow)> OnShowHint;

    // A skin object wants its hint: after HintPause it shows at the mouse, HintHidePause later it
    // goes. A new text restarts the wait.
    void ShowHintText(const String& text);
    void HideHint();
    TmnSkinHintWindow& HintWindow() { return window_; }
    const String& HintText() const { return hintText_; }
    bool TimerActive() const { return timer_.Active(); }

    void Notification(TComponent* component, Operation operation) override;

private:
    void TimerFired();
    void ShowAtCursor();

    TmnSkinData* skinData_ = nullptr;
    bool active_ = false;
    TmnSkinHintWindow window_;
    TmnTimer timer_;
    THintTiming timing_;
    String hintText_;
};

// The hint component serving the program's hints now, or null (the platform's own hints).
TmnSkinHint* ActiveSkinHint();
// The program's hint request: shown by the active hint component's window; false when there is
// none (the caller shows its platform hint).
bool ActivateSkinHint(const RECT& rect, const String& text);
// Visible height of the current cursor below its hot spot.
int CursorHeightBelowHotSpot();

}  // namespace fn
