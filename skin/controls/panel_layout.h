#pragma once
// The panel's and status bar's geometry and roll-up state without a window: the client
// rectangle the children are aligned in, the caption's text start, the roll-up with its saved
// constraints, and the size grip's area, lines and hit-test. Portable.
#include <vector>

#include "platform/core/graph_types.h"
#include "skin/paint/rects.h"

namespace fn {

enum class TmnSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };

// Size limits of a control; 0 means no limit.
struct TSizeConstraints {
    int MaxWidth = 0, MinWidth = 0, MaxHeight = 0, MinHeight = 0;
    friend bool operator==(const TSizeConstraints&, const TSizeConstraints&) = default;
    void Apply(int& width, int& height) const;
};

struct TPanelClientInput {
    bool Skinned = false;
    int Width = 0, Height = 0;
    TmnSkinBorderStyle BorderStyle = TmnSkinBorderStyle::bvFrame;
    bool CaptionMode = false;
    int DefaultCaptionHeight = 22;
    TSkinRect NewClientRect;            // skinned: the resized client rectangle
    bool HasBgPicture = false;  // skinned: the record names a background picture
    bool NinePart = false;      // skinned: resize mode 1
};
// The rectangle the panel's children are aligned in.
TSkinRect PanelClientRect(const TPanelClientInput& in);

// Start x of caption content contentWidth wide in the text area [left, right). The unskinned
// look keeps 2 pixels from the left edge.
int CaptionStartX(TAlignment alignment, int left, int right, int contentWidth, bool skinned);

// The unskinned caption rectangle that takes clicks: (1, 1, width - 1, captionHeight).
inline TSkinRect DefaultCaptionClickArea(int width, int captionHeight) { return {1, 1, width - 1, captionHeight}; }

// Roll-up of a panel to its caption. The plan says what the window must do.
struct TRollUpPlan {
    bool Resize = false;
    int Height = 0;
    bool HideChildren = false;  // and stop aligning them
    bool ShowChildren = false;  // and align them again
};

class TPanelRollUp {
public:
    bool State() const { return state_; }
    bool RolledUp() const { return realHeight_ != -1; }
    int RealHeight() const { return realHeight_; }

    // RollUpState := v. With the mode off the state stays false (a rolled-up panel unrolls).
    // Rolling up keeps the height and the constraints (which would stop the fold) until
    // unrolling gives them back. collapsedHeight: the panel's height folded to its caption.
    TRollUpPlan Set(bool v, bool mode, int height, int collapsedHeight, TSizeConstraints& constraints);
    // The mode was switched off: a rolled-up panel unrolls.
    TRollUpPlan ModeOff(TSizeConstraints& constraints) { return Set(false, false, 0, 0, constraints); }
    // A new skin folds a rolled-up panel to its new caption height.
    TRollUpPlan Refold(int collapsedHeight) const;

private:
    TRollUpPlan Unroll(TSizeConstraints& constraints);

    bool state_ = false;
    int realHeight_ = -1;
    TSizeConstraints saved_;
};

// The size grip of a status bar, in control coordinates. client: the client rectangle before
// the grip is taken off; gripImage: the grip picture's size, 0 x 0 without one.
TSkinRect GripArea(const TSkinRect& client, int gripImageWidth, int gripImageHeight);
// How much the grip takes from the client rectangle's right side.
int GripWidth(const TSkinRect& client, int gripImageWidth);

// One line of the drawn grip, start included, end excluded.
struct TGripLine {
    int X1, Y1, X2, Y2;
    bool Highlight;
    friend bool operator==(const TGripLine&, const TGripLine&) = default;
};
std::vector<TGripLine> GripLines(const TSkinRect& area);

// Hit-test codes of the status bar: bottom-right sizing inside a shown grip, client elsewhere.
inline constexpr int kHitClient = 1, kHitBottomRight = 17;
int StatusBarHitTest(int x, int y, bool gripShown, const TSkinRect& gripArea);

}  // namespace fn
