#include "document/view_placement.h"

#include <algorithm>
#include <cmath>

namespace tessarin {

namespace {

[[nodiscard]] double tvAspect(PixelAspect aspect) {
    switch (aspect) {
    case PixelAspect::ntsc:
        return kNtscPixelAspect;
    case PixelAspect::pal:
        return kPalPixelAspect;
    case PixelAspect::square:
        break;
    }
    return 1.0;
}

[[nodiscard]] int atLeastOne(double length) {
    return std::max(1, static_cast<int>(std::lround(length)));
}

[[nodiscard]] ViewRect centred(ImageSize size, ImageSize area) {
    return {(area.width - size.width) / 2, (area.height - size.height) / 2, size.width,
            size.height};
}

} // namespace

double pixelAspectOf(ViewMode viewMode, PixelAspect aspect) {
    const auto shape = shapeOf(viewMode);
    if (!shape) {
        return 1.0;
    }
    // The unturned image tells the pixels a line; the 512-wide views show each line twice,
    // the joint view two pages of single lines.
    const auto image = imageSizeOf(viewModeOf(shape->size, false));
    const double columns = static_cast<double>(kNarrowWidth) / image->width;
    const double lines = image->width == kWideWidth ? 2.0 : 1.0;
    const double ratio = tvAspect(aspect) * columns * lines;
    return shape->rotated ? 1.0 / ratio : ratio;
}

ImageSize zoomedSize(ImageSize picture, double pixelAspect, int zoom) {
    return {atLeastOne(picture.width * pixelAspect * zoom), std::max(1, picture.height * zoom)};
}

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
