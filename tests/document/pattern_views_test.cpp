#include "document/picture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace tessarin {
namespace {

constexpr int kLines = 192;

std::unique_ptr<VdpState> randomVdp(ScreenMode mode) {
    auto vdp = std::make_unique<VdpState>(); // 128 KB: off the stack
    std::mt19937 rng(mode);
    std::ranges::generate(vdp->vram, [&] { return static_cast<std::uint8_t>(rng()); });
    vdp->setScreenMode(mode);
    return vdp;
}

// A one-page mode of 192 lines: interlaced it is the magnified view, joined the page twice.
TEST(PatternViews, Are192LinesAPageAndShowThePageInBothHalves) {
    const struct Case {
        ScreenMode mode;
        ViewMode view;
        int width, height;
    } cases[] = {
        {2, ViewMode::plain256x212, 256, 192},
        {3, ViewMode::magnify512x424, 512, 384},
        {4, ViewMode::interlace512x424, 512, 384},
        {2, ViewMode::joint256x424, 256, 384},
        {3, ViewMode::plain256x212Rotated, 192, 256},
        {4, ViewMode::magnify512x424Rotated, 384, 512},
        {2, ViewMode::interlace512x424Rotated, 384, 512},
        {3, ViewMode::joint256x424Rotated, 384, 256},
        {5, ViewMode::joint256x424, 256, 424},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " view " << static_cast<int>(c.view));
        const auto vdp = randomVdp(c.mode);
        Picture picture;
        renderPicture(*vdp, c.view, picture);
        EXPECT_EQ(picture.width(), c.width);
        EXPECT_EQ(picture.height(), c.height);
        EXPECT_EQ(imageSizeOf(c.view, pictureLinesOf(c.mode)), (ImageSize{c.width, c.height}));
    }
    const auto vdp = randomVdp(2);
    Picture joint;
    Picture magnified;
    Picture interlaced;
    renderPicture(*vdp, ViewMode::joint256x424, joint);
    renderPicture(*vdp, ViewMode::magnify512x424, magnified);
    renderPicture(*vdp, ViewMode::interlace512x424, interlaced);
    EXPECT_EQ(interlaced, magnified);
    for (int y = 0; y < kLines; ++y) {
        ASSERT_TRUE(std::ranges::equal(joint.row(y), joint.row(kLines + y))) << y;
    }
}

} // namespace
} // namespace tessarin
