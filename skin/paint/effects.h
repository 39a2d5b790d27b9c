#pragma once
// The effects bitmap: a 24-bit buffer on which the skin computes its transitions between a
// normal and an active picture ("morphing") and the looks of an inactive window. Every computed
// channel is rounded to the nearest integer (ties to even) and clamped to 0..255.
#include <cstdint>

#include "skin/paint/pixel_buffer.h"

namespace fn {

struct TPixel24 {
    uint8_t B = 0, G = 0, R = 0;
    friend bool operator==(const TPixel24&, const TPixel24&) = default;
};

class TmnEffectBmp : public TPixelBuffer {
public:
    TmnEffectBmp() = default;
    TmnEffectBmp(int width, int height) : TPixelBuffer(width, height) {}

    static TmnEffectBmp CreateBlank(int width, int height) { return TmnEffectBmp(width, height); }
#ifdef _WIN32
    // A buffer of the bitmap's size holding its pixels.
    static TmnEffectBmp CreateFromBitmap(HBITMAP__* bitmap);
    void Draw(HDC__* dc, int x, int y) const { DrawTo(dc, x, y); }
#endif

    // Raw pixel access; reads outside the buffer give black, writes outside are ignored.
    TPixel24 GetPixel(int x, int y) const;
    void SetPixel(int x, int y, TPixel24 value);
    // Rows of 3 * Width bytes.
    void GetRow(int y, uint8_t* row) const;
    void SetRow(int y, const uint8_t* row);

    // Morphs from this (normal) picture towards other (active) at k in 0..1; a buffer of another
    // size leaves this one unchanged, k outside 0..1 is clamped.
    void MorphBlend(const TmnEffectBmp& other, double k);
    void MorphGradient(const TmnEffectBmp& other, double k);
    void MorphHGradient(const TmnEffectBmp& other, double k);
    void MorphVGradient(const TmnEffectBmp& other, double k);
    void MorphLeftGradient(const TmnEffectBmp& other, double k);
    void MorphRightGradient(const TmnEffectBmp& other, double k);
    void MorphLeftSlide(const TmnEffectBmp& other, double k);
    void MorphRightSlide(const TmnEffectBmp& other, double k);
    void MorphPush(const TmnEffectBmp& other, double k);

    // Inactive-window effects.
    void Brightness(double amount);
    void Darkness(double amount);
    void Grayscale();
    void Noise(int amount);
    void SplitBlur(int distance);
    void Invert();

    // Writes this buffer upside down into target (of the same size; otherwise nothing).
    void FlipVertical(TmnEffectBmp& target) const;

    // The noise generator (xorshift64*) is shared by all buffers of a thread; reseeding makes a
    // sequence of Noise calls repeatable.
    static void SetNoiseSeed(uint64_t seed);

private:
    bool SameSize(const TmnEffectBmp& other) const {
        return other.Width == Width && other.Height == Height && !Empty();
    }
};

// Dispatch of the description's enumerations. Values out of range do nothing.
enum { MorphKindCount = 7, InactiveEffectCount = 6 };
using TMorphOperation = void (TmnEffectBmp::*)(const TmnEffectBmp&, double);
// mkdefault, mkgradient, mkleftgradient, mkrightgradient, mkleftslide, mkrightslide, mkpush
extern const TMorphOperation MorphOperations[MorphKindCount];
void ApplyMorph(TmnEffectBmp& normal, int morphKind, const TmnEffectBmp& active, double k);
// One step of a morph timer: 0.2 towards 1 when active, towards 0 otherwise, clamped to 0..1;
// every element that fades (skin objects, menu-bar items, popup-menu items) steps by it.
inline constexpr double MorphIncrement = 0.2;
double NextMorphFactor(double factor, bool active);
// The factor has not reached the end the state asks for.
inline bool MorphUnderWay(double factor, bool active) { return active ? factor < 1 : factor > 0; }
// iebrightness 0.5, iedarkness 0.3, iegrayscale, ienoise 50, iesplitblur 1, ieinvert
using TInactiveOperation = void (*)(TmnEffectBmp&);
extern const TInactiveOperation InactiveOperations[InactiveEffectCount];
void ApplyInactiveEffect(TmnEffectBmp& bmp, int inactiveEffect);

}  // namespace fn
