#pragma once

#include "convert/dither.h"
#include "convert/oklab.h"
#include "vdp/vocabulary.h"

#include <cstdint>
#include <vector>

namespace tessarin {

// What a screen's encoder is given: the picture fitted to its frame, in Oklab, and the
// pixels that are colour 0.
struct ScreenTarget {
    int width = 0;
    int height = 0;
    std::vector<Lab> pixels;        // row after row
    std::vector<std::uint8_t> zero; // 1 for a pixel that is colour 0 (letterbox, transparent)
    bool zeroReserved = false;      // colour 0 is for those pixels only
    Dither dither = Dither::diffuse;
    ColourModel model = ColourModel::levels;
    int sprites = 0; // screen 2: at most this many sprites placed over the runs

    [[nodiscard]] std::size_t at(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
};

// Each encoder gives the VRAM from address 0 to the end of what the screen's file holds:
// the picture and, where the mode has one, the palette table after it.

// Screen 2: each 8x1 run two of the standard palette's colours 1 to 15, the pair that
// follows its pixels best with the error carried on; a run with colour 0's pixels has
// colour 0 as its background. With target.sprites, the colours the runs cannot hold go to
// up to that many sprites (convert/screen2_sprites.h), written into the sprite tables: the
// VRAM then reaches the end of the last sprite's pattern.
[[nodiscard]] std::vector<std::uint8_t> encodeScreen2(const ScreenTarget& target);
// Screens 5 (256 wide) and 7 (512 wide): sixteen colours of the 512-colour lattice chosen
// for the error of the dithered result.
[[nodiscard]] std::vector<std::uint8_t> encodeScreen5or7(const ScreenTarget& target,
                                                         ScreenMode mode);
// Screen 8: the 256 fixed colours.
[[nodiscard]] std::vector<std::uint8_t> encodeScreen8(const ScreenTarget& target);
// Screen 12: each 4-pixel run one J and K and four Y, chosen together.
[[nodiscard]] std::vector<std::uint8_t> encodeScreen12(const ScreenTarget& target);

// The 8-bit colour of a 3-bit level under model, for palette entries and screen 8.
[[nodiscard]] Lab latticeColour(int red, int green, int blue, ColourModel model);

} // namespace tessarin
