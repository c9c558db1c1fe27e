#pragma once

#include "document/screen_document.h"

#include <optional>

namespace tessarin {

// The four sizes of the Size menu.
enum class ViewSize : int {
    plain256x212 = 0,
    magnify512x424 = 1,
    interlace512x424 = 2,
    joint256x424 = 3
};
inline constexpr int kViewSizeCount = 4;
inline constexpr int kViewModeCount = 2 * kViewSizeCount; // each size plain and rotated

struct ImageSize {
    int width;
    int height;
    friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

// The view mode of a size, plain or rotated left.
[[nodiscard]] constexpr ViewMode viewModeOf(ViewSize size, bool rotated) {
    return static_cast<ViewMode>(static_cast<int>(size) + (rotated ? kViewSizeCount : 0));
}

// Width and height of the image (and of the window's client area) of a view mode;
// nothing for a value outside 0..7.
[[nodiscard]] std::optional<ImageSize> imageSizeOf(ViewMode viewMode);

} // namespace tessarin
