#pragma once
// Loads a skin (a folder with "skin.ini" and its bitmaps, or a compressed skin file) into a
// skin data manager and writes every preview picture as PNG into a folder.
#include <string>
#include <vector>

namespace fn::preview {

// Returns the paths written. Errors of the skin propagate (the platform's exceptions). The skin
// and the pictures' sizes are scaled for dpi (96: as drawn).
std::vector<std::string> RenderPreviews(const std::string& skinPath, const std::string& outFolder, int dpi = 96);

}  // namespace fn::preview
