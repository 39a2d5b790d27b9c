#pragma once
// A skin at a display scale: sizes in a skin are pixels at 96 DPI; for s = dpi / 96 every
// coordinate and length of the records is taken to device pixels here, once, so painters, hit
// tests and regions need no scale of their own. Portable.
//
// The rule: a length l becomes round(l * s) (halves away from zero). A coordinate of a picture
// goes through the map of its axis, which is that same rounding except where a strip of cells
// lies: cell k of a strip with step w starts at start' + k * round(w * s), so every button
// state and animation frame stays whole and equally wide. Rectangles, points, masks and
// pictures all use the one map, so a frame part and its mask never drift apart.
#include <vector>

#include "skin/data/skin_record.h"

namespace fn {

inline constexpr int SkinBaseDpi = 96;
// Scales below 100 % are not drawn; above 500 % a skin's pictures grow past any use.
inline constexpr int SkinMaxDpi = 480;
int ClampSkinDpi(int dpi);

// round(value * s), halves away from zero.
int ScaleLength(int value, double s);

// The cells of a strip along one axis, in 96-DPI coordinates.
struct TSkinAxisStrip {
    int Start = 0;
    int Step = 0;
    int Count = 0;
};

// One axis of a skin at scale s: anchors (coordinate -> device coordinate), increasing in both,
// linear between them; before the first and after the last anchor, the factor itself.
class TSkinAxisMap {
public:
    TSkinAxisMap() = default;  // unscaled
    // Anchors every coordinate by the rule, then the cells of each strip; a strip that overlaps
    // one taken before keeps the plain rule. Anchors never come closer than their coordinates.
    TSkinAxisMap(double s, const std::vector<int>& coordinates, const std::vector<TSkinAxisStrip>& strips);
    int Map(int x) const;
    // The 96-DPI position of a device position (for resampling pictures).
    double Unmap(double x) const;
    double Factor() const { return s_; }
    // k when the map is x -> k * x for a whole k (every whole factor: the rule and the strips'
    // cells then land exactly), else 0.
    int WholeFactor() const;

private:
    struct Anchor {
        int from, to;
    };
    double s_ = 1;
    std::vector<Anchor> anchors_;  // sorted, starting with 0 -> 0
};

struct TSkinScale {
    int Dpi = SkinBaseDpi;
    TSkinAxisMap X, Y;
    double Factor() const { return X.Factor(); }
    bool Unscaled() const { return Dpi == SkinBaseDpi; }
};

// A visitor of the records' geometry alone: every field that is no rectangle, point, length or
// strip passes untouched.
class TSkinGeometryVisitor : public TSkinFieldVisitor {
public:
    void Integer(std::wstring_view, int&, int) override {}
    void Colour(std::wstring_view, TColor&, TColor) override {}
    void Bool(std::wstring_view, bool&) override {}
    void Text(std::wstring_view, String&, std::wstring_view) override {}
    void FontStyles(std::wstring_view, TFontStyles&) override {}
    void Alignment(std::wstring_view, TAlignment&) override {}
    void InactiveEffect(std::wstring_view, TInactiveEffect&) override {}
    void MorphKind(std::wstring_view, TMorphKind&) override {}
    void StretchType(std::wstring_view, TStretchType&) override {}
    void ButtonCommand(std::wstring_view, TButtonCommand&) override {}
};

// Collects the coordinates and strips of everything visited (records, the frame geometry, the
// pictures' sizes), then builds the scale.
class TSkinScaleBuilder : public TSkinGeometryVisitor {
public:
    explicit TSkinScaleBuilder(int dpi) : dpi_(ClampSkinDpi(dpi)) {}
    void AddPictureSize(int width, int height);
    TSkinScale Build() const;

    void Rect(std::wstring_view key, TSkinRect& value) override;
    void Point(std::wstring_view key, TSkinPoint& value) override;
    void Size(std::wstring_view, int&, int) override {}
    void Strip(const TSkinStrip& strip) override;

private:
    int dpi_;
    std::vector<int> xs_, ys_;
    std::vector<TSkinAxisStrip> xStrips_, yStrips_;
};

// Takes every visited rectangle, point and length to device pixels.
class TSkinFieldScaler : public TSkinGeometryVisitor {
public:
    explicit TSkinFieldScaler(const TSkinScale& scale) : scale_(scale) {}
    void Rect(std::wstring_view key, TSkinRect& value) override;
    void Point(std::wstring_view key, TSkinPoint& value) override;
    void Size(std::wstring_view key, int& value, int def) override;

private:
    const TSkinScale& scale_;
};

}  // namespace fn
