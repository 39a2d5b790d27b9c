#pragma once
// Canvas and bitmap of the class-library layer: fonts, pens and brushes that make their GDI
// objects on demand, a canvas that draws with them on a device context, and a 24-bit bitmap
// with its own canvas.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/core/bitmap_data.h"
#include "platform/core/form_data.h"
#include "platform/core/graph_types.h"
#include "platform/core/exceptions.h"
#include "platform/win/gdi.h"

namespace fn {

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;

// A colour as GDI takes it; system colours (top bit set) are looked up by their low byte.
COLORREF ColorToColorRef(TColor color);

// Common part of font, pen and brush: a lazily made GDI object that is remade after a change.
// Changing() runs before the old object is deleted (a canvas deselects it then).
class TGraphicsObject {
public:
    TGraphicsObject() = default;
    TGraphicsObject(const TGraphicsObject&) = delete;
    TGraphicsObject& operator=(const TGraphicsObject&) = delete;
    virtual ~TGraphicsObject() = default;

    std::function<void()> OnChange;

protected:
    friend class TCanvas;
    void Changed();
    // After a change to what the GDI object is made from: tells the canvas and the listener,
    // then drops the object so that the next use makes it anew.
    void Remake() {
        Changed();
        DropHandle();
    }
    template <class T>
    void Update(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Remake();
    }
    virtual void DropHandle() = 0;
    std::function<void()> changing_;
};

// The system's description of a font: face, height, styles and character set.
LOGFONTW MakeLogFont(const String& name, int height, TFontStyles style, int charset);

class TFont;

// A font as forms and controls store it.
struct TFontDesc {
    String name = L"MS Sans Serif";
    int height = -11;
    TColor color = clWindowText;
    int charset = DEFAULT_CHARSET;
    bool bold = false, italic = false, underline = false, strikeOut = false;
    // Reads "Font.Name", "Font.Height", ... given the part after the dot; the height (pixels)
    // at the reader's dots per inch.
    bool ReadProperty(const String& sub, const FormValue& value, const TReader& reader);
    TFontStyles Style() const;
    LOGFONTW LogFont() const { return MakeLogFont(name, height, Style(), charset); }
    static TFontDesc Of(const TFont& font);
    void AssignTo(TFont& font) const;
};

// Reads one font key of form data ("Name", "Height", "Color", "Charset", "Style", given the
// part after the dot) into a font, its height at the reader's dots per inch; false when the key
// is none of these.
bool ReadFontProperty(TFont& font, const String& sub, const FormValue& value, const TReader& reader);

// A colour named in form data ("clBtnFace", "clBlack", ...); EReadError when unknown.
TColor ColorFromIdent(const String& ident);

class TFont : public TGraphicsObject {
public:
    const String& Name() const { return name_; }
    void SetName(const String& name);
    int Height() const { return height_; }  // negative: character height in pixels
    void SetHeight(int height);
    int Size() const;  // points at 96 pixels per inch
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int CharSet() const { return charset_; }
    void SetCharSet(int charset);
    void Assign(const TFont& other);
    void AssignLogFont(const LOGFONTW& font);

    HFONT Handle();

private:
    void DropHandle() override { handle_.Reset(); }
    String name_ = L"MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = SystemColorRef(COLOR_WINDOWTEXT);
    int charset_ = DEFAULT_CHARSET;
    TFontHandle handle_;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psClear };

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    void Assign(const TPen& other);

    HPEN Handle();

private:
    void DropHandle() override { handle_.Reset(); }
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    TPenHandle handle_;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color);  // also makes the brush solid
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    void Assign(const TBrush& other);

    HBRUSH Handle();  // the stock null brush for bsClear

private:
    void DropHandle() override { handle_.Reset(); }
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
    TBrushHandle handle_;
};

class TBitmap;

// Draws on a device context it does not own. The font, pen and brush are selected into the
// context when an operation needs them and deselected when the context changes.
class TCanvas {
public:
    TCanvas();
    explicit TCanvas(HDC dc);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return dc_; }
    void SetHandle(HDC dc);

    TFont& Font() { return font_; }
    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);  // the end point is not drawn
    POINT PenPos() const;
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void FillRect(const RECT& r);   // with the brush
    void FrameRect(const RECT& r);  // 1-pixel frame with the brush
    void Polygon(const POINT* points, int count);
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // Text in the font; the background is filled with the brush unless the brush is clear.
    void TextOut(int x, int y, const String& text);
    void TextRect(const RECT& r, int x, int y, const String& text);  // clipped to r
    SIZE TextExtent(const String& text);
    int TextWidth(const String& text) { return TextExtent(text).cx; }
    int TextHeight(const String& text) { return TextExtent(text).cy; }
    // Selects the font and its colour for direct GDI text calls on Handle().
    void PrepareText();

    // Copies source's rectangle src into dest, stretching when the sizes differ.
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& src);
    // The whole bitmap at (x, y); a transparent bitmap leaves its transparent colour out.
    void Draw(int x, int y, TBitmap& bitmap);
    void StretchDraw(const RECT& dest, TBitmap& bitmap);

    // Clipping and the drawing state (origin, clip region, selected objects, colours).
    void IntersectClip(const RECT& r);
    RECT ClipRect() const;
    int SaveState();
    void RestoreState(int saved);

private:
    void RequireFont();
    void RequirePen();
    void RequireBrush();
    void Deselect();
    void ObjectChanging(HGDIOBJ& selected, HGDIOBJ& original);

    HDC dc_ = nullptr;
    TFont font_;
    TPen pen_;
    TBrush brush_;
    HGDIOBJ selectedFont_ = nullptr, originalFont_ = nullptr;
    HGDIOBJ selectedPen_ = nullptr, originalPen_ = nullptr;
    HGDIOBJ selectedBrush_ = nullptr, originalBrush_ = nullptr;
};

// Runs SaveState on construction and RestoreState on destruction.
class TCanvasState {
public:
    explicit TCanvasState(TCanvas& canvas) : canvas_(canvas), saved_(canvas.SaveState()) {}
    ~TCanvasState() { canvas_.RestoreState(saved_); }
    TCanvasState(const TCanvasState&) = delete;
    TCanvasState& operator=(const TCanvasState&) = delete;

private:
    TCanvas& canvas_;
    int saved_;
};

// The size of a bitmap handle's picture; 0 x 0 for none or one the system does not know.
SIZE BitmapSize(HBITMAP bitmap);

// A 24-bit top-down device-independent bitmap with a canvas on its own memory context. A new
// or resized bitmap is white. Transparent drawing leaves out the colour of the bottom-left pixel.
class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }

    HBITMAP Handle() const { return bitmap_.Get(); }
    TCanvas& Canvas();

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    COLORREF TransparentColor() const;

    // Rows of 3 * Width bytes (blue, green, red) padded to 4 bytes, top row first.
    int RowStride() const { return (3 * width_ + 3) & ~3; }
    uint8_t* ScanLine(int y);
    const uint8_t* ScanLine(int y) const;

    // A copy of other's pixels and transparency.
    void Assign(const TBitmap& other);
    // A copy of a decoded picture's pixels (its alpha bytes are dropped).
    void Assign(const TBitmapData& picture);
    // Replaces the picture by packed device-independent pixels (1, 4, 8, 16, 24 or 32 bits per
    // pixel as the header says; a palette follows the header when it has one).
    void LoadFromDIB(const BITMAPINFO& info, const void* bits);
    // Replaces the picture by the pixels of any GDI bitmap.
    void LoadFromHandle(HBITMAP bitmap);

private:
    void Recreate(int width, int height);

    int width_ = 0, height_ = 0;
    bool transparent_ = false;
    uint8_t* bits_ = nullptr;
    TBitmapHandle bitmap_;
    TMemoryDC dc_;
    HGDIOBJ originalBitmap_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
};

}  // namespace fn
