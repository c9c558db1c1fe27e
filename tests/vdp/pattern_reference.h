#pragma once

#include <cstdint>
#include <span>

namespace tessarin::test {

// The palette index the VDP shows at pixel (x, y) of screen 2, 3 or 4, stated pixel by
// pixel from the tables' layout, apart from the decoders. x < 256, y < 192.
[[nodiscard]] int patternReferenceIndex(std::span<const std::uint8_t> vram, int mode, int x, int y);

} // namespace tessarin::test
