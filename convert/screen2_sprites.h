#pragma once

// The colours screen 2's runs cannot hold, given to sprites of mode 1 over them: 16x16,
// unmagnified (SCREEN 2,2), one colour each, at most four on a line as the chip draws them.

#include "convert/screen2_runs.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tessarin::screen2 {

inline constexpr int kSpriteSide = 16;
inline constexpr int kMostSprites = 32;   // the attribute table's entries
inline constexpr int kSpritesPerLine = 4; // sprite mode 1 hides a fifth on a line

// A sprite: its top-left pixel on the screen, its colour, and the pixels it sets on each
// of its lines (bit 15 the leftmost).
struct PlacedSprite {
    int x = 0;
    int top = 0;
    int colour = 0;
    std::array<std::uint16_t, kSpriteSide> rows{};
};

// The sprites in number order (the first in front) and, for each pixel row after row, the
// colour of the sprite shown there (0 where none is).
struct SpriteCover {
    std::vector<PlacedSprite> sprites;
    std::vector<std::uint8_t> colour;
};

// The picture a width x height screen: each pixel's difference from each colour, and 1 for
// colour 0's pixels, which keep colour 0. Places up to count sprites, each in turn where it
// lowers the summed difference most, each run under it holding three colours (its pair's
// and the sprite's); none where no sprite would lower it. Sprites lie wholly on the
// screen, each at the start of a run.
[[nodiscard]] SpriteCover placeSprites(int width, int height,
                                       std::span<const Differences> differences,
                                       std::span<const std::uint8_t> zero, int count);

} // namespace tessarin::screen2
