#pragma once

#include "image/picture.h"

#include <cstdint>
#include <span>

namespace tessarin::exporter {

// The thumbnails in a grid, in order, left to right then down, at most kSheetColumns a
// row: each centred in a cell of cellSize x cellSize with a margin around it, on grey.
// Empty for no thumbnail. A thumbnail larger than the cell is cut at its edge.
inline constexpr int kSheetColumns = 8;
[[nodiscard]] Picture contactSheet(std::span<const Picture> thumbnails, std::int16_t cellSize);

} // namespace tessarin::exporter
