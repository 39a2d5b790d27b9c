#include "skin/menus/skin_hint_win.h"

#include <algorithm>
#include <vector>

#include "platform/win/gdi.h"
#include "skin/data/skin_data.h"
#include "skin/paint/images_win.h"
#include "skin/paint/regions_win.h"
#include "skin/paint/system_win.h"

namespace fn {

namespace {

constexpr UINT_PTR HintTimerId = 1;

// Active hint components in the order they became active; the last one serves.
std::vector<TmnSkinHint*>& ActiveHints() {
    static std::vector<TmnSkinHint*> hints;
    return hints;
}

const TBitmapData* HintPicture(const TmnSkinData* skin) {
    if (!skin || skin->Empty()) return nullptr;
    const TBitmapData* p = skin->ActivePicture(skin->HintWindow().WindowPictureIndex);
    return p && !p->Empty() ? p : nullptr;
}

TSkinRect WorkAreaAt(POINT pt) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = ::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST);
    RECT r;
    if (monitor && ::GetMonitorInfoW(monitor, &info)) r = info.rcWork;
    else GetPrimaryScreenRect(true, r);
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

TmnSkinHint* ActiveSkinHint() {
    auto& hints = ActiveHints();
    return hints.empty() ? nullptr : hints.back();
}

int CursorHeightBelowHotSpot() {
    const int system = ::GetSystemMetrics(SM_CYCURSOR);
    ICONINFO info{};
    HCURSOR cursor = ::GetCursor();
    if (!cursor || !::GetIconInfo(cursor, &info)) return system;
    // GetIconInfo hands over two bitmaps; both are deleted here whatever happens.
    TBitmapHandle mask(info.hbmMask), color(info.hbmColor);
    BITMAP bm{};
    if (!mask || !::GetObjectW(mask.Get(), sizeof bm, &bm) || bm.bmBitsPixel != 1 || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return system - static_cast<int>(info.yHotspot);
    const size_t rowBytes = ((static_cast<size_t>(bm.bmWidth) + 31) / 32) * 4;
    std::vector<uint8_t> bits(rowBytes * static_cast<size_t>(bm.bmHeight));
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } bi{};
    bi.header.biSize = sizeof bi.header;
    bi.header.biWidth = bm.bmWidth;
    bi.header.biHeight = bm.bmHeight;  // bottom-up rows
    bi.header.biPlanes = 1;
    bi.header.biBitCount = 1;
    TWindowDC screen(nullptr);
    if (!::GetDIBits(screen.Get(), mask.Get(), 0, static_cast<UINT>(bm.bmHeight), bits.data(),
                     reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS))
        return system - static_cast<int>(info.yHotspot);
    return CursorHeightBelowHotSpot(bits.data(), bits.size(), bm.bmWidth, bm.bmHeight,
                                    static_cast<int>(info.yHotspot), system);
}

// ---------------------------------------------------------------------------------------------
// TmnSkinHintWindow

TmnSkinHintWindow::TmnSkinHintWindow() : THintWindow(DropShadowAvailable()) {}

std::unique_ptr<THintWindow> TmnSkinHintWindow::Create() { return std::make_unique<TmnSkinHintWindow>(); }

void TmnSkinHintWindow::PrepareFont(TFont& font) const {
    const TmnSkinHint* hint = HintComponent;
    if (SkinData && hint && hint->UseSkinFont) {
        const TmnDataSkinHintWindow& r = SkinData->HintWindow();
        font.SetName(r.FontName);
        font.SetHeight(r.FontHeight);
        font.SetStyle(r.FontStyle);
        font.SetColor(r.FontColor);
    } else if (hint) {
        hint->DefaultFont.AssignTo(font);
        font.SetColor(SkinData ? SkinData->HintWindow().FontColor : clInfoText);
    }
    const uint8_t own = static_cast<uint8_t>(hint ? hint->DefaultFont.charset : DEFAULT_CHARSET);
    font.SetCharSet(SkinLibraryCharSet(hint ? hint->SkinData() : nullptr, own));
}

void TmnSkinHintWindow::ActivateHint(const RECT& rect, const String& text) {
    HintComponent = ActiveSkinHint();
    if (!HintComponent || !handle_) return;
    TmnSkinData* skin = HintComponent->SkinData();
    const TBitmapData* picture = HintPicture(skin);
    SkinData = picture ? skin : nullptr;
    text_ = text;
    ::SetWindowTextW(handle_, text.c_str());

    TFont font;
    PrepareFont(font);
    RECT measured{0, 0, 0, 0};
    {
        TMemoryDC dc;
        TSelectObject selected(dc.Get(), font.Handle());
        ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT);
    }
    THintGeometry g;
    if (SkinData) {
        const TmnDataSkinHintWindow& r = SkinData->HintWindow();
        g = SkinnedHintGeometry(measured.right, measured.bottom, picture->Width, picture->Height, r.ClientRect,
                                r.LeftTopPoint, r.RightTopPoint, r.LeftBottomPoint, r.RightBottomPoint);
    } else {
        g = UnskinnedHintGeometry(measured.right, measured.bottom);
    }
    NewClientRect = g.NewClientRect;
    NewLTPoint = g.NewLTPoint;
    NewRTPoint = g.NewRTPoint;
    NewLBPoint = g.NewLBPoint;
    NewRBPoint = g.NewRBPoint;

    int left, top;
    PlaceHint(rect.left, rect.top, g.Width, g.Height, WorkAreaAt({rect.left, rect.top}), left, top);
    ::SetWindowPos(handle_, nullptr, left, top, g.Width, g.Height, SWP_NOACTIVATE | SWP_NOZORDER);

    if (LayeredWindowsAvailable()) {
        const bool alpha = HintComponent->AlphaBlend;
        LONG_PTR ex = ::GetWindowLongPtrW(handle_, GWL_EXSTYLE);
        if (alpha && !(ex & WS_EX_LAYERED)) {
            ::SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
            // A freshly layered window shows nothing until its alpha is set, even when the
            // value is the one applied before the style was removed.
            SetWindowAlpha(handle_, HintComponent->AlphaBlendValue);
            OldAlphaBlendValue = HintComponent->AlphaBlendValue;
        } else if (!alpha && (ex & WS_EX_LAYERED)) {
            ::SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
        }
        if (alpha && HintComponent->AlphaBlendValue != OldAlphaBlendValue) {
            SetWindowAlpha(handle_, HintComponent->AlphaBlendValue);
            OldAlphaBlendValue = HintComponent->AlphaBlendValue;
        }
        OldAlphaBlend = alpha;
    }

    const TmnDataSkinHintWindow* r = SkinData ? &SkinData->HintWindow() : nullptr;
    const TBitmapData* mask = r ? skin->ActivePicture(r->MaskPictureIndex) : nullptr;
    if (r && mask && !mask->Empty()) {
        TBitmap maskBitmap;
        maskBitmap.Assign(*mask);
        const TFrameGeometry from{r->LeftTopPoint, r->RightTopPoint, r->LeftBottomPoint, r->RightBottomPoint, r->ClientRect};
        const TFrameGeometry to{NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClientRect};
        TRegionHandle region = BuildFrameRegion(from, to, maskBitmap, g.Width, g.Height);
        if (region) SetWindowRegion(handle_, std::move(region), true);
    } else {
        SetWindowRegion(handle_, {}, true);
    }
    ::SetWindowPos(handle_, HWND_TOPMOST, left, top, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    ::InvalidateRect(handle_, nullptr, FALSE);
}

void TmnSkinHintWindow::Hide() {
    if (Visible())
        ::SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void TmnSkinHintWindow::PaintTo(HDC dc) {
    RECT client;
    ::GetClientRect(handle_, &client);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return;
    TBitmap buffer(w, h);
    TCanvas& c = buffer.Canvas();
    const TBitmapData* picture = HintPicture(SkinData);
    TFont font;
    PrepareFont(font);
    c.Font().Assign(font);
    if (SkinData && picture) {
        const TmnDataSkinHintWindow& r = SkinData->HintWindow();
        TBitmap pictureBitmap;
        pictureBitmap.Assign(*picture);
        const TFrameGeometry from{r.LeftTopPoint, r.RightTopPoint, r.LeftBottomPoint, r.RightBottomPoint, r.ClientRect};
        const TFrameGeometry to{NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClientRect};
        BuildNinePartImage(from, to, buffer, pictureBitmap, {0, 0, picture->Width, picture->Height}, w, h, true,
                           {r.LeftStretch, r.TopStretch, r.RightStretch, r.BottomStretch}, r.StretchEffect, r.StretchType);
        c.Font().SetColor(r.FontColor);
        c.Brush().SetStyle(TBrushStyle::bsClear);
        const SIZE extent = c.TextExtent(text_);
        const int x = NewClientRect.Left + NewClientRect.Width() / 2 - extent.cx / 2;
        const int y = NewClientRect.Top + NewClientRect.Height() / 2 - extent.cy / 2;
        c.TextOut(x, y, text_);
    } else {
        c.Brush().SetColor(clInfoBk);
        c.FillRect({0, 0, w, h});
        c.Brush().SetColor(clGrayText);
        c.FrameRect({0, 0, w, h});
        c.Font().SetColor(clInfoText);
        c.PrepareText();
        ::SetBkMode(c.Handle(), TRANSPARENT);
        RECT r{2, 2, w - 2, h - 2};
        ::DrawTextW(c.Handle(), text_.c_str(), static_cast<int>(text_.size()), &r, 0);
    }
    ::BitBlt(dc, 0, 0, w, h, c.Handle(), 0, 0, SRCCOPY);
}

void TmnSkinHintWindow::Paint(HDC dc, int, int) { PaintTo(dc); }

LRESULT TmnSkinHintWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCPAINT:
        return 0;
    case WM_TIMER:
        if (wParam == HintTimerId && OnTimer) OnTimer();
        return 0;
    default:
        return THintWindow::WndProc(msg, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------------------------
// TmnSkinHint

// The application's OnShowHint while a component has its hints: the hint goes below the visible
// part of the cursor, then the component's own OnShowHint decides.
struct TmnSkinHint::Forwarder {
    TmnSkinHint* Hint;
    void operator()(String& text, bool& canShow, THintInfo& info) const {
        info.HintPos.y = info.CursorPos.y + CursorHeightBelowHotSpot();
        if (Hint->OnShowHint) Hint->OnShowHint(text, canShow, info);
    }
};

TmnSkinHint::TmnSkinHint(TComponent* owner) : TComponent(owner) {
    DefaultFont.name = L"Tahoma";
    DefaultFont.height = -11;
    window_.OnTimer = [this] { TimerFired(); };
    SetActive(true);
}

TmnSkinHint::~TmnSkinHint() {
    timer_.Stop();
    window_.OnTimer = nullptr;
    // The program's hints go back to the component active before, or to the platform.
    SetActive(false);
}

void TmnSkinHint::SetSkinData(TmnSkinData* skinData) {
    SetReference(skinData_, skinData);
}

void TmnSkinHint::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation == Operation::Remove && component == skinData_) {
        skinData_ = nullptr;
        window_.SkinData = nullptr;
        HideHint();
    }
}

void TmnSkinHint::SetActive(bool active) {
    auto& hints = ActiveHints();
    hints.erase(std::remove(hints.begin(), hints.end(), this), hints.end());
    active_ = active;
    if (active) {
        // Only one component serves at a time; the others hand back first, so this one finds
        // (and later restores) what the application had of its own.
        for (TmnSkinHint* other : std::vector<TmnSkinHint*>(hints)) other->SetActive(false);
        hints.push_back(this);
        if (!IsDesigning()) TakeApplicationHints();
    } else {
        HideHint();
        HandBackApplicationHints();
    }
}

void TmnSkinHint::TakeApplicationHints() {
    TApplication& app = *Application();
    if (!tookOver_) {
        savedClass_ = app.HintWindowClass();
        savedOnShowHint_ = app.OnShowHint;
        tookOver_ = true;
    }
    app.SetHintWindowClass(&TmnSkinHintWindow::Create);
    // Off and on: the next hint comes in a window of the new class.
    const bool show = app.ShowHint();
    app.SetShowHint(false);
    app.SetShowHint(show);
    app.OnShowHint = Forwarder{this};
    app.HintShortPause = 100;
}

void TmnSkinHint::HandBackApplicationHints() {
    if (!tookOver_) return;
    tookOver_ = false;
    TApplication& app = *Application();
    // Only what is still this component's: a class or event set since then stays.
    if (app.HintWindowClass() == &TmnSkinHintWindow::Create) {
        app.SetHintWindowClass(savedClass_);
        const bool show = app.ShowHint();
        app.SetShowHint(false);
        app.SetShowHint(show);
    }
    const Forwarder* forwarder = app.OnShowHint.target<Forwarder>();
    if (forwarder && forwarder->Hint == this) app.OnShowHint = std::move(savedOnShowHint_);
    savedClass_ = nullptr;
    savedOnShowHint_ = nullptr;
}

void TmnSkinHint::ShowHintText(const String& text) {
    hintText_ = text;
    if (timing_.Request() == THintTiming::Action::StartTimer)
        timer_.Start(window_.Handle(), HintTimerId, Application()->HintPause);
}

void TmnSkinHint::HideHint() {
    timing_.Cancel();
    timer_.Stop();
    window_.Hide();
}

void TmnSkinHint::ShowAtCursor() {
    String text = hintText_;
    bool canShow = true;
    THintInfo info;
    ::GetCursorPos(&info.CursorPos);
    info.HintPos = {info.CursorPos.x, info.CursorPos.y + CursorHeightBelowHotSpot()};
    info.HideTimeout = Application()->HintHidePause;
    if (OnShowHint) OnShowHint(text, canShow, info);
    if (!canShow || text.empty() || !active_) return;
    // The window shows the text only while this component is the one serving.
    const POINT pt = info.HintPos;
    if (ActiveSkinHint() == this) window_.ActivateHint({pt.x, pt.y, pt.x, pt.y}, text);
}

void TmnSkinHint::TimerFired() {
    switch (timing_.Tick()) {
    case THintTiming::Action::ShowAndRestart:
        ShowAtCursor();
        // The same timer runs on: restarting a window timer inside its handler is safe.
        timer_.Start(window_.Handle(), HintTimerId, Application()->HintHidePause);
        break;
    case THintTiming::Action::Hide:
        timer_.Stop();
        window_.Hide();
        break;
    default:
        timer_.Stop();
        break;
    }
}

}  // namespace fn
