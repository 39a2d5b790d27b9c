#include "tools/skingallery/gallery_page.h"

#include "platform/win/forms.h"
#include "skin/form/mantle_win.h"

namespace fn {

TFontHandle MakeGalleryFont(int dpi) {
    return TFontHandle(::CreateFontW(-ScaledForDpi(11, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                     L"Tahoma"));
}

void ApplyGalleryFont(std::initializer_list<HWND> windows, int dpi, TFontHandle& held) {
    TFontHandle font = MakeGalleryFont(dpi);
    const WPARAM shown = reinterpret_cast<WPARAM>(font ? font.Get() : ::GetStockObject(DEFAULT_GUI_FONT));
    for (HWND w : windows) ::SendMessageW(w, WM_SETFONT, shown, TRUE);
    held = std::move(font);  // the old font goes once the windows no longer use it
}

TmnMantle& TGalleryPage::Mantle() const {
    TmnMantle* mantle = TmnMantle::Of(dynamic_cast<const TForm*>(Owner()));
    if (!mantle) throw Exception(L"Eine Galerie-Seite braucht ein Fenster mit Mantle");
    return *mantle;
}

int TGalleryPage::Dpi() const {
    const auto* form = dynamic_cast<const TForm*>(Owner());
    return form ? form->Dpi() : 96;
}

int TGalleryPage::Px(int at96) const { return ScaledForDpi(at96, Dpi()); }

HFONT TGalleryPage::Font() {
    if (!font_) font_ = MakeGalleryFont(Dpi());
    return font_ ? font_.Get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

HWND TGalleryPage::AddChildWindow(const wchar_t* className, const wchar_t* text, DWORD style, RECT at96, int id) {
    HWND w = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, Px(at96.left), Px(at96.top),
                               Px(at96.right - at96.left), Px(at96.bottom - at96.top), Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!w) return nullptr;
    ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    children_.push_back({w, at96});
    return w;
}

void TGalleryPage::ChangeScale(int dpi, int fromDpi) {
    TWinControl::ChangeScale(dpi, fromDpi);
    TFontHandle old = std::move(font_);  // the children let go of it before it is deleted
    for (const ChildWindow& c : children_) {
        const RECT& r = c.At96;
        ::MoveWindow(c.Window, Px(r.left), Px(r.top), Px(r.right - r.left), Px(r.bottom - r.top), TRUE);
        ::SendMessageW(c.Window, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
    }
    if (handle_) ::InvalidateRect(handle_, nullptr, TRUE);
}

LRESULT TGalleryPage::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        ::GetClientRect(handle_, &r);
        ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    default:
        return TWinControl::WndProc(msg, wParam, lParam);
    }
}

void TGalleryPage::CreateStatusLine(const wchar_t* text, int x, int y, int width) {
    status_ = AddChildWindow(L"STATIC", text, 0, {x, y, x + width, y + 20});
}

TMenuItem* TGalleryPage::Add(TMenuItem* parent, const wchar_t* caption, TShortCut shortCut) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    // Items that get sub-menus later are told apart when clicked.
    if (!item->IsLine())
        item->OnClick = [this, item, text = String(caption)](TComponent*) {
            if (status_ && item->Count() == 0) ::SetWindowTextW(status_, (L"Gewählt: " + text).c_str());
        };
    parent->Add(item);
    return item;
}

TMenuItem* TGalleryPage::AddRecentNotes(TMenuItem* parent) {
    TMenuItem* recent = Add(parent, L"&Zuletzt geöffnet");
    Add(recent, L"Einkaufsliste.txt");
    Add(recent, L"Notizen zum Treffen.rtf");
    return recent;
}

}  // namespace fn
