#include "skin/menus/skin_menu_item_win.h"

#include <algorithm>

#include "platform/win/gdi.h"
#include "platform/win/image_list.h"
#include "skin/data/skin_data.h"
#include "skin/menus/popup_layout.h"
#include "skin/menus/skin_menu_win.h"
#include "skin/menus/skin_popup_window_win.h"
#include "skin/paint/effects.h"
#include "skin/paint/glyphs_win.h"

namespace fn {

namespace {

constexpr TColor UnskinnedFrameColor = 0x800000, UnskinnedHoverColor = 0xD2BDB6;

RECT ToRect(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

bool InsidePicture(const TSkinRect& r, const TBitmap* picture) {
    return picture && !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= picture->Width() &&
           r.Bottom <= picture->Height();
}

// The sub-menu arrow: four lines of 7, 5, 3 and 1 pixels, pointing right.
void DrawSubMenuGlyph(TCanvas& c, int x, int y, TColor color) {
    c.Pen().SetColor(color);
    for (int i = 0; i <= 3; ++i) {
        c.MoveTo(x + i, y + i);
        c.LineTo(x + i, y + 7 - i);
    }
}

// A checked radio item: a filled 6 x 6 dot, one pixel below the middle of the 8 x 8 glyph box.
void DrawRadioGlyph(TCanvas& c, int x, int y, TColor color) {
    c.Pen().SetColor(color);
    c.Brush().SetColor(color);
    TSelectObject pen(c.Handle(), c.Pen().Handle()), brush(c.Handle(), c.Brush().Handle());
    ::Ellipse(c.Handle(), x + 1, y + 2, x + 7, y + 8);
}

}  // namespace

TmnSkinMenuItem::TmnSkinMenuItem(TmnSkinPopupWindow& parent, TMenuItem* menuItem)
    : Parent(parent), Record(parent.ItemRecord), ActivePicture(parent.ItemPicture()), MenuItem(menuItem) {}

bool TmnSkinMenuItem::HasSubItems() const { return MenuItem && MenuItem->Count() > 0; }

bool TmnSkinMenuItem::MorphingEnabled() const {
    const TmnSkinData* skin = Parent.ParentMenu.Skin();
    return Record && Record->Morphing && skin && skin->EnableSkinEffects() && ActivePicture &&
           InsidePicture(Record->SkinRect, ActivePicture) && InsidePicture(Record->ActiveSkinRect, ActivePicture);
}

int TmnSkinMenuItem::FrameCount() const {
    if (!Record || Record->FrameCount <= 0 || !InsidePicture(Record->AnimateSkinRect, ActivePicture)) return 0;
    const TSkinRect& a = Record->AnimateSkinRect;
    const bool stacked = a.Height() > Record->SkinRect.Height();
    // Every frame at least one pixel: never more frames than the strip holds.
    return std::min(Record->FrameCount, stacked ? a.Height() : a.Width());
}

bool TmnSkinMenuItem::AnimationEnabled() const {
    const TmnSkinData* skin = Parent.ParentMenu.Skin();
    return skin && skin->EnableSkinEffects() && FrameCount() > 0;
}

UINT TmnSkinMenuItem::AnimateInterval() const {
    const int ms = Record ? Record->AnimateInterval : 25;
    return static_cast<UINT>(std::clamp(ms, 10, 1000));
}

void TmnSkinMenuItem::Draw(TCanvas& canvas) {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    const HDC dc = canvas.Handle();
    TSavedDC saved(dc);
    ::IntersectClipRect(dc, ObjectRect.Left, ObjectRect.Top, ObjectRect.Right, ObjectRect.Bottom);
    ::SetViewportOrgEx(dc, ObjectRect.Left, ObjectRect.Top, nullptr);
    if (Record) DrawSkinned(canvas, w, h);
    else DrawUnskinned(canvas, w, h);
}

void TmnSkinMenuItem::DrawStateImage(HDC dc, int w, bool active) {
    const TSkinRect& r = active ? Record->ActiveSkinRect : Record->SkinRect;
    if (!InsidePicture(r, ActivePicture)) return;
    TBitmap& strip = Parent.ItemStrip(r, Record->ItemLeftOffset, Record->ItemRightOffset, w,
                                      active ? Record->StretchEffect : Record->InactiveStretchEffect);
    ::BitBlt(dc, 0, 0, strip.Width(), strip.Height(), strip.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TmnSkinMenuItem::DrawSkinned(TCanvas& c, int w, int h) {
    const HDC dc = c.Handle();
    if (IsSeparator()) {
        if (!InsidePicture(Record->DividerRect, ActivePicture)) return;
        TBitmap& strip = Parent.ItemStrip(Record->DividerRect, Record->DividerLeftOffset, Record->DividerRightOffset, w,
                                          Record->DividerStretchEffect);
        ::BitBlt(dc, 0, 0, strip.Width(), strip.Height(), strip.Canvas().Handle(), 0, 0, SRCCOPY);
        return;
    }
    const bool active = Active || Down;
    const int frames = AnimationEnabled() ? FrameCount() : 0;
    if (frames > 0 && CurrentFrame >= 1 && CurrentFrame <= frames) {
        const TSkinRect f =
            AnimationFrameRect(Record->AnimateSkinRect, Record->SkinRect.Height(), frames, CurrentFrame);
        TBitmap& strip = Parent.ItemStrip(f, Record->ItemLeftOffset, Record->ItemRightOffset, w,
                                          Record->StretchEffect && !Record->InactiveStretchEffect);
        ::BitBlt(dc, 0, 0, strip.Width(), strip.Height(), strip.Canvas().Handle(), 0, 0, SRCCOPY);
    } else if (MorphingEnabled() && MorphFactor > 0 && MorphFactor < 1) {
        TBitmap normal(w, h), hover(w, h);
        ::BitBlt(normal.Canvas().Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
        ::BitBlt(hover.Canvas().Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
        DrawStateImage(normal.Canvas().Handle(), w, false);
        DrawStateImage(hover.Canvas().Handle(), w, true);
        TmnEffectBmp a = TmnEffectBmp::CreateFromBitmap(normal.Handle());
        TmnEffectBmp b = TmnEffectBmp::CreateFromBitmap(hover.Handle());
        ApplyMorph(a, static_cast<int>(Record->MorphKind), b, MorphFactor);
        a.Draw(dc, 0, 0);
    } else {
        DrawStateImage(dc, w, active);
    }
    RECT t = ToRect(Record->TextRect);
    t.right += w - Record->SkinRect.Width();
    const int column = !Record->ImageRect.IsEmpty() ? 0 : Parent.ImageList() ? Parent.GlyphWidth : Parent.Px(16);
    const TColor color = active ? Record->ActiveFontColor
                                : (Enabled() ? Record->FontColor : Record->UnenabledFontColor);
    DrawContent(c, t, column, color, true);
}

void TmnSkinMenuItem::DrawUnskinned(TCanvas& c, int w, int h) {
    const int column = Parent.GlyphWidth;
    if (IsSeparator()) {
        c.Brush().SetColor(clBtnFace);
        c.FillRect({0, 0, column, h});
        c.Brush().SetColor(clWindow);
        c.FillRect({column, 0, w, h});
        c.Pen().SetColor(clGrayText);
        c.MoveTo(column, h / 2);
        c.LineTo(w, h / 2);
        return;
    }
    const bool active = Active || Down;
    if (active) {
        c.Brush().SetColor(UnskinnedHoverColor);
        c.FillRect({0, 0, w, h});
        c.Brush().SetColor(UnskinnedFrameColor);
        c.FrameRect({0, 0, w, h});
    } else {
        c.Brush().SetColor(clBtnFace);
        c.FillRect({0, 0, column, h});
        c.Brush().SetColor(clWindow);
        c.FillRect({column, 0, w, h});
    }
    const TColor color = (active || Enabled()) ? clWindowText : clGrayText;
    DrawContent(c, {0, 0, w, h}, column, color, false);
}

SIZE TmnSkinMenuItem::ImageSize() const {
    if (MenuItem->HasBitmap()) return {MenuItem->Bitmap().Width(), MenuItem->Bitmap().Height()};
    const TImageList* images = Parent.ImageList();
    const int index = MenuItem->ImageIndex();
    if (images && index >= 0 && index < images->Count()) return {images->Width(), images->Height()};
    return {0, 0};
}

bool TmnSkinMenuItem::DrawImage(TCanvas& c, int x, int middle, TColor color, bool skinned) {
    const SIZE size = ImageSize();
    if (size.cx <= 0 || size.cy <= 0) return false;
    int y = middle - size.cy / 2;
    if (skinned && !Record->ImageRect.IsEmpty()) {
        const TSkinRect& r = Record->ImageRect;
        x = r.Left + (r.Width() - size.cx) / 2;
        y = r.Top + (r.Height() - size.cy) / 2;
    }
    if (MenuItem->HasBitmap()) {
        // The bitmap's bottom-left colour is its background.
        TBitmap& b = MenuItem->Bitmap();
        const HDC source = b.Canvas().Handle();
        ::TransparentBlt(c.Handle(), x, y, size.cx, size.cy, source, 0, 0, size.cx, size.cy,
                         ::GetPixel(source, 0, size.cy - 1));
    } else {
        Parent.ImageList()->Draw(c, x, y, MenuItem->ImageIndex(), Enabled());
    }
    if (MenuItem->Checked()) {
        c.Brush().SetColor(color);
        c.FrameRect({x - 1, y - 1, x + size.cx + 1, y + size.cy + 1});
    }
    return true;
}

void TmnSkinMenuItem::DrawContent(TCanvas& c, const RECT& t, int column, TColor color, bool skinned) {
    const HDC dc = c.Handle();
    if (MenuItem->OnDrawItem) {
        // The program draws the item itself; nothing else is drawn.
        MenuItem->OnDrawItem(this, c, t, Active || Down);
        return;
    }
    // The window's font, made once per window, selected for the texts only.
    TSelectObject font(dc, Parent.Font().Handle());
    ::SetTextColor(dc, ColorToColorRef(color));
    ::SetBkMode(dc, TRANSPARENT);
    const bool rtl = Parent.ParentMenu.MenuOwner() && Parent.ParentMenu.MenuOwner()->MenuRightToLeft();
    const UINT flags = DT_SINGLELINE | DT_VCENTER | (rtl ? DT_RTLREADING | DT_RIGHT : DT_LEFT);
    // Offsets are at 96 dpi, taken to the menu's scale.
    const int dpi = Parent.Dpi();
    // Skinned: the text rectangle and glyph column; unskinned: the whole item with 2-pixel margins.
    const int left = skinned ? t.left + column : Parent.Px(2) + column;
    const int right = skinned ? t.right - Parent.Px(16) : t.right - Parent.Px(2 + 19);
    RECT captionRect{left, t.top, right, t.bottom};
    String caption = MenuItem->Caption();
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &captionRect, flags);
    if (MenuItem->ShortCut()) {
        String shortcut = ShortCutToText(MenuItem->ShortCut());
        RECT r{left, t.top, right, t.bottom};
        ::DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &r,
                    DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    const int middle = (t.top + t.bottom) / 2;
    if (HasSubItems()) {
        const int x = t.right - Parent.Px(skinned ? 7 : 2 + 7);
        DrawGlyphAtDpi(c, DrawSubMenuGlyph, x, middle - Parent.Px(4), color, dpi);
    }
    TColor glyphColor = color;
    if (skinned && Record->UseImageColor) glyphColor = (Active || Down) ? Record->ActiveImageColor : Record->ImageColor;
    int gx = skinned ? t.left + Parent.Px(2) : Parent.Px(4), gy = middle - Parent.Px(4);
    if (skinned && !Record->ImageRect.IsEmpty()) {
        gx = (Record->ImageRect.Left + Record->ImageRect.Right) / 2 - Parent.Px(4);
        gy = (Record->ImageRect.Top + Record->ImageRect.Bottom) / 2 - Parent.Px(4);
    }
    if (DrawImage(c, skinned ? t.left + Parent.Px(2) : Parent.Px(4), middle, color, skinned)) return;
    const String& name = MenuItem->Name();
    TGlyphDraw glyph = nullptr;
    if (name == L"MTL_CLOSE" || name == L"TRAY_MTL_CLOSE") glyph = DrawCloseGlyph;
    else if (name == L"MTL_MINITEM") glyph = DrawMinimizeGlyph;
    else if (name == L"MTL_MAXITEM") glyph = DrawMaximizeGlyph;
    else if (name == L"MTL_RESTORE" || name == L"TRAY_MTL_RESTORE") glyph = DrawRestoreGlyph;
    else if (name == L"MTL_ROLLUP") glyph = DrawRollUpGlyph;
    else if (name == L"MTL_MINTOTRAY") glyph = DrawTrayGlyph;
    else if (MenuItem->Checked()) glyph = MenuItem->RadioItem() ? DrawRadioGlyph : DrawCheckGlyph;
    if (glyph) DrawGlyphAtDpi(c, glyph, gx, gy, glyphColor, dpi);
}

}  // namespace fn
