#pragma once
// The clipboard: which formats it holds, and its text.
#include <windows.h>

#include "platform/core/sys_utils.h"

namespace fn {

class TClipboard {
public:
    bool HasFormat(UINT format) const { return ::IsClipboardFormatAvailable(format) != FALSE; }
    // The Unicode text on the clipboard (empty when it holds none).
    String AsText() const;
    // Replaces the clipboard's contents by text.
    void SetAsText(const String& text);
    void Clear();
};

TClipboard* Clipboard();

}  // namespace fn
