#include "skin/form/form_background.h"

namespace fn {

TmnBackgroundPlan BackgroundPlan(const TmnBackgroundInput& in) {
    TmnBackgroundPlan p;
    const int tw = in.TileWidth, th = in.TileHeight, W = in.WindowWidth, H = in.WindowHeight;
    if (tw <= 0 || th <= 0 || in.ClientWidth <= 0 || in.ClientHeight <= 0) return p;
    if (in.Stretch && W > 0 && H > 0) {
        switch (in.StretchType) {
            case stHorz:  // full height, repeated left to right
                p.TileWidth = tw, p.TileHeight = H;
                p.Fill = {0, 0, (W / tw + 1) * tw, H};
                return p;
            case stVert:  // full width, repeated top to bottom
                p.TileWidth = W, p.TileHeight = th;
                p.Fill = {0, 0, W, (H / th + 1) * th};
                return p;
            default:
                p.TileWidth = W, p.TileHeight = H;
                p.Fill = {0, 0, W, H};
                return p;
        }
    }
    p.TileWidth = tw, p.TileHeight = th;
    p.Fill = {0, 0, (in.ClientWidth / tw + 1) * tw, (in.ClientHeight / th + 1) * th};
    return p;
}

TSkinPoint LogoPosition(int clientWidth, int clientHeight, int logoWidth, int logoHeight) {
    const int x = clientWidth / 2 - logoWidth / 2, y = clientHeight / 2 - logoHeight / 2;
    return {x < 0 ? 0 : x, y < 0 ? 0 : y};
}

}  // namespace fn
