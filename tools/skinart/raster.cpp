#include "tools/skinart/raster.h"

#include <algorithm>
#include <cmath>

namespace fn::art {

namespace {

uint8_t Channel(double v) {
    return static_cast<uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

// Distance from (px, py) to the segment (x0, y0)-(x1, y1).
double SegmentDistance(double px, double py, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
    return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t),
            Channel(a.b + (b.b - a.b) * t)};
}

Rgb Grey(Rgb c) {
    const uint8_t y = Channel(0.3 * c.r + 0.59 * c.g + 0.11 * c.b);
    return {y, y, y};
}

bool InsideRoundRect(double x, double y, double l, double t, double r, double b, double radius) {
    if (x < l || x >= r || y < t || y >= b) return false;
    const double cx = std::clamp(x, l + radius, r - radius);
    const double cy = std::clamp(y, t + radius, b - radius);
    return std::hypot(x - cx, y - cy) <= radius;
}

Raster::Raster(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Raster::Fill(Box box, Rgb c) {
    for (int y = std::max(box.top, 0); y < std::min(box.bottom, height_); ++y)
        for (int x = std::max(box.left, 0); x < std::min(box.right, width_); ++x) Set(x, y, c);
}

void Raster::VerticalGradient(Box box, Rgb top, Rgb bottom) {
    const int rows = box.Height();
    for (int y = box.top; y < box.bottom; ++y) {
        const double t = rows > 1 ? double(y - box.top) / (rows - 1) : 0.0;
        Fill({box.left, y, box.right, y + 1}, Mix(top, bottom, t));
    }
}

void Raster::Cover(Box bounds, const std::function<bool(double, double)>& inside, Rgb c, double alpha) {
    constexpr int kSamples = 4;
    for (int y = std::max(bounds.top, 0); y < std::min(bounds.bottom, height_); ++y) {
        for (int x = std::max(bounds.left, 0); x < std::min(bounds.right, width_); ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples) ? 1 : 0;
            if (hits > 0) Set(x, y, Mix(At(x, y), c, alpha * hits / (kSamples * kSamples)));
        }
    }
}

void Raster::RoundRect(double l, double t, double r, double b, double radius, Rgb c, double alpha) {
    Cover({int(std::floor(l)), int(std::floor(t)), int(std::ceil(r)), int(std::ceil(b))},
          [=](double x, double y) { return InsideRoundRect(x, y, l, t, r, b, radius); }, c, alpha);
}

void Raster::RoundRing(double l, double t, double r, double b, double radius, double width, Rgb c,
                       double alpha) {
    const double inner = std::max(radius - width, 0.0);
    Cover({int(std::floor(l)), int(std::floor(t)), int(std::ceil(r)), int(std::ceil(b))},
          [=](double x, double y) {
              return InsideRoundRect(x, y, l, t, r, b, radius) &&
                     !InsideRoundRect(x, y, l + width, t + width, r - width, b - width, inner);
          },
          c, alpha);
}

void Raster::Line(double x0, double y0, double x1, double y1, double width, Rgb c, double alpha) {
    const double h = width / 2;
    Cover({int(std::floor(std::min(x0, x1) - h)), int(std::floor(std::min(y0, y1) - h)),
           int(std::ceil(std::max(x0, x1) + h)), int(std::ceil(std::max(y0, y1) + h))},
          [=](double x, double y) { return SegmentDistance(x, y, x0, y0, x1, y1) <= h; }, c, alpha);
}

void Raster::Triangle(double x0, double y0, double x1, double y1, double x2, double y2, Rgb c,
                      double alpha) {
    auto edge = [](double ax, double ay, double bx, double by, double px, double py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    const double area = edge(x0, y0, x1, y1, x2, y2);
    Cover({int(std::floor(std::min({x0, x1, x2}))), int(std::floor(std::min({y0, y1, y2}))),
           int(std::ceil(std::max({x0, x1, x2}))), int(std::ceil(std::max({y0, y1, y2})))},
          [=](double x, double y) {
              const double a = edge(x0, y0, x1, y1, x, y), b = edge(x1, y1, x2, y2, x, y),
                           d = edge(x2, y2, x0, y0, x, y);
              return area > 0 ? (a >= 0 && b >= 0 && d >= 0) : (a <= 0 && b <= 0 && d <= 0);
          },
          c, alpha);
}

void Raster::Greyscale(Box box) {
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) Set(x, y, Grey(At(x, y)));
}

}  // namespace fn::art
