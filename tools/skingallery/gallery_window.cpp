#include "tools/skingallery/gallery_window.h"

#include <commctrl.h>

#include "platform/win/menus.h"
#include "skin/controls/skin_control_win.h"
#include "skin/form/border_icons.h"
#include "skin/form/mantle_win.h"
#include "tools/skingallery/gallery_pages.h"

namespace fn {

namespace {
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchPeriod = 500;
constexpr int kTabHeight = 26, kStatusHeight = 20;
}  // namespace

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
    LoadFromText(L"object SkinGallery: TForm\n  Left = 40\n  Top = 40\n  Width = 900\n  Height = 640\n"
                 L"  Caption = 'Skin-Galerie'\n  Scaled = True\nend\n");
    skin_ = new TmnSkinData(this);
    skin_->SetDpi(Dpi());
    // The window wears the chosen skin itself: frame, caption buttons, system menu, roll-up.
    mantle_ = new TmnMantle(this);
    mantle_->SetBorderIcons(BorderIconBit(biSystemMenu) | BorderIconBit(biMinimize) | BorderIconBit(biMaximize) |
                            BorderIconBit(biRollUp) | BorderIconBit(biMinimizeToTray));
    mantle_->SetSkinData(skin_);
    // A system menu of the gallery's own: the mantle puts the window commands before its item
    // and "Schließen" after it.
    auto* systemMenu = new TPopupMenu(this);
    auto* reload = new TMenuItem(systemMenu);
    reload->SetCaption(L"Skin neu &laden");
    reload->OnClick = [this](TComponent*) { Reload(); };
    systemMenu->Items()->Add(reload);
    mantle_->SetSystemMenu(systemMenu);
    Build();
}

void TGalleryForm::Start(TGallerySkinSource source, bool watch, int dpi) {
    if (dpi > 0) ChangeDpi(dpi);
    source_ = std::move(source);
    watch_ = watch;
    Reload();
    if (watch_ && source_.IsFolder()) {
        signature_ = FolderSignature(source_.Path);
        watchTimer_.Start(Handle(), kWatchTimer, kWatchPeriod);
    }
}

void TGalleryForm::Build() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&icc);
    HWND form = Handle();
    tabs_ = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 100, kTabHeight,
                              form, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    statusLine_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, 0, 100,
                                    kStatusHeight, form, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ApplyFont();
    pages_ = CreateGalleryPages(this);
    for (size_t i = 0; i < pages_.size(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(pages_[i]->Title());
        ::SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        pages_[i]->SetVisible(i == 0);
        pages_[i]->SetParent(this);
    }
    Layout();
}

void TGalleryForm::ApplyFont() {
    ApplyGalleryFont({tabs_, statusLine_}, Dpi(), font_);
    // The tabs' own padding (6 by 3 pixels) is not scaled by the system.
    ::SendMessageW(tabs_, TCM_SETPADDING, 0, MAKELPARAM(ScaledForDpi(6, Dpi()), ScaledForDpi(3, Dpi())));
}

void TGalleryForm::ChangeScale(int dpi, int fromDpi) {
    TForm::ChangeScale(dpi, fromDpi);
    if (tabs_) ApplyFont();
}

void TGalleryForm::Layout() {
    RECT r;
    ::GetClientRect(Handle(), &r);
    auto px = [this](int at96) { return ScaledForDpi(at96, Dpi()); };
    const int tabHeight = px(kTabHeight), statusHeight = px(kStatusHeight);
    ::MoveWindow(tabs_, px(4), px(4), r.right - px(8), tabHeight, TRUE);
    ::MoveWindow(statusLine_, px(8), r.bottom - statusHeight, r.right - px(16), statusHeight, TRUE);
    const int top = px(4) + tabHeight + px(2);
    for (TGalleryPage* p : pages_) p->SetBounds(px(4), top, r.right - px(8), r.bottom - statusHeight - top - px(2));
}

void TGalleryForm::ShowPage(int index) {
    for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->SetVisible(static_cast<int>(i) == index);
}

void TGalleryForm::SetStatus(const String& text) {
    status_ = text;
    ::SetWindowTextW(statusLine_, text.c_str());
}

void TGalleryForm::Reload() {
    try {
        LoadGallerySkin(*skin_, source_);
        SetStatus(L"Skin: " + skin_->SkinName() + L" — " + source_.Label() + (watch_ ? L" (wird beobachtet)" : L""));
    } catch (const Exception& e) {
        SetStatus(L"Fehler beim Laden von " + source_.Label() + L": " + e.Message());
    }
    for (TGalleryPage* p : pages_) p->SetSkinData(skin_->Empty() ? nullptr : skin_);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TGalleryForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case MSG_SKIN_AFTER_CHANGE:
            // The mantle hands the pages' controls the first two change messages; the last is ours.
            NotifySkinControls(this, msg, reinterpret_cast<TmnSkinData*>(wParam));
            return 0;
        case WM_ERASEBKGND: {
            RECT r;
            ::GetClientRect(Handle(), &r);
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_TIMER:
            if (wParam == kWatchTimer) {
                const String now = FolderSignature(source_.Path);
                if (now != signature_) {
                    signature_ = now;
                    Reload();
                }
                return 0;
            }
            break;
        case WM_NOTIFY: {
            const auto* n = reinterpret_cast<const NMHDR*>(lParam);
            if (n->hwndFrom == tabs_ && n->code == TCN_SELCHANGE) {
                ShowPage(static_cast<int>(::SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
                return 0;
            }
            break;
        }
        case WM_SIZE: {
            LRESULT r = TForm::WndProc(msg, wParam, lParam);
            if (tabs_) Layout();
            return r;
        }
        default: break;
    }
    return TForm::WndProc(msg, wParam, lParam);
}

}  // namespace fn
