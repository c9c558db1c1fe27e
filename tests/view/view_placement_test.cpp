// Where the picture goes in the window at each fit, zoom and pixel aspect.
#include "view/view_placement.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(ViewPlacement, ZoomFitAndStretchAtEachAspect) {
    constexpr ImageSize kPlain{256, 212};
    const struct {
        ViewMode mode;
        PixelAspect aspect;
        ImageSize area;
        ViewFit fit;
        int zoom;
        ViewRect want;
    } cases[] = {
        {ViewMode::plain256x212,
         PixelAspect::square,
         {256, 212},
         ViewFit::zoom,
         1,
         {0, 0, 256, 212}},
        {ViewMode::plain256x212,
         PixelAspect::square,
         {600, 500},
         ViewFit::zoom,
         2,
         {44, 38, 512, 424}},
        {ViewMode::plain256x212,
         PixelAspect::square,
         {300, 300},
         ViewFit::zoom,
         9,
         {-874, -698, 2048, 1696}},
        {ViewMode::plain256x212,
         PixelAspect::square,
         {1600, 1000},
         ViewFit::window,
         1,
         {196, 0, 1208, 1000}},
        {ViewMode::plain256x212,
         PixelAspect::square,
         {1000, 1000},
         ViewFit::stretch,
         1,
         {0, 0, 1000, 1000}},
        {ViewMode::plain256x212, PixelAspect::ntsc, {293, 212}, ViewFit::zoom, 1, {0, 0, 293, 212}},
        {ViewMode::plain256x212,
         PixelAspect::pal,
         {1000, 212},
         ViewFit::zoom,
         1,
         {323, 0, 353, 212}},
        {ViewMode::magnify512x424,
         PixelAspect::ntsc,
         {600, 424},
         ViewFit::zoom,
         1,
         {7, 0, 585, 424}},
        {ViewMode::plain256x212Rotated,
         PixelAspect::ntsc,
         {212, 256},
         ViewFit::zoom,
         1,
         {13, 0, 186, 256}},
        {ViewMode::plain256x212, PixelAspect::square, {0, 100}, ViewFit::window, 1, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode) * 100 + static_cast<int>(c.aspect) * 10 +
                     static_cast<int>(c.fit));
        const auto picture = imageSizeOf(c.mode);
        ASSERT_TRUE(picture);
        EXPECT_EQ(placeView(*picture, pixelAspectOf(c.mode, c.aspect), c.area, c.fit, c.zoom),
                  c.want);
    }
    // The first window: the largest zoom within half the screen.
    EXPECT_EQ(largestZoomWithin(kPlain, 1.0, {1357, 763}), 3);
    EXPECT_EQ(largestZoomWithin(kPlain, 1.0, {100, 100}), kMinZoom);
}

} // namespace
} // namespace tessarin
