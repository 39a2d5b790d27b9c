#pragma once
// Strings of the class-library layer (portable): the string type, formatting, conversions
// between UTF-8, UTF-16 and Windows-1252, numbers, case and lines.
#include <cstdint>
#include <cwchar>
#include <initializer_list>
#include <string>
#include <string_view>

namespace fn {

using String = std::wstring;

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

}  // namespace fn
