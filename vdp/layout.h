#pragma once

#include <cstdint>

// Where each screen mode keeps its pages, lines and palette table in VRAM.
namespace tessarin::layout {

inline constexpr std::int32_t kSmallPageSize = 0x8000;  // screens 5 and 6
inline constexpr std::int32_t kLargePageSize = 0x10000; // screens 7, 8, 10 and 12
inline constexpr std::int32_t kSmallPageCount = 4;
inline constexpr std::int32_t kLargePageCount = 2;

inline constexpr std::uint32_t kSmallPaletteTable = 0x7680; // screens 5 and 6
inline constexpr std::uint32_t kLargePaletteTable = 0xFA80; // screens 7 to 12

inline constexpr int kShortLineBytes = 128; // screens 5 and 6
inline constexpr int kLongLineBytes = 256;  // screens 7 to 12

inline constexpr int kYjkGroupBytes = 4;

[[nodiscard]] constexpr bool isSmallPageMode(std::uint32_t mode) {
    return mode == 5 || mode == 6;
}
[[nodiscard]] constexpr bool isLargePageMode(std::uint32_t mode) {
    return mode == 7 || mode == 8 || mode == 10 || mode == 12;
}

} // namespace tessarin::layout
