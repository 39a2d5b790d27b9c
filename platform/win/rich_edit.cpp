#include "platform/win/rich_edit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/forms.h"
#include "platform/win/graphics.h"
#include "platform/win/handles.h"
#include "platform/win/printers.h"

namespace fn {

namespace {

// Files beyond this size are not read: the control cannot hold their text anyway.
constexpr int64_t kMaxFileBytes = int64_t{1} << 30;
constexpr LPARAM kMaxTextChars = 0x7FFFFFF0;

const wchar_t* RichEditClass() {
    static ModuleHandle module;
    static const wchar_t* name = [] {
        module.reset(::LoadLibraryW(L"Msftedit.dll"));
        if (module.get()) return L"RICHEDIT50W";
        module.reset(::LoadLibraryW(L"Riched20.dll"));
        if (module.get()) return L"RichEdit20W";
        throw EOutOfResources(L"Das Steuerelement für formatierten Text ist nicht verfügbar");
    }();
    return name;
}

String SystemErrorText(DWORD code) {
    wchar_t* text = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    String result = n ? String(text, n) : L"Fehler " + IntToStr(code);
    if (text) ::LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' ')) result.pop_back();
    return result;
}

// Stream callbacks of EM_STREAMIN / EM_STREAMOUT. Nothing may be thrown across the control.
DWORD CALLBACK ReadFromStream(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    try {
        *done = static_cast<LONG>(reinterpret_cast<TStream*>(cookie)->Read(buffer, static_cast<size_t>(count)));
        return 0;
    } catch (...) {
        *done = 0;
        return 1;
    }
}

DWORD CALLBACK WriteToFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    DWORD written = 0;
    BOOL ok = ::WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &written, nullptr);
    *done = static_cast<LONG>(written);
    return ok && written == static_cast<DWORD>(count) ? 0 : 1;
}

DWORD CALLBACK WriteToStream(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    try {
        size_t n = reinterpret_cast<TStream*>(cookie)->Write(buffer, static_cast<size_t>(count));
        *done = static_cast<LONG>(n);
        return n == static_cast<size_t>(count) ? 0 : 1;
    } catch (...) {
        *done = 0;
        return 1;
    }
}

bool IsRichText(TStream& stream) {
    int64_t start = stream.Position();
    char head[5];
    size_t n = stream.Read(head, sizeof head);
    stream.SetPosition(start);
    return n == sizeof head && std::memcmp(head, "{\\rtf", sizeof head) == 0;
}

// A file opened for writing, closed on destruction.
class WriteHandle {
public:
    explicit WriteHandle(const String& path)
        : handle_(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~WriteHandle() { Close(); }
    WriteHandle(const WriteHandle&) = delete;
    WriteHandle& operator=(const WriteHandle&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close() {
        bool ok = !IsOpen() || ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_;
};

// Removes a temporary file unless the work that wrote it was committed.
class TemporaryFile {
public:
    explicit TemporaryFile(String path) : path_(std::move(path)) {}
    ~TemporaryFile() { if (!committed_) ::DeleteFileW(path_.c_str()); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const String& Path() const { return path_; }
    void Commit() { committed_ = true; }

private:
    String path_;
    bool committed_ = false;
};

int ScreenPixelsPerInch() {
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

// --- character and paragraph format ---

CHARFORMAT2W TTextAttributes::Get() const {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    edit_.Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

// Formatting selected text changes the document; at a bare caret it only sets what comes next.
void TTextAttributes::Set(CHARFORMAT2W& format) {
    format.cbSize = sizeof format;
    edit_.Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    if (edit_.SelLength() > 0) edit_.SetModified(true);
}

String TTextAttributes::Name() const { return Get().szFaceName; }
int TTextAttributes::Size() const { return Get().yHeight / 20; }
bool TTextAttributes::Bold() const { return Get().dwEffects & CFE_BOLD; }
bool TTextAttributes::Italic() const { return Get().dwEffects & CFE_ITALIC; }
bool TTextAttributes::Underline() const { return Get().dwEffects & CFE_UNDERLINE; }
bool TTextAttributes::StrikeOut() const { return Get().dwEffects & CFE_STRIKEOUT; }

COLORREF TTextAttributes::Color() const {
    CHARFORMAT2W format = Get();
    return (format.dwEffects & CFE_AUTOCOLOR) ? ::GetSysColor(COLOR_WINDOWTEXT) : format.crTextColor;
}

void TTextAttributes::SetName(const String& name) {
    CHARFORMAT2W format{};
    format.dwMask = CFM_FACE;
    name.copy(format.szFaceName, LF_FACESIZE - 1);
    Set(format);
}

void TTextAttributes::SetSize(int points) {
    CHARFORMAT2W format{};
    format.dwMask = CFM_SIZE;
    format.yHeight = points * 20;
    Set(format);
}

void TTextAttributes::SetBold(bool on) {
    CHARFORMAT2W format{};
    format.dwMask = CFM_BOLD;
    format.dwEffects = on ? CFE_BOLD : 0;
    Set(format);
}

void TTextAttributes::Assign(const TFontDesc& font) {
    CHARFORMAT2W format{};
    format.dwMask = CFM_FACE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR | CFM_CHARSET;
    font.name.copy(format.szFaceName, LF_FACESIZE - 1);
    // Heights below zero are character heights in screen pixels, as fonts are stored.
    if (font.height != 0) {
        format.dwMask |= CFM_SIZE;
        format.yHeight = ::MulDiv(font.height < 0 ? -font.height : font.height, 72 * 20, ScreenPixelsPerInch());
    }
    if (font.bold) format.dwEffects |= CFE_BOLD;
    if (font.italic) format.dwEffects |= CFE_ITALIC;
    if (font.underline) format.dwEffects |= CFE_UNDERLINE;
    if (font.strikeOut) format.dwEffects |= CFE_STRIKEOUT;
    if (font.color == clWindowText) format.dwEffects |= CFE_AUTOCOLOR;
    else format.crTextColor = ColorToColorRef(font.color);
    format.bCharSet = static_cast<BYTE>(font.charset);
    Set(format);
}

TAlignment TParaAttributes::Alignment() const {
    PARAFORMAT2 format{};
    format.cbSize = sizeof format;
    edit_.Send(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    switch (format.wAlignment) {
        case PFA_RIGHT: return TAlignment::taRightJustify;
        case PFA_CENTER: return TAlignment::taCenter;
        default: return TAlignment::taLeftJustify;
    }
}

void TParaAttributes::SetAlignment(TAlignment alignment) {
    PARAFORMAT2 format{};
    format.cbSize = sizeof format;
    format.dwMask = PFM_ALIGNMENT;
    format.wAlignment = alignment == TAlignment::taRightJustify ? PFA_RIGHT
                        : alignment == TAlignment::taCenter    ? PFA_CENTER
                                                               : PFA_LEFT;
    edit_.Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    edit_.SetModified(true);
}

// --- text as files and streams ---

void TRichEditStrings::LoadFromFile(const String& fileName) {
    TFileStream file(fileName, FileMode::OpenRead);
    LoadFromStream(file);
}

void TRichEditStrings::LoadFromStream(TStream& stream) {
    int64_t start = stream.Position();
    int64_t size = stream.Size() - start;
    if (size > kMaxFileBytes) {
        SetText(String());
        throw EReadError(texts::LoadStreamError);
    }
    if (IsRichText(stream)) {
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&stream), 0, ReadFromStream};
        edit_.Send(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
        if (es.dwError == 0) return;
        stream.SetPosition(start);
    }
    // Plain text: decoded here so that UTF-8 and UTF-16 files read right whatever the
    // system's code page.
    String text;
    {
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        if (stream.Read(bytes.data(), bytes.size()) != bytes.size()) {
            SetText(String());
            throw EReadError(texts::LoadStreamError);
        }
        text = DecodeText(bytes.data(), bytes.size());
    }
    // A NUL character means a binary file, not a note.
    if (text.find(L'\0') != String::npos) {
        SetText(String());
        throw EReadError(texts::LoadStreamError);
    }
    TBytesStream source(text.data(), text.size() * sizeof(wchar_t));
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&source), 0, ReadFromStream};
    edit_.Send(EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&es));
    if (es.dwError != 0) {
        SetText(String());
        throw EReadError(texts::LoadStreamError);
    }
}

void TRichEditStrings::SaveToFile(const String& fileName) {
    String folder = ExtractFilePath(fileName);
    if (folder.empty()) folder = L".";
    // A read-only file or a folder of that name is never replaced.
    DWORD attributes = ::GetFileAttributesW(fileName.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw EFCreateError(Format(fn::texts::FCreateError, {fileName, SystemErrorText(ERROR_ACCESS_DENIED)}));
    wchar_t temp[MAX_PATH];
    if (!::GetTempFileNameW(folder.c_str(), L"fn", 0, temp))
        throw EFCreateError(Format(fn::texts::FCreateError, {fileName, SystemErrorText(::GetLastError())}));
    TemporaryFile file(temp);
    {
        WriteHandle out(file.Path());
        if (!out.IsOpen())
            throw EFCreateError(Format(fn::texts::FCreateError, {fileName, SystemErrorText(::GetLastError())}));
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(out.Get()), 0, WriteToFile};
        edit_.Send(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
        if (!out.Close() || es.dwError != 0) throw EWriteError(texts::SaveStreamError);
    }
    if (!::MoveFileExW(file.Path().c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw EFCreateError(Format(fn::texts::FCreateError, {fileName, SystemErrorText(::GetLastError())}));
    file.Commit();
}

String TRichEditStrings::Text() const {
    TMemoryStream out;
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&out), 0, WriteToStream};
    edit_.Send(EM_STREAMOUT, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&es));
    return String(reinterpret_cast<const wchar_t*>(out.Memory()), out.Length() / sizeof(wchar_t));
}

void TRichEditStrings::SetText(const String& text) {
    TBytesStream source(text.data(), text.size() * sizeof(wchar_t));
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&source), 0, ReadFromStream};
    edit_.Send(EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&es));
}

// --- the control ---

TRichEdit::TRichEdit(TComponent* owner) : TWinControl(owner) {}

TRichEdit::~TRichEdit() {
    DestroyHandle();
    if (fontHandle_) ::DeleteObject(fontHandle_);
}

void TRichEdit::GetCreateParams(CreateParams& p) {
    TWinControl::GetCreateParams(p);
    p.className = RichEditClass();
    p.style = (p.style & ~WS_CLIPCHILDREN) | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
    p.exStyle |= WS_EX_CLIENTEDGE;
}

void TRichEdit::HandleCreated() {
    Send(EM_EXLIMITTEXT, 0, kMaxTextChars);
    if (!ownFont_) {
        if (TForm* form = GetParentForm(handle_)) font_ = form->Font();
    }
    ApplyFont();
    ApplyWordWrap();
    ApplyScrollBars();
    Send(EM_SETMODIFY, FALSE);
    // Setting up the control is nothing to undo.
    Send(EM_EMPTYUNDOBUFFER);
}

bool TRichEdit::ReadProperty(const String& name, const FormValue& v, TReader& reader) {
    if (name == L"WordWrap") wordWrap_ = v.AsBool();
    else if (name == L"ScrollBars") {
        static const struct { const wchar_t* n; TScrollStyle s; } table[] = {
            {L"ssNone", TScrollStyle::ssNone}, {L"ssHorizontal", TScrollStyle::ssHorizontal},
            {L"ssVertical", TScrollStyle::ssVertical}, {L"ssBoth", TScrollStyle::ssBoth}};
        const String& ident = v.AsIdent();
        bool found = false;
        for (auto& e : table)
            if (ident == e.n) { scrollBars_ = e.s; found = true; }
        if (!found) throw EReadError(L"Unbekannte Bildlaufleisten: " + ident);
    } else if (name.rfind(L"Font.", 0) == 0) {
        if (!font_.ReadProperty(name.substr(5), v)) return false;
        ownFont_ = true;
    } else return TWinControl::ReadProperty(name, v, reader);
    return true;
}

void TRichEdit::SetFont(const TFontDesc& font) {
    font_ = font;
    ownFont_ = true;
    if (HandleAllocated()) ApplyFont();
}

void TRichEdit::ApplyFont() {
    HFONT font = ::CreateFontW(font_.height, 0, 0, 0, font_.bold ? FW_BOLD : FW_NORMAL, font_.italic, font_.underline,
                               font_.strikeOut, static_cast<BYTE>(font_.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font_.name.c_str());
    if (!font) return;
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (fontHandle_) ::DeleteObject(fontHandle_);
    fontHandle_ = font;
    // Rich text stores sizes in half points: a base size between two (8.25 points for an
    // 11-pixel font) would come back from a saved note, or a paste, a size smaller. The size is
    // set to the half point that shows at the same pixel height, so text reads back as typed.
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    Send(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    const int twips = RichTextSizeTwips(format.yHeight, ScreenPixelsPerInch());
    if (twips == format.yHeight) return;
    format.dwMask = CFM_SIZE;
    format.yHeight = twips;
    Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    // An empty control's paragraph mark carries what is typed next; text already there keeps
    // the sizes it has.
    if (GetTextLen() == 0) Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

int RichTextSizeTwips(int twips, int pixelsPerInch) {
    if (twips <= 0 || pixelsPerInch <= 0 || twips % 10 == 0) return twips;
    const int pixels = ::MulDiv(twips, pixelsPerInch, 1440);
    for (int candidate : {(twips + 9) / 10 * 10, twips / 10 * 10})
        if (candidate > 0 && ::MulDiv(candidate, pixelsPerInch, 1440) == pixels) return candidate;
    return twips;
}

void TRichEdit::SetWordWrap(bool wrap) {
    wordWrap_ = wrap;
    if (HandleAllocated()) ApplyWordWrap();
}

// Target device none with width 0 wraps at the window's edge; width 1 means no wrapping.
void TRichEdit::ApplyWordWrap() { Send(EM_SETTARGETDEVICE, 0, wordWrap_ ? 0 : 1); }

void TRichEdit::SetScrollBars(TScrollStyle bars) {
    scrollBars_ = bars;
    if (HandleAllocated()) ApplyScrollBars();
}

void TRichEdit::ApplyScrollBars() {
    bool vertical = scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth;
    bool horizontal = scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth;
    Send(EM_SHOWSCROLLBAR, SB_VERT, vertical);
    Send(EM_SHOWSCROLLBAR, SB_HORZ, horizontal);
}

bool TRichEdit::Modified() { return Send(EM_GETMODIFY) != 0; }
void TRichEdit::SetModified(bool modified) { Send(EM_SETMODIFY, modified); }

int TRichEdit::SelStart() {
    CHARRANGE range{};
    Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMin;
}

int TRichEdit::SelLength() {
    CHARRANGE range{};
    Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMax - range.cpMin;
}

void TRichEdit::SetSelStart(int start) {
    CHARRANGE range{start, start};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void TRichEdit::SetSelLength(int length) {
    int start = SelStart();
    CHARRANGE range{start, start + length};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

int TRichEdit::GetTextLen() {
    GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<int>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query)));
}

void TRichEdit::CutToClipboard() { Send(WM_CUT); }
void TRichEdit::CopyToClipboard() { Send(WM_COPY); }
void TRichEdit::PasteFromClipboard() { Send(WM_PASTE); }
void TRichEdit::ClearSelection() { Send(WM_CLEAR); }
void TRichEdit::SelectAll() {
    CHARRANGE range{0, -1};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

int TRichEdit::PrintPages(HDC dc, const RECT& pageTwips, const std::function<void()>& newPage) {
    struct LayoutCache {  // the control keeps its page layout until told to drop it
        TRichEdit& edit;
        ~LayoutCache() { edit.Send(EM_FORMATRANGE, FALSE, 0); }
    } cache{*this};
    int length = GetTextLen();
    FORMATRANGE range{};
    range.hdc = range.hdcTarget = dc;
    range.rcPage = pageTwips;
    int start = 0, pages = 0;
    for (;;) {
        range.rc = pageTwips;
        range.chrg = {start, -1};
        LONG next = static_cast<LONG>(Send(EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range)));
        // A control that lays out no page at all cannot print; its text goes out as plain text.
        if (pages == 0 && next <= 0 && length > 0) return PrintPlainPages(dc, pageTwips, newPage);
        ++pages;
        // A page that took no text (a line taller than the page) would repeat for ever.
        if (next <= start || next >= length) break;
        newPage();
        start = next;
    }
    return pages;
}

int TRichEdit::PrintPlainPages(HDC dc, const RECT& pageTwips, const std::function<void()>& newPage) {
    auto toX = [dc](int twips) { return ::MulDiv(twips, ::GetDeviceCaps(dc, LOGPIXELSX), 1440); };
    auto toY = [dc](int twips) { return ::MulDiv(twips, ::GetDeviceCaps(dc, LOGPIXELSY), 1440); };
    RECT page{toX(pageTwips.left), toY(pageTwips.top), toX(pageTwips.right), toY(pageTwips.bottom)};
    int points = ::MulDiv(font_.height < 0 ? -font_.height : font_.height, 72, ScreenPixelsPerInch());
    HFONT font = ::CreateFontW(-::MulDiv(points, ::GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0,
                               font_.bold ? FW_BOLD : FW_NORMAL, font_.italic, font_.underline, font_.strikeOut,
                               static_cast<BYTE>(font_.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, font_.name.c_str());
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    int lineHeight = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    int width = std::max(1, static_cast<int>(page.right - page.left));
    String text = lines_.Text();
    int pages = 1, y = page.top;
    auto emitLine = [&](const wchar_t* line, int count) {
        // Each page holds at least one line, so the text always moves on.
        if (y > page.top && y + lineHeight > page.bottom) {
            newPage();
            ++pages;
            y = page.top;
        }
        ::TextOutW(dc, page.left, y, line, count);
        y += lineHeight;
    };
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L"\r\n", pos);
        if (end == String::npos) end = text.size();
        const wchar_t* para = text.data() + pos;
        int rest = static_cast<int>(end - pos);
        if (rest == 0 && end < text.size()) emitLine(para, 0);
        while (rest > 0) {
            int fit = 0;
            SIZE extent;
            ::GetTextExtentExPointW(dc, para, rest, width, &fit, nullptr, &extent);
            int take = std::clamp(fit, 1, rest);
            if (take < rest) {  // break after the last blank that fits
                int blank = take;
                while (blank > 0 && para[blank - 1] != L' ') --blank;
                if (blank > 0) take = blank;
            }
            emitLine(para, take);
            para += take;
            rest -= take;
        }
        if (end >= text.size()) break;
        pos = end + 2;
    }
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
    return pages;
}

RECT PrintTextRect(const TPrintSheet& s) {
    if (s.DpiX <= 0 || s.DpiY <= 0) return {0, 0, 0, 0};
    auto x = [&](int units) { return ::MulDiv(units, 1440, s.DpiX); };
    auto y = [&](int units) { return ::MulDiv(units, 1440, s.DpiY); };
    const RECT whole{0, 0, x(s.PrintableWidth), y(s.PrintableHeight)};
    const RECT text{std::max(0, kPrintMarginTwips - x(s.OffsetX)), std::max(0, kPrintMarginTwips - y(s.OffsetY)),
                    std::min<int>(whole.right, x(s.Width - s.OffsetX) - kPrintMarginTwips),
                    std::min<int>(whole.bottom, y(s.Height - s.OffsetY) - kPrintMarginTwips)};
    // Less than an inch left between the margins: the sheet is too small for them.
    if (text.right - text.left < 1440 || text.bottom - text.top < 1440) return whole;
    return text;
}

void TRichEdit::Print(const String& caption) {
    TPrinter* printer = Printer();
    printer->BeginDoc(caption);
    try {
        HDC dc = printer->Handle();
        TPrintSheet sheet;
        sheet.Width = ::GetDeviceCaps(dc, PHYSICALWIDTH), sheet.Height = ::GetDeviceCaps(dc, PHYSICALHEIGHT);
        sheet.PrintableWidth = ::GetDeviceCaps(dc, HORZRES), sheet.PrintableHeight = ::GetDeviceCaps(dc, VERTRES);
        sheet.OffsetX = ::GetDeviceCaps(dc, PHYSICALOFFSETX), sheet.OffsetY = ::GetDeviceCaps(dc, PHYSICALOFFSETY);
        sheet.DpiX = ::GetDeviceCaps(dc, LOGPIXELSX), sheet.DpiY = ::GetDeviceCaps(dc, LOGPIXELSY);
        // A device that names no sheet (no physical size) is taken to print to its edges.
        if (sheet.Width <= 0 || sheet.Height <= 0)
            sheet.Width = sheet.PrintableWidth, sheet.Height = sheet.PrintableHeight, sheet.OffsetX = sheet.OffsetY = 0;
        PrintPages(dc, PrintTextRect(sheet), [printer] { printer->NewPage(); });
        printer->EndDoc();
    } catch (...) {
        printer->Abort();
        throw;
    }
}

namespace {
const bool kRegistered = [] {
    RegisterComponentClass(L"TRichEdit", [](TComponent* owner) { return new TRichEdit(owner); });
    return true;
}();
}  // namespace

}  // namespace fn
