// The heat map of known errors: the ramp's stops over a known grey, and a made pair whose
// error seen from a distance is nil or total.
#include "convert/error_heat_map.h"
#include "convert/eye_error.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace tessarin {
namespace {

constexpr RgbTriple kGrey{100, 100, 100};
constexpr RgbTriple kRed{0, 0, 255}; // blue, green, red
constexpr RgbTriple kYellow{0, 255, 255};

TEST(ErrorHeatMap, TheRampGoesFromTheColourUnderToRedThenYellow) {
    const struct {
        float error;
        RgbTriple want;
    } cases[] = {
        {-1, kGrey},           {0, kGrey},    {2.5F, {50, 50, 178}}, {5, kRed},
        {7.5F, {0, 128, 255}}, {10, kYellow}, {40, kYellow},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(heatColour(c.error, kGrey), c.want) << c.error;
    }
}

TEST(ErrorHeatMap, GreysThePictureAndColoursItsError) {
    Picture white;
    white.resize(8, 4);
    std::ranges::fill(white.pixels(), RgbTriple{255, 255, 255});
    Picture black = white;
    std::ranges::fill(black.pixels(), RgbTriple{0, 0, 0});
    const Picture none = errorHeatMap(white, blurredErrorMap(white, white));
    for (const RgbTriple& p : none.pixels()) {
        EXPECT_EQ(p, (RgbTriple{128, 128, 128})); // white at half its light
    }
    const Picture total = errorHeatMap(black, blurredErrorMap(white, black));
    for (const RgbTriple& p : total.pixels()) {
        EXPECT_EQ(p, kYellow); // an error of 100
    }
    EXPECT_THROW((void)errorHeatMap(white, std::vector<float>(3)), std::invalid_argument);
}

} // namespace
} // namespace tessarin
