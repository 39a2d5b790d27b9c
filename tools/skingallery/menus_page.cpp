#include "tools/skingallery/menus_page.h"

#include <string>

#include "platform/win/forms.h"
#include "platform/win/gdi.h"

namespace fn {

namespace {

enum : int { IdMainMenu = 101, IdLongMenu, IdTray, IdHintFirst = 110 };
constexpr UINT_PTR HintPollTimerId = 1;

struct ButtonSpec {
    int Id;
    const wchar_t* Caption;
    const wchar_t* Hint;
    int X, Y, W;
};

const ButtonSpec Buttons[] = {
    {IdMainMenu, L"Menü öffnen", L"Öffnet ein Menü mit Untermenüs", 16, 16, 160},
    {IdLongMenu, L"Langes Menü", L"40 Einträge: das Menü rollt", 16, 52, 160},
    {IdTray, L"Tray-Symbol zeigen", L"Zeigt das Symbol im Infobereich", 16, 88, 160},
    {IdHintFirst, L"Hinweis 1", L"Ein skinnierter Hinweis", 200, 16, 120},
    {IdHintFirst + 1, L"Hinweis 2", L"Hinweise folgen der Maus und gehen nach einer Weile", 200, 52, 120},
};

}  // namespace

TMenusPage::TMenusPage(TComponent* owner)
    : TGalleryPage(owner),
      mainMenu_(new TmnSkinPopupMenu(this)),
      longMenu_(new TmnSkinPopupMenu(this)),
      hint_(new TmnSkinHint(this)),
      images_(new TImageList(this, 16, 16)),
      tray_(new TmnTrayIcon(this)) {
    // The popups find the mantle of the page's form themselves.
    Mantle().SetMaxMenuItemsInWindow(15);

    DrawImages();
    mainMenu_->SetImages(images_);
    TMenuItem* root = mainMenu_->Items();
    TMenuItem* item = Add(root, L"&Neu", ShortCut('N', ssCtrl));
    item->SetImageIndex(0);
    item->SetHint(L"Legt ein leeres Dokument an");
    item = Add(root, L"&Öffnen...", ShortCut('O', ssCtrl));
    item->SetImageIndex(1);
    item->SetHint(L"Öffnet ein Dokument von der Platte");
    TMenuItem* more = Add(AddRecentNotes(root), L"&Weitere");
    Add(more, L"Archiv 2025");
    Add(more, L"Archiv 2024");
    Add(root, L"-");
    TMenuItem* wrap = Add(root, L"&Zeilenumbruch");
    wrap->SetChecked(true);
    TMenuItem* align = Add(root, L"&Ausrichtung");
    align->SetHint(L"Ein Punkt zeigt die gewählte Ausrichtung");
    for (const wchar_t* caption : {L"&Links", L"&Zentriert", L"&Rechts"}) {
        TMenuItem* choice = Add(align, caption);
        choice->SetRadioItem(true);
        choice->SetGroupIndex(1);
        choice->OnClick = [choice](TComponent*) { choice->SetChecked(true); };
    }
    align->Items(0)->SetChecked(true);
    Add(root, L"Ge&sperrt")->SetEnabled(false);
    Add(root, L"-");
    Add(root, L"&Beenden", ShortCut(VK_F4, ssAlt))->SetImageIndex(2);

    for (int i = 1; i <= 40; ++i) Add(longMenu_->Items(), (L"Eintrag " + std::to_wstring(i)).c_str());

    tray_->SetHint(L"Fennick Notizen – Galerie");
    // The window's minimise-to-tray button hides it behind this icon; the icon's menu is the
    // mantle's own ("Wiederherstellen" brings the window back as it was, "Schließen" closes it).
    Mantle().SetTrayIcon(tray_);
    tray_->SetIconVisible(false);
}

void TMenusPage::DrawImages() {
    const COLORREF background = RGB(255, 0, 255);  // the bottom-left pixel: transparent
    auto picture = [&](auto draw) {
        TBitmap b(16, 16);
        const HDC dc = b.Canvas().Handle();
        TBrushHandle back(::CreateSolidBrush(background));
        RECT all{0, 0, 16, 16};
        ::FillRect(dc, &all, back.Get());
        draw(dc);
        images_->Add(b);
    };
    auto box = [](HDC dc, RECT r, COLORREF fill) {
        TBrushHandle brush(::CreateSolidBrush(fill));
        ::FillRect(dc, &r, brush.Get());
        ::FrameRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    };
    picture([&](HDC dc) { box(dc, {3, 1, 13, 15}, RGB(255, 255, 255)); });                                 // a page
    picture([&](HDC dc) { box(dc, {1, 3, 7, 6}, RGB(230, 190, 60)); box(dc, {1, 5, 15, 14}, RGB(240, 205, 80)); });  // a folder
    picture([&](HDC dc) { box(dc, {4, 1, 12, 15}, RGB(150, 90, 50)); ::SetPixelV(dc, 10, 8, RGB(255, 220, 0)); });  // a door
}

void TMenusPage::SetSkinData(TmnSkinData* skinData) {
    Chain().CloseAll();
    hint_->HideHint();
    hint_->SetSkinData(skinData);
}

void TMenusPage::HandleCreated() {
    TGalleryPage::HandleCreated();
    for (const ButtonSpec& b : Buttons) AddChildWindow(L"BUTTON", b.Caption, BS_PUSHBUTTON, {b.X, b.Y, b.X + b.W, b.Y + 28}, b.Id);
    CreateStatusLine(L"Rechtsklick auf die Seite öffnet das Menü ebenfalls.", 16, 130, 400);
    hintPoll_.Start(handle_, HintPollTimerId, 100);
}

HWND TMenusPage::Button(int id) const { return ::GetDlgItem(handle_, id); }

void TMenusPage::OpenMainMenu() {
    RECT r;
    ::GetWindowRect(Button(IdMainMenu), &r);
    mainMenu_->PopupComponent = Button(IdMainMenu);
    mainMenu_->PopupAtRect(r, false);
}

void TMenusPage::OpenLongMenu() {
    RECT r;
    ::GetWindowRect(Button(IdLongMenu), &r);
    longMenu_->PopupComponent = Button(IdLongMenu);
    longMenu_->PopupAtRect(r, false);
}

void TMenusPage::OpenSubMenu() {
    // As a person does with the keyboard: down to the recent files, then right.
    TmnSkinMenu& chain = Chain();
    chain.KeyDown(VK_DOWN, 0);
    chain.KeyDown(VK_DOWN, 0);
    chain.KeyDown(VK_RIGHT, 0);
}

void TMenusPage::ShowHintAt(int index) {
    RECT r;
    ::GetWindowRect(Button(Buttons[index].Id), &r);
    const POINT at{r.left + Px(10), r.bottom + Px(4)};
    hint_->HintWindow().ActivateHint({at.x, at.y, at.x, at.y}, Buttons[index].Hint);
    // The mouse has not moved: the hint stays until it does.
    POINT pt;
    if (::GetCursorPos(&pt)) hovered_ = ::WindowFromPoint(pt);
}

void TMenusPage::PollHints() {
    POINT pt;
    if (!::GetCursorPos(&pt)) return;
    // No hint over an open menu; the button under the mouse gets its hint once the menu closes.
    if (Chain().Visible) {
        hint_->HideHint();
        hovered_ = nullptr;
        return;
    }
    HWND under = ::WindowFromPoint(pt);
    if (under == hovered_) return;
    hovered_ = under;
    for (const ButtonSpec& b : Buttons) {
        if (under && under == Button(b.Id)) {
            hint_->ShowHintText(b.Hint);
            return;
        }
    }
    hint_->HideHint();
}

LRESULT TMenusPage::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IdMainMenu: OpenMainMenu(); return 0;
        case IdLongMenu: OpenLongMenu(); return 0;
        case IdTray: tray_->SetIconVisible(true); return 0;
        default: return 0;
        }
    case WM_CONTEXTMENU:
        mainMenu_->PopupForContextMenu(handle_, lParam);
        return 0;
    case WM_TIMER:
        if (wParam == HintPollTimerId) {
            PollHints();
            return 0;
        }
        break;
    default:
        break;
    }
    return TGalleryPage::WndProc(msg, wParam, lParam);
}

}  // namespace fn
