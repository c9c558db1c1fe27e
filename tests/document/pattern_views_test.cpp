#include "document/render_picture.h"
#include "tests/support/print_screen_mode.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>

namespace tessarin {
namespace {

// A page of 192 lines; a one-page mode joined shows the page twice.
TEST(PatternViews, Are192LinesAPageAndShowThePageInBothHalves) {
    const struct Case {
        ScreenMode mode;
        ViewMode view;
        ImageSize size;
    } cases[] = {{ScreenMode::screen2, ViewMode::plain256x212, {256, 192}},
                 {ScreenMode::screen3, ViewMode::magnify512x424, {512, 384}},
                 {ScreenMode::screen4, ViewMode::interlace512x424, {512, 384}},
                 {ScreenMode::screen2, ViewMode::joint256x424, {256, 384}},
                 {ScreenMode::screen3, ViewMode::plain256x212Rotated, {192, 256}}};
    auto vdp = std::make_unique<VdpState>(); // 128 KB: off the stack
    std::iota(vdp->vramForLoading().begin(), vdp->vramForLoading().end(),
              std::uint8_t{0}); // names 0..255 and on
    Picture picture;
    for (const Case& c : cases) {
        vdp->setScreenMode(c.mode);
        renderPicture(*vdp, c.view, picture);
        EXPECT_EQ((ImageSize{picture.width(), picture.height()}), c.size) << c.mode;
        EXPECT_EQ(imageSizeOf(c.view, pictureLinesOf(c.mode)), c.size);
    }
    vdp->setScreenMode(ScreenMode::screen2);
    renderPicture(*vdp, ViewMode::joint256x424, picture);
    for (int y = 0; y < kPatternLines; ++y) {
        ASSERT_TRUE(std::ranges::equal(picture.row(y), picture.row(kPatternLines + y))) << y;
    }
}

} // namespace
} // namespace tessarin
