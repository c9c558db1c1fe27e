#include "document/view_geometry.h"

#include <utility>

namespace tessarin {

std::optional<ImageSize> imageSizeOf(ViewMode viewMode, int lines) {
    const auto shape = shapeOf(viewMode);
    if (!shape) {
        return std::nullopt;
    }
    // Plain: one page as it is; the other three sizes hold two lines for each of a page.
    const bool plain = shape->size == ViewSize::plain256x212;
    const bool wide =
        shape->size == ViewSize::magnify512x424 || shape->size == ViewSize::interlace512x424;
    ImageSize size{wide ? kWideWidth : kNarrowWidth, plain ? lines : 2 * lines};
    if (shape->rotated) {
        std::swap(size.width, size.height);
    }
    return size;
}

ViewSize automaticSizeOf(ScreenMode mode, bool interlaced) {
    if (interlaced) {
        return ViewSize::interlace512x424;
    }
    const ScreenModeFacts* facts = findScreenMode(mode);
    return facts != nullptr && facts->lineWidth == kWideWidth ? ViewSize::magnify512x424
                                                              : ViewSize::plain256x212;
}

} // namespace tessarin
