#include "tools/skingallery/gallery_pages.h"

#include "tools/skingallery/controls_page.h"

namespace fn {

std::vector<TGalleryPage*> CreateGalleryPages(TComponent* owner) {
    return {
        new TControlsPage(owner),
    };
}

}  // namespace fn
