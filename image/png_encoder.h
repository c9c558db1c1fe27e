#pragma once

#include "image/picture.h"

#include <cstdint>
#include <vector>

namespace tessarin {

// The picture as a PNG file without colour-space chunks (no gAMA, iCCP, sRGB), so
// viewers show the stored values unchanged: indexed at 1, 2, 4 or 8 bits for at most 2,
// 4, 16 or 256 colours (palette in order of first appearance), else 8-bit RGB. Throws
// std::invalid_argument for an empty picture and std::bad_alloc when memory runs out.
[[nodiscard]] std::vector<std::uint8_t> encodePng(const Picture& picture);

} // namespace tessarin
