#include "document/pixel_shape.h"

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
    return {std::max(1, static_cast<int>(std::lround(picture.width * pixelAspect * zoom))),
            std::max(1, picture.height * zoom)};
}

} // namespace tessarin
