// The viewer's choices as the commands make them: zoom steps within their limits, zooming
// out of a fitted or stretched picture by its shown size and pixel shape, the full
// screen's fit, and the view mode a size and rotation give.
#include "view/view_state.h"

#include <functional>
#include <gtest/gtest.h>

namespace tessarin {
namespace {

// A plain picture in a square area: at square pixels it fits at 3.125, at PAL's at 2.26.
constexpr ImageSize kPicture{256, 212};
constexpr ImageSize kArea{800, 800};

void zoomBy(ViewState& view, int steps) {
    view.zoomBy(steps, ViewMode::plain256x212, kPicture, kArea);
}

TEST(ViewState, CommandsGiveTheZoomFitAndPlaceOfThePicture) {
    const auto pal = [](ViewState& v) { v.setPixelAspect(PixelAspect::pal); };
    const auto fit = [](ViewState& v) { v.setFitToWindow(true); };
    const struct {
        const char* commands;
        std::function<void(ViewState&)> run;
        int zoom;
        ViewFit fit;
        ViewRect placed;
    } cases[] = {
        {"none", [](ViewState&) {}, 1, ViewFit::zoom, {272, 294, 256, 212}},
        {"zoom in twice", [](ViewState& v) { zoomBy(v, 2); }, 3, ViewFit::zoom, {16, 82, 768, 636}},
        {"zoom out at 1",
         [](ViewState& v) { zoomBy(v, -1); },
         1,
         ViewFit::zoom,
         {272, 294, 256, 212}},
        {"zoom 20",
         [](ViewState& v) { v.setZoom(20); },
         8,
         ViewFit::zoom,
         {-624, -448, 2048, 1696}},
        {"pal", pal, 1, ViewFit::zoom, {223, 294, 353, 212}},
        {"fit", fit, 1, ViewFit::window, {0, 68, 800, 663}},
        {"pal, fit",
         [&](ViewState& v) {
             pal(v);
             fit(v);
         },
         1,
         ViewFit::window,
         {0, 160, 800, 480}},
        {"fit, zoom in",
         [&](ViewState& v) {
             fit(v);
             zoomBy(v, 1);
         },
         4,
         ViewFit::zoom,
         {-112, -24, 1024, 848}},
        {"fit, zoom out",
         [&](ViewState& v) {
             fit(v);
             zoomBy(v, -1);
         },
         3,
         ViewFit::zoom,
         {16, 82, 768, 636}},
        {"pal, fit, zoom in",
         [&](ViewState& v) {
             pal(v);
             fit(v);
             zoomBy(v, 1);
         },
         3,
         ViewFit::zoom,
         {-130, 82, 1060, 636}},
        {"pal, fit, zoom out",
         [&](ViewState& v) {
             pal(v);
             fit(v);
             zoomBy(v, -1);
         },
         2,
         ViewFit::zoom,
         {46, 188, 707, 424}},
        // Stretched over the area: the zooms count along the edge enlarged least.
        {"stretch, zoom out",
         [](ViewState& v) {
             v.setStretchToWindow(true);
             zoomBy(v, -1);
         },
         3,
         ViewFit::zoom,
         {16, 82, 768, 636}},
        {"fit, stretch",
         [&](ViewState& v) {
             fit(v);
             v.setStretchToWindow(true);
         },
         1,
         ViewFit::stretch,
         {0, 0, 800, 800}},
        {"zoom 2, full screen",
         [](ViewState& v) {
             v.setZoom(2);
             v.setFullScreenLook(true);
         },
         2,
         ViewFit::window,
         {0, 68, 800, 663}},
        {"zoom 2, full screen, back",
         [](ViewState& v) {
             v.setZoom(2);
             v.setFullScreenLook(true);
             v.setFullScreenLook(false);
         },
         2,
         ViewFit::zoom,
         {144, 188, 512, 424}},
        {"fit, full screen, back",
         [&](ViewState& v) {
             fit(v);
             v.setFullScreenLook(true);
             v.setFullScreenLook(false);
         },
         1,
         ViewFit::window,
         {0, 68, 800, 663}},
        {"stretch, full screen",
         [](ViewState& v) {
             v.setStretchToWindow(true);
             v.setFullScreenLook(true);
         },
         1,
         ViewFit::stretch,
         {0, 0, 800, 800}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commands);
        ViewState view;
        c.run(view);
        EXPECT_EQ(view.zoom(), c.zoom);
        EXPECT_EQ(view.fit(), c.fit);
        EXPECT_EQ(view.placedIn(ViewMode::plain256x212, kPicture, kArea), c.placed);
    }
}

TEST(ViewState, SizeAndRotationGiveTheViewModeOfEachPicture) {
    ViewState view;
    EXPECT_EQ(view.viewModeFor(ScreenMode::screen7, false), ViewMode::magnify512x424);
    EXPECT_EQ(view.viewModeFor(ScreenMode::screen5, true), ViewMode::interlace512x424);
    view.setRotated(true);
    EXPECT_EQ(view.viewModeFor(ScreenMode::screen5, false), ViewMode::plain256x212Rotated);
    view.setSize(ViewSize::joint256x424);
    EXPECT_EQ(view.viewModeFor(ScreenMode::screen7, true), ViewMode::joint256x424Rotated);
    view.setAutomaticSize();
    EXPECT_EQ(view.viewModeFor(ScreenMode::screen7, true), ViewMode::interlace512x424Rotated);
}

} // namespace
} // namespace tessarin
