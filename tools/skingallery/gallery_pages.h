#pragma once
// The gallery's pages, in tab order: the one list every page is added to.
#include <vector>

#include "tools/skingallery/gallery_page.h"

namespace fn {

// New pages owned by owner, each a child of nothing yet.
std::vector<TGalleryPage*> CreateGalleryPages(TComponent* owner);

}  // namespace fn
