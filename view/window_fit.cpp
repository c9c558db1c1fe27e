#include "view/window_fit.h"

#include <algorithm>

namespace tessarin {

namespace {

// Where a length starting at start lies within [from, from + room): shifted back in, and
// no longer than room.
struct Span {
    int start;
    int length;
};

[[nodiscard]] Span spanWithin(Span span, Span room) {
    const int length = std::min(span.length, room.length);
    const int start = std::clamp(span.start, room.start, room.start + room.length - length);
    return {start, length};
}

[[nodiscard]] bool fits(ImageSize size, ImageSize area) {
    return size.width <= area.width && size.height <= area.height;
}

} // namespace

ImageSize windowSizeWithin(ImageSize client, ImageSize around, ImageSize available, int scrollBar) {
    ImageSize window{client.width + around.width, client.height + around.height};
    const bool tall = window.height > available.height;
    if (tall) {
        window.width += scrollBar;
    }
    if (window.width > available.width) {
        window.height += scrollBar;
        if (!tall && window.height > available.height) {
            window.width += scrollBar;
        }
    }
    return {std::min(window.width, available.width), std::min(window.height, available.height)};
}

ViewRect placedWithin(ViewRect window, ViewRect available) {
    const Span across = spanWithin({window.x, window.width}, {available.x, available.width});
    const Span down = spanWithin({window.y, window.height}, {available.y, available.height});
    return {across.start, down.start, across.length, down.length};
}

ViewRect placedOnScreens(ViewRect window, std::span<const ViewRect> areas) {
    const auto overlap = [&window](const ViewRect& area) {
        const long long across =
            std::min(window.x + window.width, area.x + area.width) - std::max(window.x, area.x);
        const long long down =
            std::min(window.y + window.height, area.y + area.height) - std::max(window.y, area.y);
        return across > 0 && down > 0 ? across * down : 0LL;
    };
    if (areas.empty()) {
        return window;
    }
    const auto most =
        std::ranges::max_element(areas, [&overlap](const ViewRect& a, const ViewRect& b) {
            return overlap(a) < overlap(b);
        });
    return placedWithin(window, *most);
}

int firstWindowZoom(ImageSize picture, double pixelAspect, ImageSize around, ImageSize available,
                    std::optional<int> remembered) {
    const ImageSize room{available.width - around.width, available.height - around.height};
    if (remembered && *remembered >= kMinZoom && *remembered <= kMaxZoom &&
        fits(zoomedSize(picture, pixelAspect, *remembered), room)) {
        return *remembered;
    }
    return largestZoomWithin(picture, pixelAspect, room);
}

} // namespace tessarin
