#pragma once
// A skin picture at a display scale, resampled through the scale's axis maps so that it stays
// aligned with the scaled records. Portable, on the decoded pixels.
//
// Every record coordinate is an anchor of the maps and lands on a whole device pixel, so each
// device pixel takes its colour from one part of the picture only. Within a part the picture
// is area-averaged: at whole factors every device pixel lies inside one source pixel, which is
// pixel replication (lines stay one colour, edges stay sharp); at 125 % or 150 % a one-pixel
// line spreads over one full and one partly covered pixel instead of being one or two pixels
// wide at random. The transparent key colour (0xFF00FF) is never mixed: a device pixel
// mostly covered by it takes it, otherwise only the other colours count. A picture of black
// and white only (a mask) is sampled at pixel centres, so it stays two-coloured.
#include "platform/core/bitmap_data.h"
#include "skin/data/skin_scale.h"

namespace fn {

TBitmapData ScalePicture(const TBitmapData& picture, const TSkinScale& scale);
// The same pixels from a picture's undecoded rows: at whole factors each row is decoded once
// and replicated straight into the scaled picture; otherwise the picture is decoded, then scaled.
TBitmapData ScalePicture(const TBitmapRows& rows, const TSkinScale& scale);

// True when every pixel is black or white (alpha ignored).
bool IsTwoColourMask(const TBitmapData& picture);

}  // namespace fn
