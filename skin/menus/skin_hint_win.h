#pragma once
// TmnSkinHint and TmnSkinHintWindow: hints drawn from the skin's "HINTWINDOW" record. While a
// hint component is active the application makes its hint windows of the skinned kind and asks
// the component's OnShowHint; deactivated or destroyed, the component hands back the window class
// and the event it found. Skin objects ask it for a timed hint at the mouse (ShowHintText /
// HideHint). Size, placement, the cursor-height scan and the timing are the portable hint_layout
// unit.
#include <windows.h>

#include <functional>

#include "platform/win/application.h"
#include "platform/win/controls.h"
#include "platform/win/graphics.h"
#include "platform/win/hint_window.h"
#include "platform/win/window_timer.h"
#include "skin/menus/hint_layout.h"
#include "skin/paint/rects.h"

namespace fn {

class TmnSkinData;
class TmnSkinHint;

class TmnSkinHintWindow : public THintWindow {
public:
    TmnSkinHintWindow();
    // The application's hint window class while a hint component is active.
    static std::unique_ptr<THintWindow> Create();

    // Shows text at rect's top-left with the active hint component's skin; nothing without one.
    void ActivateHint(const RECT& rect, const String& text) override;
    void Hide() override;
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

protected:
    void Paint(HDC dc, int w, int h) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void PrepareFont(TFont& font) const;
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
    // Asked before any hint shows (the application's and the component's own): may change the
    // text and place or refuse.
    std::function<void(String& hintStr, bool& canShow, THintInfo& hintInfo)> OnShowHint;

    // A skin object wants its hint: after the application's HintPause it shows at the mouse,
    // HintHidePause later it goes. A new text restarts the wait.
    void ShowHintText(const String& text);
    void HideHint();
    TmnSkinHintWindow& HintWindow() { return window_; }
    const String& HintText() const { return hintText_; }
    bool TimerActive() const { return timer_.Active(); }

    void Notification(TComponent* component, Operation operation) override;

private:
    struct Forwarder;
    void TimerFired();
    void ShowAtCursor();
    // Takes the application's hints over, or hands back what it found there.
    void TakeApplicationHints();
    void HandBackApplicationHints();

    TmnSkinData* skinData_ = nullptr;
    bool active_ = false;
    TmnSkinHintWindow window_;
    TWindowTimer timer_;
    THintTiming timing_;
    String hintText_;
    // What the application had before this component took its hints over.
    bool tookOver_ = false;
    THintWindowClass savedClass_ = nullptr;
    std::function<void(String&, bool&, THintInfo&)> savedOnShowHint_;
};

// The hint component serving the program's hints now, or null (the platform's own hints).
TmnSkinHint* ActiveSkinHint();
// Visible height of the current cursor below its hot spot.
int CursorHeightBelowHotSpot();

}  // namespace fn
