#pragma once
// Where tiled document windows go: the documents' area split into columns (side by side) or rows
// (one under another) that never make a window smaller than its frame's minimum size. When the
// windows do not fit, there are fewer columns (rows) holding more windows each; what still does
// not fit lies beyond the area, which then scrolls. Portable; the frame's MDI client executes it.
#include <vector>

#include "skin/skin_geometry.h"

namespace fn {

struct TmnTileRequest {
    int AreaWidth = 0, AreaHeight = 0;  // the documents' area
    int Count = 0;                      // windows to tile
    int MinWidth = 0, MinHeight = 0;    // the largest minimum size among them
    bool SideBySide = true;             // columns side by side; false: rows one under another
};

// One rectangle per window, in the order given; empty for no windows.
std::vector<TSkinRect> TileDocuments(const TmnTileRequest& r);

}  // namespace fn
