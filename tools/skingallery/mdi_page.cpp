#include "tools/skingallery/mdi_page.h"

#include <string>

#include "skin/controls/skin_control_win.h"
#include "skin/form/border_icons.h"
#include "skin/form/main_menu_bar_win.h"
#include "skin/form/mantle_win.h"
#include "skin/menus/skin_menu_win.h"

namespace fn {

namespace {

enum : int { IdOpenFrame = 201 };

struct Document {
    const wchar_t* Caption;
    const wchar_t* Text;
};

const Document Documents[] = {
    {L"Einkaufsliste", L"Brot\r\nKäse\r\nÄpfel"},
    {L"Notizen zum Treffen", L"Termin am Donnerstag, 10 Uhr."},
    {L"Ideen", L"Ein Reiter je Dokument: klicken, ziehen, Rechtsklick."},
    {L"Urlaubsplanung für den Sommer an der Nordsee", L"Ein langer Titel wird mit ... gekürzt."},
};

constexpr TmnBorderIcons AllBorderIcons = BorderIconBit(biSystemMenu) | BorderIconBit(biMinimize) |
                                         BorderIconBit(biMaximize) | BorderIconBit(biRollUp) |
                                         BorderIconBit(biMinimizeToTray);

// A document window: a multi-line edit filling its client area, in the gallery's font.
class TGalleryDocument : public TForm {
public:
    using TForm::TForm;
    const wchar_t* ClassName() const override { return L"TGalleryDocument"; }
    void SetEdit(HWND edit) {
        edit_ = edit;
        ApplyFont();
        FitEdit();
    }
    void ChangeScale(int dpi, int fromDpi) override {
        TForm::ChangeScale(dpi, fromDpi);
        ApplyFont();
    }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        const LRESULT r = TForm::WndProc(msg, wParam, lParam);
        if (msg == WM_SIZE) FitEdit();
        return r;
    }

private:
    void ApplyFont() {
        if (edit_) ApplyGalleryFont({edit_}, Dpi(), font_);
    }
    void FitEdit() {
        if (!edit_ || !HandleAllocated()) return;
        RECT r;
        ::GetClientRect(Handle(), &r);
        ::MoveWindow(edit_, 0, 0, r.right, r.bottom, TRUE);
    }

    HWND edit_ = nullptr;
    TFontHandle font_;
};

}  // namespace

// ---- the frame ----

TGalleryMdiFrame::TGalleryMdiFrame(TComponent* owner) : TForm(owner) {
    LoadFromText(L"object GalleryMdi: TForm\n  Left = 120\n  Top = 90\n  Width = 720\n  Height = 480\n"
                 L"  Caption = 'MDI-Rahmen – Reiter'\n  FormStyle = fsMDIForm\n  Scaled = True\nend\n");
    mantle_ = new TmnMantle(this);
    mantle_->SetBorderIcons(AllBorderIcons & ~BorderIconBit(biMinimizeToTray));
    // A menu bar whose "Fenster" menu lists the documents (the frame's window menu).
    menu_ = new TMainMenu(this);
    auto add = [this](TMenuItem* parent, const wchar_t* caption) {
        auto* item = new TMenuItem(this);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    };
    TMenuItem* windows = add(menu_->Items(), L"&Fenster");
    add(windows, L"&Neues Dokument")->OnClick = [this](TComponent*) {
        NewDocument(L"Neues Dokument " + std::to_wstring(++made_), L"");
    };
    add(windows, L"Ü&berlappend")->OnClick = [this](TComponent*) { Cascade(); };
    add(windows, L"&Nebeneinander")->OnClick = [this](TComponent*) { Tile(); };
    add(windows, L"-");
    SetWindowMenu(windows);
    menuBar_ = new TmnSkinMainMenuBar(this);
    menuBar_->SetAlign(TAlign::alTop);
    menuBar_->SetParent(this);
    menuBar_->SetMantle(mantle_);
    menuBar_->SetMainMenu(menu_);
    mantle_->SetMainMenuBar(menuBar_);
    bar_ = new TmnSkinMDITabsBar(this);
    bar_->SetMantle(mantle_);
    bar_->SetAlign(TAlign::alTop);
    bar_->SetParent(this);
    mantle_->SetMDITabsBar(bar_);
}

void TGalleryMdiFrame::SetSkinData(TmnSkinData* skinData) {
    skinData_ = skinData;
    mantle_->SkinMenu().CloseAll();
    mantle_->SetSkinData(skinData);
    menuBar_->SetSkinData(skinData);
    bar_->SetSkinData(skinData);
    for (int i = 0; i < MDIChildCount(); ++i)
        if (TmnMantle* child = TmnMantle::Of(MDIChildren(i))) child->SetSkinData(skinData);
}

TForm* TGalleryMdiFrame::NewDocument(const String& caption, const String& text) {
    auto* child = new TGalleryDocument(this);
    child->LoadFromText(
        L"object Document: TForm\n  FormStyle = fsMDIChild\n  Width = 320\n  Height = 200\n  Scaled = True\nend\n");
    // The window list tells the documents apart by name.
    child->SetName(L"Dokument" + std::to_wstring(++named_));
    child->SetCaption(caption);
    // The document's mantle draws its frame and tells the frame's mantle (and so the tabs bar)
    // when it is shown, hidden, activated or renamed.
    auto* mantle = new TmnMantle(child);
    mantle->SetHideCaptionButtons(false);
    mantle->SetBorderIcons(AllBorderIcons);
    mantle->SetSkinData(skinData_);
    HWND edit = ::CreateWindowExW(0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                                  10, 10, child->Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    child->SetEdit(edit);
    child->ChangeDpi(Dpi());  // the frame's scale (the gallery's)
    // The MDI client shows a document as it makes it, before the form's window procedure sees a
    // message: hidden and shown again, the document's mantle sees it appear and gives it a tab.
    ::ShowWindow(child->Handle(), SW_HIDE);
    child->Show();
    return child;
}

LRESULT TGalleryMdiFrame::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case MSG_SKIN_AFTER_CHANGE:
            // The mantle hands the bar the first two change messages; the last is ours.
            NotifySkinControls(this, msg, reinterpret_cast<TmnSkinData*>(wParam));
            return 0;
        case WM_CLOSE:
            Hide();  // the page opens it again
            return 0;
        default: break;
    }
    return TForm::WndProc(msg, wParam, lParam);
}

// ---- the page ----

void TMdiPage::HandleCreated() {
    TGalleryPage::HandleCreated();
    AddChildWindow(L"BUTTON", L"MDI-Fenster öffnen", BS_PUSHBUTTON, {16, 16, 196, 44}, IdOpenFrame);
    AddChildWindow(L"STATIC",
                   L"Ein MDI-Rahmen mit vier Dokumenten und der Reiterleiste: ein Klick holt ein Dokument nach vorn "
                   L"(auch ein minimiertes), Ziehen ordnet die Reiter um, ein Rechtsklick öffnet das Menü des "
                   L"Dokuments; das Menü „Fenster“ listet die Dokumente.",
                   0, {16, 56, 576, 116});
}

void TMdiPage::SetSkinData(TmnSkinData* skinData) {
    skinData_ = skinData;
    if (frame_) frame_->SetSkinData(skinData);
}

void TMdiPage::OpenFrame() {
    if (!frame_) {
        frame_ = new TGalleryMdiFrame(this);
        frame_->ChangeDpi(Dpi());  // shown at the gallery window's scale
        frame_->SetSkinData(skinData_);
        frame_->Show();
        for (const Document& d : Documents) frame_->NewDocument(d.Caption, d.Text);
        frame_->Cascade();
    }
    frame_->Show();
}

LRESULT TMdiPage::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IdOpenFrame) OpenFrame();
            return 0;
        case WM_SHOWWINDOW:
            // Shown the first time, the page opens the frame at once.
            if (wParam && !frame_) ::PostMessageW(handle_, WM_COMMAND, IdOpenFrame, 0);
            break;
        default: break;
    }
    return TGalleryPage::WndProc(msg, wParam, lParam);
}

}  // namespace fn
