#pragma once
// A small RGB raster for drawing skin pictures: flat fills, vertical gradients and
// anti-aliased shapes (rounded rectangles, rings, thick lines, triangles). Shapes are
// given in pixel coordinates where pixel (x, y) covers [x, x+1) x [y, y+1); coverage is
// measured by 4 x 4 supersampling so axis-aligned edges on whole numbers stay crisp.
#include <cstdint>
#include <functional>
#include <vector>

namespace fn::art {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

// Linear mix of two colours: t = 0 gives a, t = 1 gives b.
Rgb Mix(Rgb a, Rgb b, double t);
// Grey value of a colour with the weights the inactive-window effect uses (0.3, 0.59, 0.11).
Rgb Grey(Rgb c);

struct Box {  // integer rectangle, right and bottom exclusive
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(Box, Box) = default;
};

class Raster {
public:
    Raster() = default;
    Raster(int width, int height, Rgb fill = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    void Set(int x, int y, Rgb c) { pixels_[static_cast<size_t>(y) * width_ + x] = c; }

    void Fill(Box box, Rgb c);
    // Rows box.top .. box.bottom - 1 run from `top` to `bottom` colour.
    void VerticalGradient(Box box, Rgb top, Rgb bottom);
    // Blends c over every pixel of the box whose shape coverage is positive.
    void Cover(Box bounds, const std::function<bool(double, double)>& inside, Rgb c, double alpha = 1.0);
    void RoundRect(double l, double t, double r, double b, double radius, Rgb c, double alpha = 1.0);
    // Outline of a rounded rectangle, `width` pixels thick, drawn inside the given bounds.
    void RoundRing(double l, double t, double r, double b, double radius, double width, Rgb c,
                   double alpha = 1.0);
    void Line(double x0, double y0, double x1, double y1, double width, Rgb c, double alpha = 1.0);
    void Triangle(double x0, double y0, double x1, double y1, double x2, double y2, Rgb c,
                  double alpha = 1.0);
    // Replaces the box by the grey values of its pixels.
    void Greyscale(Box box);

private:
    int width_ = 0, height_ = 0;
    std::vector<Rgb> pixels_;
};

// True when (x, y) lies inside the rounded rectangle; used for shapes and for masks.
bool InsideRoundRect(double x, double y, double l, double t, double r, double b, double radius);

}  // namespace fn::art
