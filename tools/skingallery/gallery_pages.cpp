#include "tools/skingallery/gallery_pages.h"

#include "tools/skingallery/controls_page.h"
#include "tools/skingallery/menu_bar_page.h"
#include "tools/skingallery/mdi_page.h"
#include "tools/skingallery/menus_page.h"

namespace fn {

std::vector<TGalleryPage*> CreateGalleryPages(TComponent* owner) {
    return {
        new TControlsPage(owner),
        new TMenusPage(owner),
        new TMenuBarPage(owner),
        new TMdiPage(owner),
    };
}

}  // namespace fn
