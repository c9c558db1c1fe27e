#pragma once

#include "vdp/rgb.h"

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

// The colour of a screen 8 byte: green in bits 7-5, red in bits 4-2, blue in bits 1-0.
[[nodiscard]] constexpr RgbTriple screen8Colour(std::uint8_t b) {
    constexpr int kByteGreenShift = 5;
    constexpr int kByteRedShift = 2;
    return RgbTriple{spreadLevel(b & kMaxLevel2, kMaxLevel2),
                     spreadLevel((b >> kByteGreenShift) & kMaxLevel3, kMaxLevel3),
                     spreadLevel((b >> kByteRedShift) & kMaxLevel3, kMaxLevel3)};
}

} // namespace tessarin
