#pragma once
// The rich-edit control over the system's rich-edit window class: its text loaded from and
// saved to files (rich text first, plain text as the fallback), the selection and its character
// format, the paragraph alignment, word wrap and scroll bars, the clipboard commands and
// printing over the printer's pages.
#include <windows.h>
#include <richedit.h>

#include <functional>

#include "platform/core/graph_types.h"
#include "platform/core/streams.h"
#include "platform/win/controls.h"

namespace fn {

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

namespace texts {
inline constexpr const wchar_t* LoadStreamError = L"Das Laden des Streams ist misslungen";
inline constexpr const wchar_t* SaveStreamError = L"Das Speichern des Streams ist misslungen";
}  // namespace texts

class TRichEdit;

// Character format of the selection, or of the text typed next at the caret.
class TTextAttributes {
public:
    explicit TTextAttributes(TRichEdit& edit) : edit_(edit) {}
    String Name() const;
    int Size() const;  // points
    bool Bold() const;
    bool Italic() const;
    bool Underline() const;
    bool StrikeOut() const;
    COLORREF Color() const;
    void SetName(const String& name);
    void SetSize(int points);
    void SetBold(bool on);
    // Applies every attribute of font (name, size, style, colour, character set).
    void Assign(const TFontDesc& font);

private:
    CHARFORMAT2W Get() const;
    void Set(CHARFORMAT2W& format);
    TRichEdit& edit_;
};

// Paragraph format of the paragraphs the selection touches.
class TParaAttributes {
public:
    explicit TParaAttributes(TRichEdit& edit) : edit_(edit) {}
    TAlignment Alignment() const;
    void SetAlignment(TAlignment alignment);

private:
    TRichEdit& edit_;
};

// The control's text as a whole, as files and streams see it.
class TRichEditStrings {
public:
    explicit TRichEditStrings(TRichEdit& edit) : edit_(edit) {}
    // Replaces the text by the file's: rich text when the file is rich text the control can
    // read, else plain text (UTF-8 or UTF-16 with byte-order mark, UTF-8, or Windows-1252).
    // EFOpenError when the file cannot be opened; EReadError "Das Laden des Streams ist
    // misslungen" when it can be read neither way (the text is then empty).
    void LoadFromFile(const String& fileName);
    void LoadFromStream(TStream& stream);
    // Writes the text as rich text to a temporary file beside fileName, which replaces
    // fileName only after everything was written; on failure fileName is untouched and the
    // temporary file is gone. EFCreateError names fileName; EWriteError "Das Speichern des
    // Streams ist misslungen".
    void SaveToFile(const String& fileName);
    // The plain text, paragraphs ended by CR LF.
    String Text() const;
    void SetText(const String& text);

private:
    TRichEdit& edit_;
};

// A printer's sheet in its device units: the whole sheet, the printable area and where that
// area starts on the sheet, and the resolution.
struct TPrintSheet {
    int Width = 0, Height = 0;
    int PrintableWidth = 0, PrintableHeight = 0;
    int OffsetX = 0, OffsetY = 0;
    int DpiX = 0, DpiY = 0;
};

// Where printed text goes, in twips from the printable area's corner: kPrintMarginTwips (2 cm)
// from every edge of the sheet, or the printable area's own edge where the printer cannot
// print that close. A sheet too small for the margins gets its whole printable area.
inline constexpr int kPrintMarginTwips = 1134;
RECT PrintTextRect(const TPrintSheet& sheet);

// A character size in twips moved to whole half points (what rich text can store), to the one
// that shows at the same pixel height on a screen of pixelsPerInch; unchanged when it already
// is one or when neither neighbour shows the same.
int RichTextSizeTwips(int twips, int pixelsPerInch);

class TRichEdit : public TWinControl {
public:
    explicit TRichEdit(TComponent* owner);
    ~TRichEdit() override;
    const wchar_t* ClassName() const override { return L"TRichEdit"; }

    TRichEditStrings& Lines() { return lines_; }
    TTextAttributes& SelAttributes() { return selAttributes_; }
    TParaAttributes& Paragraph() { return paragraph_; }

    bool Modified();
    void SetModified(bool modified);
    int SelStart();
    void SetSelStart(int start);
    int SelLength();
    void SetSelLength(int length);
    int GetTextLen();

    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle bars);
    // The control's base font (the parent form's until one is set).
    const TFontDesc& Font() const { return font_; }
    void SetFont(const TFontDesc& font);

    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void ClearSelection();
    void SelectAll();

    // Prints the whole text on the printer as one job titled caption, a page after another,
    // within the margins of PrintTextRect.
    void Print(const String& caption);
    // Lays the text out on pages of pageTwips (twips, origin at the printable area's corner) on
    // device dc, drawing each; newPage runs between pages. Returns the number of pages.
    int PrintPages(HDC dc, const RECT& pageTwips, const std::function<void()>& newPage);

    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;

protected:
    void GetCreateParams(CreateParams& params) override;
    void HandleCreated() override;

private:
    friend class TTextAttributes;
    friend class TParaAttributes;
    friend class TRichEditStrings;
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendMessageW(Handle(), msg, wParam, lParam); }
    void ApplyFont();
    void ApplyWordWrap();
    void ApplyScrollBars();
    // Pages of the plain text in the base font, for a control that lays out no pages itself.
    int PrintPlainPages(HDC dc, const RECT& pageTwips, const std::function<void()>& newPage);

    TRichEditStrings lines_{*this};
    TTextAttributes selAttributes_{*this};
    TParaAttributes paragraph_{*this};
    TFontDesc font_;
    bool ownFont_ = false;
    HFONT fontHandle_ = nullptr;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
};

}  // namespace fn
