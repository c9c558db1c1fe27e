#pragma once

#include "image/source_image.h"

#include <span>
#include <string>
#include <string_view>

namespace tessarin {

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
