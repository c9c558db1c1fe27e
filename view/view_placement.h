#pragma once

#include "document/pixel_shape.h"
#include "document/view_geometry.h"

#include <cstdint>

namespace tessarin {

// How the view fills the window: the picture at an integer zoom, as large as the window
// holds with its shape kept, or stretched over the whole window.
enum class ViewFit : std::uint8_t { zoom, window, stretch };
inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 8;

// A rectangle in the window's pixels; x and y may be negative when the view is larger.
struct ViewRect {
    int x;
    int y;
    int width;
    int height;
    friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

// The largest zoom from kMinZoom to kMaxZoom at which zoomedSize fits within area;
// kMinZoom when even that does not fit.
[[nodiscard]] int largestZoomWithin(ImageSize picture, double pixelAspect, ImageSize area);

// The zoom steps whole zooms above (steps > 0) or below (steps < 0) the picture as shown
// fitted or stretched at shown: from 2.5 times its zoomedSize at 1, Zoom In gives 3 and Zoom
// Out 2; from exactly 3, 4 and 2. Within kMinZoom to kMaxZoom.
[[nodiscard]] int zoomPastFit(ImageSize picture, double pixelAspect, ViewRect shown, int steps);

// Where the picture goes in an area of the window: zoom centres zoomedSize (the dark
// border around it letterboxes), window centres the largest rectangle of that shape that
// fits, stretch is the whole area. A picture or area without pixels gives an empty rectangle.
[[nodiscard]] ViewRect placeView(ImageSize picture, double pixelAspect, ImageSize area, ViewFit fit,
                                 int zoom);

} // namespace tessarin
