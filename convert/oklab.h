#pragma once

#include "colour/rgb_triple.h"

#include <cmath>

namespace tessarin {

// A colour in Oklab (Björn Ottosson, 2020), its lightness with Ottosson's toe (Lr, 0..1)
// so that the darkest greys lie as far apart as they look; a and b the opponent axes.
// Euclidean distance there follows perceived difference between near colours, so the
// choices among many colours, the error carried and every error figure are made in it.
struct Lab {
    float l = 0;
    float a = 0;
    float b = 0;

    friend Lab operator+(Lab x, Lab y) { return {x.l + y.l, x.a + y.a, x.b + y.b}; }
    friend Lab operator-(Lab x, Lab y) { return {x.l - y.l, x.a - y.a, x.b - y.b}; }
    friend Lab operator*(Lab x, float f) { return {x.l * f, x.a * f, x.b * f}; }
};

// The opponent axes count twice (as in deltaEOK2): plain Oklab distance finds a dark red
// nearer to a dark grey than black is, which no viewer would.
inline constexpr float kChromaWeight = 2.0F;

// The squared distance: the one the choices compare.
[[nodiscard]] inline float distance2(Lab x, Lab y) {
    const float dl = x.l - y.l;
    const float da = (x.a - y.a) * kChromaWeight;
    const float db = (x.b - y.b) * kChromaWeight;
    return dl * dl + da * da + db * db;
}

// The colour difference reported to users: plain Oklab distance (its axes unweighted)
// times 100, so that 1 is about the smallest difference seen side by side (as CIE's
// Delta E).
[[nodiscard]] inline double deltaE(Lab x, Lab y) {
    const double dl = x.l - y.l;
    const double da = x.a - y.a;
    const double db = x.b - y.b;
    return 100.0 * std::sqrt(dl * dl + da * da + db * db);
}

// An sRGB colour in Oklab.
[[nodiscard]] Lab oklabOf(const RgbTriple& colour);

// Linear sRGB light, each channel 0..1 within sRGB and unclamped outside it.
struct LinearLight {
    double red;
    double green;
    double blue;
};
[[nodiscard]] LinearLight linearLightOf(Lab colour);
// The linear light of an sRGB colour.
[[nodiscard]] LinearLight linearLightOf(const RgbTriple& colour);
// Linear light in Oklab, also outside sRGB.
[[nodiscard]] Lab oklabOf(const LinearLight& light);

// The sRGB colour of an Oklab colour, each channel 0..255 unclamped and unrounded.
struct UnroundedRgb {
    float red;
    float green;
    float blue;
};
[[nodiscard]] UnroundedRgb srgbOf(Lab colour);

} // namespace tessarin
