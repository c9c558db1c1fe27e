// The viewer's choices as the commands make them: zoom steps within their limits, zooming
// out of a fitted or stretched picture by its shown size and pixel shape, the full
// screen's fit, and the view mode a size and rotation give.
#include "view/view_state.h"

#include <gtest/gtest.h>
#include <vector>

namespace tessarin {
namespace {

// A plain picture in a square area: at square pixels it fits at 3.125, at PAL's at 2.26.
constexpr ImageSize kPicture{256, 212};
constexpr ImageSize kArea{800, 800};

// The commands as the menus give them.
enum class Command { zoomIn, zoomOut, zoom20, pal, fit, stretch, fullScreen, back };

void run(ViewState& view, Command command) {
    switch (command) {
    case Command::zoomIn:
    case Command::zoomOut:
        view.zoomBy(command == Command::zoomIn ? 1 : -1, ViewMode::plain256x212, kPicture, kArea);
        break;
    case Command::zoom20:
        view.setZoom(20);
        break;
    case Command::pal:
        view.setPixelAspect(PixelAspect::pal);
        break;
    case Command::fit:
        view.setFitToWindow(true);
        break;
    case Command::stretch:
        view.setStretchToWindow(true);
        break;
    case Command::fullScreen:
    case Command::back:
        view.setFullScreenLook(command == Command::fullScreen);
        break;
    }
}

TEST(ViewState, CommandsGiveTheZoomFitAndPlaceOfThePicture) {
    using enum Command;
    const struct {
        std::vector<Command> commands;
        int zoom;
        ViewFit fit;
        ViewRect placed;
    } cases[] = {
        {{}, 1, ViewFit::zoom, {272, 294, 256, 212}},
        {{zoomIn, zoomIn}, 3, ViewFit::zoom, {16, 82, 768, 636}},
        {{zoomOut}, 1, ViewFit::zoom, {272, 294, 256, 212}},
        {{zoom20, zoomIn}, 8, ViewFit::zoom, {-624, -448, 2048, 1696}},
        {{pal}, 1, ViewFit::zoom, {223, 294, 353, 212}},
        {{fit}, 1, ViewFit::window, {0, 68, 800, 663}},
        {{pal, fit}, 1, ViewFit::window, {0, 160, 800, 480}},
        // Fitted, a zoom goes to the whole zooms either side of the size shown.
        {{fit, zoomIn}, 4, ViewFit::zoom, {-112, -24, 1024, 848}},
        {{fit, zoomOut}, 3, ViewFit::zoom, {16, 82, 768, 636}},
        {{pal, fit, zoomIn}, 3, ViewFit::zoom, {-130, 82, 1060, 636}},
        {{pal, fit, zoomOut}, 2, ViewFit::zoom, {46, 188, 707, 424}},
        // Stretched over the area: the zooms count along the edge enlarged least.
        {{stretch, zoomOut}, 3, ViewFit::zoom, {16, 82, 768, 636}},
        {{fit, stretch}, 1, ViewFit::stretch, {0, 0, 800, 800}},
        {{zoomIn, fullScreen}, 2, ViewFit::window, {0, 68, 800, 663}},
        {{zoomIn, fullScreen, back}, 2, ViewFit::zoom, {144, 188, 512, 424}},
        {{fit, fullScreen, back}, 1, ViewFit::window, {0, 68, 800, 663}},
        {{stretch, fullScreen}, 1, ViewFit::stretch, {0, 0, 800, 800}},
    };
    for (const auto& c : cases) {
        ViewState view;
        for (const Command command : c.commands) {
            run(view, command);
        }
        SCOPED_TRACE(::testing::PrintToString(c.commands));
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
