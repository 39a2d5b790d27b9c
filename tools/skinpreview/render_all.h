#pragma once
// Loads a skin (a folder with "skin.ini" and its bitmaps, or a compressed skin file) into a
// skin data manager and writes every preview picture as PNG into a folder.
#include <string>
#include <vector>

namespace fn::preview {

// Returns the paths written. Errors of the skin propagate (the platform's exceptions).
std::vector<std::string> RenderPreviews(const std::string& skinPath, const std::string& outFolder);

}  // namespace fn::preview
