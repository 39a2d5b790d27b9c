#include "tools/skinart/fennick_art.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>

#include "platform/core/streams.h"
#include "platform/core/strings.h"
#include "tools/skinart/fennick_theme.h"

namespace fn::art {

using namespace theme;

namespace {

using Shape = std::function<bool(double, double)>;

Shape RectShape(double l, double t, double r, double b) {
    return [=](double x, double y) { return x >= l && x < r && y >= t && y < b; };
}

Shape Union(std::vector<Shape> parts) {
    return [parts = std::move(parts)](double x, double y) {
        for (const auto& p : parts)
            if (p(x, y)) return true;
        return false;
    };
}

// Thick segment as a shape (for glyphs combined into one coverage pass).
Shape Stroke(double x0, double y0, double x1, double y1, double width) {
    return [=](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2;
    };
}

// One-pixel outline of an axis-aligned rectangle.
Shape Frame(double l, double t, double r, double b) {
    return Union({RectShape(l, t, r, t + 1), RectShape(l, b - 1, r, b), RectShape(l, t, l + 1, b),
                  RectShape(r - 1, t, r, b)});
}

// The window outline: a rectangle whose two top corners are rounded.
bool InsideWindow(double x, double y, double w, double h, double radius) {
    if (x < 0 || y < 0 || x >= w || y >= h) return false;
    if (y >= radius) return true;
    return InsideRoundRect(x, y, 0, 0, w, h + radius, radius);
}

double EmblemUnit(double s) { return std::max(1.0, std::floor(s / 13)); }

// Glyph kinds of the caption and menu-bar buttons.
enum class GlyphKind { Close, Maximize, Restore, Minimize, RollUp, RollDown, Tray, SysMenu };

// A glyph of size s x s with its top-left corner at (x, y).
Shape GlyphShape(GlyphKind kind, double x, double y, double s) {
    const double stroke = 1.35;
    switch (kind) {
        case GlyphKind::Close:
            return Union({Stroke(x + 0.5, y + 0.5, x + s - 0.5, y + s - 0.5, stroke),
                          Stroke(x + s - 0.5, y + 0.5, x + 0.5, y + s - 0.5, stroke)});
        case GlyphKind::Maximize:
            return Frame(x, y, x + s, y + s);
        case GlyphKind::Restore: {
            const double f = s - 2;  // size of each of the two squares
            return Union({Frame(x, y + 2, x + f, y + 2 + f), RectShape(x + 2, y, x + s, y + 1),
                          RectShape(x + s - 1, y, x + s, y + f), RectShape(x + 2, y, x + 3, y + 2),
                          RectShape(x + f, y + f - 1, x + s, y + f)});
        }
        case GlyphKind::Minimize:
            return RectShape(x, y + std::floor(s / 2), x + s, y + std::floor(s / 2) + 1);
        case GlyphKind::RollUp:
            return Union({Stroke(x + 0.5, y + s * 0.72, x + s / 2, y + s * 0.28, stroke),
                          Stroke(x + s / 2, y + s * 0.28, x + s - 0.5, y + s * 0.72, stroke)});
        case GlyphKind::RollDown:
            return Union({Stroke(x + 0.5, y + s * 0.28, x + s / 2, y + s * 0.72, stroke),
                          Stroke(x + s / 2, y + s * 0.72, x + s - 0.5, y + s * 0.28, stroke)});
        case GlyphKind::Tray: {
            const double mid = x + std::floor(s / 2);
            return Union({RectShape(mid, y, mid + 1, y + s * 0.62),
                          Stroke(mid + 0.5 - s * 0.3, y + s * 0.34, mid + 0.5, y + s * 0.64, stroke),
                          Stroke(mid + 0.5 + s * 0.3, y + s * 0.34, mid + 0.5, y + s * 0.64, stroke),
                          RectShape(x, y + s - 1, x + s + 1, y + s), RectShape(x, y + s * 0.7, x + 1, y + s),
                          RectShape(x + s, y + s * 0.7, x + s + 1, y + s)});
        }
        case GlyphKind::SysMenu:
            return [=](double px, double py) {
                const double u = EmblemUnit(s);
                return InsideRoundRect(px, py, x + u, y, x + s - u, y + s, 2.0 * u);
            };
    }
    return RectShape(0, 0, 0, 0);
}

}  // namespace

// The note-page emblem of the system-menu button: a page with three ruled lines. Its strokes
// are one pixel up to 25 pixels and grow in whole pixels above, so that the program's icons
// stay crisp at every size.
void DrawNoteEmblem(Raster& r, double x, double y, double s, Rgb page, Rgb lines) {
    r.Cover({int(x), int(y), int(x + s) + 1, int(y + s) + 1}, GlyphShape(GlyphKind::SysMenu, x, y, s), page);
    const double u = EmblemUnit(s);
    for (int i = 0; i < 3; ++i) {
        const double ly = std::floor(y + s * 0.32) + i * 3 * u;
        r.Fill({int(x + 4 * u), int(ly), int(x + s - 4 * u), int(ly + u)}, lines);
    }
}

namespace {

void DrawGlyph(Raster& r, GlyphKind kind, Box cell, double s, Rgb colour, Rgb backdrop) {
    const double x = cell.left + std::floor((cell.Width() - s) / 2);
    const double y = cell.top + std::floor((cell.Height() - s) / 2);
    if (kind == GlyphKind::SysMenu) {
        DrawNoteEmblem(r, x - 1, y - 1, s + 2, colour, backdrop);
        return;
    }
    r.Cover({cell.left, cell.top, cell.right, cell.bottom}, GlyphShape(kind, x, y, s), colour);
}

// Caption band colour at a row of the frame picture.
Rgb CaptionRow(int y) {
    return Mix(CaptionTop, CaptionBottom, double(y) / (CaptionHeight - 1));
}

// Button states, one picture row each.
enum ButtonRow { Normal = 0, Hover = 1, Pressed = 2, Inactive = 3 };

// ---------------------------------------------------------------------------------------
// Description text

std::string Quad(Box b) {
    std::ostringstream s;
    s << b.left << ',' << b.top << ',' << b.right << ',' << b.bottom;
    return s.str();
}

struct Pt {
    int x = 0, y = 0;
};

std::string Pair(Pt p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

class Description {
public:
    void Section(const std::string& name) { text_ += (text_.empty() ? "" : "\r\n") + ("[" + name + "]\r\n"); }
    void Key(const std::string& key, const std::string& value) { text_ += key + "=" + value + "\r\n"; }
    void Key(const std::string& key, int value) { Key(key, std::to_string(value)); }
    void Rect(const std::string& key, Box b) { Key(key, Quad(b)); }
    void Point(const std::string& key, Pt p) { Key(key, Pair(p)); }
    void Bool(const std::string& key, bool v) { Key(key, v ? 1 : 0); }
    void Color(const std::string& key, Rgb c) { Key(key, ColorValue(c)); }
    void Font(const std::string& prefix, int height, Rgb colour, const std::string& style = "") {
        Key(prefix + "name", FontName);
        Key(prefix + "height", height);
        Key(prefix + "style", style);
        Color(prefix + "color", colour);
    }
    void Corners(Pt lt, Pt rt, Pt lb, Pt rb) {
        Point("lefttoppoint", lt);
        Point("righttoppoint", rt);
        Point("leftbottompoint", lb);
        Point("rightbottompoint", rb);
    }
    void Stretch(bool edges, bool centre) {
        Bool("leftstretch", edges);
        Bool("rightstretch", edges);
        Bool("topstretch", edges);
        Bool("bottomstretch", edges);
        Bool("stretcheffect", centre);
        Key("stretchtype", "stfull");
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

constexpr Box kEmpty{};

// Indexes of the active pictures, in "activepictures" order.
enum PictureIndex {
    kButtons, kMenuBar, kPopup, kPopupMask, kMenuItem, kHint, kHintMask, kControls, kHUpDown,
    kVUpDown, kBackground, kMdiBackground, kPictureCount
};

}  // namespace

int ColorValue(Rgb c) {
    return c.r | (c.g << 8) | (c.b << 16);
}

double ContrastRatio(Rgb a, Rgb b) {
    auto lum = [](Rgb c) {
        auto lin = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
    };
    const double la = lum(a), lb = lum(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

SkinArt DrawFennick() {
    SkinArt art;
    Description d;
    const int W = FrameWidth, H = FrameHeight;
    const Box client{BorderWidth, CaptionHeight, W - BorderWidth, H - BorderWidth};

    // --- Window frame and its mask -----------------------------------------------------
    Raster frame(W, H, Border);
    frame.VerticalGradient({0, 0, W, CaptionHeight}, CaptionTop, CaptionBottom);
    for (int x = 0; x < W; ++x) frame.Set(x, 1, Mix(frame.At(x, 1), Sheen, SheenAlpha));
    frame.Fill(client, WindowBg);
    const double radius = CornerRadius;
    frame.Cover({0, 0, W, H},
                [=](double x, double y) {
                    return InsideWindow(x, y, W, H, radius) &&
                           !InsideWindow(x - 1, y - 1, W - 2, H - 2, radius - 1);
                },
                Outline);
    Raster mask(W, H, White);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (InsideWindow(x + 0.5, y + 0.5, W, H, radius)) mask.Set(x, y, {0, 0, 0});
    art.picture = {"frame.bmp", frame, false};
    art.mask = {"mask.bmp", mask, true};

    // --- Caption buttons ---------------------------------------------------------------
    // Columns: one glyph kind each; rows: normal, hover, pressed, inactive.
    const GlyphKind kinds[] = {GlyphKind::Close,  GlyphKind::Maximize, GlyphKind::Restore,
                               GlyphKind::Minimize, GlyphKind::RollUp, GlyphKind::RollDown,
                               GlyphKind::Tray,   GlyphKind::SysMenu};
    constexpr int kKinds = 8;
    auto buttonCell = [](int kind, int row) {
        const int left = kind * ButtonWidth;
        const int width = kind == kKinds - 1 ? SysButtonWidth : ButtonWidth;
        return Box{left, row * ButtonHeight, left + width, (row + 1) * ButtonHeight};
    };
    Raster buttons((kKinds - 1) * ButtonWidth + SysButtonWidth, 4 * ButtonHeight);
    for (int k = 0; k < kKinds; ++k) {
        const bool close = kinds[k] == GlyphKind::Close;
        for (int row = Normal; row <= Inactive; ++row) {
            const Box cell = buttonCell(k, row);
            for (int y = 0; y < ButtonHeight; ++y)
                buttons.Fill({cell.left, cell.top + y, cell.right, cell.top + y + 1}, CaptionRow(ButtonTop + y));
            const double l = cell.left + 1, t = cell.top + 1, r = cell.right - 1, b = cell.bottom - 1;
            if (row == Hover) {
                if (close) buttons.RoundRect(l, t, r, b, ButtonRadius, CloseHover);
                else buttons.RoundRect(l, t, r, b, ButtonRadius, HoverTint, HoverAlpha);
            } else if (row == Pressed) {
                if (close) buttons.RoundRect(l, t, r, b, ButtonRadius, ClosePressed);
                else buttons.RoundRect(l, t, r, b, ButtonRadius, PressTint, PressAlpha);
            }
            const Rgb backdrop = buttons.At(cell.left + cell.Width() / 2, cell.top + cell.Height() / 2);
            DrawGlyph(buttons, kinds[k], cell, 10, row == Inactive ? GlyphInactive : Glyph, backdrop);
            if (row == Inactive) buttons.Greyscale(cell);
        }
    }

    // --- Menu bar, its items and the buttons of a maximised document window --------------
    constexpr int kBarItemWidth = 24, kBarButtonW = 20, kBarButtonH = 18;
    const Box barRect{0, 0, 32, MenuBarHeight};
    auto barItem = [&](int state) {
        return Box{32 + state * kBarItemWidth, 0, 32 + (state + 1) * kBarItemWidth, MenuBarHeight};
    };
    auto barButton = [&](int kind, int state) {
        return Box{(kind * 3 + state) * kBarButtonW, MenuBarHeight, (kind * 3 + state + 1) * kBarButtonW,
                   MenuBarHeight + kBarButtonH};
    };
    Raster menubar(4 * 3 * kBarButtonW, MenuBarHeight + kBarButtonH, BarBg);
    for (int i = 0; i < 4; ++i) {
        const Box b = i == 0 ? barRect : barItem(i - 1);
        menubar.Fill({b.left, b.bottom - 1, b.right, b.bottom}, BarLine);
        const double l = b.left + 1, t = b.top + 3, r = b.right - 1, bt = b.bottom - 4;
        if (i == 2) menubar.RoundRect(l, t, r, bt, ItemRadius, BarHover);
        if (i == 3) {
            menubar.RoundRect(l, t, r, bt, ItemRadius, BarDown);
            menubar.RoundRing(l, t, r, bt, ItemRadius, 1, BarDownEdge);
        }
    }
    const GlyphKind barKinds[] = {GlyphKind::SysMenu, GlyphKind::Close, GlyphKind::Restore, GlyphKind::Minimize};
    for (int k = 0; k < 4; ++k) {
        for (int state = 0; state < 3; ++state) {
            const Box cell = barButton(k, state);
            const double l = cell.left + 1, t = cell.top, r = cell.right - 1, b = cell.bottom;
            if (state == 1) menubar.RoundRect(l, t, r, b, ItemRadius, BarHover);
            if (state == 2) {
                menubar.RoundRect(l, t, r, b, ItemRadius, BarDown);
                menubar.RoundRing(l, t, r, b, ItemRadius, 1, BarDownEdge);
            }
            if (barKinds[k] == GlyphKind::SysMenu) {
                const Rgb back = menubar.At(cell.left + 2, cell.top + kBarButtonH / 2);
                DrawNoteEmblem(menubar, cell.left + 4, cell.top + 2, 13, Accent, back);
            } else {
                DrawGlyph(menubar, barKinds[k], cell, 8, Text, BarBg);
            }
        }
    }

    // --- Popup menu frame and its mask ----------------------------------------------------
    const int P = PopupSize;
    Raster popup(P, P, MenuBg);
    popup.RoundRing(0, 0, P, P, PopupRadius, 1, MenuEdge);
    Raster popupMask(P, P, White);
    for (int y = 0; y < P; ++y)
        for (int x = 0; x < P; ++x)
            if (InsideRoundRect(x + 0.5, y + 0.5, 0, 0, P, P, PopupRadius)) popupMask.Set(x, y, {0, 0, 0});
    const Box popupItems{4, 5, P - 4, P - 5};

    // --- Popup menu items ----------------------------------------------------------------
    const int IW = MenuItemWidth, IH = MenuItemHeight;
    const Box itemNormal{0, 0, IW, IH}, itemActive{0, IH, IW, 2 * IH},
        divider{0, 2 * IH, IW, 2 * IH + DividerHeight};
    Raster menuItem(IW, 2 * IH + DividerHeight, MenuBg);
    menuItem.RoundRect(2, IH + 1, IW - 2, 2 * IH - 1, ItemRadius, MenuSelect);
    menuItem.RoundRing(2, IH + 1, IW - 2, 2 * IH - 1, ItemRadius, 1, MenuSelectEdge);
    menuItem.Fill({6, divider.top + DividerHeight / 2, IW - 6, divider.top + DividerHeight / 2 + 1}, MenuDivider);

    // --- Hint window and its mask --------------------------------------------------------
    Raster hint(HintWidth, HintHeight, HintBg);
    hint.RoundRing(0, 0, HintWidth, HintHeight, HintRadius, 1, HintEdge);
    Raster hintMask(HintWidth, HintHeight, White);
    for (int y = 0; y < HintHeight; ++y)
        for (int x = 0; x < HintWidth; ++x)
            if (InsideRoundRect(x + 0.5, y + 0.5, 0, 0, HintWidth, HintHeight, HintRadius))
                hintMask.Set(x, y, {0, 0, 0});

    // --- Controls: panel, status bar, grip, check boxes, button, tabs --------------------
    Raster controls(168, 88, PanelBg);
    const Box panel{0, 0, 32, 32};
    controls.Cover({panel.left, panel.top, panel.right, panel.bottom}, Frame(0, 0, 32, 32), PanelEdge);
    const Box status{32, 0, 64, 22};
    controls.Fill({status.left, status.top, status.right, status.top + 1}, PanelEdge);
    const Box grip{64, 0, 76, 12};
    controls.Fill(grip, Transparent);
    for (int row = 0; row < 3; ++row)
        for (int col = 2 - row; col < 3; ++col)
            controls.Fill({grip.left + 2 + col * 4, grip.top + 2 + row * 4, grip.left + 4 + col * 4,
                           grip.top + 4 + row * 4},
                          Grip);
    auto checkBox = [&](int i) { return Box{80 + i * 14, 0, 94 + i * 14, 14}; };
    for (int i = 0; i < 4; ++i) {  // checked, unchecked, active checked, active unchecked
        const Box c = checkBox(i);
        const bool checked = i % 2 == 0, active = i >= 2;
        const double l = c.left + 0.5, t = c.top + 0.5, r = c.right - 0.5, b = c.bottom - 0.5;
        controls.RoundRect(l, t, r, b, 2.5, checked ? Accent : White);
        controls.RoundRing(l, t, r, b, 2.5, 1, checked ? Outline : (active ? ButtonHoverEdge : CheckEdge));
        if (checked) {
            controls.Line(c.left + 3.5, c.top + 7.2, c.left + 6, c.top + 9.7, 1.6, White);
            controls.Line(c.left + 6, c.top + 9.7, c.left + 10.5, c.top + 4.3, 1.6, White);
        }
    }
    auto pushButton = [&](int state) { return Box{state * 24, 32, state * 24 + 24, 54}; };
    for (int state = 0; state < 3; ++state) {
        const Box b = pushButton(state);
        const Rgb face = state == 0 ? ButtonFace : state == 1 ? ButtonHover : ButtonDown;
        const Rgb edge = state == 0 ? ButtonEdge : ButtonHoverEdge;
        controls.RoundRect(b.left + 0.5, b.top + 0.5, b.right - 0.5, b.bottom - 0.5, 3.5, face);
        controls.RoundRing(b.left + 0.5, b.top + 0.5, b.right - 0.5, b.bottom - 0.5, 3.5, 1, edge);
    }
    constexpr int kTabH = 26;
    auto tab = [&](int state) { return Box{state * 40, 56, state * 40 + 40, 56 + kTabH}; };
    const Box tabsBg{120, 56, 128, 56 + kTabH};
    controls.Fill({0, 56, 128, 56 + kTabH}, TabBg);
    controls.Fill({0, 56 + kTabH - 1, 128, 56 + kTabH}, TabEdge);
    {
        const Box n = tab(0), a = tab(1), m = tab(2);
        controls.Fill({n.right - 1, n.top + 6, n.right, n.bottom - 6}, TabEdge);
        controls.RoundRect(m.left + 1, m.top + 3, m.right - 1, m.bottom - 1, 4, TabHover);
        controls.RoundRect(a.left, a.top + 2, a.right, a.bottom + 4, 4, TabEdge);
        controls.RoundRect(a.left + 1, a.top + 3, a.right - 1, a.bottom + 4, 3, White);
        controls.Fill({a.left + 4, a.top + 3, a.right - 4, a.top + 5}, Accent);
    }
    const Box page{136, 32, 168, 64};
    controls.Fill(page, White);
    controls.Cover({page.left, page.top, page.right, page.bottom}, Frame(136, 32, 168, 64), TabEdge);

    // --- Up-down buttons: the normal pair at the origin of its own picture ---------------
    constexpr int U = 17;
    Raster hupdown(2 * U, 3 * U), vupdown(3 * U, 2 * U);
    auto upDownCell = [&](Raster& r, Box cell, int state, int direction) {
        const Rgb face = state == 0 ? ButtonFace : state == 1 ? ButtonHover : ButtonDown;
        const Rgb edge = state == 0 ? ButtonEdge : ButtonHoverEdge;
        r.Fill(cell, PanelBg);
        r.RoundRect(cell.left + 0.5, cell.top + 0.5, cell.right - 0.5, cell.bottom - 0.5, 2.5, face);
        r.RoundRing(cell.left + 0.5, cell.top + 0.5, cell.right - 0.5, cell.bottom - 0.5, 2.5, 1, edge);
        const double cx = cell.left + U / 2.0, cy = cell.top + U / 2.0;
        switch (direction) {  // 1 left, 2 right, 3 up, 4 down
            case 1: r.Triangle(cx - 2.5, cy, cx + 1.5, cy - 4, cx + 1.5, cy + 4, Text); break;
            case 2: r.Triangle(cx + 2.5, cy, cx - 1.5, cy - 4, cx - 1.5, cy + 4, Text); break;
            case 3: r.Triangle(cx, cy - 2.5, cx - 4, cy + 1.5, cx + 4, cy + 1.5, Text); break;
            default: r.Triangle(cx, cy + 2.5, cx - 4, cy - 1.5, cx + 4, cy - 1.5, Text); break;
        }
    };
    for (int state = 0; state < 3; ++state) {
        upDownCell(hupdown, {0, state * U, U, (state + 1) * U}, state, 1);
        upDownCell(hupdown, {U, state * U, 2 * U, (state + 1) * U}, state, 2);
        upDownCell(vupdown, {state * U, 0, (state + 1) * U, U}, state, 3);
        upDownCell(vupdown, {state * U, U, (state + 1) * U, 2 * U}, state, 4);
    }

    // --- Client backgrounds -------------------------------------------------------------
    Raster background(16, 16, WindowBg);
    Raster mdiBackground(32, 32, MdiBg);

    art.activePictures.resize(kPictureCount);
    art.activePictures[kButtons] = {"buttons.bmp", buttons, false};
    art.activePictures[kMenuBar] = {"menubar.bmp", menubar, false};
    art.activePictures[kPopup] = {"popup.bmp", popup, false};
    art.activePictures[kPopupMask] = {"popupmask.bmp", popupMask, true};
    art.activePictures[kMenuItem] = {"menuitem.bmp", menuItem, false};
    art.activePictures[kHint] = {"hint.bmp", hint, false};
    art.activePictures[kHintMask] = {"hintmask.bmp", hintMask, true};
    art.activePictures[kControls] = {"controls.bmp", controls, false};
    art.activePictures[kHUpDown] = {"hupdown.bmp", hupdown, false};
    art.activePictures[kVUpDown] = {"vupdown.bmp", vupdown, false};
    art.activePictures[kBackground] = {"background.bmp", background, false};
    art.activePictures[kMdiBackground] = {"mdibackground.bmp", mdiBackground, false};

    // =====================================================================================
    // The description.
    const int buttonsRight = W - CaptionSideMargin;
    const int stripWidth = 5 * ButtonWidth + 4 * ButtonGap;   // close, maximise, minimise, roll-up, tray
    const Box captionObject{8, 0, buttonsRight - stripWidth - 2, CaptionHeight};
    const Pt lt{16, 40}, rt{captionObject.right - 4, 40}, lb{16, H - 10}, rb{W - 16, H - 10};

    d.Section("VERSION");
    d.Key("skinname", "Fennick");
    d.Key("skinauthor", "Fennick Notizen");
    d.Key("authoremail", "");
    d.Key("authorurl", "");
    d.Key("skincomments", "Standardskin von Fennick Notizen, gezeichnet von tools/skinart");

    d.Section("PICTURES");
    d.Key("picture", art.picture.fileName);
    d.Key("inactivepicture", "");
    d.Key("mask", art.mask.fileName);
    d.Key("activepicturescount", kPictureCount);
    for (int i = 0; i < kPictureCount; ++i) d.Key(std::to_string(i), art.activePictures[i].fileName);

    d.Section("FORMINFO");
    d.Corners(lt, rt, lb, rb);
    d.Rect("clientrect", client);
    d.Key("bgpictureindex", kBackground);
    d.Key("mdibgpictureindex", kMdiBackground);
    d.Bool("leftstretch", false);
    d.Bool("rightstretch", false);
    d.Bool("topstretch", false);
    d.Bool("bottomstretch", false);
    d.Bool("stretcheffect", false);
    d.Key("stretchtype", "stfull");
    d.Bool("mdibgstretcheffect", false);
    d.Key("mdibgstretchtype", "stfull");
    d.Rect("maskrectarea", client);  // the side strips of the region start at the client's edges
    d.Point("hittestlefttoppoint", {12, 12});
    d.Point("hittestrighttoppoint", {W - 12, 12});
    d.Point("hittestleftbottompoint", {12, H - 12});
    d.Point("hittestrightbottompoint", {W - 12, H - 12});
    d.Rect("buttonsrect", {buttonsRight - ButtonWidth, ButtonTop, buttonsRight, ButtonTop + ButtonHeight});
    d.Rect("captionrect", {CaptionSideMargin, ButtonTop, buttonsRight, ButtonTop + ButtonHeight});
    d.Key("buttonsoffset", ButtonGap);
    d.Bool("buttonsinleft", false);
    d.Bool("mainmenupopupup", false);
    d.Key("borderwidth", BorderWidth);
    d.Key("formminwidth", FormMinWidth);
    d.Bool("mditabstransparent", false);
    d.Bool("mainmenubartransparent", false);
    d.Bool("autorenderinginactiveimage", true);
    d.Key("inactiveeffect", "iegrayscale");

    d.Section("POPUPWINDOW");
    d.Key("windowpictureindex", kPopup);
    d.Key("maskpictureindex", kPopupMask);
    d.Corners({10, 10}, {P - 10, 10}, {10, P - 10}, {P - 10, P - 10});
    d.Rect("itemsrect", popupItems);
    d.Color("scrollmarkercolor", Text);
    d.Color("scrollmarkeractivecolor", Accent);
    d.Stretch(false, false);

    d.Section("HINTWINDOW");
    d.Key("windowpictureindex", kHint);
    d.Key("maskpictureindex", kHintMask);
    d.Corners({6, 6}, {HintWidth - 6, 6}, {6, HintHeight - 6}, {HintWidth - 6, HintHeight - 6});
    d.Rect("clientrect", {6, 4, HintWidth - 6, HintHeight - 4});
    d.Font("font", HintFontHeight, HintText);
    d.Stretch(false, false);

    d.Section("SKINCOLORS");
    d.Color("cbtnface", PanelBg);
    d.Color("cbtntext", Text);
    d.Color("cwindow", White);
    d.Color("cwindowtext", Text);
    d.Color("chighlight", Accent);
    d.Color("chighlighttext", White);
    d.Color("cbtnhighlight", White);
    d.Color("cbtnshadow", Grip);

    // Object records.
    struct Std {
        const char* name;
        const char* command;
        int kind;         // column in buttons.bmp
        int restoreKind;  // column of the restore images, -1 for none
        const char* morph;
    };
    const Std stdButtons[] = {
        {"closebutton", "cmclose", 0, -1, "mkdefault"},
        {"maxbutton", "cmmaximize", 1, 2, "mkgradient"},
        {"minbutton", "cmminimize", 3, 2, "mkgradient"},
        {"rollupbutton", "cmrollup", 4, 5, "mkleftgradient"},
        {"traybutton", "cmminimizetotray", 6, -1, "mkrightgradient"},
        {"sysmenubutton", "cmsysmenu", 7, -1, "mkdefault"},
    };
    struct BarBtn {
        const char* name;
        const char* command;
        int kind;  // row group in menubar.bmp
    };
    const BarBtn barButtons[] = {
        {"mbsysmenu", "cmsysmenu", 0}, {"mbclose", "cmclose", 1}, {"mbrestore", "cmmaximize", 2},
        {"mbmin", "cmminimize", 3}};

    d.Section("SKINOBJECTS");
    {
        int n = 0;
        std::vector<std::string> items{"caption1:caption"};
        for (const auto& s : stdButtons) items.push_back(std::string(s.name) + ":stdbutton");
        items.push_back("MENUITEM:menuitem");
        items.push_back("menubaritem:mainmenubaritem");
        for (const auto& b : barButtons) items.push_back(std::string(b.name) + ":mainmenubarbutton");
        d.Key("count", int(items.size()));
        for (const auto& item : items) d.Key(std::to_string(n++), item);
    }

    d.Section("SKINCONTROLS");
    {
        const char* items[] = {"mainmenubar:mainmenubar", "panel:panel",   "statusbar:panel",
                               "hupdown:updown",          "vupdown:updown", "tab:tab",
                               "richedit:richedit",       "resizebutton:button", "checkbox:checkradio",
                               "stdlabel:stdlabel"};
        d.Key("count", int(std::size(items)));
        int n = 0;
        for (const char* item : items) d.Key(std::to_string(n++), item);
    }

    auto objectBase = [&](const std::string& name, int picture, bool inPicture, Box skin, Box active,
                          Box inactive, bool morphing, const std::string& morph) {
        d.Section(name);
        d.Key("hint", "");
        d.Key("activepictureindex", picture);
        d.Bool("skinrectinapicture", inPicture);
        d.Rect("skinrect", skin);
        d.Rect("activeskinrect", active);
        d.Rect("inactiveskinrect", inactive);
        d.Bool("morphing", morphing);
        d.Key("morphkind", morph);
    };

    objectBase("caption1", -1, false, captionObject, kEmpty, kEmpty, false, "mkdefault");
    d.Rect("textrect", {6, 0, captionObject.Width() - 2, CaptionHeight});
    d.Font("font", CaptionFontHeight, CaptionTextInactive);
    d.Color("activefontcolor", CaptionText);
    d.Key("alignment", "taleftjustify");
    d.Bool("light", false);
    d.Color("lightcolor", CaptionTop);
    d.Color("activelightcolor", CaptionTop);
    d.Bool("shadow", true);
    d.Color("shadowcolor", CaptionShadow);
    d.Color("activeshadowcolor", CaptionShadow);
    d.Rect("framerect", kEmpty);
    d.Rect("activeframerect", kEmpty);
    d.Rect("frametextrect", kEmpty);
    d.Key("frameleftoffset", 0);
    d.Key("framerightoffset", 0);
    d.Bool("stretcheffect", false);
    d.Rect("animateskinrect", kEmpty);
    d.Key("framecount", 0);
    d.Key("animateinterval", 25);
    d.Bool("inactiveanimation", false);
    d.Bool("fullframe", false);

    for (const auto& s : stdButtons) {
        objectBase(s.name, kButtons, true, buttonCell(s.kind, Normal), buttonCell(s.kind, Hover),
                   buttonCell(s.kind, Inactive), true, s.morph);
        d.Rect("downrect", buttonCell(s.kind, Pressed));
        d.Rect("disableskinrsect", buttonCell(s.kind, Inactive));
        d.Key("command", s.command);
        const bool restore = s.restoreKind >= 0;
        d.Rect("restorerect", restore ? buttonCell(s.restoreKind, Normal) : kEmpty);
        d.Rect("restoreactiverect", restore ? buttonCell(s.restoreKind, Hover) : kEmpty);
        d.Rect("restoredownrect", restore ? buttonCell(s.restoreKind, Pressed) : kEmpty);
        d.Rect("restoreinactiverect", restore ? buttonCell(s.restoreKind, Inactive) : kEmpty);
    }

    objectBase("MENUITEM", kMenuItem, false, itemNormal, itemActive, kEmpty, true, "mkdefault");
    d.Key("itemleftoffset", 6);
    d.Key("itemrightoffset", 6);
    d.Rect("dividerrect", divider);
    d.Key("dividerleftoffset", 6);
    d.Key("dividerrightoffset", 6);
    d.Rect("textrect", {MenuTextLeft, 0, IW - 4, IH});
    d.Rect("imagerect", {6, 3, MenuTextLeft - 4, IH - 3});
    d.Font("font", MenuFontHeight, Text);
    d.Color("activefontcolor", TextStrong);
    d.Color("unenabledfontcolor", TextDisabled);
    d.Bool("stretcheffect", false);
    d.Bool("inactivestretcheffect", false);
    d.Bool("dividerstretcheffect", false);
    d.Rect("animateskinrect", kEmpty);
    d.Key("framecount", 0);
    d.Key("animateinterval", 25);
    d.Bool("inactiveanimation", false);
    d.Bool("useimagecolor", false);
    d.Color("imagecolor", Text);
    d.Color("activeimagecolor", TextStrong);

    objectBase("menubaritem", kMenuBar, false, barItem(0), barItem(1), kEmpty, true, "mkdefault");
    d.Key("itemleftoffset", 6);
    d.Key("itemrightoffset", 6);
    d.Rect("downrect", barItem(2));
    // The bar draws its captions from the top of this box, so the box is centred on the bar.
    const int barTextTop = (MenuBarHeight - MenuFontHeight) / 2;
    d.Rect("textrect", {MenuBarItemPad, barTextTop, kBarItemWidth - MenuBarItemPad, barTextTop + MenuFontHeight});
    d.Font("font", MenuFontHeight, Text);
    d.Color("activefontcolor", TextStrong);
    d.Color("downfontcolor", TextStrong);
    d.Color("unenabledfontColor", TextDisabled);
    d.Bool("stretcheffect", false);
    d.Rect("animateskinrect", kEmpty);
    d.Key("framecount", 0);
    d.Key("animateinterval", 25);
    d.Bool("inactiveanimation", false);

    for (const auto& b : barButtons) {
        objectBase(b.name, kMenuBar, true, barButton(b.kind, 0), barButton(b.kind, 1), kEmpty, true,
                   "mkdefault");
        d.Rect("downrect", barButton(b.kind, 2));
        d.Rect("disableskinrsect", kEmpty);
        d.Key("command", b.command);
        d.Rect("restorerect", kEmpty);
        d.Rect("restoreactiverect", kEmpty);
        d.Rect("restoredownrect", kEmpty);
        d.Rect("restoreinactiverect", kEmpty);
    }

    // Control records.
    auto controlBase = [&](const std::string& name, int picture, Box skin) {
        d.Section(name);
        d.Key("pictureindex", picture);
        d.Key("maskpictureindex", -1);
        d.Rect("skinrect", skin);
    };
    auto custom = [&](Pt lt, Pt rt, Pt lb, Pt rb, Box cl, bool edges, bool centre) {
        d.Corners(lt, rt, lb, rb);
        d.Rect("clientrect", cl);
        d.Bool("leftstretch", edges);
        d.Bool("topstretch", edges);
        d.Bool("rightstretch", edges);
        d.Bool("bottomstretch", edges);
        d.Bool("stretcheffect", centre);
        d.Key("stretchtype", "stfull");
    };

    controlBase("mainmenubar", kMenuBar, barRect);
    d.Rect("itemsrect", {2, 0, barRect.Width() - 2, MenuBarHeight});
    d.Key("menubaritem", "menubaritem");
    d.Key("closebutton", "mbclose");
    d.Key("minbutton", "mbmin");
    d.Key("maxbutton", "mbrestore");
    d.Key("sysmenubutton", "mbsysmenu");
    d.Color("trackmarkcolor", Text);
    d.Color("trackmarkactivecolor", Accent);
    d.Bool("stretcheffect", true);
    d.Bool("itemtransparent", false);

    auto panelKeys = [&](Box caption, Box gripRect) {
        d.Key("bgpictureindex", -1);
        d.Rect("captionrect", caption);
        d.Key("alignment", "taleftjustify");
        d.Font("font", ControlFontHeight, Text);
        d.Rect("checkimagerect", checkBox(0));
        d.Rect("uncheckimagerect", checkBox(1));
        d.Rect("markframerect", kEmpty);
        d.Rect("framerect", kEmpty);
        d.Rect("frametextrect", kEmpty);
        d.Key("frameleftoffset", 0);
        d.Key("framerightoffset", 0);
        d.Rect("gripperrect", gripRect);
        d.Bool("grippertransparent", gripRect.Width() > 0);
        d.Color("grippertransparentcolor", Transparent);
    };
    controlBase("panel", kControls, panel);
    custom({6, 22}, {26, 22}, {6, 26}, {26, 26}, {2, 2, 30, 30}, true, true);
    panelKeys({4, 2, 28, 20}, kEmpty);
    controlBase("statusbar", kControls, status);
    custom({4, 4}, {28, 4}, {4, 18}, {28, 18}, {2, 3, 30, 20}, true, true);
    panelKeys({4, 3, 28, 20}, grip);

    auto upDownKeys = [&](Box up, Box activeUp, Box downUp, Box down, Box activeDown, Box downDown) {
        d.Rect("upbuttonrect", up);
        d.Rect("activeupbuttonrect", activeUp);
        d.Rect("downupbuttonrect", downUp);
        d.Rect("downbuttonrect", down);
        d.Rect("activedownbuttonrect", activeDown);
        d.Rect("downdownbuttonrect", downDown);
    };
    controlBase("hupdown", kHUpDown, {0, 0, 2 * U, U});
    custom({}, {}, {}, {}, kEmpty, false, false);
    upDownKeys({U, 0, 2 * U, U}, {U, U, 2 * U, 2 * U}, {U, 2 * U, 2 * U, 3 * U}, {0, 0, U, U}, {0, U, U, 2 * U},
               {0, 2 * U, U, 3 * U});
    controlBase("vupdown", kVUpDown, {0, 0, U, 2 * U});
    custom({}, {}, {}, {}, kEmpty, false, false);
    upDownKeys({0, 0, U, U}, {U, 0, 2 * U, U}, {2 * U, 0, 3 * U, U}, {0, U, U, 2 * U}, {U, U, 2 * U, 2 * U},
               {2 * U, U, 3 * U, 2 * U});

    controlBase("tab", kControls, page);
    d.Rect("tabrect", tab(0));
    d.Rect("activetabrect", tab(1));
    d.Rect("focustabrect", tab(1));
    d.Rect("mouseintabrect", tab(2));
    d.Rect("clientrect", {1, 1, page.Width() - 1, page.Height() - 1});
    d.Key("bgpictureindex", -1);
    d.Corners({4, 4}, {page.Width() - 4, 4}, {4, page.Height() - 4}, {page.Width() - 4, page.Height() - 4});
    d.Key("tableftoffset", 5);
    d.Key("tabrightoffset", 5);
    d.Rect("tabsbgrect", tabsBg);
    d.Bool("tabstretcheffect", false);
    d.Bool("leftstretch", true);
    d.Bool("topstretch", true);
    d.Bool("rightstretch", true);
    d.Bool("bottomstretch", true);
    d.Bool("stretcheffect", true);
    d.Key("stretchtype", "stfull");
    d.Font("font", MenuFontHeight, Text);
    d.Color("activefontcolor", TextStrong);
    d.Color("focusfontcolor", TextStrong);
    d.Color("mouseinfontcolor", TextStrong);
    d.Key("updown", "hupdown");
    d.Bool("showfocus", false);
    d.Key("focusoffsetx", 0);
    d.Key("focusoffsety", 0);

    controlBase("richedit", -1, kEmpty);
    d.Font("font", ControlFontHeight, Text);
    d.Color("bgcolor", White);

    controlBase("resizebutton", kControls, pushButton(0));
    custom({5, 5}, {19, 5}, {5, 17}, {19, 17}, {4, 4, 20, 18}, true, true);
    d.Font("font", ControlFontHeight, Text);
    d.Color("activefontcolor", TextStrong);
    d.Color("downfontcolor", TextStrong);
    d.Color("disabledfontcolor", TextDisabled);
    d.Rect("activeskinrect", pushButton(1));
    d.Rect("downskinrect", pushButton(2));
    d.Rect("disabledskinrect", kEmpty);
    d.Bool("morphing", true);
    d.Key("morphkind", "mkdefault");
    d.Rect("animateskinrect", kEmpty);
    d.Key("framecount", 0);
    d.Key("animateinterval", 25);
    d.Bool("showfocus", false);

    const Box checkRow{72, 14, 168, 32};  // plain panel colour: the check box's own background
    controlBase("checkbox", kControls, checkRow);
    custom({20, 0}, {checkRow.Width() - 6, 0}, {}, {}, kEmpty, false, false);
    d.Font("font", ControlFontHeight, Text);
    d.Color("activefontcolor", TextStrong);
    d.Color("unenabledfontcolor", TextDisabled);
    d.Color("framefontcolor", Text);
    d.Rect("activeskinrect", kEmpty);
    d.Rect("checkimagearea", {0, 2, 14, 16});
    d.Rect("textarea", {18, 0, checkRow.Width(), checkRow.Height()});
    d.Rect("checkimagerect", checkBox(0));
    d.Rect("uncheckimagerect", checkBox(1));
    d.Rect("activecheckimagerect", checkBox(2));
    d.Rect("activeuncheckimagerect", checkBox(3));
    d.Rect("unenabledcheckimagerect", checkBox(0));
    d.Rect("unenableduncheckimagerect", checkBox(1));
    d.Bool("morphing", false);
    d.Key("morphkind", "mkdefault");

    controlBase("stdlabel", -1, kEmpty);
    d.Font("font", ControlFontHeight, Text);
    d.Color("activefontcolor", Accent);

    art.description = d.Text();
    return art;
}

}  // namespace fn::art

namespace fn::art {

TBitmapData ToBitmapData(const SkinPicture& picture) {
    TBitmapData bmp;
    bmp.SetSize(picture.pixels.Width(), picture.pixels.Height());
    for (int y = 0; y < bmp.Height; ++y)
        for (int x = 0; x < bmp.Width; ++x) {
            const Rgb c = picture.pixels.At(x, y);
            bmp.SetPixel(x, y, (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b);
        }
    if (picture.mask) {
        bmp.BitsPerPixel = 1;
        bmp.Palette = {0x000000, 0xFFFFFF};
    }
    return bmp;
}

void WriteSkinFolder(const SkinArt& art, const std::string& folder) {
    const String base = Utf8ToWide(folder) + L"/";
    ToBitmapData(art.picture).SaveToFile(base + Utf8ToWide(art.picture.fileName));
    ToBitmapData(art.mask).SaveToFile(base + Utf8ToWide(art.mask.fileName));
    for (const auto& p : art.activePictures) ToBitmapData(p).SaveToFile(base + Utf8ToWide(p.fileName));
    TFileStream ini(base + L"skin.ini", FileMode::Create);
    ini.WriteBuffer(art.description.data(), art.description.size());
    ini.Close();
}

}  // namespace fn::art
