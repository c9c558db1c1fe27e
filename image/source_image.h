#pragma once

#include "image/picture.h"

#include <cstdint>
#include <vector>

namespace tessarin {

// A picture read from a PNG or JPEG file. Pixels that are partly see-through are
// composited on black; those less than half opaque are marked transparent too.
struct SourceImage {
    Picture picture;
    std::vector<std::uint8_t> transparent; // 1 per transparent pixel, row after row; empty
                                           // when every pixel is opaque

    [[nodiscard]] bool isTransparent(std::size_t pixel) const {
        return !transparent.empty() && transparent[pixel] != 0;
    }
};

// How large a picture is decoded at most: checked against the header before any pixel
// is stored, so that a lying header cannot make the reader allocate without bound.
struct ImageLimits {
    int maxSide = 16384;
    std::int64_t maxPixels = std::int64_t{64} * 1024 * 1024;
};

} // namespace tessarin
