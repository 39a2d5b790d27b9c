#pragma once
// The rich-edit control over the system's rich-edit window class: its text loaded from and
// saved to files (rich text first, plain text as the fallback), the selection and its character
// format, the paragraph alignment, word wrap and scroll bars, the clipboard commands and
// printing over the printer's pages.
#include <windows.h>
#include <richedit.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/core/graph_types.h"
#include "platform/core/streams.h"
#include "platform/win/controls.h"
#include "platform/win/gdi.h"

namespace fn {

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

namespace texts {
inline constexpr const wchar_t* LoadStreamError = L"Das Laden des Streams ist misslungen";
inline constexpr const wchar_t* SaveStreamError = L"Das Speichern des Streams ist misslungen";
}  // namespace texts

class TRichEdit;

enum class TTextFormat { tfRichText, tfPlainText };

// What a load read.
struct TLoadedText {
    TTextFormat Format = TTextFormat::tfRichText;
    // The rich text held pictures or objects that the control did not keep: a save would write
    // the text without them.
    bool LostObjects = false;
};

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
    // The selection's font as a font dialog shows it (of its first character where it is
    // mixed): its size in screen pixels, and the face the system draws with where the named
    // face is not installed.
    TFontDesc Font() const;
    // Applies every attribute of font (name, size, style, colour, character set).
    void Assign(const TFontDesc& font);
    // Applies the attributes in which font differs from shown, the font a dialog started on:
    // what the user left alone stays as it is in every run of the selection.
    void AssignChanges(const TFontDesc& font, const TFontDesc& shown);

private:
    CHARFORMAT2W Get() const;
    void Set(CHARFORMAT2W& format);
    // Applies the attributes of font that mask (CFM_ bits) names.
    void Apply(const TFontDesc& font, DWORD mask);
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
    TLoadedText LoadFromFile(const String& fileName);
    TLoadedText LoadFromStream(TStream& stream);
    // Writes the text to a temporary file beside fileName, which replaces fileName only after
    // everything was written; on failure fileName is untouched and the temporary file is gone.
    // Rich text, or plain text as UTF-8 with byte-order mark and CR LF line ends.
    // EFCreateError names fileName; EWriteError "Das Speichern des Streams ist misslungen".
    void SaveToFile(const String& fileName, TTextFormat format = TTextFormat::tfRichText);
    // The selection, or the whole text, as rich text.
    std::string SelectedRichText() const;
    std::string RichText() const;
    // The plain text, paragraphs ended by CR LF.
    String Text() const;
    void SetText(const String& text);

private:
    TRichEdit& edit_;
    std::string StreamOutRichText(WPARAM flags) const;
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

// The language text typed in the control is tagged with: German (Germany).
inline constexpr LCID kTextLanguage = 1031;

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
    // The text of characters [start, end).
    String TextRange(int start, int end);
    // Whether any of the text looks other than plain text in the base font would: a run in
    // another face, size, style or colour, a paragraph not aligned left, a table, an object.
    bool HasFormatting();

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
    void ChangeScale(int dpi, int fromDpi) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void GetCreateParams(CreateParams& params) override;
    void HandleCreated() override;

private:
    friend class TTextAttributes;
    friend class TParaAttributes;
    friend class TRichEditStrings;
    class HiddenSelection;
    // What Copy or Cut put on the clipboard last, while this control owns it: the copied
    // characters [start, end) and their text, or (start -1) the rich text of cut ones.
    struct TCopied {
        int start = -1, end = -1;
        String text;
        std::string richText;
    };
    // The copied characters as rich text; without their formatting when the text changed since.
    std::string CopiedRichText();
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendMessageW(Handle(), msg, wParam, lParam); }
    void ApplyFont();
    void ApplyLanguage();
    void ApplyWordWrap();
    void ApplyScrollBars();
    // The text shows at its point size on the form's screen: it is laid out in the screen
    // context's dots per inch, so a form on a screen of others zooms it by their ratio.
    void ApplyZoom();
    // Pages of the plain text in the base font, for a control that lays out no pages itself.
    int PrintPlainPages(HDC dc, const RECT& pageTwips, const std::function<void()>& newPage);

    TRichEditStrings lines_{*this};
    TTextAttributes selAttributes_{*this};
    TParaAttributes paragraph_{*this};
    TFontDesc font_;
    bool ownFont_ = false;
    TFontHandle fontHandle_;  // the font given to the control (WM_SETFONT)
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
    std::optional<TCopied> copied_;
};

}  // namespace fn
