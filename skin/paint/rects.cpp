#include "skin/paint/rects.h"

namespace fn {

TFrameGeometry ResizeGeometry(const TFrameGeometry& g, int dW, int dH) {
    TFrameGeometry n;
    n.LT = g.LT;
    n.RT = {g.RT.X + dW, g.RT.Y};
    n.LB = {g.LB.X, g.LB.Y + dH};
    n.RB = {g.RB.X + dW, g.RB.Y + dH};
    n.Cl = {g.Cl.Left, g.Cl.Top, g.Cl.Right + dW, g.Cl.Bottom + dH};
    return n;
}

}  // namespace fn
