// The window on its screen: within the screen's area at every zoom, the first window's
// zoom, and a remembered place brought back within the screen.
#include "view/window_fit.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

constexpr ImageSize kBars{0, 60}; // a menu bar and a status bar
constexpr int kScrollBar = 16;

TEST(WindowFit, WithinTheScreenAtEveryZoomAndWholeWhereItFits) {
    for (const ImageSize screen : {ImageSize{1600, 1000}, ImageSize{1024, 768}}) {
        for (const ImageSize picture : {ImageSize{256, 212}, ImageSize{512, 424}}) {
            for (int zoom = kMinZoom; zoom <= kMaxZoom; ++zoom) {
                SCOPED_TRACE(testing::Message() << screen.width << "x" << screen.height << " "
                                                << picture.width << " at " << zoom);
                const ImageSize client = zoomedSize(picture, 1.0, zoom);
                const ImageSize window = windowSizeWithin(client, kBars, screen, kScrollBar);
                EXPECT_LE(window.width, screen.width);
                EXPECT_LE(window.height, screen.height);
                const bool fits = client.width + kBars.width <= screen.width &&
                                  client.height + kBars.height <= screen.height;
                EXPECT_EQ(window == (ImageSize{client.width, client.height + kBars.height}), fits);
            }
        }
    }
}

TEST(WindowFit, OnlyTheEdgeCutShortScrollsWhereTheScreenHasRoom) {
    constexpr ImageSize kScreen{1600, 1000};
    const struct {
        ImageSize client;
        ImageSize want;
    } cases[] = {
        {{1280, 1060}, {1296, 1000}}, // too tall: room beside it for the vertical bar
        {{1700, 400}, {1600, 476}},   // too wide: room below it for the horizontal bar
        {{1590, 1060}, {1600, 1000}}, // the vertical bar makes it too wide: both scroll
        {{1000, 930}, {1000, 990}},   // it fits exactly with its bars
    };
    for (const auto& c : cases) {
        EXPECT_EQ(windowSizeWithin(c.client, kBars, kScreen, kScrollBar), c.want)
            << c.client.width << "x" << c.client.height;
    }
}

TEST(WindowFit, FirstWindowTakesTheRememberedZoomOnlyWhenItFits) {
    const struct {
        ImageSize picture;
        ImageSize screen;
        std::optional<int> remembered;
        int want;
    } cases[] = {
        {{256, 212}, {1600, 1000}, std::nullopt, 4}, // 1024x908; 5x is 1060 high
        {{512, 424}, {1600, 1000}, std::nullopt, 2},
        {{256, 212}, {1024, 768}, std::nullopt, 3},
        {{512, 424}, {1024, 768}, std::nullopt, 1},
        {{256, 212}, {1024, 768}, 2, 2},
        {{256, 212}, {1024, 768}, 4, 3},                  // 908 high on a 768 screen
        {{512, 424}, {1600, 1000}, 3, 2},                 // the case of a cut-off screen 7 picture
        {{256, 212}, {1600, 1000}, 9, 4},                 // no zoom of the viewer's
        {{512, 424}, {400, 300}, std::nullopt, kMinZoom}, // none fits: it scrolls
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.picture.width << " on " << c.screen.width << "x" << c.screen.height
                     << " remembered " << c.remembered.value_or(0));
        EXPECT_EQ(firstWindowZoom(c.picture, 1.0, kBars, c.screen, c.remembered), c.want);
    }
}

TEST(WindowFit, RestoredWindowIsMovedAndCutToLieWithinTheScreen) {
    constexpr ViewRect kScreen{0, 30, 1600, 970}; // a panel along the top
    const struct {
        ViewRect window;
        ViewRect want;
    } cases[] = {
        {{100, 100, 800, 600}, {100, 100, 800, 600}}, // already within
        {{1700, 40, 800, 600}, {800, 40, 800, 600}},  // from a screen to the right
        {{-300, 0, 800, 600}, {0, 30, 800, 600}},     // under the panel, off the left
        {{200, 500, 2000, 1290}, {0, 30, 1600, 970}}, // larger than the screen
    };
    for (const auto& c : cases) {
        EXPECT_EQ(placedWithin(c.window, kScreen), c.want)
            << c.window.x << "," << c.window.y << " " << c.window.width << "x" << c.window.height;
    }
}

TEST(WindowFit, RestoredWindowGoesToTheScreenItOverlapsMostElseTheFirst) {
    constexpr ViewRect kScreens[]{{0, 30, 1600, 970}, {1600, 0, 1024, 768}};
    EXPECT_EQ(placedOnScreens({1500, -100, 800, 600}, kScreens), (ViewRect{1600, 0, 800, 600}));
    EXPECT_EQ(placedOnScreens({5000, 4000, 800, 600}, kScreens), (ViewRect{800, 400, 800, 600}));
}

} // namespace
} // namespace tessarin
