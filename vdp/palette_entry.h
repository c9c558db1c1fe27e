#pragma once

#include <array>
#include <cstdint>

namespace tessarin {

// One palette entry's red, green and blue levels, 0..7 each.
struct PaletteLevels {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// An entry's two bytes in a palette table: byte 0 is 0RRR0BBB, byte 1 00000GGG.
inline constexpr std::uint8_t kRedBlueBits = 0x77;
inline constexpr std::uint8_t kGreenBits = 0x07;
inline constexpr int kEntryRedShift = 4;
inline constexpr int kLevelMask = 7; // a level's three bits

// The levels of an entry's two bytes; bits outside the entry's are ignored, as the VDP does.
[[nodiscard]] constexpr PaletteLevels levelsOf(std::uint8_t redBlue, std::uint8_t green) {
    return {(redBlue >> kEntryRedShift) & kLevelMask, green & kLevelMask, redBlue & kLevelMask};
}

// The two bytes of an entry of levels 0..7.
[[nodiscard]] constexpr std::array<std::uint8_t, 2> entryBytesOf(PaletteLevels c) {
    return {static_cast<std::uint8_t>((c.red << kEntryRedShift) | c.blue),
            static_cast<std::uint8_t>(c.green)};
}

} // namespace tessarin
