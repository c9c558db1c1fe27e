#include "document/view_geometry.h"

#include <array>

namespace tessarin {

namespace {

// Indexed by ViewMode: the four sizes, then the same four turned a quarter left.
constexpr std::array<ImageSize, kViewModeCount> kImageSizes{{
    {256, 212},
    {512, 424},
    {512, 424},
    {256, 424},
    {212, 256},
    {424, 512},
    {424, 512},
    {424, 256},
}};

} // namespace

std::optional<ImageSize> imageSizeOf(int viewMode) {
    if (viewMode < 0 || viewMode >= static_cast<int>(kImageSizes.size())) {
        return std::nullopt;
    }
    return kImageSizes[static_cast<std::size_t>(viewMode)];
}

} // namespace tessarin
