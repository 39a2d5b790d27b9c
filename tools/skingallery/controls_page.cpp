#include "tools/skingallery/controls_page.h"

#include "skin/controls/skin_status_bar_win.h"
#include "skin/controls/skin_updown_win.h"

namespace fn {

TControlsPage::TControlsPage(TComponent* owner) : TGalleryPage(owner) {}

void TControlsPage::HandleCreated() {
    TGalleryPage::HandleCreated();
    if (!built_) Build();
}

template <class T>
T* TControlsPage::Add(TWinControl* parent, int x, int y, int w, int h) {
    auto* c = new T(this);
    c->SetBounds(Px(x), Px(y), Px(w), Px(h));
    c->SetParent(parent);
    c->SetSkinData(skinData_);
    controls_.push_back(c);
    return c;
}

void TControlsPage::Build() {
    built_ = true;
    // Row 1: panels.
    struct PanelCase {
        const wchar_t* label;
        const wchar_t* caption;
        bool captionMode, checkedMode, checked, rollUp, rolled, transparent, enabled;
    };
    const PanelCase panels[] = {
        {L"Rahmen", L"", false, false, false, false, false, false, true},
        {L"Titel", L"Gruppe", true, false, false, false, false, false, true},
        {L"Häkchen an", L"Aktiv", true, true, true, false, false, false, true},
        {L"Häkchen aus", L"Inaktiv", true, true, false, false, false, false, true},
        {L"Ausgeklappt", L"Einklappbar", true, false, false, true, false, false, true},
        {L"Eingeklappt", L"Eingeklappt", true, false, false, true, true, false, true},
        {L"Transparent", L"Gruppe", true, false, false, false, false, true, true},
        {L"Gesperrt", L"Gesperrt", true, true, true, false, false, false, false},
    };
    int x = 12;
    for (const PanelCase& pc : panels) {
        labels_.push_back({Px(x), Px(8), pc.label});
        auto* p = Add<TmnSkinPanel>(this, x, 26, 100, 110);
        p->SetCaption(pc.caption);
        p->SetCaptionMode(pc.captionMode);
        p->SetCheckedMode(pc.checkedMode);
        p->SetRollUpMode(pc.rollUp);
        p->SetTransparentMode(pc.transparent);
        auto* inner = Add<TmnSkinUpDown>(p, 20, 50, 50, 25);
        inner->SetPosition(3);
        p->SetChecked(pc.checked);
        p->SetRollUpState(pc.rolled);
        ::EnableWindow(p->Handle(), pc.enabled);
        x += 108;
    }

    // Row 2: up-downs.
    struct UpDownCase {
        const wchar_t* label;
        bool vertical, skinSize, enabled;
        int w, h;
    };
    const UpDownCase updowns[] = {
        {L"Waagrecht", false, true, true, 50, 25},    {L"Senkrecht", true, true, true, 25, 50},
        {L"Waagrecht frei", false, false, true, 90, 30}, {L"Senkrecht frei", true, false, true, 30, 70},
        {L"Gesperrt", false, true, false, 50, 25},
    };
    x = 12;
    for (const UpDownCase& uc : updowns) {
        labels_.push_back({Px(x), Px(160), uc.label});
        auto* u = new TmnSkinUpDown(this);
        u->SetSkinDataName(uc.vertical ? L"vupdown" : L"hupdown");
        u->SetOrientation(uc.vertical ? TUDOrientation::udVertical : TUDOrientation::udHorizontal);
        u->SetUseSkinSize(uc.skinSize);
        u->SetBounds(Px(x), Px(180), Px(uc.w), Px(uc.h));
        u->SetParent(this);
        u->SetSkinData(skinData_);
        controls_.push_back(u);
        ::EnableWindow(u->Handle(), uc.enabled);
        x += 130;
    }

    // Row 3: status bars.
    labels_.push_back({Px(12), Px(270), L"Statusleiste mit Griff"});
    auto* grip = Add<TmnSkinStatusBar>(this, 12, 290, 400, 22);
    grip->SetAlign(TAlign::alNone);
    grip->SetSizeGrip(true);
    grip->SetBounds(Px(12), Px(290), Px(400), Px(22));
    labels_.push_back({Px(440), Px(270), L"Statusleiste ohne Griff, mit Auf-Ab"});
    auto* plain = Add<TmnSkinStatusBar>(this, 440, 290, 400, 22);
    plain->SetAlign(TAlign::alNone);
    plain->SetBounds(Px(440), Px(290), Px(400), Px(22));
    Add<TmnSkinUpDown>(plain, 4, 2, 34, 17);
}

void TControlsPage::ChangeScale(int dpi, int fromDpi) {
    TGalleryPage::ChangeScale(dpi, fromDpi);
    for (Label& l : labels_) l.X = ScaledForDpi(l.X, dpi, fromDpi), l.Y = ScaledForDpi(l.Y, dpi, fromDpi);
}

void TControlsPage::SetSkinData(TmnSkinData* skinData) {
    skinData_ = skinData;
    for (TmnSkinControl* c : controls_) {
        if (c->SkinData() == skinData) c->ChangeSkinData();  // the same manager with a new skin
        else c->SetSkinData(skinData);
    }
    if (handle_) ::InvalidateRect(handle_, nullptr, TRUE);
}

void TControlsPage::Paint(HDC dc) {
    RECT r;
    ::GetClientRect(handle_, &r);
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = ::SelectObject(dc, Font());
    for (const Label& l : labels_) ::TextOutW(dc, l.X, l.Y, l.Text.c_str(), static_cast<int>(l.Text.size()));
    ::SelectObject(dc, old);
}

LRESULT TControlsPage::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            TPaintDC paint(handle_);
            Paint(paint.Get());
            return 0;
        }
        case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
        default: return TGalleryPage::WndProc(msg, wParam, lParam);
    }
}

}  // namespace fn
