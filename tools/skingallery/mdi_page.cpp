#include "tools/skingallery/mdi_page.h"

#include "skin/form/skin_object_owner.h"
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

// The document side of the stand-in: what a document window's form skinning tells the frame's
// tabs bar (shown, hidden, activated) and the little of its state the bar asks for.
class TGalleryChildSkinning : public TComponent, public TmnSkinObjectOwner {
public:
    TGalleryChildSkinning(TForm* child, TmnSkinMDITabsBar* bar) : TComponent(child), child_(child) {
        hook_.Install(child->WindowProc(), [this, bar](HWND, UINT msg, WPARAM w, LPARAM l, const TWndProcNext& next) {
            const LRESULT r = next(msg, w, l);
            switch (msg) {
                case WM_SHOWWINDOW:
                    if (w) bar->AddTab(child_);
                    else bar->RemoveTab(child_);
                    break;
                case WM_NCACTIVATE: bar->UpdateActiveTabs(); break;
                case WM_SETTEXT: bar->DrawTab(child_); break;
                case WM_SIZE: FitEdit(); break;
                default: break;
            }
            return r;
        });
        // The MDI client may have shown the window when it made it.
        if (::IsWindowVisible(child->Handle())) bar->AddTab(child);
    }
    void SetEdit(HWND edit) {
        edit_ = edit;
        FitEdit();
    }

    TmnSkinData* SkinData() const override { return nullptr; }
    bool IsFormActive() const override { return false; }
    TmnSkinWindowState SkinWindowState() const override { return swsNormal; }
    bool RolledUp() const override { return false; }
    bool ShowIcon() const override { return false; }
    bool AlwaysMinimizeToTray() const override { return false; }
    bool ClientAreaAnimation() const override { return true; }
    String CaptionText() const override { return child_->Caption(); }
    String MaximizedChildCaption() const override { return {}; }
    uint8_t DefCaptionCharSet() const override { return DEFAULT_CHARSET; }
    void RedrawObject(TmnActiveSkinObject&) override {}
    void DrawFormIcon(TmnObjectPainter&, int, int) override {}
    bool HasCaptionPaint() const override { return false; }
    void CaptionPaint(TmnObjectPainter&, int, const TSkinRect&, bool) override {}
    void PaintEvent(const String&, TmnObjectPainter&, const TSkinRect&) override {}
    void MouseDownEvent(const String&, int, int, const TSkinRect&, int) override {}
    void MouseUpEvent(const String&, int, int, const TSkinRect&, int) override {}
    void MouseMoveEvent(const String&, int, int, const TSkinRect&) override {}
    void MouseEnterEvent(const String&) override {}
    void MouseLeaveEvent(const String&) override {}
    void PostWindowAction(TmnWindowAction) override {}
    TMenuItem* SystemMenuItem() override { return nullptr; }
    bool OpenPopup(TmnActiveSkinObject&, TMenuItem*, const TSkinRect&) override { return false; }
    void StartTimer(TmnObjectTimer) override {}
    void StopTimer(TmnObjectTimer) override {}

private:
    void FitEdit() {
        if (!edit_ || !child_->HandleAllocated()) return;
        RECT r;
        ::GetClientRect(child_->Handle(), &r);
        ::MoveWindow(edit_, 0, 0, r.right, r.bottom, TRUE);
    }

    TForm* child_;
    HWND edit_ = nullptr;
    TWndProcHook hook_;
};

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const wchar_t* caption, std::function<void()> action) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    if (action) item->OnClick = [action = std::move(action)](TComponent*) { action(); };
    parent->Add(item);
    return item;
}

}  // namespace

// ---- the frame's stand-in ----

TGalleryTabsOwner::TGalleryTabsOwner(TForm* frame)
    : TComponent(frame), frame_(frame), menu_(new TmnSkinMenu(this, this)), childMenu_(new TmnSkinPopupMenu(this)) {
    childMenu_->SetMenuOwner(this);
    // The commands run after the menu has closed (posted), on the child the menu was opened for.
    auto post = [this](UINT msg, WPARAM command) {
        return [this, msg, command] {
            if (menuChild_ && menuChild_->HandleAllocated()) ::PostMessageW(menuChild_->Handle(), msg, command, 0);
        };
    };
    TMenuItem* root = childMenu_->Items();
    AddItem(this, root, L"&Wiederherstellen", post(WM_SYSCOMMAND, SC_RESTORE));
    AddItem(this, root, L"Mi&nimieren", post(WM_SYSCOMMAND, SC_MINIMIZE));
    AddItem(this, root, L"Ma&ximieren", post(WM_SYSCOMMAND, SC_MAXIMIZE));
    AddItem(this, root, L"-", nullptr);
    AddItem(this, root, L"&Schließen", post(WM_CLOSE, 0));
}

void TGalleryTabsOwner::ShowChildSystemMenu(TForm* child, POINT screen) {
    menuChild_ = child;
    childMenu_->PopupComponent = frame_->Handle();
    childMenu_->Popup(screen.x, screen.y);
}

// ---- the frame ----

TGalleryMdiFrame::TGalleryMdiFrame(TComponent* owner) : TForm(owner) {
    LoadFromText(L"object GalleryMdi: TForm\n  Left = 120\n  Top = 90\n  Width = 720\n  Height = 480\n"
                 L"  Caption = 'MDI-Rahmen – Reiter'\n  FormStyle = fsMDIForm\nend\n");
    owner_ = new TGalleryTabsOwner(this);
    bar_ = new TmnSkinMDITabsBar(this);
    bar_->SetMantle(owner_);
    bar_->SetAlign(TAlign::alTop);
    bar_->SetParent(this);
}

void TGalleryMdiFrame::SetSkinData(TmnSkinData* skinData) {
    owner_->SkinMenu().CloseAll();
    owner_->skin = skinData;
    bar_->SetSkinData(skinData);
}

TForm* TGalleryMdiFrame::NewDocument(const String& caption, const String& text) {
    auto* child = new TForm(this);
    child->LoadFromText(L"object Document: TForm\n  FormStyle = fsMDIChild\n  Width = 320\n  Height = 200\nend\n");
    child->SetCaption(caption);
    auto* skinning = new TGalleryChildSkinning(child, bar_);
    HWND edit = ::CreateWindowExW(0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                                  10, 10, child->Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    skinning->SetEdit(edit);
    child->Show();
    return child;
}

LRESULT TGalleryMdiFrame::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case MSG_SKIN_BEFORE_CHANGE:
        case MSG_SKIN_CHANGE:
        case MSG_SKIN_AFTER_CHANGE:
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
    const WPARAM font = reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT));
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"MDI-Fenster öffnen", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 16, 16,
                                    180, 28, handle_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOpenFrame)),
                                    ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(button, WM_SETFONT, font, FALSE);
    HWND text = ::CreateWindowExW(0, L"STATIC",
                                  L"Ein MDI-Rahmen mit vier Dokumenten und der Reiterleiste: ein Klick holt ein Dokument "
                                  L"nach vorn (auch ein minimiertes), Ziehen ordnet die Reiter um, ein Rechtsklick öffnet "
                                  L"das Menü des Dokuments.",
                                  WS_CHILD | WS_VISIBLE, 16, 56, 560, 60, handle_, nullptr, ::GetModuleHandleW(nullptr),
                                  nullptr);
    ::SendMessageW(text, WM_SETFONT, font, FALSE);
}

void TMdiPage::SetSkinData(TmnSkinData* skinData) {
    skinData_ = skinData;
    if (frame_) frame_->SetSkinData(skinData);
}

void TMdiPage::OpenFrame() {
    if (!frame_) {
        frame_ = new TGalleryMdiFrame(this);
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
        case WM_ERASEBKGND: {
            RECT r;
            ::GetClientRect(handle_, &r);
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
            ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        case WM_SHOWWINDOW:
            // Shown the first time, the page opens the frame at once.
            if (wParam && !frame_) ::PostMessageW(handle_, WM_COMMAND, IdOpenFrame, 0);
            break;
        default: break;
    }
    return TGalleryPage::WndProc(msg, wParam, lParam);
}

}  // namespace fn
