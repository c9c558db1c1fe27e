#pragma once

#include "document/picture.h"

#include <cstdint>
#include <vector>

namespace tessarin {

// The picture as an 8-bit RGB PNG file without colour-space chunks (no gAMA, iCCP,
// sRGB), so viewers show the stored values unchanged. Throws std::invalid_argument for
// an empty picture and std::bad_alloc when memory runs out.
[[nodiscard]] std::vector<std::uint8_t> encodePng(const Picture& picture);

} // namespace tessarin
