#pragma once
// The HTML help viewer library: found through the library search or the registry, loaded
// once at start-up, and its entry points.
#include <windows.h>

#include "platform/core/strings.h"

namespace fn {

using THtmlHelpNarrow = HWND(WINAPI*)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);
using THtmlHelpWide = HWND(WINAPI*)(HWND owner, LPCWSTR file, UINT command, DWORD_PTR data);

inline constexpr const wchar_t* ViewerLibraryName = L"hhctrl.ocx";
// Where the viewer control's in-process server is registered (under the classes root).
inline constexpr const wchar_t* ViewerServerKey =
    L"CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32";

extern HMODULE ViewerLibrary;
extern THtmlHelpNarrow HtmlHelpEntry;        // "HtmlHelpA"
extern THtmlHelpWide HtmlHelpWideEntry;      // "HtmlHelpW"
extern THtmlHelpNarrow HtmlHelpNarrowEntry;  // "HtmlHelpA"
// When false the library is not loaded at start-up.
extern bool AutoLoadViewer;

// The Windows and the system folder, without trailing separator.
String WindowsFolder();
String SystemFolder();

// The registered viewer path with "%SystemRoot%" expanded, when that file exists; otherwise
// the library's name in the system folder.
String RegisteredViewerPath();

// Loads the library (by name, else from RegisteredViewerPath) and looks up its entries;
// does nothing when it is already loaded.
void LoadViewer();
// Frees the library and clears the entries.
void FreeViewer();

}  // namespace fn
