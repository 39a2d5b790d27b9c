#include "tools/skingallery/gallery_pages.h"

#include "platform/win/forms.h"
#include "skin/form/mantle_win.h"
#include "tools/skingallery/controls_page.h"
#include "tools/skingallery/menu_bar_page.h"
#include "tools/skingallery/mdi_page.h"
#include "tools/skingallery/menus_page.h"

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

std::vector<TGalleryPage*> CreateGalleryPages(TComponent* owner) {
    return {
        new TControlsPage(owner),
        new TMenusPage(owner),
        new TMenuBarPage(owner),
        new TMdiPage(owner),
    };
}

}  // namespace fn
