#pragma once
// The rules of a skinned window's own states, computed without a window: size limits, the
// maximised and first-show rectangles, the search for a free minimised place, magnetic edges,
// what a caption double-click does and which items the standard system menu holds. The form
// skinning component feeds them the window's state and applies the result.
#include <functional>
#include <string_view>
#include <vector>

#include "skin/skin_geometry.h"
#include "skin/form/border_icons.h"
#include "skin/form/skin_object_owner.h"

namespace fn {

// What the size limits depend on.
struct TmnSizeLimitInput {
    bool Skinned = false;
    int PictureWidth = 0, PictureHeight = 0;  // the skin's frame picture
    int ClientHeight = 0;                     // height of the skin's client rectangle
    int SkinMinWidth = 0;                     // the skin's "formminwidth"
    int CaptionHeight = 19;                   // built-in frame
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;  // the component's properties
    bool Minimized = false, RolledUp = false;
    TSkinRect Area;                           // work area (or whole monitor) of the window's monitor
};

struct TmnSizeLimits {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
};

TmnSizeLimits ComputeSizeLimits(const TmnSizeLimitInput& in);

// The rectangle a top-level window takes when maximised: the work area, or the whole monitor
// on full screen. A work area as large as a monitor that is the primary screen is shrunk by one
// pixel on every side, so that an auto-hidden task bar can still be reached.
TSkinRect MaximizedRect(const TSkinRect& workArea, const TSkinRect& monitor, const TSkinRect& primaryScreen,
                        bool fullScreen);

// The rectangle centred in area, each half truncated toward zero.
TSkinRect CenteredRect(const TSkinRect& area, int width, int height);

// The place of a window minimised to w × h inside area: from the bottom-left corner rightward,
// then one row higher, the first place no other minimised window holds; when every place is
// taken, the first one. taken(x, y) says whether a minimised window stands at (x, y).
TSkinPoint MinimizedPosition(const TSkinRect& area, int w, int h, const std::function<bool(int x, int y)>& taken);

// Magnetic edges while a window is moved.
struct TmnMagnet {
    bool Left = false, Top = false, Right = false, Bottom = false;
    int AnchorX = 0, AnchorY = 0;
    void Clear() { Left = Top = Right = Bottom = false; }
};

// The moving rectangle after snapping to area within size m of its edges; cursor is the mouse
// position in the same coordinates.
TSkinRect MagneticMove(const TSkinRect& proposed, const TSkinRect& area, int m, TSkinPoint cursor, TmnMagnet& magnet);

// What a left double-click on the caption does.
enum class TmnCaptionAction { Restore, Maximize, ToggleRollUp };
TmnCaptionAction CaptionDoubleClick(bool resizable, TmnSkinWindowState state, bool rolledUp,
                                    bool rolledUpInMaximized, TmnBorderIcons icons);

// The standard system menu's items in order (names "MTL_MINITEM", "MTL_MAXITEM", "MTL_RESTORE",
// "MTL_ROLLUP", "MTL_MINTOTRAY"), without the closing separator; empty when none applies.
std::vector<std::wstring_view> StandardSystemMenuItems(TmnSkinWindowState state, bool rolledUp, bool mdiChild,
                                                        TmnBorderIcons icons);

}  // namespace fn
