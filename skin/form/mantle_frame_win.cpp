// The form skinning component's frame: the non-client area's size, the frame's geometry,
// region and painting, the client background, and hit-testing.
#include "skin/form/mantle_win.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "platform/win/application.h"
#include "platform/win/gdi.h"
#include "skin/controls/skin_control_win.h"
#include "skin/controls/skin_status_bar_win.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_messages.h"
#include "skin/form/mantle_parts_win.h"
#include "skin/form/frame_painter_win.h"
#include "skin/paint/regions_win.h"
#include "skin/paint/system_win.h"

namespace fn {

using namespace mantle;

bool TmnMantle::Resizable() const {
    const TFormBorderStyle b = form_.BorderStyle();
    return b == TFormBorderStyle::bsSizeable || b == TFormBorderStyle::bsSizeToolWin;
}

bool TmnMantle::ToolWindowFrame() const {
    const TFormBorderStyle b = form_.BorderStyle();
    return b == TFormBorderStyle::bsToolWindow || b == TFormBorderStyle::bsSizeToolWin;
}

int TmnMantle::BuiltInCaptionHeight() const { return LayoutBuiltInFrame(0, 0, ToolWindowFrame(), {}).CaptionHeight; }

void TmnMantle::LayoutObjects() {
    if (!skinned_) return;
    const TmnSkinFormInfo& info = *skinData_;
    const TmnCornerFrame corners{info.LeftTopPoint, info.RightTopPoint, info.LeftBottomPoint, info.RightBottomPoint,
                                 skinData_->Picture().Width, skinData_->Picture().Height};
    objects_.Layout(corners, formWidth_, formHeight_);
    int iw = 0, ih = 0;
    if (showIcon_) {
        iw = ::GetSystemMetrics(SM_CXSMICON), ih = ::GetSystemMetrics(SM_CYSMICON);
        if (iw == 0 || ih == 0) iw = ::GetSystemMetrics(SM_CXSIZE), ih = ::GetSystemMetrics(SM_CYSIZE);
    }
    objects_.LayoutStrip(geometry_, iw, ih);
}

void TmnMantle::Relayout(int w, int h, TRegionRedraw redraw) {
    formWidth_ = w, formHeight_ = h;
    if (!skinned_) return;
    geometry_ = ComputeFrameGeometry(*skinData_, skinData_->Picture().Width, skinData_->Picture().Height, w, h);
    LayoutObjects();
    UpdateRegion(true, redraw);
}

void TmnMantle::UpdateRegion(bool rebuild, TRegionRedraw redraw) {
    if (!form_.HandleAllocated()) return;
    HWND window = form_.Handle();
    // A hidden window gets its region when it is shown: Shown lays it out again.
    if (shownWindow_ != window && !::IsWindowVisible(window)) return;
    if (!region_) region_ = std::make_unique<TmnFrameRegion>();
    const bool hasMask = skinned_ && !skinData_->Mask().Empty();
    TRegionHandle next;
    if (hasMask && DrawsFrame()) {
        next = rebuild ? BuildFrameRegion() : RegionFromData(MaskToRegionData(pictures_.Get(skinData_->Mask()), 0, 0));
    } else {
        region_->Clear();
        if (skinned_ && IsOSVersion6OrLater() && DrawsFrame()) next.Reset(::CreateRectRgn(0, 0, formWidth_, formHeight_));
    }
    if (next) {
        // A hidden window is painted when it is shown. Otherwise the region only moves the
        // frame's edges: unless the caller repaints everything itself, the frame alone is
        // painted again (not the whole window twice).
        const bool shown = ::IsWindowVisible(window) != FALSE;
        if (!shown || redraw == rrWhole) {
            SetWindowRegion(window, std::move(next), shown);
        } else if (SetWindowRegionRepainting(window, std::move(next)) && redraw == rrFrame) {
            ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
        }
    } else {
        SetWindowRegion(window, {}, true);
        NcPaint();
    }
    if (skinned_ && (skinData_->StretchEffect || skinData_->MDIBgStretchEffect) && rebuild) {
        if (!IsMDIFrame()) ::InvalidateRect(window, nullptr, TRUE);
        for (int i = 0; i < form_.ControlCount(); ++i)
            if (form_.Controls(i)->HandleAllocated()) ::SendMessageW(form_.Controls(i)->Handle(), MSG_PARENT_BG_CHANGED, 0, 0);
    }
}

TRegionHandle TmnMantle::BuildFrameRegion() {
    const int pw = skinData_->Picture().Width, ph = skinData_->Picture().Height;
    const TmnFitSize fit = FrameFitSize(*skinData_, pw, ph), ends = FoldFarParts(*skinData_, pw, ph);
    const int w = formWidth_, h = formHeight_;
    if (w >= fit.Width && h >= fit.Height) return region_->Build(*skinData_, geometry_, w, h, pictures_);
    // Smaller than the frame's parts: the outline of the smallest frame that holds them, folded
    // at its middle like the frame's picture.
    const int W = std::max(w, fit.Width), H = std::max(h, fit.Height);
    const TRegionHandle full = region_->Build(*skinData_, ComputeFrameGeometry(*skinData_, pw, ph, W, H), W, H, pictures_);
    if (!full) return {};
    TRegionHandle folded(::CreateRectRgn(0, 0, 0, 0));
    for (const TmnFoldPart& part : FoldParts(w, h, fit.Width, fit.Height, ends.Width, ends.Height)) {
        const TSkinRect& r = part.Source;
        TRegionHandle piece(::CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
        ::CombineRgn(piece.Get(), piece.Get(), full.Get(), RGN_AND);
        ::OffsetRgn(piece.Get(), part.Dx, part.Dy);
        ::CombineRgn(folded.Get(), folded.Get(), piece.Get(), RGN_OR);
    }
    return folded;
}

RECT TmnMantle::ClientRectInWindow() const {
    if (skinned_) return {geometry_.NewClientRect.Left, geometry_.NewClientRect.Top, geometry_.NewClientRect.Right, geometry_.NewClientRect.Bottom};
    const int caption = 19;
    return {3, caption + 3, formWidth_ - 3, formHeight_ - 3};
}

void TmnMantle::NcPaint() {
    // A hidden window's frame is painted when it is shown.
    if (!form_.HandleAllocated() || IsLoading() || !::IsWindowVisible(form_.Handle())) return;
    ::SendMessageW(form_.Handle(), WM_NCPAINT, 1, 0);
}

bool TmnMantle::PaintFrame(HDC dc) {
    if (!DrawsFrame() || !dc) return false;
    if (skinned_) {
        if (!framePainter_) framePainter_ = std::make_unique<TmnSkinnedFramePainter>();
        const int pw = skinData_->Picture().Width, ph = skinData_->Picture().Height;
        const TmnFitSize fit = FrameFitSize(*skinData_, pw, ph), ends = FoldFarParts(*skinData_, pw, ph);
        const int w = formWidth_, h = formHeight_;
        if (w < fit.Width || h < fit.Height) {
            // Smaller than the frame's parts: the frame of the smallest size that holds them,
            // folded at its middle, so every edge and corner is still drawn.
            const int W = std::max(w, fit.Width), H = std::max(h, fit.Height);
            TBitmap full(W, H);
            formWidth_ = W, formHeight_ = H;
            geometry_ = ComputeFrameGeometry(*skinData_, pw, ph, W, H);
            LayoutObjects();
            framePainter_->Paint(full.Canvas().Handle(), *skinData_, geometry_, W, H, IsFormActive(), objects_, pictures_);
            for (const TmnFoldPart& part : FoldParts(w, h, fit.Width, fit.Height, ends.Width, ends.Height)) {
                const TSkinRect& r = part.Source;
                ::BitBlt(dc, r.Left + part.Dx, r.Top + part.Dy, r.Width(), r.Height(), full.Canvas().Handle(), r.Left,
                         r.Top, SRCCOPY);
            }
            formWidth_ = w, formHeight_ = h;
        }
        geometry_ = ComputeFrameGeometry(*skinData_, pw, ph, w, h);
        LayoutObjects();
        if (w >= fit.Width && h >= fit.Height)
            framePainter_->Paint(dc, *skinData_, geometry_, w, h, IsFormActive(), objects_, pictures_);
        return true;
    }
    if (skinChanging_) return false;
    if (objects_.Count() == 0) {
        objects_.CreateUnskinned();
        ApplyButtonVisibility();
    }
    int iw = 0, ih = 0;
    if (showIcon_) iw = ::GetSystemMetrics(SM_CXSMICON), ih = ::GetSystemMetrics(SM_CYSMICON);
    const TmnBuiltInFrame f = objects_.LayoutBuiltIn(formWidth_, formHeight_, ToolWindowFrame(), iw, ih);
    TmnBuiltInCaption caption;
    caption.Text = CaptionText();
    if (String child = MaximizedChildCaption(); !child.empty()) caption.Text += L" - [" + child + L"]";
    caption.Active = IsFormActive();
    caption.Font = caption.Active ? &defCaptionFont_ : &defInactiveCaptionFont_;
    if (OnCaptionPaint) caption.Paint = OnCaptionPaint;
    PaintBuiltInFrame(dc, f, formWidth_, formHeight_, caption, objects_, pictures_);
    return true;
}

void TmnMantle::PaintBackground(HDC dc, bool mdiClient) {
    HWND window = mdiClient ? form_.ClientHandle() : form_.Handle();
    RECT cr;
    ::GetClientRect(window, &cr);
    TCanvas canvas(dc);
    auto plain = [&](TColor colour) {
        canvas.Brush().SetColor(colour);
        canvas.FillRect(cr);
    };
    bool drawn = false;
    if (skinned_) {
        const TmnSkinFormInfo& info = *skinData_;
        const TBitmapData* picture = nullptr;
        TSkinRect src;
        bool stretch = info.StretchEffect;
        TStretchType type = info.StretchType;
        if (mdiClient && info.MDIBgPictureIndex != -1) {
            picture = skinData_->ActivePicture(info.MDIBgPictureIndex);
            stretch = info.MDIBgStretchEffect, type = info.MDIBgStretchType;
        } else if (info.BgPictureIndex != -1) {
            picture = skinData_->ActivePicture(info.BgPictureIndex);
        } else {
            picture = &skinData_->Picture();
            src = info.ClientRect;
        }
        if (picture && !picture->Empty()) {
            if (src.IsEmpty() && !(picture == &skinData_->Picture())) src = {0, 0, picture->Width, picture->Height};
            src = ImageInPicture(src, picture->Width, picture->Height);
        }
        if (picture && !src.IsEmpty()) {
            const TmnBackgroundPlan plan = BackgroundPlan({src.Width(), src.Height(), formWidth_, formHeight_,
                                                           cr.right - cr.left, cr.bottom - cr.top, stretch, type});
            if (!plan.Empty()) {
                PaintBackgroundPlan(dc, plan, pictures_.Get(*picture), src, mdiClient ? mdiTileBrush_ : tileBrush_);
                drawn = true;
            }
        }
    }
    if (!drawn) plain(mdiClient ? clAppWorkSpace : clBtnFace);
    if (!logo_.Empty()) {
        const TSkinPoint at = LogoPosition(cr.right - cr.left, cr.bottom - cr.top, logo_.Width(), logo_.Height());
        logo_.SetTransparent(LogoBitMapTransparent);
        canvas.Draw(at.X, at.Y, logo_);
    }
}

void TmnMantle::RedrawObject(TmnActiveSkinObject& object) {
    if (!form_.HandleAllocated() || !DrawsFrame()) return;
    if (!skinned_) {
        NcPaint();
        return;
    }
    if (object.ObjectRect.IsEmpty()) return;
    TWindowDC dc(form_.Handle(), true);
    if (!dc) return;
    TCanvas canvas(dc.Get());
    TmnGdiObjectPainter painter(canvas, pictures_);
    object.Draw(painter, true);
}

void TmnMantle::DrawFormIcon(TmnObjectPainter& painter, int x, int y) {
    TCanvas* canvas = painter.Canvas(0);
    if (!canvas) return;
    int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    if (w == 0 || h == 0) w = ::GetSystemMetrics(SM_CXSIZE), h = ::GetSystemMetrics(SM_CYSIZE);
    if (!iconCopy_) {
        HICON icon = form_.HandleAllocated()
                         ? reinterpret_cast<HICON>(::SendMessageW(form_.Handle(), WM_GETICON, ICON_SMALL, 0))
                         : nullptr;
        if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(form_.Handle(), GCLP_HICONSM));
        if (!icon) icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        if (!icon) icon = ::LoadIconW(nullptr, IDI_APPLICATION);
        iconCopy_.Reset(static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, w, h, 0)));
    }
    if (iconCopy_) ::DrawIconEx(canvas->Handle(), x, y, iconCopy_.Get(), w, h, 0, nullptr, DI_NORMAL);
}

void TmnMantle::CaptionPaint(TmnObjectPainter& painter, int target, const TSkinRect& r, bool active) {
    TCanvas* canvas = painter.Canvas(target);
    if (OnCaptionPaint && canvas) OnCaptionPaint(*canvas, RECT{r.Left, r.Top, r.Right, r.Bottom}, active);
}

void TmnMantle::PaintEvent(const String& idName, TmnObjectPainter& painter, const TSkinRect& r) {
    TCanvas* canvas = painter.Canvas(0);
    if (OnPaintEvent && canvas) OnPaintEvent(idName, *canvas, r);
}

int TmnMantle::HitTest(int x, int y) {
    TmnHitState s;
    s.Width = formWidth_, s.Height = formHeight_;
    s.RolledUp = state_.RolledUp;
    s.Minimized = state_.State == swsMinimized;
    s.Maximized = state_.State == swsMaximized;
    s.Resizable = Resizable();
    s.InSizeMove = inSizeMove_;
    const int under = objects_.ObjectAt(x, y);
    s.ObjectActive = under != -1 && !dynamic_cast<TmnSkinCaptionObject*>(objects_.Object(under));
    if (!skinned_) {
        int iw = 0, ih = 0;
        if (showIcon_) iw = ::GetSystemMetrics(SM_CXSMICON), ih = ::GetSystemMetrics(SM_CYSMICON);
        const TmnBuiltInFrame f = objects_.LayoutBuiltIn(formWidth_, formHeight_, ToolWindowFrame(), iw, ih);
        return BuiltInHitTest(f, s, x, y);
    }
    s.BorderWidth = skinData_->BorderWidth;
    auto onCaption = [this](int px, int py) {
        const int i = objects_.ObjectAt(px, py);
        return i != -1 && dynamic_cast<TmnSkinCaptionObject*>(objects_.Object(i)) != nullptr;
    };
    TmnMaskPixel black;
    if (!skinData_->Mask().Empty() && region_ && !region_->Empty())
        black = [this](TmnMaskStrip strip, int px, int py) { return region_->Black(strip, px, py); };
    return SkinnedHitTest(geometry_, s, x, y, onCaption, black);
}

std::optional<LRESULT> TmnMantle::FrameMessages(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
    switch (msg) {
    case WM_SETTEXT: {
        const LRESULT r = next(msg, wParam, lParam);
        if (DrawsFrame()) NcPaint();
        if (IsMDIChild()) {
            if (TmnMantle* frame = FrameMantle()) {
                if (frame->mdiTabsBar_) frame->mdiTabsBar_->DrawTab(&form_);
                if (state_.State == swsMaximized) frame->NcPaint();
            }
            UpdateWindowListCaption();
        }
        return r;
    }

    case WM_ERASEBKGND:
        if (IsMDIFrame()) return next(msg, wParam, lParam);
        PaintBackground(reinterpret_cast<HDC>(wParam), false);
        return 1;

    case WM_SETCURSOR:
        if (UseFormCursorInNCArea) {
            WORD code = LOWORD(lParam);
            if (code != HTCLIENT && !(code >= HTLEFT && code <= HTBOTTOMRIGHT)) code = HTCLIENT;
            lParam = MAKELPARAM(code, HIWORD(lParam));
        }
        return next(msg, wParam, lParam);

    case WM_NCCALCSIZE: {
        if (!DrawsFrame()) return 0;
        RECT& r = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
        if (!skinned_) {
            const int b = TmnBuiltInFrame::Border;
            r.left += b, r.top += BuiltInCaptionHeight() + b, r.right -= b, r.bottom -= b;
        } else {
            const TSkinRect& cl = skinData_->ClientRect;
            r.left += cl.Left, r.top += cl.Top;
            r.right += cl.Right - skinData_->Picture().Width;
            r.bottom += cl.Bottom - skinData_->Picture().Height;
        }
        if (r.right < r.left) r.right = r.left;
        if (r.bottom < r.top) r.bottom = r.top;
        return 0;
    }

    case WM_NCHITTEST: {
        const TSkinPoint p = ToWindow({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        const int code = HitTest(p.X, p.Y);
        if (code == htObject && !(timers_ && timers_->Running(TmnObjectTimer::Mouse))) {
            TrackMouse(p.X, p.Y, true);
            StartTimer(TmnObjectTimer::Mouse);
        }
        return code;
    }

    case WM_NCPAINT: {
        if (!DrawsFrame()) return 0;
        TWindowDC dc(window, true);
        PaintFrame(dc.Get());
        return 0;
    }

    case WM_SYNCPAINT:
        if (state_.RolledUp) {
            NcPaint();
            return 0;
        }
        return next(msg, wParam, lParam);

    case MSG_PAINT_FRAME:
        if (lParam != MSG_PAINT_FRAME_MAGIC) return next(msg, wParam, lParam);
        if (!wParam) return 0;
        {
            HDC dc = reinterpret_cast<HDC>(wParam);
            const int saved = ::SaveDC(dc);
            const bool painted = PaintFrame(dc);
            ::RestoreDC(dc, saved);
            return painted ? MSG_PAINT_FRAME_MAGIC : 0;
        }
    default:
        return std::nullopt;
    }
}

}  // namespace fn
