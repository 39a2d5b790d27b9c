#pragma once
// The geometry values of a skin: rectangles and points in pixels of a skin picture, and how a
// part that changes size is filled. Portable; the description readers and the painting both use
// them.

namespace fn {

// Skin rectangle: right and bottom exclusive; empty (absent) when its width or height is 0 or less.
struct TSkinRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right - Left <= 0 || Bottom - Top <= 0; }
    friend bool operator==(const TSkinRect&, const TSkinRect&) = default;
};

// Skin point: counts as unset when either coordinate is 0.
struct TSkinPoint {
    int X = 0, Y = 0;
    bool IsUnset() const { return X == 0 || Y == 0; }
    friend bool operator==(const TSkinPoint&, const TSkinPoint&) = default;
};

// How a client part that changes size is filled: stretched both ways, or only across or down.
enum TStretchType : int { stFull, stHorz, stVert };

}  // namespace fn
