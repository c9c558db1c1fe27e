#include "tests/support/pixel_operations.h"
#include "vdp_test_support.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

using test::makeVdp;

bool isWideMode(ScreenMode mode) {
    return mode == ScreenMode::screen6 || mode == ScreenMode::screen7;
}

// Whatever the mode's own width, the 256 and 512 column views and the single-pixel
// fetch must show the same picture: the rotated views rely on it.
TEST(Render, LineRenderingAndPixelFetchAgreeInEveryMode) {
    for (const ScreenMode mode : test::kModes) {
        for (const std::int32_t page : {0, 1}) {
            auto vdp = makeVdp();
            test::fillRandom(*vdp, static_cast<std::uint32_t>(mode) * 7 +
                                       static_cast<std::uint32_t>(page));
            vdp->setScreenMode(mode);
            vdp->selectPage(page);
            for (int y = 0; y < kPictureLines; y += 13) {
                RgbLine256 narrow{};
                RgbLine512 wide{};
                vdp->renderLine256(y, narrow);
                vdp->renderLine512(y, wide);
                for (int x = 0; x < 256; ++x) {
                    ASSERT_EQ(test::fetchPixel(*vdp, x, y, true), narrow[x]) << mode << " x=" << x;
                }
                for (int x = 0; x < 512; ++x) {
                    ASSERT_EQ(test::fetchPixel(*vdp, x, y, false), wide[x]) << mode << " x=" << x;
                }
                // Narrow modes double pixels at 512; wide modes keep even pixels at 256.
                for (int i = 0; i < 256; ++i) {
                    if (isWideMode(mode)) {
                        ASSERT_EQ(narrow[i], wide[2 * i]) << mode << " i=" << i;
                    } else {
                        ASSERT_EQ(wide[2 * i], narrow[i]) << mode << " i=" << i;
                        ASSERT_EQ(wide[2 * i + 1], narrow[i]) << mode << " i=" << i;
                    }
                }
            }
        }
    }
}

TEST(Render, EdgeColumnsMapToTheModesOwnPixels) {
    auto vdp = makeVdp();
    test::fillRandom(*vdp, 5);
    vdp->setScreenMode(ScreenMode::screen5);
    EXPECT_EQ(test::fetchPixel(*vdp, 511, 9, false), test::pixelScreen5(*vdp, 255, 9));
    vdp->setScreenMode(ScreenMode::screen7);
    EXPECT_EQ(test::fetchPixel(*vdp, 255, 9, true), test::pixelScreen7(*vdp, 510, 9));
    vdp->setScreenMode(ScreenMode::screen6);
    EXPECT_EQ(test::fetchPixel(*vdp, 255, 9, true), test::pixelScreen6(*vdp, 510, 9));
}

} // namespace
} // namespace tessarin
