#pragma once

#include <cstdint>

namespace tessarin {

inline constexpr int kMaxLevel8 = 255;
inline constexpr int kMaxLevel5 = 31;
inline constexpr int kMaxLevel3 = 7;
inline constexpr int kMaxLevel2 = 3;

// A colour level of 0..max spread over 0..255, rounded down, as the VDP's colours show it.
[[nodiscard]] constexpr std::uint8_t spreadLevel(int level, int max) {
    return static_cast<std::uint8_t>(level * kMaxLevel8 / max);
}

} // namespace tessarin
