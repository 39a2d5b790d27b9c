#pragma once
// The clipboard: which formats it holds, and its text.
#include <windows.h>

#include <string_view>

#include "platform/core/strings.h"

namespace fn {

class TClipboard {
public:
    bool HasFormat(UINT format) const { return ::IsClipboardFormatAvailable(format) != FALSE; }
    // The Unicode text on the clipboard (empty when it holds none).
    String AsText() const;
    // Replaces the clipboard's contents by text.
    void SetAsText(const String& text);
    // Replaces the clipboard's contents by text, put there at once, and format, which owner
    // renders only when a program asks for it (WM_RENDERFORMAT), or when it goes while it still
    // owns the clipboard (WM_RENDERALLFORMATS) by Render.
    void SetAsTextRenderingLater(HWND owner, const String& text, UINT format);
    // Answers a render message of the clipboard's owner: puts bytes as format. On
    // WM_RENDERALLFORMATS the owner opens the clipboard first (OpenForRendering).
    static void Render(UINT format, std::string_view bytes);
    // Opens the clipboard for owner while it still owns it; false (closed) when it does not.
    static bool OpenForRendering(HWND owner);
    // The registered format of rich text.
    static UINT RichTextFormat();
    void Clear();
};

TClipboard* Clipboard();

}  // namespace fn
