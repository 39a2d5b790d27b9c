#pragma once
// Strings, exceptions and file-name helpers of the class-library layer (portable).
#include <cstdint>
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
