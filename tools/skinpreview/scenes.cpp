#include "tools/skinpreview/scenes.h"

#include <algorithm>

#include "skin/paint/rects.h"
#include "skin/paint/text_fit.h"

namespace fn::preview {

struct SkinPreview::Object {
    const TmnDataSkinObject* record = nullptr;
    const TmnDataSkinCaption* caption = nullptr;   // set for the caption object
    const TmnDataSkinButton* button = nullptr;     // set for buttons and standard buttons
    int command = cmDefault;                       // standard buttons
    TSkinRect rect;                                // ObjectRect in window coordinates
};

namespace {

bool InsideZone(const TSkinRect& r, const TSkinRect& z) {
    return r.Left >= z.Left && r.Top >= z.Top && r.Right <= z.Right && r.Bottom <= z.Bottom;
}

bool PointInZone(int x, int y, const TSkinRect& z) {
    return z.Left <= x && x < z.Right && z.Top <= y && y < z.Bottom;
}

// One-pixel line from (x0, y0) towards (x1, y1), end point excluded, as the platform draws it.
void PenLine(Image& img, int x0, int y0, int x1, int y1, Colour c) {
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx - dy;
    while (x0 != x1 || y0 != y1) {
        Fill(img, {x0, y0, x0 + 1, y0 + 1}, c);
        const int e2 = 2 * err;
        if (e2 > -dy) err -= dy, x0 += sx;
        if (e2 < dx) err += dx, y0 += sy;
    }
}

void CheckGlyph(Image& img, int x, int y, Colour c) {
    for (int i = 0; i < 3; ++i) {
        PenLine(img, x, y + 5 - i, x + 2, y + 7 - i, c);
        PenLine(img, x + 2, y + 7 - i, x + 7, y + 2 - i, c);
    }
}

// The frame of a record with corner points (the skin's form, a popup or hint window, a control)
// around the given client part.
template <class Record>
TFrameGeometry FrameOf(const Record& r, const TSkinRect& client) {
    return {r.LeftTopPoint, r.RightTopPoint, r.LeftBottomPoint, r.RightBottomPoint, client};
}

template <class Record>
TStretchFlags StretchOf(const Record& r) {
    return {r.LeftStretch, r.TopStretch, r.RightStretch, r.BottomStretch};
}

// The nine-part plan of a window or control record: frame g of the picture resized to n.
template <class Record>
TBlitPlan NinePartPlanOf(const Record& r, const TFrameGeometry& g, const TFrameGeometry& n, const TSkinRect& source,
                         int w, int h, bool drawClient) {
    return NinePartPlan(g, n, source, w, h, drawClient, StretchOf(r), r.StretchEffect, r.StretchType);
}

Image Morph(const Image& normal, const Image& hover, int kind, double k) {
    Image out(normal.Width, normal.Height);
    Draw(out, 0, 0, normal);
    ApplyMorph(out, kind, hover, k);
    return out;
}

}  // namespace

SkinPreview::SkinPreview(const TmnSkinData& skin, TextRenderer& text)
    : skin_(skin), text_(text), picture_(ImageFromBitmap(skin.Picture())), mask_(ImageFromBitmap(skin.Mask())) {
    for (const TBitmapData& bmp : skin.ActivePictures()) active_.push_back(ImageFromBitmap(bmp));
}

TSkinRect SkinPreview::MapByCorners(const TSkinRect& r, int dx, int dy) const {
    const int pw = picture_.Width, ph = picture_.Height;
    const TSkinRect lt{0, 0, skin_.LeftTopPoint.X, skin_.LeftTopPoint.Y};
    const TSkinRect rt{skin_.RightTopPoint.X, 0, pw, skin_.RightTopPoint.Y};
    const TSkinRect lb{0, skin_.LeftBottomPoint.Y, skin_.LeftBottomPoint.X, ph};
    const TSkinRect rb{skin_.RightBottomPoint.X, skin_.RightBottomPoint.Y, pw, ph};
    if (InsideZone(r, lt)) return r;
    if (InsideZone(r, rt)) return MovedRect(r, dx, 0);
    if (InsideZone(r, lb)) return MovedRect(r, 0, dy);
    if (InsideZone(r, rb)) return MovedRect(r, dx, dy);
    auto in = [&](int x, int y, const TSkinRect& z) { return PointInZone(x, y, z); };
    const int l = r.Left, t = r.Top, ri = r.Right, b = r.Bottom;
    if (in(l, t, lt) && in(ri, b, rb)) return {l, t, ri + dx, b + dy};
    if (in(l, t, lt) && in(ri, b, rt)) return {l, t, ri + dx, b};
    if (in(l, t, lb) && in(ri, b, rb)) return {l, t + dy, ri + dx, b + dy};
    if (in(l, t, lt) && in(ri, b, lb)) return {l, t, ri, b + dy};
    if (in(l, t, rt) && in(ri, b, rb)) return {l + dx, t, ri + dx, b + dy};
    return r;
}

std::vector<SkinPreview::Object> SkinPreview::LayoutObjects(int dx, int dy) {
    std::vector<Object> objects;
    for (const auto& rec : skin_.SkinObjects()) {
        const TmnDataSkinObject* r = rec.get();
        if (dynamic_cast<const TmnDataSkinMenuItem*>(r) || dynamic_cast<const TmnDataSkinMainMenuItem*>(r) ||
            dynamic_cast<const TmnDataSkinMainMenuBarButton*>(r))
            continue;
        Object o;
        o.record = r;
        o.caption = dynamic_cast<const TmnDataSkinCaption*>(r);
        o.button = dynamic_cast<const TmnDataSkinButton*>(r);
        if (auto s = dynamic_cast<const TmnDataSkinStdButton*>(r)) o.command = s->Command;
        if (auto a = dynamic_cast<const TmnDataSkinAnimate*>(r)) o.command = a->Command;
        o.rect = r->SkinRectInAPicture ? r->SkinRect : MapByCorners(r->SkinRect, dx, dy);
        objects.push_back(o);
    }

    // The caption buttons cut from the active picture go into the button strip.
    const int pw = picture_.Width;
    TSkinRect buttons = skin_.ButtonsRect;
    if (!buttons.IsEmpty() && buttons.Left > pw / 2) buttons = MovedRect(buttons, dx, 0);
    TSkinRect caption = skin_.CaptionRect;
    if (!caption.IsEmpty()) caption.Right += dx;
    const TSkinRect strip = !buttons.IsEmpty() ? buttons : caption;
    Object* captionObject = nullptr;
    for (auto& o : objects)
        if (o.caption && !captionObject) captionObject = &o;
    if (strip.IsEmpty()) return objects;
    auto stripObject = [&](int command) -> Object* {
        for (auto& o : objects)
            if (o.record->SkinRectInAPicture && o.command == command &&
                (o.button || dynamic_cast<const TmnDataSkinAnimate*>(o.record)))
                return &o;
        return nullptr;
    };
    const int offset = skin_.ButtonsOffset;
    const int y = strip.Top;
    int x = skin_.ButtonsInLeft ? strip.Left : strip.Right;
    std::vector<Object*> row;
    for (int command : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        if (Object* o = stripObject(command)) row.push_back(o);
    for (auto& o : objects)
        if (o.record->SkinRectInAPicture && o.command == cmDefault &&
            (o.button || dynamic_cast<const TmnDataSkinAnimate*>(o.record)))
            row.push_back(&o);
    for (Object* o : row) {
        const int w = o->record->SkinRect.Width(), h = o->record->SkinRect.Height();
        if (skin_.ButtonsInLeft) {
            o->rect = {x, y, x + w, y + h};
            x += w + offset;
        } else {
            o->rect = {x - w, y, x, y + h};
            x -= w + offset;
        }
    }
    Object* sys = stripObject(cmSysMenu);
    if (!skin_.ButtonsInLeft) {
        if (buttons.IsEmpty() && captionObject) captionObject->rect.Right = x + offset;
        if (sys) {
            const int w = sys->record->SkinRect.Width(), h = sys->record->SkinRect.Height();
            const int t = caption.Top + (caption.Height() - h) / 2;
            sys->rect = {caption.Left, t, caption.Left + w, t + h};
            if (captionObject) captionObject->rect.Left = sys->rect.Right;
        }
    } else if (buttons.IsEmpty()) {
        if (sys) {
            const int w = sys->record->SkinRect.Width(), h = sys->record->SkinRect.Height();
            sys->rect = {x, y, x + w, y + h};
            x += w + offset;
        }
        if (captionObject) captionObject->rect.Left = x + offset;
    }
    return objects;
}

void SkinPreview::DrawObject(Image& target, int offsetY, const Object& o, bool active, ButtonLook look) {
    const TmnDataSkinObject& r = *o.record;
    const Image* ap = skin_.ActivePicture(r.ActivePictureIndex) ? &active_[r.ActivePictureIndex] : nullptr;
    const TSkinRect at = MovedRect(o.rect, 0, -offsetY);
    auto copy = [&](const Image& src, const TSkinRect& s) { CopyRect(target, at, src, s); };
    const bool hot = look != ButtonLook::Normal;
    if (ap && o.button && look == ButtonLook::Pressed && active && !o.button->DownRect.IsEmpty()) {
        copy(*ap, o.button->DownRect);
        return;
    }
    if (ap && !active && !r.InactiveSkinRect.IsEmpty()) {
        copy(*ap, r.InactiveSkinRect);
        return;
    }
    if (!hot || !ap || r.ActiveSkinRect.IsEmpty()) {
        if (r.SkinRectInAPicture && ap) copy(*ap, r.SkinRect);
        return;  // the frame picture already shows the normal image
    }
    copy(*ap, r.ActiveSkinRect);
}

void SkinPreview::DrawCaption(Image& target, int offsetY, const Object& o, bool active, const String& caption) {
    const TmnDataSkinCaption& c = *o.caption;
    if (caption.empty() || c.TextRect.IsEmpty()) return;
    TSkinRect area = c.TextRect;
    area.Right += o.rect.Width() - c.SkinRect.Width();
    const FontSpec font = Font(c.FontName, c.FontHeight, c.FontStyle);
    const String text =
        FitTextWithEllipsis(caption, area.Width(), [&](std::wstring_view s) { return text_.Width(font, String(s)); });
    const int tw = text_.Width(font, text), th = text_.Height(font);
    const int y = area.Top + area.Height() / 2 - th / 2 + o.rect.Top - offsetY;
    int x = area.Left;
    if (c.Alignment == taRightJustify) x = area.Right - tw;
    if (c.Alignment == taCenter) x = area.Left + area.Width() / 2 - tw / 2;
    x += o.rect.Left;
    if (c.Light) text_.Draw(target, x - 1, y - 1, font, text, FromSkinColor(active ? c.ActiveLightColor : c.LightColor));
    if (c.Shadow)
        text_.Draw(target, x + 1, y + 1, font, text, FromSkinColor(active ? c.ActiveShadowColor : c.ShadowColor));
    text_.Draw(target, x, y, font, text, FromSkinColor(active ? c.ActiveFontColor : c.FontColor));
}

void SkinPreview::ApplyFrameMask(Image& img, const Image& mask, const TFrameGeometry& g, const TFrameGeometry& n,
                                 const TSkinRect& inner) {
    if (mask.Empty()) return;
    const TBorderPlans strips = MaskStripPlans(g, n, mask.Width, mask.Height, img.Width);
    struct Placed {
        Image strip;
        int x, y;
    };
    Placed placed[4] = {{BuildImage(mask, strips.Top), 0, 0},
                        {BuildImage(mask, strips.Bottom), 0, inner.Bottom},
                        {BuildImage(mask, strips.Left), 0, inner.Top},
                        {BuildImage(mask, strips.Right), inner.Right, inner.Top}};
    for (int y = 0; y < img.Height; ++y)
        for (int x = 0; x < img.Width; ++x) {
            bool inside = PointInZone(x, y, inner);
            for (const Placed& p : placed) {
                if (inside || p.strip.Empty()) continue;
                const int sx = x - p.x, sy = y - p.y;
                if (sx < 0 || sy < 0 || sx >= p.strip.Width || sy >= p.strip.Height) continue;
                const uint8_t* m = p.strip.PixelPointer(sx, sy);
                inside = m[0] == 0 && m[1] == 0 && m[2] == 0;
            }
            if (!inside) Fill(img, {x, y, x + 1, y + 1}, Backdrop);
        }
}

Image SkinPreview::Frame(const FrameState& state) {
    const int pw = picture_.Width, ph = picture_.Height;
    const int w = state.width > 0 ? state.width : pw, h = state.height > 0 ? state.height : ph;
    const int dx = w - pw, dy = h - ph;
    const TFrameGeometry g = FrameOf(skin_, skin_.ClientRect);
    const TFrameGeometry n = ResizeGeometry(g, dx, dy);
    Image inactiveSource;
    if (!state.active && !skin_.InactivePicture().Empty()) inactiveSource = ImageFromBitmap(skin_.InactivePicture());
    const Image& source = inactiveSource.Empty() ? picture_ : inactiveSource;
    const TBorderPlans plans = BorderImagePlans(g, n, {0, 0, pw, ph}, w, h, StretchOf(skin_), 0, 0);
    Image top = BuildImage(source, plans.Top), bottom = BuildImage(source, plans.Bottom);
    Image left = BuildImage(source, plans.Left), right = BuildImage(source, plans.Right);

    for (const Object& o : LayoutObjects(dx, dy)) {
        const bool below = o.rect.Bottom > n.Cl.Top;
        Image& target = below ? bottom : top;
        const int offsetY = below ? n.Cl.Bottom : 0;
        if (target.Empty()) continue;
        if (o.caption) DrawCaption(target, offsetY, o, state.active, state.caption);
        else DrawObject(target, offsetY, o, state.active, state.look);
    }
    if (!state.active && skin_.AutoRenderingInactiveImage)
        for (Image* img : {&top, &bottom, &left, &right})
            if (!img->Empty()) ApplyInactiveEffect(*img, skin_.InactiveEffect);

    Image window(w, h);
    // The client background: the form's or the MDI client's tile, repeated from the client's corner.
    const int tileIndex = state.mdiFrame && skin_.MDIBgPictureIndex >= 0 ? skin_.MDIBgPictureIndex : skin_.BgPictureIndex;
    if (const TBitmapData* tile = skin_.ActivePicture(tileIndex)) {
        const Image& t = active_[tileIndex];
        for (int y = n.Cl.Top; y < n.Cl.Bottom; y += tile->Height)
            for (int x = n.Cl.Left; x < n.Cl.Right; x += tile->Width)
                CopyRect(window, {x, y, x + t.Width, y + t.Height}, t, {0, 0, t.Width, t.Height}, n.Cl);
    }
    Draw(window, 0, 0, top);
    Draw(window, 0, top.Height, left);
    Draw(window, w - right.Width, top.Height, right);
    Draw(window, 0, h - bottom.Height, bottom);

    TSkinRect maskArea = skin_.MaskRectArea;
    maskArea.Right += dx, maskArea.Bottom += dy;
    ApplyFrameMask(window, mask_, g, n, maskArea);
    return window;
}

Image SkinPreview::MorphMidpoints() {
    struct Row {
        Image normal, mid, hover;
    };
    std::vector<Row> rows;
    int width = 0, height = 0;
    for (const auto& rec : skin_.SkinObjects()) {
        const TmnDataSkinObject& r = *rec;
        const TBitmapData* apBmp = skin_.ActivePicture(r.ActivePictureIndex);
        if (!r.Morphing || !apBmp || r.ActiveSkinRect.IsEmpty()) continue;
        const Image& ap = active_[r.ActivePictureIndex];
        const bool fromActive = r.SkinRectInAPicture || dynamic_cast<const TmnDataSkinMenuItem*>(&r) ||
                                dynamic_cast<const TmnDataSkinMainMenuItem*>(&r) ||
                                dynamic_cast<const TmnDataSkinMainMenuBarButton*>(&r);
        Row row{Crop(fromActive ? ap : picture_, r.SkinRect), Image(), Image()};
        row.hover = Image(row.normal.Width, row.normal.Height);
        CopyRect(row.hover, {0, 0, row.hover.Width, row.hover.Height}, ap, r.ActiveSkinRect);
        row.mid = Morph(row.normal, row.hover, r.MorphKind, 0.5);
        width = std::max(width, 3 * row.normal.Width + 16);
        height += row.normal.Height + 4;
        rows.push_back(std::move(row));
    }
    Image out(std::max(width, 1), std::max(height, 1));
    Fill(out, {0, 0, out.Width, out.Height}, Backdrop);
    int y = 0;
    for (const Row& row : rows) {
        int x = 0;
        for (const Image* img : {&row.normal, &row.mid, &row.hover}) {
            Draw(out, x, y, *img);
            x += img->Width + 8;
        }
        y += row.normal.Height + 4;
    }
    return out;
}

Image SkinPreview::PopupMenu(const std::vector<MenuEntry>& entries, int selected) {
    const TmnDataSkinPopupWindow& pw = skin_.PopupWindow();
    const TmnDataSkinMenuItem* item = nullptr;
    for (const auto& rec : skin_.SkinObjects())
        if ((item = dynamic_cast<const TmnDataSkinMenuItem*>(rec.get()))) break;
    const TBitmapData* windowBmp = skin_.ActivePicture(pw.WindowPictureIndex);
    const TBitmapData* itemBmp = item ? skin_.ActivePicture(item->ActivePictureIndex) : nullptr;
    if (!windowBmp || !item || !itemBmp) return Image(1, 1);
    const Image& picture = active_[pw.WindowPictureIndex];
    const Image& itemPicture = active_[item->ActivePictureIndex];
    const FontSpec font = Font(item->FontName, item->FontHeight, item->FontStyle);
    constexpr int kGlyphWidth = 19;  // no image list

    int textWidth = 0, itemsHeight = 0;
    for (const MenuEntry& e : entries) {
        const bool separator = e.caption == L"-";
        itemsHeight += separator ? item->DividerRect.Height() : item->SkinRect.Height();
        if (!separator)
            textWidth = std::max(textWidth, text_.Width(font, e.shortcut.empty() ? e.caption : e.caption + L"  " + e.shortcut, true));
    }
    const int w = textWidth + 2 + kGlyphWidth + 19 + (picture.Width - pw.ItemsRect.Width()) +
                  (item->SkinRect.Width() - item->TextRect.Width());
    const int h = itemsHeight + picture.Height - pw.ItemsRect.Height();
    const TFrameGeometry g = FrameOf(pw, pw.ItemsRect);
    const TFrameGeometry n = ResizeGeometry(g, w - picture.Width, h - picture.Height);
    Image img(w, h);
    RunPlan(img, picture, NinePartPlanOf(pw, g, n, {0, 0, picture.Width, picture.Height}, w, h, false));

    int y = n.Cl.Top;
    for (size_t i = 0; i < entries.size(); ++i) {
        const MenuEntry& e = entries[i];
        const bool separator = e.caption == L"-";
        const int ih = separator ? item->DividerRect.Height() : item->SkinRect.Height();
        const int iw = n.Cl.Width();
        Image cell(iw, ih);
        if (separator) {
            RunPlan(cell, itemPicture,
                    HStripPlan(item->DividerLeftOffset, item->DividerRightOffset, item->DividerRect, iw,
                               item->DividerStretchEffect));
        } else {
            const bool on = int(i) == selected;
            RunPlan(cell, itemPicture,
                    HStripPlan(item->ItemLeftOffset, item->ItemRightOffset, on ? item->ActiveSkinRect : item->SkinRect,
                               iw, on ? item->StretchEffect : item->InactiveStretchEffect));
            TSkinRect t = item->TextRect;
            t.Right += iw - item->SkinRect.Width();
            const int glyph = item->ImageRect.IsEmpty() ? 16 : 0;
            const Colour colour = FromSkinColor(on ? item->ActiveFontColor
                                                   : e.enabled ? item->FontColor : item->UnenabledFontColor);
            const int th = text_.Height(font);
            const int ty = t.Top + (t.Height() - th) / 2;
            text_.Draw(cell, t.Left + glyph, ty, font, e.caption, colour, true, {t.Left + glyph, t.Top, t.Right - 16, t.Bottom});
            if (!e.shortcut.empty())
                text_.Draw(cell, t.Right - 16 - text_.Width(font, e.shortcut), ty, font, e.shortcut, colour);
            if (e.subMenu) {
                const int ax = t.Right - 7, ay = t.Top + t.Height() / 2 - 4;
                for (int k = 0; k < 4; ++k) PenLine(cell, ax + k, ay + k, ax + k, ay + 7 - k, colour);
            }
            if (e.checked) {
                const TSkinRect ir = item->ImageRect;
                const int gx = ir.IsEmpty() ? t.Left + 2 : ir.Left + ir.Width() / 2 - 4;
                const int gy = (ir.IsEmpty() ? t.Top + t.Height() / 2 : ir.Top + ir.Height() / 2) - 4;
                CheckGlyph(cell, gx, gy, colour);
            }
        }
        Draw(img, n.Cl.Left, y, cell);
        y += ih;
    }
    if (skin_.ActivePicture(pw.MaskPictureIndex)) ApplyFrameMask(img, active_[pw.MaskPictureIndex], g, n, n.Cl);
    return img;
}

Image SkinPreview::Hint(const String& text) {
    const TmnDataSkinHintWindow& hw = skin_.HintWindow();
    if (!skin_.ActivePicture(hw.WindowPictureIndex)) return Image(1, 1);
    const Image& picture = active_[hw.WindowPictureIndex];
    const FontSpec font = Font(hw.FontName, hw.FontHeight, hw.FontStyle);
    const int tw = text_.Width(font, text), th = text_.Height(font);
    const TSkinRect cl = hw.ClientRect;
    const int w = std::max(tw + cl.Left + picture.Width - cl.Right, picture.Width);
    const int h = std::max(th + cl.Top + picture.Height - cl.Bottom, picture.Height);
    const TFrameGeometry g = FrameOf(hw, cl);
    const TFrameGeometry n = ResizeGeometry(g, w - picture.Width, h - picture.Height);
    Image img(w, h);
    RunPlan(img, picture, NinePartPlanOf(hw, g, n, {0, 0, picture.Width, picture.Height}, w, h, true));
    text_.Draw(img, n.Cl.Left + n.Cl.Width() / 2 - tw / 2, n.Cl.Top + n.Cl.Height() / 2 - th / 2, font, text,
               FromSkinColor(hw.FontColor));
    if (skin_.ActivePicture(hw.MaskPictureIndex)) ApplyFrameMask(img, active_[hw.MaskPictureIndex], g, n, n.Cl);
    return img;
}

Image SkinPreview::MenuBar(int width, const std::vector<String>& items, int hot, int down, bool childButtons) {
    const int index = skin_.GetControlIndex(L"mainmenubar");
    const auto* bar = index >= 0 ? dynamic_cast<const TmnDataSkinMainMenuBar*>(skin_.SkinControls()[index].get()) : nullptr;
    if (!bar || !skin_.ActivePicture(bar->PictureIndex)) return Image(1, 1);
    const Image& picture = active_[bar->PictureIndex];
    const int h = bar->SkinRect.Height();
    Image img(width, h);
    RunPlan(img, picture,
            HStripPlan(bar->ItemsRect.Left, bar->SkinRect.Width() - bar->ItemsRect.Right, bar->SkinRect, width,
                       bar->StretchEffect));
    TSkinRect area{bar->ItemsRect.Left, bar->ItemsRect.Top, width - (bar->SkinRect.Width() - bar->ItemsRect.Right),
                   bar->ItemsRect.Bottom};
    auto objectRecord = [&](const String& name) -> const TmnDataSkinObject* {
        const int i = skin_.GetObjectIndex(name);
        return i >= 0 ? skin_.SkinObjects()[i].get() : nullptr;
    };
    if (childButtons) {
        const String names[4] = {bar->SysMenuButton, bar->CloseButton, bar->MaxButton, bar->MinButton};
        for (int i = 0; i < 4; ++i) {
            const auto* b = dynamic_cast<const TmnDataSkinMainMenuBarButton*>(objectRecord(names[i]));
            if (!b || !skin_.ActivePicture(b->ActivePictureIndex)) continue;
            const int bw = b->SkinRect.Width(), bh = b->SkinRect.Height();
            const int top = area.Top + area.Height() / 2 - bh / 2;
            TSkinRect r;
            if (i == 0) {
                r = {area.Left, top, area.Left + bw, top + bh};
                area.Left += bw + 2;
            } else {
                r = {area.Right - bw, top, area.Right, top + bh};
                area.Right -= bw + 2;
            }
            // Show the three looks side by side: system menu and close normal, restore hot, minimise pressed.
            const TSkinRect src = i == 2 ? b->ActiveSkinRect : i == 3 ? b->DownRect : b->SkinRect;
            CopyRect(img, r, active_[b->ActivePictureIndex], src);
        }
    }
    const auto* rec = dynamic_cast<const TmnDataSkinMainMenuItem*>(objectRecord(bar->MenuBarItem));
    if (!rec || !skin_.ActivePicture(rec->ActivePictureIndex) || rec->SkinRect.IsEmpty() || rec->TextRect.IsEmpty())
        return img;
    const Image& itemPicture = active_[rec->ActivePictureIndex];
    const FontSpec font = Font(rec->FontName, rec->FontHeight, rec->FontStyle);
    int x = area.Left;
    for (size_t i = 0; i < items.size(); ++i) {
        const int tw = text_.Width(font, items[i], true);
        const int iw = rec->SkinRect.Width() - rec->TextRect.Width() + tw + 2;
        if (x + iw > area.Right - 5) break;
        const bool isDown = int(i) == down, isHot = int(i) == hot;
        TSkinRect src = rec->SkinRect;
        if (isDown) src = !rec->DownRect.IsEmpty() ? rec->DownRect : !rec->ActiveSkinRect.IsEmpty() ? rec->ActiveSkinRect : rec->SkinRect;
        else if (isHot && !rec->ActiveSkinRect.IsEmpty()) src = rec->ActiveSkinRect;
        const bool activeSource = !(src == rec->SkinRect);
        Image cell(iw, rec->SkinRect.Height());
        RunPlan(cell, itemPicture,
                HStripPlan(rec->ItemLeftOffset, rec->ItemRightOffset, src, iw, activeSource && rec->StretchEffect));
        const TColor c = isDown ? rec->DownFontColor : activeSource ? rec->ActiveFontColor : rec->FontColor;
        const int boxWidth = tw + 2;
        text_.Draw(cell, rec->TextRect.Left + (boxWidth - tw) / 2, rec->TextRect.Top, font, items[i], FromSkinColor(c), true);
        Draw(img, x, area.Top, cell);
        x += iw;
    }
    return img;
}

Image SkinPreview::NinePart(const TmnDataSkinCustomControl& c, const TSkinRect& source, int w, int h) {
    Image img(w, h);
    if (!skin_.ActivePicture(c.PictureIndex)) return img;
    const TFrameGeometry g = FrameOf(c, c.ClientRect);
    const TFrameGeometry n = ResizeGeometry(g, w - c.SkinRect.Width(), h - c.SkinRect.Height());
    RunPlan(img, active_[c.PictureIndex], NinePartPlanOf(c, g, n, source, w, h, true));
    return img;
}

Image SkinPreview::Controls() {
    Image out(560, 250);
    Fill(out, {0, 0, out.Width, out.Height}, FromSkinColor(skin_.SkinColors().cBtnFace));
    auto font = [&](const TSkinFontFields& f) { return Font(f.FontName, f.FontHeight, f.FontStyle); };
    auto centred = [&](Image& img, const TSkinRect& area, const FontSpec& f, const String& s, TColor colour) {
        text_.Draw(img, area.Left + (area.Width() - text_.Width(f, s, true)) / 2,
                   area.Top + (area.Height() - text_.Height(f)) / 2, f, s, FromSkinColor(colour), true);
    };

    if (const auto* panel = Control<TmnDataSkinPanelControl>(L"panel")) {
        const int w = 250, h = 120;
        Image img = NinePart(*panel, panel->SkinRect, w, h);
        // The caption area of a resizable panel spans the top corners, so it grows with the panel.
        TSkinRect caption = panel->CaptionRect;
        caption.Right += w - panel->SkinRect.Width();
        const FontSpec f = font(*panel);
        int x = caption.Left;
        if (skin_.ActivePicture(panel->PictureIndex) && !panel->CheckImageRect.IsEmpty()) {
            const Image check = Crop(active_[panel->PictureIndex], panel->CheckImageRect);
            const uint8_t* key = check.PixelPointer(0, check.Height - 1);
            DrawTransparent(img, x, caption.Top + (caption.Height() - check.Height) / 2, check, {key[2], key[1], key[0]});
            x += check.Width + 2;
        }
        text_.Draw(img, x + 2, caption.Top + (caption.Height() - text_.Height(f)) / 2, f, L"Optionen",
                   FromSkinColor(panel->FontColor));
        Draw(out, 10, 10, img);
    }
    if (const auto* status = Control<TmnDataSkinPanelControl>(L"statusbar")) {
        const int w = 540, h = status->SkinRect.Height();
        Image img = NinePart(*status, status->SkinRect, w, h);
        TSkinRect cl = status->ClientRect;
        cl.Right += w - status->SkinRect.Width(), cl.Bottom += h - status->SkinRect.Height();
        const FontSpec f = font(*status);
        text_.Draw(img, cl.Left + 4, cl.Top + (cl.Height() - text_.Height(f)) / 2, f, L"Zeile 12, Spalte 4",
                   FromSkinColor(status->FontColor));
        if (skin_.ActivePicture(status->PictureIndex) && !status->GripperRect.IsEmpty()) {
            const Image grip = Crop(active_[status->PictureIndex], status->GripperRect);
            const int gx = cl.Right - grip.Width, gy = cl.Bottom - grip.Height;
            if (status->GripperTransparent) DrawTransparent(img, gx, gy, grip, FromSkinColor(status->GripperTransparentColor));
            else Draw(img, gx, gy, grip);
        }
        Draw(out, 10, out.Height - h - 10, img);
    }
    if (const auto* tab = Control<TmnDataSkinTabControl>(L"tab"); tab && skin_.ActivePicture(tab->PictureIndex)) {
        const Image& picture = active_[tab->PictureIndex];
        const int w = 270, h = tab->TabRect.Height();
        Image bar(w, h);
        for (int x = 0; x < w; x += tab->TabsBgRect.Width())
            CopyRect(bar, {x, 0, x + tab->TabsBgRect.Width(), h}, picture, tab->TabsBgRect);
        const struct {
            const wchar_t* text;
            TSkinRect image;
            TColor colour;
        } tabs[] = {{L"Notiz1", tab->TabRect, tab->FontColor},
                    {L"Einkaufsliste", tab->ActiveTabRect.IsEmpty() ? tab->TabRect : tab->ActiveTabRect, tab->FocusFontColor},
                    {L"Ideen", tab->MouseInTabRect.IsEmpty() ? tab->TabRect : tab->MouseInTabRect, tab->MouseInFontColor}};
        const FontSpec f = font(*tab);
        int x = 0;
        for (const auto& t : tabs) {
            const int tw = 90;
            Image cell(tw, h);
            RunPlan(cell, picture, HStripPlan(tab->TabLeftOffset, tab->TabRightOffset, t.image, tw, tab->TabStretchEffect));
            centred(cell, {tab->TabLeftOffset, 0, tw - tab->TabRightOffset, h}, f, t.text, t.colour);
            Draw(bar, x, 0, cell);
            x += tw;
        }
        Draw(out, 280, 10, bar);
    }
    if (const auto* button = Control<TmnDataSkinButtonControl>(L"resizebutton")) {
        const TSkinRect images[3] = {button->SkinRect, button->ActiveSkinRect, button->DownSkinRect};
        const TColor colours[3] = {button->FontColor, button->ActiveFontColor, button->DownFontColor};
        for (int i = 0; i < 3; ++i) {
            if (images[i].IsEmpty()) continue;
            Image img = NinePart(*button, images[i], 84, 26);
            centred(img, {0, 0, img.Width, img.Height}, font(*button), L"&OK", colours[i]);
            Draw(out, 280 + i * 92, 60, img);
        }
    }
    int x = 280;
    for (const wchar_t* name : {L"hupdown", L"vupdown"}) {
        const auto* ud = Control<TmnDataSkinUpDownControl>(name);
        if (!ud || !skin_.ActivePicture(ud->PictureIndex)) continue;
        const Image img = Crop(active_[ud->PictureIndex], ud->SkinRect);
        Draw(out, x, 100, img);
        x += img.Width + 12;
    }
    return out;
}

}  // namespace fn::preview
