// The view's geometry: the Automatic size of each mode and the image size of each view mode.
#include "document/view_geometry.h"
#include "tests/support/print_screen_mode.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(AutomaticSize, EveryPixelOfEachMode) {
    const struct {
        ScreenMode mode;
        bool interlaced;
        ViewSize want;
    } cases[] = {
        {ScreenMode::screen2, false, ViewSize::plain256x212},
        {ScreenMode::screen5, false, ViewSize::plain256x212},
        {ScreenMode::screen6, false, ViewSize::magnify512x424},
        {ScreenMode::screen7, false, ViewSize::magnify512x424},
        {ScreenMode::screen8, false, ViewSize::plain256x212},
        {ScreenMode::screen12, false, ViewSize::plain256x212},
        {ScreenMode::screen5, true, ViewSize::interlace512x424},
        {ScreenMode::screen7, true, ViewSize::interlace512x424},
        {static_cast<ScreenMode>(9), false, ViewSize::plain256x212}, // not a mode of the VDP
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(automaticSizeOf(c.mode, c.interlaced), c.want);
    }
}

TEST(ViewGeometry, EachViewModeHasItsImageSize) {
    const std::optional<ImageSize> expected[] = {
        ImageSize{256, 212}, ImageSize{512, 424}, ImageSize{512, 424}, ImageSize{256, 424},
        ImageSize{212, 256}, ImageSize{424, 512}, ImageSize{424, 512}, ImageSize{424, 256},
    };
    for (int mode = 0; mode < 8; ++mode) {
        EXPECT_EQ(imageSizeOf(static_cast<ViewMode>(mode)), expected[mode]) << mode;
    }
    EXPECT_EQ(imageSizeOf(static_cast<ViewMode>(-1)), std::nullopt);
    EXPECT_EQ(imageSizeOf(static_cast<ViewMode>(8)), std::nullopt);
    EXPECT_EQ(viewModeOf(ViewSize::interlace512x424, true), ViewMode::interlace512x424Rotated);
    EXPECT_EQ(viewModeOf(ViewSize::joint256x424, false), ViewMode::joint256x424);
}

} // namespace
} // namespace tessarin
