#include "platform/win/rich_edit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/clipboard.h"
#include "platform/win/dpi.h"
#include "platform/win/forms.h"
#include "platform/win/gdi.h"
#include "platform/win/graphics.h"
#include "platform/win/handles.h"
#include "platform/win/printers.h"
#include "platform/core/files.h"
#include "platform/core/library_texts.h"
#include "platform/core/rich_text_objects.h"
#include "platform/win/wait_cursor.h"

namespace fn {

namespace {

// Files beyond this size are not read: the control cannot hold their text anyway.
constexpr int64_t kMaxFileBytes = int64_t{1} << 30;
constexpr LPARAM kMaxTextChars = 0x7FFFFFF0;

const wchar_t* RichEditClass() {
    static TModuleHandle module;
    static const wchar_t* name = [] {
        module.Reset(::LoadLibraryW(L"Msftedit.dll"));
        if (module.Get()) return L"RICHEDIT50W";
        module.Reset(::LoadLibraryW(L"Riched20.dll"));
        if (module.Get()) return L"RichEdit20W";
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

// A stream read into the control, its pictures and objects counted on the way.
struct CountingSource {
    TStream& stream;
    TRichTextObjectCounter counter;
};

DWORD CALLBACK ReadCounting(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    auto* source = reinterpret_cast<CountingSource*>(cookie);
    try {
        *done = static_cast<LONG>(source->stream.Read(buffer, static_cast<size_t>(count)));
        source->counter.Feed(buffer, static_cast<size_t>(*done));
        return 0;
    } catch (...) {
        *done = 0;
        return 1;
    }
}

DWORD CALLBACK CountObjects(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    reinterpret_cast<TRichTextObjectCounter*>(cookie)->Feed(buffer, static_cast<size_t>(count));
    *done = count;
    return 0;
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

// Rich text written by the control, its header's default language made the notes' own: the
// control takes it from the system, where the runs carry the language they were typed in.
struct RichTextSink {
    std::function<bool(const char*, size_t)> write;
    bool headerDone = false;
};

DWORD CALLBACK WriteRichText(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    auto* sink = reinterpret_cast<RichTextSink*>(cookie);
    std::string_view chunk(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
    std::string tagged;
    if (!sink->headerDone) {
        sink->headerDone = true;
        const size_t header = chunk.substr(0, 256).find("\\deflang");
        size_t digits = header == std::string_view::npos ? header : header + 8;
        size_t end = digits;
        while (end != std::string_view::npos && end < chunk.size() && chunk[end] >= '0' && chunk[end] <= '9') ++end;
        if (end != digits && end != std::string_view::npos) {
            tagged = std::string(chunk.substr(0, digits)) + std::to_string(kTextLanguage) + std::string(chunk.substr(end));
            chunk = tagged;
        }
    }
    try {
        const bool ok = sink->write(chunk.data(), chunk.size());
        *done = ok ? count : 0;
        return ok ? 0 : 1;
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

// Creates an empty file of a fresh name in folder and returns its name; empty with the error in
// GetLastError when none can be made. Names of any length (the platform's temporary-name call
// stops at MAX_PATH).
String CreateTemporaryFileIn(const String& folder) {
    String base = folder;
    if (!base.empty() && base.back() != L'\\' && base.back() != L'/') base += L'\\';
    const DWORD start = ::GetTickCount() ^ (::GetCurrentProcessId() << 16);
    for (DWORD i = 0; i < 100; ++i) {
        wchar_t name[24];
        ::wsprintfW(name, L"fn%08lX.tmp", static_cast<unsigned long>(start + i * 7919));
        const String path = base + name;
        HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
            return path;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return {};
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

namespace {

// The face the system draws font with: the named one, or its stand-in where it is missing.
String DrawnFace(const TFontDesc& font) {
    const LOGFONTW lf = font.LogFont();
    TFontHandle handle(::CreateFontIndirectW(&lf));
    TWindowDC screen(nullptr);
    TSelectObject selected(screen.Get(), handle.Get());
    wchar_t face[LF_FACESIZE] = {};
    const int n = ::GetTextFaceW(screen.Get(), LF_FACESIZE, face);
    return n > 0 && face[0] ? String(face) : font.name;
}

}  // namespace

TFontDesc TTextAttributes::Font() const {
    const CHARFORMAT2W format = Get();
    TFontDesc font;
    font.name = format.szFaceName;
    // Pixels at the screen's resolution, rounded as the font dialog rounds them back.
    font.height = -::MulDiv(format.yHeight, SystemDpi(), 72 * 20);
    font.bold = format.dwEffects & CFE_BOLD;
    font.italic = format.dwEffects & CFE_ITALIC;
    font.underline = format.dwEffects & CFE_UNDERLINE;
    font.strikeOut = format.dwEffects & CFE_STRIKEOUT;
    font.color = (format.dwEffects & CFE_AUTOCOLOR) ? clWindowText : static_cast<TColor>(format.crTextColor);
    font.charset = format.bCharSet;
    font.name = DrawnFace(font);
    return font;
}

void TTextAttributes::Assign(const TFontDesc& font) {
    Apply(font, CFM_FACE | CFM_CHARSET | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR);
}

void TTextAttributes::AssignChanges(const TFontDesc& font, const TFontDesc& shown) {
    DWORD mask = 0;
    if (font.name != shown.name || font.charset != shown.charset) mask |= CFM_FACE | CFM_CHARSET;
    if (font.height != shown.height) mask |= CFM_SIZE;
    if (font.bold != shown.bold) mask |= CFM_BOLD;
    if (font.italic != shown.italic) mask |= CFM_ITALIC;
    if (font.underline != shown.underline) mask |= CFM_UNDERLINE;
    if (font.strikeOut != shown.strikeOut) mask |= CFM_STRIKEOUT;
    if (font.color != shown.color) mask |= CFM_COLOR;
    if (mask != 0) Apply(font, mask);
}

void TTextAttributes::Apply(const TFontDesc& font, DWORD mask) {
    CHARFORMAT2W format{};
    format.dwMask = mask;
    font.name.copy(format.szFaceName, LF_FACESIZE - 1);
    format.bCharSet = static_cast<BYTE>(font.charset);
    // Heights below zero are character heights in screen pixels, as fonts are stored; the size
    // is the half point that shows at that height, so that it reads back as it was chosen.
    if (font.height == 0) format.dwMask &= ~CFM_SIZE;
    const int dpi = SystemDpi();
    format.yHeight = RichTextSizeTwips(::MulDiv(font.height < 0 ? -font.height : font.height, 72 * 20, dpi), dpi);
    // The CFM_ and CFE_ bits of these effects are the same.
    if (font.bold) format.dwEffects |= CFE_BOLD;
    if (font.italic) format.dwEffects |= CFE_ITALIC;
    if (font.underline) format.dwEffects |= CFE_UNDERLINE;
    if (font.strikeOut) format.dwEffects |= CFE_STRIKEOUT;
    if (font.color == clWindowText) format.dwEffects |= CFE_AUTOCOLOR;
    else format.crTextColor = ColorToColorRef(font.color);
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

TLoadedText TRichEditStrings::LoadFromFile(const String& fileName) {
    TFileStream file(fileName, FileMode::OpenRead);
    return LoadFromStream(file);
}

TLoadedText TRichEditStrings::LoadFromStream(TStream& stream) {
    int64_t start = stream.Position();
    int64_t size = stream.Size() - start;
    if (size > kMaxFileBytes) {
        SetText(String());
        throw EReadError(texts::LoadStreamError);
    }
    if (IsRichText(stream)) {
        CountingSource source{stream, {}};
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&source), 0, ReadCounting};
        edit_.Send(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
        if (es.dwError == 0) {
            TLoadedText loaded;
            // Pictures and objects the control kept come out again when it writes rich text.
            if (source.counter.Count() > 0) {
                TRichTextObjectCounter kept;
                EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&kept), 0, CountObjects};
                edit_.Send(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&out));
                loaded.LostObjects = kept.Count() < source.counter.Count();
            }
            return loaded;
        }
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
    return TLoadedText{TTextFormat::tfPlainText, false};
}

namespace {

// The text as a plain-text file holds it: UTF-8 with byte-order mark, every line ended by CR LF.
std::string PlainTextFile(const String& text) {
    String lines;
    lines.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            lines += L"\r\n";
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            lines += c;
        }
    }
    return "\xEF\xBB\xBF" + WideToUtf8(lines);
}

}  // namespace

void TRichEditStrings::SaveToFile(const String& fileName, TTextFormat format) {
    String folder = ExtractFilePath(fileName);
    if (folder.empty()) folder = L".";
    // A read-only file or a folder of that name is never replaced.
    DWORD attributes = ::GetFileAttributesW(fileName.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw EFCreateError(Format(fn::texts::FCreateError, {fileName, SystemErrorText(ERROR_ACCESS_DENIED)}));
    const String temp = CreateTemporaryFileIn(folder);
    if (temp.empty()) throw EFCreateError(Format(fn::texts::FCreateError, {fileName, SystemErrorText(::GetLastError())}));
    TemporaryFile file(temp);
    {
        WriteHandle out(file.Path());
        if (!out.IsOpen())
            throw EFCreateError(Format(fn::texts::FCreateError, {fileName, SystemErrorText(::GetLastError())}));
        bool written;
        if (format == TTextFormat::tfPlainText) {
            const std::string bytes = PlainTextFile(Text());
            DWORD done = 0;
            written = ::WriteFile(out.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                      done == bytes.size();
        } else {
            RichTextSink sink{[&out](const char* data, size_t size) {
                DWORD done = 0;
                return ::WriteFile(out.Get(), data, static_cast<DWORD>(size), &done, nullptr) && done == size;
            }};
            EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&sink), 0, WriteRichText};
            edit_.Send(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
            written = es.dwError == 0;
        }
        if (!out.Close() || !written) throw EWriteError(texts::SaveStreamError);
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

std::string TRichEditStrings::SelectedRichText() const { return StreamOutRichText(SF_RTF | SFF_SELECTION); }

std::string TRichEditStrings::RichText() const { return StreamOutRichText(SF_RTF); }

std::string TRichEditStrings::StreamOutRichText(WPARAM flags) const {
    std::string rtf;
    RichTextSink sink{[&rtf](const char* data, size_t size) {
        rtf.append(data, size);
        return true;
    }};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&sink), 0, WriteRichText};
    edit_.Send(EM_STREAMOUT, flags, reinterpret_cast<LPARAM>(&es));
    return rtf;
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
    ApplyLanguage();
    ApplyWordWrap();
    ApplyScrollBars();
    ApplyZoom();
    // Changes to the text are told to the parent (EN_CHANGE), which keeps copies of changed notes.
    Send(EM_SETEVENTMASK, 0, Send(EM_GETEVENTMASK) | ENM_CHANGE);
    Send(EM_SETMODIFY, FALSE);
    // Setting up the control is nothing to undo.
    Send(EM_EMPTYUNDOBUFFER);
}

// Text typed here is German unless it came tagged otherwise (pasted or loaded with its tag).
void TRichEdit::ApplyLanguage() {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_LCID;
    format.lcid = kTextLanguage;
    Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    if (GetTextLen() == 0) Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
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
        if (!font_.ReadProperty(name.substr(5), v, reader)) return false;
        ownFont_ = true;
    } else return TWinControl::ReadProperty(name, v, reader);
    return true;
}

void TRichEdit::ChangeScale(int dpi, int fromDpi) {
    TWinControl::ChangeScale(dpi, fromDpi);
    if (HandleAllocated()) ApplyZoom();
}

void TRichEdit::ApplyZoom() {
    const TForm* form = GetParentForm(handle_);
    const int dpi = form && form->Scaled() ? form->Dpi() : 0, screen = SystemDpi();
    if (dpi > 0 && dpi != screen) Send(EM_SETZOOM, static_cast<WPARAM>(dpi), screen);
    else Send(EM_SETZOOM, 0, 0);
}

void TRichEdit::SetFont(const TFontDesc& font) {
    font_ = font;
    ownFont_ = true;
    if (HandleAllocated()) ApplyFont();
}

void TRichEdit::ApplyFont() {
    const LOGFONTW lf = font_.LogFont();
    TFontHandle font(::CreateFontIndirectW(&lf));
    if (!font) return;
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    fontHandle_ = std::move(font);
    // Rich text stores sizes in half points: a base size between two (8.25 points for an
    // 11-pixel font) would come back from a saved note, or a paste, a size smaller. The size is
    // set to the half point that shows at the same pixel height, so text reads back as typed.
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    Send(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    const int twips = RichTextSizeTwips(format.yHeight, SystemDpi());
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
    // A bar switched off while it showed goes at once, whatever the control's layout does later.
    if (!vertical) ::ShowScrollBar(Handle(), SB_VERT, FALSE);
    if (!horizontal) ::ShowScrollBar(Handle(), SB_HORZ, FALSE);
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

String TRichEdit::TextRange(int start, int end) {
    if (end <= start) return String();
    // Room for the terminator the control writes after the characters.
    String text(static_cast<size_t>(end - start) + 1, L'\0');
    TEXTRANGEW range{{start, end}, text.data()};
    const LRESULT n = Send(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(n, 0, end - start)));
    return text;
}

// Selects other text for a moment, unseen: the selection, the scroll position and drawing
// come back at the end.
class TRichEdit::HiddenSelection {
public:
    HiddenSelection(TRichEdit& edit, CHARRANGE range) : edit_(edit) {
        edit_.Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection_));
        edit_.Send(EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll_));
        edit_.Send(WM_SETREDRAW, FALSE);
        edit_.Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }
    ~HiddenSelection() {
        edit_.Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection_));
        edit_.Send(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll_));
        edit_.Send(WM_SETREDRAW, TRUE);
        ::InvalidateRect(edit_.Handle(), nullptr, TRUE);
    }
    HiddenSelection(const HiddenSelection&) = delete;
    HiddenSelection& operator=(const HiddenSelection&) = delete;

private:
    TRichEdit& edit_;
    CHARRANGE selection_{};
    POINT scroll_{};
};

bool TRichEdit::HasFormatting() {
    // With the whole text selected, the format every run shares comes back with its mask bit
    // set, a format that differs anywhere without it.
    CHARFORMAT2W chars{}, base{};
    chars.cbSize = base.cbSize = sizeof chars;
    PARAFORMAT2 paras{};
    paras.cbSize = sizeof paras;
    {
        HiddenSelection all(*this, CHARRANGE{0, -1});
        Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&chars));
        Send(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&base));
        Send(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paras));
    }

    constexpr DWORD kShared = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR;
    constexpr DWORD kEffects = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_AUTOCOLOR;
    if ((chars.dwMask & kShared) != kShared) return true;
    if (!SameText(chars.szFaceName, base.szFaceName) || chars.yHeight != base.yHeight ||
        (chars.dwEffects & kEffects) != (base.dwEffects & kEffects))
        return true;
    if (!(chars.dwEffects & CFE_AUTOCOLOR) && chars.crTextColor != base.crTextColor) return true;
    if (!(paras.dwMask & PFM_ALIGNMENT) || (paras.wAlignment != PFA_LEFT && paras.wAlignment != 0)) return true;
    if (paras.wEffects & PFE_TABLE) return true;
    // An object stands in the text as one character U+FFFC.
    return Lines().Text().find(L'\xFFFC') != String::npos;
}

namespace {

// Text as the clipboard holds it: paragraphs ended by CR LF (the control ends them by CR).
String ClipboardText(const String& text) {
    String result;
    result.reserve(text.size() + static_cast<size_t>(std::count(text.begin(), text.end(), L'\r')));
    for (size_t start = 0; start < text.size();) {
        const size_t cr = std::min(text.find(L'\r', start), text.size());
        result.append(text, start, cr - start);
        if (cr == text.size()) break;
        result += L'\r';
        if (cr + 1 == text.size() || text[cr + 1] != L'\n') result += L'\n';
        start = cr + 1;
    }
    return result;
}

// Rich text of plain text in the face and size (half points) given.
std::string RichTextOf(const String& text, const String& face, int halfPoints) {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil " + WideToUtf8(face) + ";}}\\uc1\\f0\\fs" +
                      std::to_string(halfPoints) + " ";
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            rtf += "\\par\r\n";
        } else if (c == L'\\' || c == L'{' || c == L'}') {
            rtf += '\\';
            rtf += static_cast<char>(c);
        } else if (c == L'\t') {
            rtf += "\\tab ";
        } else if (c >= 0x20 && c < 0x80) {
            rtf += static_cast<char>(c);
        } else if (c >= 0x20) {
            rtf += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
        }
    }
    return rtf + "}";
}

}  // namespace

// Copy and Cut put the selection's plain text on the clipboard at once and announce rich text,
// made only when a program asks for it: making rich text of a large selection takes the
// control long, and most pastes never ask for it.
void TRichEdit::CopyToClipboard() {
    CHARRANGE range{};
    Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    if (range.cpMax <= range.cpMin) return;
    TCopied copied{range.cpMin, range.cpMax, TextRange(range.cpMin, range.cpMax), {}};
    Clipboard()->SetAsTextRenderingLater(Handle(), ClipboardText(copied.text), TClipboard::RichTextFormat());
    copied_ = std::move(copied);
}

void TRichEdit::CutToClipboard() {
    CopyToClipboard();
    if (!copied_) return;
    // The cut text is gone before anyone asks: its rich text is kept from here.
    copied_->richText = CopiedRichText();
    copied_->start = copied_->end = -1;
    ClearSelection();
}

std::string TRichEdit::CopiedRichText() {
    if (!copied_) return std::string();
    if (copied_->start < 0) return copied_->richText;
    // Text changed since the copy has the copied characters without their formatting.
    if (TextRange(copied_->start, copied_->end) != copied_->text) {
        CHARFORMAT2W base{};
        base.cbSize = sizeof base;
        Send(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&base));
        return RichTextOf(copied_->text, base.szFaceName, base.yHeight / 10);
    }
    HiddenSelection copied(*this, CHARRANGE{copied_->start, copied_->end});
    return lines_.SelectedRichText();
}

LRESULT TRichEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        // The control's own copy makes rich text at once: its messages and keys copy here.
        case WM_COPY:
            CopyToClipboard();
            return 0;
        case WM_CUT:
            CutToClipboard();
            return 0;
        case WM_KEYDOWN: {
            const bool ctrl = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0,
                       alt = ::GetKeyState(VK_MENU) < 0;
            if (alt) break;
            if (ctrl && !shift && (wParam == 'C' || wParam == VK_INSERT)) {
                CopyToClipboard();
                return 0;
            }
            if ((ctrl && !shift && wParam == 'X') || (shift && !ctrl && wParam == VK_DELETE)) {
                CutToClipboard();
                return 0;
            }
            break;
        }
        case WM_RENDERFORMAT:
            if (wParam == TClipboard::RichTextFormat() && copied_) TClipboard::Render(static_cast<UINT>(wParam), CopiedRichText());
            return 0;
        case WM_RENDERALLFORMATS:
            // The note goes while its copy is on the clipboard: the rich text is made now, under
            // the wait cursor, so that it can still be pasted.
            if (copied_ && TClipboard::OpenForRendering(Handle())) {
                TWaitCursor wait;
                TClipboard::Render(TClipboard::RichTextFormat(), CopiedRichText());
                ::CloseClipboard();
            }
            return 0;
        case WM_DESTROYCLIPBOARD:
            copied_.reset();
            return 0;
        default:
            break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
void TRichEdit::PasteFromClipboard() { Send(WM_PASTE); }
void TRichEdit::ClearSelection() { Send(WM_CLEAR); }
void TRichEdit::SelectAll() {
    CHARRANGE range{0, -1};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

namespace {
const bool kRegistered = [] {
    RegisterComponentClass(L"TRichEdit", [](TComponent* owner) { return new TRichEdit(owner); });
    return true;
}();
}  // namespace

}  // namespace fn
