#include "platform/win/graphics.h"

#include <cstring>

namespace fn {

COLORREF ColorToColorRef(TColor color) {
    const auto value = static_cast<uint32_t>(color);
    if (value & 0x80000000u) return GetSysColor(static_cast<int>(value & 0xFF));
    return value & 0xFFFFFF;
}

void TGraphicsObject::Changed() {
    if (changing_) changing_();
    if (OnChange) OnChange();
}

// --- TFont ---

void TFont::SetName(const String& name) { Update(name_, name); }

void TFont::SetHeight(int height) { Update(height_, height); }

int TFont::Size() const { return -MulDiv(height_, 72, 96); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, 96, 72)); }

void TFont::SetStyle(TFontStyles style) { Update(style_, style); }

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    if (OnChange) OnChange();  // the font object stays
}

void TFont::SetCharSet(int charset) { Update(charset_, charset); }

void TFont::Assign(const TFont& other) {
    if (&other == this) return;
    name_ = other.name_;
    height_ = other.height_;
    style_ = other.style_;
    color_ = other.color_;
    charset_ = other.charset_;
    Remake();
}

void TFont::AssignLogFont(const LOGFONTW& font) {
    name_ = font.lfFaceName;
    height_ = font.lfHeight;
    style_ = static_cast<TFontStyles>((font.lfWeight >= FW_BOLD ? FontStyleBit(fsBold) : 0) |
                                      (font.lfItalic ? FontStyleBit(fsItalic) : 0) |
                                      (font.lfUnderline ? FontStyleBit(fsUnderline) : 0) |
                                      (font.lfStrikeOut ? FontStyleBit(fsStrikeOut) : 0));
    charset_ = font.lfCharSet;
    Remake();
}

HFONT TFont::Handle() {
    if (!handle_) {
        const LOGFONTW lf = MakeLogFont(name_, height_, style_, charset_);
        handle_.Reset(CreateFontIndirectW(&lf));
    }
    return handle_.Get();
}

// --- font descriptions ---

LOGFONTW MakeLogFont(const String& name, int height, TFontStyles style, int charset) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = HasFontStyle(style, fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = HasFontStyle(style, fsItalic);
    lf.lfUnderline = HasFontStyle(style, fsUnderline);
    lf.lfStrikeOut = HasFontStyle(style, fsStrikeOut);
    lf.lfCharSet = static_cast<BYTE>(charset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    wcsncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    return lf;
}

bool TFontDesc::ReadProperty(const String& sub, const FormValue& v, const TReader& reader) {
    if (sub == L"Name") name = v.AsString();
    else if (sub == L"Height") height = reader.Scaled(v);
    else if (sub == L"Color") color = v.kind == FormValue::Kind::Ident ? ColorFromIdent(v.AsIdent()) : v.AsInt();
    else if (sub == L"Charset") charset = v.kind == FormValue::Kind::Ident ? (SameText(v.text, L"DEFAULT_CHARSET") ? DEFAULT_CHARSET : ANSI_CHARSET) : v.AsInt();
    else if (sub == L"Style") {
        if (v.kind != FormValue::Kind::Set) throw EReadError(L"Font.Style erwartet eine Menge");
        bold = italic = underline = strikeOut = false;
        for (auto& s : v.items) {
            if (s == L"fsBold") bold = true;
            else if (s == L"fsItalic") italic = true;
            else if (s == L"fsUnderline") underline = true;
            else if (s == L"fsStrikeOut") strikeOut = true;
        }
    } else return false;
    return true;
}

TColor ColorFromIdent(const String& ident) {
    static const struct { const wchar_t* name; TColor value; } table[] = {
        {L"clBtnFace", clBtnFace}, {L"clWindowText", clWindowText}, {L"clBtnText", clBtnText},
        {L"clBtnShadow", clBtnShadow}, {L"clWindow", clWindow}, {L"clAppWorkSpace", clAppWorkSpace},
        {L"clHighlight", clHighlight}, {L"clHighlightText", clHighlightText}, {L"clMenu", clMenu},
        {L"clMenuText", clMenuText}, {L"clBlack", 0x000000}, {L"clWhite", 0xFFFFFF},
    };
    for (auto& e : table)
        if (SameText(ident, e.name)) return e.value;
    throw EReadError(L"Unbekannte Farbe: " + ident);
}

TFontStyles TFontDesc::Style() const {
    return static_cast<TFontStyles>((bold ? FontStyleBit(fsBold) : 0) | (italic ? FontStyleBit(fsItalic) : 0) |
                                    (underline ? FontStyleBit(fsUnderline) : 0) |
                                    (strikeOut ? FontStyleBit(fsStrikeOut) : 0));
}

TFontDesc TFontDesc::Of(const TFont& font) {
    TFontDesc d;
    d.name = font.Name();
    d.height = font.Height();
    d.color = font.Color();
    d.charset = font.CharSet();
    d.bold = HasFontStyle(font.Style(), fsBold);
    d.italic = HasFontStyle(font.Style(), fsItalic);
    d.underline = HasFontStyle(font.Style(), fsUnderline);
    d.strikeOut = HasFontStyle(font.Style(), fsStrikeOut);
    return d;
}

void TFontDesc::AssignTo(TFont& font) const {
    font.SetName(name);
    font.SetHeight(height);
    font.SetStyle(Style());
    font.SetColor(color);
    font.SetCharSet(charset);
}

bool ReadFontProperty(TFont& font, const String& sub, const FormValue& value, const TReader& reader) {
    TFontDesc d = TFontDesc::Of(font);
    if (!d.ReadProperty(sub, value, reader)) return false;
    d.AssignTo(font);
    return true;
}

// --- TPen ---

void TPen::SetColor(TColor color) { Update(color_, color); }

void TPen::SetWidth(int width) { Update(width_, width); }

void TPen::SetStyle(TPenStyle style) { Update(style_, style); }

void TPen::Assign(const TPen& other) {
    if (&other == this) return;
    color_ = other.color_;
    width_ = other.width_;
    style_ = other.style_;
    Remake();
}

HPEN TPen::Handle() {
    if (!handle_) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_NULL};
        handle_.Reset(CreatePen(styles[static_cast<int>(style_)], width_, ColorToColorRef(color_)));
    }
    return handle_.Get();
}

// --- TBrush ---

void TBrush::SetColor(TColor color) {
    if (color == color_ && style_ == TBrushStyle::bsSolid) return;
    color_ = color;
    style_ = TBrushStyle::bsSolid;
    Remake();
}

void TBrush::SetStyle(TBrushStyle style) { Update(style_, style); }

void TBrush::Assign(const TBrush& other) {
    if (&other == this) return;
    color_ = other.color_;
    style_ = other.style_;
    Remake();
}

HBRUSH TBrush::Handle() {
    if (style_ == TBrushStyle::bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    if (!handle_) handle_.Reset(CreateSolidBrush(ColorToColorRef(color_)));
    return handle_.Get();
}

// --- TCanvas ---

TCanvas::TCanvas() {
    font_.changing_ = [this] { ObjectChanging(selectedFont_, originalFont_); };
    pen_.changing_ = [this] { ObjectChanging(selectedPen_, originalPen_); };
    brush_.changing_ = [this] { ObjectChanging(selectedBrush_, originalBrush_); };
}

TCanvas::TCanvas(HDC dc) : TCanvas() { dc_ = dc; }

TCanvas::~TCanvas() { Deselect(); }

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    Deselect();
    dc_ = dc;
}

void TCanvas::ObjectChanging(HGDIOBJ& selected, HGDIOBJ& original) {
    if (selected && dc_) SelectObject(dc_, original);
    selected = original = nullptr;
}

void TCanvas::Deselect() {
    ObjectChanging(selectedFont_, originalFont_);
    ObjectChanging(selectedPen_, originalPen_);
    ObjectChanging(selectedBrush_, originalBrush_);
}

namespace {

void Require(HDC dc, HGDIOBJ wanted, HGDIOBJ& selected, HGDIOBJ& original) {
    if (!dc || selected == wanted) return;
    HGDIOBJ previous = SelectObject(dc, wanted);
    if (!selected) original = previous;
    selected = wanted;
}

}  // namespace

void TCanvas::RequireFont() {
    Require(dc_, font_.Handle(), selectedFont_, originalFont_);
    SetTextColor(dc_, ColorToColorRef(font_.Color()));
}

void TCanvas::RequirePen() { Require(dc_, pen_.Handle(), selectedPen_, originalPen_); }

void TCanvas::RequireBrush() {
    Require(dc_, brush_.Handle(), selectedBrush_, originalBrush_);
    SetBkColor(dc_, ColorToColorRef(brush_.Color()));
    SetBkMode(dc_, brush_.Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
    RequirePen();
    ::LineTo(dc_, x, y);
}

POINT TCanvas::PenPos() const {
    POINT p{};
    GetCurrentPositionEx(dc_, &p);
    return p;
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    RequirePen();
    RequireBrush();
    ::Rectangle(dc_, left, top, right, bottom);
}

void TCanvas::FillRect(const RECT& r) { ::FillRect(dc_, &r, brush_.Handle()); }

void TCanvas::FrameRect(const RECT& r) { ::FrameRect(dc_, &r, brush_.Handle()); }

void TCanvas::Polygon(const POINT* points, int count) {
    RequirePen();
    RequireBrush();
    ::Polygon(dc_, points, count);
}

COLORREF TCanvas::Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

void TCanvas::SetPixel(int x, int y, TColor color) { ::SetPixel(dc_, x, y, ColorToColorRef(color)); }

void TCanvas::PrepareText() {
    RequireFont();
    RequireBrush();
}

void TCanvas::TextOut(int x, int y, const String& text) {
    PrepareText();
    ::TextOutW(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const RECT& r, int x, int y, const String& text) {
    PrepareText();
    const UINT options = ETO_CLIPPED | (brush_.Style() == TBrushStyle::bsClear ? 0 : ETO_OPAQUE);
    ExtTextOutW(dc_, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

SIZE TCanvas::TextExtent(const String& text) {
    RequireFont();
    SIZE size{};
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& src) {
    const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    const int sw = src.right - src.left, sh = src.bottom - src.top;
    if (dw == sw && dh == sh) {
        BitBlt(dc_, dest.left, dest.top, dw, dh, source.dc_, src.left, src.top, SRCCOPY);
    } else {
        SetStretchBltMode(dc_, COLORONCOLOR);
        StretchBlt(dc_, dest.left, dest.top, dw, dh, source.dc_, src.left, src.top, sw, sh, SRCCOPY);
    }
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
    StretchDraw({x, y, x + bitmap.Width(), y + bitmap.Height()}, bitmap);
}

void TCanvas::StretchDraw(const RECT& dest, TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    HDC source = bitmap.Canvas().Handle();
    const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    if (bitmap.Transparent()) {
        TransparentBlt(dc_, dest.left, dest.top, dw, dh, source, 0, 0, bitmap.Width(), bitmap.Height(),
                       bitmap.TransparentColor());
    } else if (dw == bitmap.Width() && dh == bitmap.Height()) {
        BitBlt(dc_, dest.left, dest.top, dw, dh, source, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc_, COLORONCOLOR);
        StretchBlt(dc_, dest.left, dest.top, dw, dh, source, 0, 0, bitmap.Width(), bitmap.Height(), SRCCOPY);
    }
}

void TCanvas::IntersectClip(const RECT& r) { IntersectClipRect(dc_, r.left, r.top, r.right, r.bottom); }

RECT TCanvas::ClipRect() const {
    RECT r{};
    GetClipBox(dc_, &r);
    return r;
}

// The saved state never holds this canvas's own objects: they are deselected first, so a later
// change of font, pen or brush cannot leave a deleted object in a saved state.
int TCanvas::SaveState() {
    Deselect();
    return SaveDC(dc_);
}

void TCanvas::RestoreState(int saved) {
    Deselect();
    RestoreDC(dc_, saved);
}

// --- TBitmap ---

TBitmap::TBitmap() : dc_(nullptr) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() {
    canvas_.reset();
    if (dc_ && originalBitmap_) SelectObject(dc_.Get(), originalBitmap_);
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TCanvas>(dc_.Get());
    return *canvas_;
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (width == width_ && height == height_) return;
    Recreate(width, height);
    if (bits_) std::memset(bits_, 0xFF, static_cast<size_t>(RowStride()) * height_);
}

void TBitmap::Recreate(int width, int height) {
    TBitmapHandle fresh;
    uint8_t* bits = nullptr;
    if (width > 0 && height > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* memory = nullptr;
        fresh.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
        if (!fresh) throw EOutOfResources(L"Bitmap kann nicht erzeugt werden");
        bits = static_cast<uint8_t*>(memory);
    }
    HGDIOBJ previous = SelectObject(dc_.Get(), fresh ? static_cast<HGDIOBJ>(fresh.Get()) : originalBitmap_);
    if (!originalBitmap_) originalBitmap_ = previous;
    bitmap_ = std::move(fresh);
    bits_ = bits;
    width_ = bits ? width : 0;
    height_ = bits ? height : 0;
}

COLORREF TBitmap::TransparentColor() const {
    if (Empty()) return 0;
    GdiFlush();
    const uint8_t* p = ScanLine(height_ - 1);
    return RGB(p[2], p[1], p[0]);
}

uint8_t* TBitmap::ScanLine(int y) {
    GdiFlush();
    return bits_ + static_cast<ptrdiff_t>(y) * RowStride();
}

const uint8_t* TBitmap::ScanLine(int y) const {
    GdiFlush();
    return bits_ + static_cast<ptrdiff_t>(y) * RowStride();
}

void TBitmap::Assign(const TBitmap& other) {
    if (&other == this) return;
    Recreate(other.width_, other.height_);
    GdiFlush();
    if (bits_) std::memcpy(bits_, other.bits_, static_cast<size_t>(RowStride()) * height_);
    transparent_ = other.transparent_;
}

void TBitmap::Assign(const TBitmapData& picture) {
    Recreate(picture.Empty() ? 0 : picture.Width, picture.Empty() ? 0 : picture.Height);
    if (!bits_) return;
    GdiFlush();
    for (int y = 0; y < height_; ++y) {
        const uint32_t* from = picture.Pixels.data() + static_cast<size_t>(y) * width_;
        uint8_t* to = bits_ + static_cast<ptrdiff_t>(y) * RowStride();
        for (int x = 0; x < width_; ++x, to += 3) {
            to[0] = static_cast<uint8_t>(from[x]);
            to[1] = static_cast<uint8_t>(from[x] >> 8);
            to[2] = static_cast<uint8_t>(from[x] >> 16);
        }
    }
}

void TBitmap::LoadFromDIB(const BITMAPINFO& info, const void* bits) {
    const int width = info.bmiHeader.biWidth;
    const int height = info.bmiHeader.biHeight < 0 ? -info.bmiHeader.biHeight : info.bmiHeader.biHeight;
    Recreate(width, height);
    if (bits_) SetDIBits(dc_.Get(), bitmap_.Get(), 0, static_cast<UINT>(height), bits, &info, DIB_RGB_COLORS);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) return {0, 0};
    return {bm.bmWidth, bm.bmHeight};
}

void TBitmap::LoadFromHandle(HBITMAP bitmap) {
    const SIZE size = BitmapSize(bitmap);
    Recreate(size.cx, size.cy);
    if (!bits_) return;
    TMemoryDC source;
    TSelectObject select(source.Get(), bitmap);
    BitBlt(dc_.Get(), 0, 0, width_, height_, source.Get(), 0, 0, SRCCOPY);
}

}  // namespace fn
