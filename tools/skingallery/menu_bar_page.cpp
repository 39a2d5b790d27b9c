#include "tools/skingallery/menu_bar_page.h"

#include <algorithm>

#include "skin/form/mantle_win.h"

namespace fn {

// ---- TGalleryMenuBarOwner ----

void TGalleryMenuBarOwner::MainMenuExit() {
    if (!inMain_) return;
    inMain_ = false;
    SkinMenu().CloseAll();
    if (bar) bar->LeaveMenuMode();
}

void TGalleryMenuBarOwner::ShowChildSystemMenu(TForm*, const RECT& anchor, HWND opener) {
    SkinMenu().Popup(opener, MenusSkinData(), false, systemMenu, anchor, 0);
}

void TGalleryMenuBarOwner::MenuClosed() {
    if (SkinMenu().Visible) return;  // another owner's chain closed
    inSkin_ = false;
    if (inMain_) {
        inMain_ = false;
        if (bar) bar->LeaveMenuMode();
    }
}

// ---- TMenuBarPage ----

TMenuBarPage::TMenuBarPage(TComponent* owner)
    : TGalleryPage(owner),
      narrowOwner_(new TGalleryMenuBarOwner(this)),
      childOwner_(new TGalleryMenuBarOwner(this)),
      menu_(new TMainMenu(this)),
      childMenu_(nullptr),
      child_(new TForm(this)) {
    FillMainMenu(menu_->Items());
    // The maximised document's own menu: its "Format" takes the frame's place, "Tabelle" joins.
    childMenu_ = new TMainMenu(child_);
    TMenuItem* format = Add(childMenu_->Items(), L"F&ormat");
    format->SetGroupIndex(2);
    Add(format, L"&Schrift...");
    Add(format, L"&Absatz...");
    TMenuItem* table = Add(childMenu_->Items(), L"&Tabelle");
    table->SetGroupIndex(3);
    Add(table, L"&Einfügen");
    Add(table, L"&Löschen");
    childOwner_->child = child_;
    childOwner_->systemMenu = new TMenuItem(this);
    Add(childOwner_->systemMenu, L"&Wiederherstellen")->SetName(L"MTL_RESTORE");
    Add(childOwner_->systemMenu, L"-");
    Add(childOwner_->systemMenu, L"&Schließen", ShortCut(VK_F4, ssCtrl))->SetName(L"MTL_CLOSE");
}

void TMenuBarPage::FillMainMenu(TMenuItem* root) {
    TMenuItem* datei = Add(root, L"&Datei");
    datei->SetGroupIndex(0);
    Add(datei, L"&Neu", ShortCut('N', ssCtrl));
    Add(datei, L"Ö&ffnen...", ShortCut('O', ssCtrl));
    Add(datei, L"&Speichern", ShortCut('S', ssCtrl));
    Add(datei, L"Speichern &unter...");
    Add(datei, L"-");
    AddRecentNotes(datei);
    Add(datei, L"-");
    Add(datei, L"&Beenden", ShortCut(VK_F4, ssAlt));
    TMenuItem* edit = Add(root, L"&Bearbeiten");
    edit->SetGroupIndex(1);
    Add(edit, L"&Ausschneiden", ShortCut('X', ssCtrl));
    Add(edit, L"&Kopieren", ShortCut('C', ssCtrl));
    Add(edit, L"&Einfügen", ShortCut('V', ssCtrl))->SetEnabled(false);
    Add(edit, L"-");
    Add(edit, L"Alles &markieren", ShortCut('A', ssCtrl));
    TMenuItem* format = Add(root, L"&Format");
    format->SetGroupIndex(2);
    Add(format, L"&Schrift...");
    TMenuItem* align = Add(format, L"&Ausrichtung");
    Add(align, L"&Links")->SetChecked(true);
    Add(align, L"&Zentriert");
    Add(align, L"&Rechts");
    Add(format, L"&Zeilenumbruch")->SetChecked(true);
    TMenuItem* window = Add(root, L"&Fenster");
    window->SetGroupIndex(8);
    Add(window, L"&Nebeneinander");
    Add(window, L"Ü&berlappend");
    TMenuItem* help = Add(root, L"&Hilfe");
    help->SetGroupIndex(9);
    Add(help, L"&Inhalt", ShortCut(VK_F1, 0));
    Add(help, L"&Über...");
    TMenuItem* locked = Add(root, L"&Gesperrt");
    locked->SetEnabled(false);
    locked->SetGroupIndex(10);
}

TmnSkinMainMenuBar* TMenuBarPage::MakeBar(TmnMenuBarOwner* owner, TMainMenu* menu, int x, int y, int width) {
    auto* bar = new TmnSkinMainMenuBar(this);
    bar->SetAlign(TAlign::alNone);
    bar->SetBounds(Px(x), Px(y), width, Px(22));
    bar->SetParent(this);
    bar->SetMantle(owner);
    bar->SetMainMenu(menu);
    if (auto* standIn = dynamic_cast<TGalleryMenuBarOwner*>(owner)) {
        standIn->bar = bar;
        standIn->skin = skin_;
    }
    bar->SetSkinData(skin_);
    return bar;
}

int TMenuBarPage::BarWidth() const {
    RECT client{0, 0, 0, 0};
    if (handle_) ::GetClientRect(handle_, &client);
    return std::max(Px(400), static_cast<int>(client.right) - Px(24));
}

void TMenuBarPage::HandleCreated() {
    TGalleryPage::HandleCreated();
    narrowOwner_->window = childOwner_->window = handle_;
    const int width = BarWidth();
    labels_ = {{{12, 8}, L"Die Menüleiste eines Dokuments: ein Klick öffnet ein Menü, es folgt der Maus"},
               {{12, 80}, L"Zu schmal: die übrigen Einträge öffnet die Marke am rechten Ende"},
               {{12, 152}, L"Ein maximiertes Dokument: sein Menü eingefügt, seine Schaltflächen an den Enden"}};
    bar_ = MakeBar(&Mantle(), menu_, 12, 28, width);
    if (::IsWindowVisible(handle_)) Mantle().SetMainMenuBar(bar_);
    narrow_ = MakeBar(narrowOwner_, menu_, 12, 100, Px(260));
    merged_ = MakeBar(childOwner_, menu_, 12, 172, width);
    merged_->ShowChildButtons();
    CreateStatusLine(L"", 12, 220, 500);
}

void TMenuBarPage::SetSkinData(TmnSkinData* skinData) {
    skin_ = skinData;
    Mantle().SkinMenu().CloseAll();
    if (bar_) bar_->SetSkinData(skinData);
    for (TGalleryMenuBarOwner* o : {narrowOwner_, childOwner_}) {
        o->SkinMenu().CloseAll();
        o->skin = skinData;
        if (o->bar) o->bar->SetSkinData(skinData);
    }
}

LRESULT TMenuBarPage::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE: {
        // The two full bars follow the page's width; the narrow one keeps its overflow.
        const LRESULT r = TGalleryPage::WndProc(msg, wParam, lParam);
        for (TmnSkinMainMenuBar* b : {bar_, merged_})
            if (b) b->SetBounds(Px(12), b->BoundsRect().top, BarWidth(), b->Height());
        return r;
    }
    case WM_SHOWWINDOW:
        // F10 and the Alt keys of the gallery window reach the first bar while the page shows.
        if (wParam) Mantle().SetMainMenuBar(bar_);
        else if (Mantle().MainMenuBar() == bar_) {
            Mantle().MainMenuExit();
            Mantle().SetMainMenuBar(nullptr);
        }
        break;
    case MSG_SKIN_MENU_CLOSED:
        for (TGalleryMenuBarOwner* o : {narrowOwner_, childOwner_}) o->MenuClosed();
        return 0;
    case WM_ERASEBKGND: {
        TGalleryPage::WndProc(msg, wParam, lParam);
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const HGDIOBJ old = ::SelectObject(dc, Font());
        ::SetBkMode(dc, TRANSPARENT);
        for (const auto& [at, text] : labels_)
            ::TextOutW(dc, Px(at.x), Px(at.y), text.c_str(), static_cast<int>(text.size()));
        ::SelectObject(dc, old);
        return 1;
    }
    default:
        break;
    }
    return TGalleryPage::WndProc(msg, wParam, lParam);
}

}  // namespace fn
