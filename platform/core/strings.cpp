#include "platform/core/library_texts.h"
#include "platform/core/strings.h"

#include "platform/core/exceptions.h"

namespace fn {

String Format(std::wstring_view pattern, std::initializer_list<std::wstring_view> args) {
    String out;
    out.reserve(pattern.size() + 32);
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        wchar_t c = pattern[i];
        if (c == L'%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == L'%') { out += L'%'; ++i; continue; }
            if (pattern[i + 1] == L's' || pattern[i + 1] == L'd') {
                if (next != args.end()) out += *next++;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

namespace {
// 0x80..0x9F, where Windows-1252 differs from Latin-1 (the undefined five map to themselves).
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

String DecodeWindows1252(const uint8_t* p, size_t n) {
    String out(n, L'\0');
    for (size_t i = 0; i < n; ++i)
        out[i] = (p[i] >= 0x80 && p[i] < 0xA0) ? static_cast<wchar_t>(kWindows1252High[p[i] - 0x80])
                                               : static_cast<wchar_t>(p[i]);
    return out;
}

std::string EncodeWindows1252(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kWindows1252High[i] == static_cast<char16_t>(c)) mapped = static_cast<char>(0x80 + i);
        out += mapped;
    }
    return out;
}

String Utf8ToWide(std::string_view s) {
    String out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        size_t len;
        if (c < 0x80) { cp = c; len = 1; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; len = 4; }
        else { out += L'\xFFFD'; ++i; continue; }
        if (i + len > s.size()) { out += L'\xFFFD'; break; }
        bool ok = true;
        for (size_t k = 1; k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) { out += L'\xFFFD'; ++i; continue; }
        i += len;
        if (sizeof(wchar_t) == 2 && cp > 0xFFFF) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<wchar_t>(cp);
        }
    }
    return out;
}

std::string WideToUtf8(std::wstring_view w) {
    std::string out;
    out.reserve(w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        char32_t cp = static_cast<char32_t>(w[i]);
        if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp < 0xDC00 && i + 1 < w.size() &&
            w[i + 1] >= 0xDC00 && w[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(w[i + 1]) - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

String IntToStr(long long value) { return std::to_wstring(value); }

bool TryStrToInt(std::wstring_view text, int& value) {
    size_t i = 0, n = text.size();
    while (i < n && text[i] == L' ') ++i;
    while (n > i && text[n - 1] == L' ') --n;
    bool negative = false;
    if (i < n && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    unsigned base = 10;
    if (i < n && text[i] == L'$') { base = 16; ++i; }
    else if (i + 1 < n && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) { base = 16; i += 2; }
    if (i >= n) return false;
    unsigned long long acc = 0;
    // Hex accepts the full 32-bit range (colours such as $FF00000F); decimal stays signed.
    const unsigned long long limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < n; ++i) {
        wchar_t c = text[i];
        unsigned d;
        if (c >= L'0' && c <= L'9') d = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f') d = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F') d = c - L'A' + 10;
        else return false;
        acc = acc * base + d;
        if (acc > limit) return false;
    }
    long long v = static_cast<long long>(acc);
    if (base == 16) v = static_cast<int32_t>(static_cast<uint32_t>(acc));
    value = static_cast<int>(negative ? -v : v);
    return true;
}

int StrToInt(std::wstring_view text) {
    int v;
    if (!TryStrToInt(text, v)) throw EConvertError(Format(texts::InvalidInteger, {text}));
    return v;
}

int StrToIntDef(std::wstring_view text, int fallback) {
    int v;
    return TryStrToInt(text, v) ? v : fallback;
}

String Trim(std::wstring_view t) {
    size_t a = 0, b = t.size();
    while (a < b && t[a] <= L' ') ++a;
    while (b > a && t[b - 1] <= L' ') --b;
    return String(t.substr(a, b - a));
}

String UpperCase(std::wstring_view t) {
    String s(t);
    for (auto& c : s) if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
    return s;
}

String LowerCase(std::wstring_view t) {
    String s(t);
    for (auto& c : s) if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    return s;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x + 32);
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y + 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace fn
