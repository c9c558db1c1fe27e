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

std::optional<ImageSize> imageSizeOf(ViewMode viewMode) {
    const int index = static_cast<int>(viewMode);
    if (index < 0 || index >= static_cast<int>(kImageSizes.size())) {
        return std::nullopt;
    }
    return kImageSizes[static_cast<std::size_t>(index)];
}

} // namespace tessarin
