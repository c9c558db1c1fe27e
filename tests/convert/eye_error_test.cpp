// The two error figures on pictures whose answer is known: a dither of black and white is
// far from grey dot by dot, and near the grey of the same light seen from a distance.
#include "convert/eye_error.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

constexpr RgbTriple kBlack{0, 0, 0};
constexpr RgbTriple kWhite{255, 255, 255};
constexpr RgbTriple kHalfLight{188, 188, 188}; // sRGB of half white's light

Picture filled(RgbTriple colour, bool checkered = false) {
    Picture picture;
    picture.resize(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            picture.row(y)[x] = checkered && (x + y) % 2 == 0 ? kBlack : colour;
        }
    }
    return picture;
}

TEST(EyeError, CountsADitherForTheColourItMakesOnlyWhenBlurred) {
    struct Case {
        const char* name;
        Picture reference;
        Picture result;
        double pixelLow, pixelHigh, blurredLow, blurredHigh;
    };
    const Case cases[] = {
        {"the same", filled(kHalfLight), filled(kHalfLight), 0, 0, 0, 0},
        {"black for white", filled(kWhite), filled(kBlack), 100, 100, 100, 100},
        {"checkered for its grey", filled(kHalfLight), filled(kWhite, true), 35, 45, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ColourErrorFigures figures = colourError(c.reference, c.result);
        EXPECT_GE(figures.pixel, c.pixelLow - 0.01);
        EXPECT_LE(figures.pixel, c.pixelHigh + 0.01);
        EXPECT_GE(figures.blurred, c.blurredLow - 0.01);
        EXPECT_LE(figures.blurred, c.blurredHigh + 0.01);
        EXPECT_EQ(blurredErrorMap(c.reference, c.result).size(), 256U);
    }
}

} // namespace
} // namespace tessarin
