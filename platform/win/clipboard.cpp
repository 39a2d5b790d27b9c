#include "platform/win/clipboard.h"

#include <cstring>

#include "platform/win/printers.h"

namespace fn {

namespace {

const wchar_t kCannotOpen[] = L"Zwischenablage kann nicht geöffnet werden";

// The clipboard is held open for the life of this object.
class OpenedClipboard {
public:
    OpenedClipboard() {
        // Another program may hold it for a moment.
        for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
            open_ = ::OpenClipboard(nullptr) != FALSE;
            if (!open_) ::Sleep(10);
        }
        if (!open_) throw EInvalidOperation(kCannotOpen);
    }
    ~OpenedClipboard() { ::CloseClipboard(); }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

private:
    bool open_ = false;
};

}  // namespace

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}

String TClipboard::AsText() const {
    OpenedClipboard open;
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return String();
    auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
    if (!text) return String();
    // The block may lack its terminator: never read past its size.
    size_t limit = ::GlobalSize(data) / sizeof(wchar_t);
    String result(text, wcsnlen(text, limit));
    ::GlobalUnlock(data);
    return result;
}

void TClipboard::SetAsText(const String& text) {
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    GlobalHandle block(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block.get()) throw EOutOfResources(L"Zu wenig Arbeitsspeicher");
    void* p = ::GlobalLock(block.get());
    std::memcpy(p, text.c_str(), bytes);
    ::GlobalUnlock(block.get());
    OpenedClipboard open;
    ::EmptyClipboard();
    if (::SetClipboardData(CF_UNICODETEXT, block.get())) block.release();  // the system owns it now
}

void TClipboard::Clear() {
    OpenedClipboard open;
    ::EmptyClipboard();
}

}  // namespace fn
