#pragma once

#include "image/picture.h"

#include <cstdint>
#include <string>

namespace tessarin::exporter {

// The 64-bit FNV-1a hash of the picture's width and height (each 4 bytes, little-endian)
// followed by its pixels, row after row, each red, green, blue: equal for pictures of equal
// pixels, whatever files they came from.
[[nodiscard]] std::uint64_t pictureHash(const Picture& picture);

// The hash as 16 lower-case hexadecimal digits.
[[nodiscard]] std::string hashText(std::uint64_t hash);

} // namespace tessarin::exporter
