#pragma once
// Texts of the class-library layer's errors, German whatever the system language.

namespace fn {

// Texts of the class library, German whatever the system language.
namespace texts {
inline constexpr const wchar_t* FOpenError = L"Datei %s kann nicht geöffnet werden. %s";
inline constexpr const wchar_t* FCreateError = L"Datei %s kann nicht erstellt werden. %s";
inline constexpr const wchar_t* ReadError = L"Stream-Lesefehler";
inline constexpr const wchar_t* WriteError = L"Stream-Schreibfehler";
inline constexpr const wchar_t* InvalidInteger = L"'%s' ist kein gültiger Integerwert";
inline constexpr const wchar_t* InvalidBitmap = L"Bitmap ist ungültig";
}  // namespace texts

}  // namespace fn
