// The menu bar's layout and painting: where the child buttons, the items and the overflow
// marker stand, the bar's background, and the objects drawn into the buffer.
#include "skin/form/main_menu_bar_win.h"

#include "skin/paint/glyphs_win.h"
#include "skin/paint/images_win.h"
#include "skin/paint/parent_background_win.h"

namespace fn {

// ---- layout and painting ----

void TmnSkinMainMenuBar::Layout() {
    const TMenuBarGeometry g{Skinned(), record_ ? record_->SkinRect : TSkinRect{},
                             record_ ? record_->ItemsRect : TSkinRect{}};
    TSkinRect area = MenuBarItemsArea(g, Width(), Height());
    if (ButtonCount > 0) {
        std::vector<TMenuBarSize> sizes;
        for (int i = 0; i < ButtonCount; ++i) {
            const auto& b = static_cast<const TmnSkinMainMenuBarButton&>(*Objects[static_cast<size_t>(i)]);
            if (b.SkinSupport && b.Picture) sizes.push_back({b.SkinRect.Width(), b.SkinRect.Height()});
            else sizes.push_back({area.Height(), area.Height()});
        }
        const std::vector<TSkinRect> rects = PlaceMenuBarButtons(area, sizes);
        for (int i = 0; i < ButtonCount; ++i) Objects[static_cast<size_t>(i)]->ObjectRect = rects[static_cast<size_t>(i)];
    }
    ItemsArea = area;

    TMenuBarItemMetrics m;
    if (itemRecord_) m = {true, itemRecord_->SkinRect.Width(), itemRecord_->SkinRect.Height(), itemRecord_->TextRect.Width()};
    std::vector<int> widths;
    TCanvas& c = measure_.Canvas();
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        SelectItemFont(c, item);
        c.PrepareText();
        RECT r{0, 0, 0, 0};
        if (item.MenuItem) ::DrawTextW(c.Handle(), item.MenuItem->Caption().c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
        widths.push_back(r.right - r.left);
    }
    const TMenuBarItemsPlan plan = LayoutMenuBarItems(area, m, widths, scrollMenu_);
    marker_ = plan.Marker;
    Overflow = plan.Overflow;
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        item.ObjectRect = plan.Rects[static_cast<size_t>(i)];
        const bool fits = plan.Fits[static_cast<size_t>(i)];
        if (!fits && item.Fits) {
            // Hidden: not reachable by mouse or keyboard until it fits again.
            item.SavedEnabled = item.Enabled;
            item.Enabled = false;
            item.Fits = false;
        } else if (fits && !item.Fits) {
            item.Enabled = item.SavedEnabled;
            item.Fits = true;
        }
    }
    if (!Overflow && MarkerActive) MarkerActive = false;
}

void TmnSkinMainMenuBar::PaintBackground(TBitmap& buffer) {
    TCanvas& c = buffer.Canvas();
    c.Brush().SetColor(clBtnFace);
    c.FillRect({0, 0, buffer.Width(), buffer.Height()});
    if (!Skinned()) return;
    if (Skin() && Skin()->MainMenuBarTransparent) {
        DrawParentBackground(this, c);
        return;
    }
    const TBitmapData* picture = MenuBarPicture(Skin(), record_->PictureIndex);
    if (!picture || record_->SkinRect.IsEmpty()) return;
    // The strip's parts are copied straight into the buffer: no bitmap of its own to keep.
    DrawPlan(buffer, pictures_.Get(*picture),
             HStripPlan(record_->ItemsRect.Left, record_->SkinRect.Width() - record_->ItemsRect.Right, record_->SkinRect,
                        buffer.Width(), record_->StretchEffect));
}

void TmnSkinMainMenuBar::DrawMarker(TCanvas& canvas) {
    TColor color;
    if (Skinned()) color = MarkerActive ? record_->TrackMarkActiveColor : record_->TrackMarkColor;
    else color = MarkerActive ? clBtnText : clGrayText;
    DrawArrowGlyph(canvas, MenuBarRect(marker_), color, 2, ShownDpi());
}

void TmnSkinMainMenuBar::Paint(HDC dc) {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1) return;
    if (buffer_.Width() != w || buffer_.Height() != h) buffer_.SetSize(w, h);
    PaintBackground(buffer_);
    Layout();
    for (const auto& object : Objects) {
        TmnSkinMainMenuBarItem* item = object->AsItem();
        if (object->Visible && (!item || item->Fits)) object->Draw(buffer_);
    }
    if (Overflow && scrollMenu_) DrawMarker(buffer_.Canvas());
    ::BitBlt(dc, 0, 0, w, h, buffer_.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TmnSkinMainMenuBar::RedrawObject(TmnMenuBarObject& object) {
    if (!handle_) return;
    TmnSkinMainMenuBarItem* item = object.AsItem();
    if ((item && ItemTransparent()) || buffer_.Width() != Width() || buffer_.Height() != Height()) {
        // What lies under a transparent item is only known to a whole repaint.
        Invalidate();
        return;
    }
    if (!object.Visible || (item && !item->Fits)) return;
    object.Draw(buffer_);
    const RECT r = MenuBarRect(object.ObjectRect);
    if (HDC dc = ::GetDC(handle_)) {
        ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, buffer_.Canvas().Handle(), r.left, r.top, SRCCOPY);
        ::ReleaseDC(handle_, dc);
    }
}

}  // namespace fn
