#include "view/view_placement.h"

#include <algorithm>
#include <cmath>

namespace tessarin {

namespace {

[[nodiscard]] int atLeastOne(double length) {
    return std::max(1, static_cast<int>(std::lround(length)));
}

[[nodiscard]] ViewRect centred(ImageSize size, ImageSize area) {
    return {(area.width - size.width) / 2, (area.height - size.height) / 2, size.width,
            size.height};
}

} // namespace

int largestZoomWithin(ImageSize picture, double pixelAspect, ImageSize area) {
    for (int zoom = kMaxZoom; zoom > kMinZoom; --zoom) {
        const ImageSize size = zoomedSize(picture, pixelAspect, zoom);
        if (size.width <= area.width && size.height <= area.height) {
            return zoom;
        }
    }
    return kMinZoom;
}

int zoomPastFit(ImageSize picture, double pixelAspect, ViewRect shown, int steps) {
    if (picture.width <= 0 || picture.height <= 0 || steps == 0) {
        return kMinZoom;
    }
    // Within rounding of a whole zoom, the picture is at that zoom.
    constexpr double kWholeZoomSlack = 1e-3;
    const double scale = std::min(shown.width / (picture.width * pixelAspect),
                                  static_cast<double>(shown.height) / picture.height);
    const double whole =
        steps > 0 ? std::floor(scale + kWholeZoomSlack) : std::ceil(scale - kWholeZoomSlack);
    return std::clamp(static_cast<int>(whole) + steps, kMinZoom, kMaxZoom);
}

ViewRect placeView(ImageSize picture, double pixelAspect, ImageSize area, ViewFit fit, int zoom) {
    if (picture.width <= 0 || picture.height <= 0 || area.width <= 0 || area.height <= 0) {
        return {0, 0, 0, 0};
    }
    switch (fit) {
    case ViewFit::stretch:
        return {0, 0, area.width, area.height};
    case ViewFit::window: {
        const double shownWidth = picture.width * pixelAspect;
        const double scale =
            std::min(area.width / shownWidth, static_cast<double>(area.height) / picture.height);
        return centred({std::min(area.width, atLeastOne(shownWidth * scale)),
                        std::min(area.height, atLeastOne(picture.height * scale))},
                       area);
    }
    case ViewFit::zoom:
        break;
    }
    return centred(zoomedSize(picture, pixelAspect, std::clamp(zoom, kMinZoom, kMaxZoom)), area);
}

} // namespace tessarin
