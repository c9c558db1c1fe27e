#pragma once

#include "colour/rgb_triple.h"

#include <array>
#include <cstdint>
#include <span>

namespace tessarin {

inline constexpr int kNarrowWidth = 256;
inline constexpr int kWideWidth = 512;

// Line buffers owned by the caller, leftmost pixel first.
using RgbLine256 = std::array<RgbTriple, kNarrowWidth>;
using RgbLine512 = std::array<RgbTriple, kWideWidth>;

// Where a line is decoded to: a line buffer, or a row of a picture, so that a plain view
// is decoded straight into its rows.
using RgbRow256 = std::span<RgbTriple, kNarrowWidth>;
using RgbRow512 = std::span<RgbTriple, kWideWidth>;

} // namespace tessarin
