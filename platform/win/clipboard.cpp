#include "platform/win/clipboard.h"

#include <cstring>

#include "platform/win/printers.h"

namespace fn {

namespace {

const wchar_t kCannotOpen[] = L"Zwischenablage kann nicht geöffnet werden";

// The clipboard is held open for the life of this object.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner = nullptr) {
        // Another program may hold it for a moment.
        for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
            open_ = ::OpenClipboard(owner) != FALSE;
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

namespace {

// A movable block of size bytes (at least one) that starts with data's bytes; the rest is zero.
GlobalHandle Block(const void* data, size_t bytes, size_t size) {
    GlobalHandle block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size ? size : 1));
    if (!block.get()) throw EOutOfResources(L"Zu wenig Arbeitsspeicher");
    void* p = ::GlobalLock(block.get());
    if (bytes) std::memcpy(p, data, bytes);
    ::GlobalUnlock(block.get());
    return block;
}

}  // namespace

void TClipboard::SetAsText(const String& text) {
    GlobalHandle block = Block(text.c_str(), text.size() * sizeof(wchar_t), (text.size() + 1) * sizeof(wchar_t));
    OpenedClipboard open;
    ::EmptyClipboard();
    if (::SetClipboardData(CF_UNICODETEXT, block.get())) block.release();  // the system owns it now
}

void TClipboard::SetAsTextRenderingLater(HWND owner, const String& text, UINT format) {
    GlobalHandle block = Block(text.c_str(), text.size() * sizeof(wchar_t), (text.size() + 1) * sizeof(wchar_t));
    OpenedClipboard open(owner);
    ::EmptyClipboard();  // owner owns the clipboard from here
    if (::SetClipboardData(CF_UNICODETEXT, block.get())) block.release();
    ::SetClipboardData(format, nullptr);
}

void TClipboard::Render(UINT format, std::string_view bytes) {
    // Rich text ends with a NUL for readers that look for one.
    GlobalHandle block = Block(bytes.data(), bytes.size(), bytes.size() + 1);
    if (::SetClipboardData(format, block.get())) block.release();
}

bool TClipboard::OpenForRendering(HWND owner) {
    if (!::OpenClipboard(owner)) return false;
    if (::GetClipboardOwner() == owner) return true;
    ::CloseClipboard();
    return false;
}

UINT TClipboard::RichTextFormat() {
    static const UINT format = ::RegisterClipboardFormatW(L"Rich Text Format");
    return format;
}

void TClipboard::Clear() {
    OpenedClipboard open;
    ::EmptyClipboard();
}

}  // namespace fn
