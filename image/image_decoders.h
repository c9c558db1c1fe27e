#pragma once

#include "image/source_image.h"

#include <span>
#include <string>

namespace tessarin {

// The decoders behind decodeImage (image_input.h), each for bytes that start with its signature.
// Each throws FileError naming fileName as decodeImage describes.
[[nodiscard]] SourceImage decodePng(std::span<const std::uint8_t> bytes,
                                    const std::string& fileName, const ImageLimits& limits);
[[nodiscard]] SourceImage decodeJpeg(std::span<const std::uint8_t> bytes,
                                     const std::string& fileName, const ImageLimits& limits);

// Throws Fault::pictureTooLarge naming fileName when width x height lies beyond limits or
// is empty (Fault::notPicture).
void checkImageSize(std::int64_t width, std::int64_t height, const std::string& fileName,
                    const ImageLimits& limits);

} // namespace tessarin
