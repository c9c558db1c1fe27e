#pragma once

#include "image/source_image.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessarin {

// Whether the name is one of a picture converted to a screen (.png, .jpg, .jpeg, any case).
[[nodiscard]] bool isImageInputName(std::string_view fileName);

// "PNG" or "JPEG" for bytes that start with that format's signature; empty for others.
[[nodiscard]] std::string_view imageFormatOfBytes(std::span<const std::uint8_t> bytes);

// The picture of the bytes of a PNG or JPEG file (told apart by their signatures): 8-bit,
// 16-bit, palette, grey and alpha PNGs; grey, colour and CMYK JPEGs. Throws FileError
// naming fileName with Fault::notPicture for any other or damaged bytes and
// Fault::pictureTooLarge beyond limits.
[[nodiscard]] SourceImage decodeImage(std::span<const std::uint8_t> bytes,
                                      const std::string& fileName, const ImageLimits& limits = {});

// The pixels a PNG or JPEG file's header claims (PNG's IHDR, JPEG's frame header), from
// its first bytes; nothing for other bytes, or a header past them.
[[nodiscard]] std::optional<std::uint64_t> claimedPixels(std::span<const std::uint8_t> bytes);

// The largest PNG or JPEG file converted: 256 MiB.
inline constexpr std::size_t kMaxImageFileSize = std::size_t{256} * 1024 * 1024;

} // namespace tessarin
