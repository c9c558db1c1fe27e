#pragma once

#include "image/picture.h"

#include <cstdint>
#include <string>

namespace tessarin::exporter {

// The 64-bit FNV-1a hash of the picture's width and height (each 4 bytes, little-endian)
// followed by its pixels, row after row, each red, green, blue: equal for pictures of equal
// pixels, whatever files they came from.
[[nodiscard]] std::uint64_t pictureHash(const Picture& picture);

// A 64-bit difference hash of the picture's look: the picture averaged into a grid of
// kNearColumns + 1 by kNearRows cells of grey (each cell the mean of its pixels' luminance,
// 299:587:114 of red, green and blue), bit kNearColumns * row + column set where a cell is
// brighter than the one to its right. The same picture at another size, or under a palette
// that keeps the order of its colours' brightness, gives the same hash; small edits flip a
// few bits. 0 for an empty picture.
inline constexpr int kNearColumns = 8;
inline constexpr int kNearRows = 8;
[[nodiscard]] std::uint64_t nearHash(const Picture& picture);

// The hash as 16 lower-case hexadecimal digits.
[[nodiscard]] std::string hashText(std::uint64_t hash);

} // namespace tessarin::exporter
