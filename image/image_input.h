#pragma once

#include "image/picture.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
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

// Whether the name is one of a picture converted to a screen (.png, .jpg, .jpeg, any case).
[[nodiscard]] bool isImageInputName(std::string_view fileName);

// The picture of the bytes of a PNG or JPEG file (told apart by their signatures): 8-bit,
// 16-bit, palette, grey and alpha PNGs; grey, colour and CMYK JPEGs. Throws FileError
// naming fileName with Fault::notPicture for any other or damaged bytes and
// Fault::pictureTooLarge beyond limits.
[[nodiscard]] SourceImage decodeImage(std::span<const std::uint8_t> bytes,
                                      const std::string& fileName, const ImageLimits& limits = {});

// decodeImage of a whole regular file, at most 256 MiB of it. Throws FileError naming it.
[[nodiscard]] SourceImage readImageFile(const std::string& fileName);

} // namespace tessarin
