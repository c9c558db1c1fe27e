#pragma once

#include "colour/rgb_triple.h"
#include "convert/oklab.h"

namespace tessarin {

// A colour in CIE L*a*b* under D65: lightness 0..100, a and b the opponent axes.
struct CieLab {
    double l = 0;
    double a = 0;
    double b = 0;
};

// An sRGB colour in CIE L*a*b*.
[[nodiscard]] CieLab cieLabOf(const RgbTriple& colour);
// An Oklab colour in CIE L*a*b*, also one outside sRGB (as a carried error makes it).
[[nodiscard]] CieLab cieLabOf(Lab colour);
// Linear sRGB light in CIE L*a*b*.
[[nodiscard]] CieLab cieLabOf(LinearLight colour);

// The CIEDE2000 difference of two colours (Sharma, Wu and Dalal's formulation,
// kL = kC = kH = 1): 1 is about the smallest difference seen side by side, and unlike a
// distance in Oklab it weighs a lost hue above a lost chroma between colours far apart.
[[nodiscard]] double ciede2000(CieLab p, CieLab q);

} // namespace tessarin
