#pragma once

// Sprites as the VDP draws them over a line of the picture, from the VRAM's sprite tables.
// An attribute table entry is 4 bytes: Y, X, pattern number, then in sprite mode 1 the
// colour (bits 3-0) and the early clock (bit 7, the sprite 32 pixels to the left). In
// sprite mode 2 the colours are a table of 16 bytes a sprite, one a sprite line, 512
// bytes before the attribute table: colour in bits 3-0, IC in bit 5 (collisions only),
// CC in bit 6 (ORed with the sprite before it, as one sprite of three or more colours),
// early clock in bit 7. A sprite of Y shows from line Y + 1, wrapping at 256.

#include "vdp/screen_modes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tessarin {

// The Y that ends the list of sprites shown (V9938 data book: 208 in sprite mode 1,
// screens 1-3; 216 in sprite mode 2, screen 4 on).
inline constexpr std::uint8_t kSpriteMode1End = 208;
inline constexpr std::uint8_t kSpriteMode2End = 216;

[[nodiscard]] constexpr std::uint8_t spriteListEnd(SpriteMode mode) {
    return mode == SpriteMode::mode1 ? kSpriteMode1End : kSpriteMode2End;
}

// The registers that place and shape the sprites: the tables' absolute addresses (R#5
// with R#11, R#6) and R#1's size (SI, bit 1) and magnification (MAG, bit 0).
struct SpriteTables {
    SpriteMode mode = SpriteMode::mode2;
    std::uint32_t attributes = 0;
    std::uint32_t patterns = 0;
    bool large = false;     // 16x16: four 8x8 quarters, left column first, pattern & FCh
    bool magnified = false; // each pattern pixel 2x2 pixels

    friend bool operator==(const SpriteTables&, const SpriteTables&) = default;
};

// The tables as BASIC's SCREEN n leaves them (sprite size 0: 8x8, not magnified); the
// screen 7 ones for a value no row has.
[[nodiscard]] SpriteTables spriteTablesOf(ScreenMode mode);

// A line of sprite colour codes at the 256 sprite positions; 0 where no sprite shows
// (colour 0 is see-through).
inline constexpr std::size_t kSpritePositions = 256;
using SpriteLine = std::array<std::uint8_t, kSpritePositions>;

// Line y's sprites into out, as the VDP draws them: the sprites on the line in number
// order up to the list's end, at most 4 (mode 1) or 8 (mode 2), the lower number in front.
// True when any position shows a sprite.
bool drawSpriteLine(const SpriteTables& tables, std::span<const std::uint8_t> vram, int y,
                    SpriteLine& out);

} // namespace tessarin
