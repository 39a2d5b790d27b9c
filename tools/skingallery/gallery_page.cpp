#include "tools/skingallery/gallery_page.h"

#include "platform/win/forms.h"
#include "skin/form/mantle_win.h"

namespace fn {

TmnMantle& TGalleryPage::Mantle() const {
    TmnMantle* mantle = TmnMantle::Of(dynamic_cast<const TForm*>(Owner()));
    if (!mantle) throw Exception(L"Eine Galerie-Seite braucht ein Fenster mit Mantle");
    return *mantle;
}

int TGalleryPage::Px(int at96) const {
    const auto* form = dynamic_cast<const TForm*>(Owner());
    return ScaledForDpi(at96, form ? form->Dpi() : 96);
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
    status_ = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE, Px(x), Px(y), Px(width), Px(20), handle_,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
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
