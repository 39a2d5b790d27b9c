#pragma once
// The skin library's replaceable texts: a string component holding "KEY=text" lines (English
// by default, editable to any language) and the built-in German texts used when an element's
// skin data manager has no string component. Consumers go through SkinLibraryText
// (skin_data.h), which applies that choice in one place.
#include <cstdint>
#include <string_view>

#include "platform/core/classes.h"

namespace fn {

// Keys the skin library looks up.
namespace skinstr {
inline constexpr std::wstring_view MI_MINCAPTION = L"MI_MINCAPTION";
inline constexpr std::wstring_view MI_MAXCAPTION = L"MI_MAXCAPTION";
inline constexpr std::wstring_view MI_CLOSECAPTION = L"MI_CLOSECAPTION";
inline constexpr std::wstring_view MI_RESTORECAPTION = L"MI_RESTORECAPTION";
inline constexpr std::wstring_view MI_MINTOTRAYCAPTION = L"MI_MINTOTRAYCAPTION";
inline constexpr std::wstring_view MI_ROLLUPCAPTION = L"MI_ROLLUPCAPTION";
inline constexpr std::wstring_view MINBUTTON_HINT = L"MINBUTTON_HINT";
inline constexpr std::wstring_view MAXBUTTON_HINT = L"MAXBUTTON_HINT";
inline constexpr std::wstring_view CLOSEBUTTON_HINT = L"CLOSEBUTTON_HINT";
inline constexpr std::wstring_view TRAYBUTTON_HINT = L"TRAYBUTTON_HINT";
inline constexpr std::wstring_view ROLLUPBUTTON_HINT = L"ROLLUPBUTTON_HINT";
inline constexpr std::wstring_view MENUBUTTON_HINT = L"MENUBUTTON_HINT";
}  // namespace skinstr

inline constexpr uint8_t DEFAULT_CHARSET_VALUE = 1;

class TmnResourceStrData : public TComponent {
public:
    explicit TmnResourceStrData(TComponent* owner);
    const wchar_t* ClassName() const override { return L"TmnResourceStrData"; }

    // One text per line, "KEY=text"; starts with the default lines.
    const TStringList& ResStrings() const { return strings_; }
    void SetResStrings(const TStringList& lines) { strings_ = lines; }

    // Character set given to every font a skinned element takes from the skin.
    uint8_t CharSet() const { return charset_; }
    void SetCharSet(uint8_t charset) { charset_ = charset; }

    // Text after the first "=" of the first line whose name (the text before that "=", not
    // trimmed) equals key ignoring letter case; empty when no line has that name.
    String GetResStr(std::wstring_view key) const;

    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    // Registers the class for form data ("TmnResourceStrData").
    static void Register();

    // The default lines, in their fixed order.
    static const std::vector<String>& DefaultLines();

private:
    TStringList strings_;
    uint8_t charset_ = DEFAULT_CHARSET_VALUE;
};

// The library's own text of key (German), or empty for a key it has none for.
String BuiltInSkinText(std::wstring_view key);

// Hint key of a caption button or animated object by its button command ordinal
// (0 close, 1 maximise, 2 minimise, 3 system menu, 5 roll-up, 6 to tray); empty for
// "cmdefault" and anything else.
std::wstring_view ButtonHintKey(int command);

}  // namespace fn
