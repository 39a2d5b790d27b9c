#pragma once
// Strings, exceptions and file-name helpers of the class-library layer (portable).
#include <cstdint>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fn {

using String = std::wstring;

// Base of every exception the program raises; Message is shown by the application's handler.
class Exception {
public:
    explicit Exception(String message) : message_(std::move(message)) {}
    virtual ~Exception() = default;
    const String& Message() const { return message_; }

private:
    String message_;
};

class EConvertError : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
class EInvalidCast : public Exception { using Exception::Exception; };
class EInvalidGraphic : public Exception { using Exception::Exception; };
class EOutOfResources : public Exception { using Exception::Exception; };
class EStreamError : public Exception { using Exception::Exception; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };

// Texts of the class library, German whatever the system language.
namespace texts {
inline constexpr const wchar_t* FOpenError = L"Datei %s kann nicht geöffnet werden. %s";
inline constexpr const wchar_t* FCreateError = L"Datei %s kann nicht erstellt werden. %s";
inline constexpr const wchar_t* ReadError = L"Stream-Lesefehler";
inline constexpr const wchar_t* WriteError = L"Stream-Schreibfehler";
inline constexpr const wchar_t* InvalidInteger = L"'%s' ist kein gültiger Integerwert";
inline constexpr const wchar_t* InvalidBitmap = L"Bitmap ist ungültig";
}  // namespace texts

// Replaces each %s (in order) by the next argument; "%%" yields "%".
String Format(std::wstring_view pattern, std::initializer_list<std::wstring_view> args);

String Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// Windows-1252, the 8-bit text of skin descriptions. Every byte stands for one character: the
// five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) for the control
// characters of the same number, as the platform maps them, so that every byte survives a
// decode and encode. Characters outside the code page encode as "?".
String DecodeWindows1252(const uint8_t* data, size_t size);
std::string EncodeWindows1252(std::wstring_view text);

// Calls line(view) for each line of text. Lines end at CR, LF or CR LF; text after the last
// line break is a line of its own, an empty rest is none.
template <class F>
void ForEachLine(std::wstring_view text, F&& line) {
    // Both breaks are found with wmemchr; the next LF is kept while it lies ahead, so text of
    // CR-ended lines is still scanned once.
    const wchar_t* const p = text.data();
    const size_t size = text.size();
    size_t start = 0, lf = 0;
    bool lfAhead = false;
    while (start < size) {
        if (!lfAhead || lf < start) {
            const wchar_t* n = std::wmemchr(p + start, L'\n', size - start);
            lf = n ? static_cast<size_t>(n - p) : size;
            lfAhead = true;
        }
        const wchar_t* cr = std::wmemchr(p + start, L'\r', lf - start);
        const size_t end = cr ? static_cast<size_t>(cr - p) : lf;
        line(text.substr(start, end - start));
        start = (cr && end + 1 != lf) ? end + 1 : lf + 1;  // CR LF ends one line
    }
}

String IntToStr(long long value);
// Decimal or "$hex"/"0x" hex with optional sign and surrounding blanks; raises EConvertError.
int StrToInt(std::wstring_view text);
int StrToIntDef(std::wstring_view text, int fallback);
bool TryStrToInt(std::wstring_view text, int& value);

String Trim(std::wstring_view text);
String UpperCase(std::wstring_view text);  // ASCII letters only, as the class library does
String LowerCase(std::wstring_view text);
bool SameText(std::wstring_view a, std::wstring_view b);  // ASCII case-insensitive

// File names use either separator; the folder part keeps its trailing separator.
String ExtractFileName(std::wstring_view path);
String ExtractFilePath(std::wstring_view path);
String ExtractFileExt(std::wstring_view path);
bool FileExists(const String& path);
bool RemoveFile(const String& path);

// The system's description of the last file-system error (errno), for EFOpenError texts.
String LastErrorText();

}  // namespace fn
