#pragma once
// The frame the frame-plan tests share.
#include "skin/data/skin_data.h"

namespace fn {

// A 200 × 100 frame picture with a 30-pixel caption and 4-pixel borders.
inline TmnSkinFormInfo SampleFrameInfo() {
    TmnSkinFormInfo info;
    info.LeftTopPoint = {10, 30};
    info.RightTopPoint = {190, 30};
    info.LeftBottomPoint = {10, 96};
    info.RightBottomPoint = {190, 96};
    info.ClientRect = {4, 30, 196, 96};
    info.CaptionRect = {4, 4, 196, 26};
    info.ButtonsRect = {120, 6, 196, 24};
    info.MaskRectArea = {4, 4, 196, 96};
    info.HitTestLeftTopPoint = {5, 5};
    info.HitTestRightTopPoint = {195, 5};
    info.HitTestLeftBottomPoint = {5, 95};
    info.HitTestRightBottomPoint = {195, 95};
    info.ButtonsOffset = 2;
    return info;
}

}  // namespace fn
