#pragma once

#include "convert/dither.h"
#include "convert/oklab.h"
#include "vdp/vdp_state.h"
#include "vdp/vocabulary.h"

#include <cstdint>
#include <optional>
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
    Dither dither = Dither::eye;
    ColourModel model = ColourModel::levels;
    int sprites = 0; // screen 2: at most this many sprites placed over the runs

    [[nodiscard]] std::size_t at(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
};

// Each pattern screen's encoder gives the VRAM from address 0 to the end of what the
// screen's file holds: the picture and the palette table after it.

// Screen 2: each 8x1 run two of the standard palette's colours 1 to 15, the pair that
// follows its pixels best with the error carried on; a run with colour 0's pixels has
// colour 0 as its background. With target.sprites, the colours the runs cannot hold go to
// up to that many sprites (convert/screen2_sprites.h), written into the sprite tables: the
// VRAM then reaches the end of the last sprite's pattern.
[[nodiscard]] std::vector<std::uint8_t> encodeScreen2(const ScreenTarget& target);
// Screen 3: each 4x4 block one of the standard palette's colours 1 to 15, the one that
// follows the block's mean best with the error carried on over the 64x48 blocks; a block
// with colour 0's pixels is colour 0.
[[nodiscard]] std::vector<std::uint8_t> encodeScreen3(const ScreenTarget& target);
// Screen 4: screen 2's runs in fifteen colours of the 512-colour lattice chosen for the
// picture, colour 0 black.
[[nodiscard]] std::vector<std::uint8_t> encodeScreen4(const ScreenTarget& target);
// Screens 2 and 4 (mode): the runs in colours 1 to 15 of palette, written with it.
[[nodiscard]] std::vector<std::uint8_t>
encodeGraphicScreen(const ScreenTarget& target, ScreenMode mode, const PaletteRecord& palette);
// A bitmap screen's picture as its encoder gives it: the target's lines one after the
// other, the mode's bytesPerLine each, and the palette table where the mode shows palette
// colours. Where its lines go in VRAM (one page, or two interlaced) is the caller's.
struct BitmapLines {
    std::vector<std::uint8_t> bytes;
    std::optional<PaletteRecord> palette;
};

// Screens 5 (256 wide), 6 (512 wide, four colours) and 7 (512 wide): the mode's colours
// chosen in the 512-colour lattice for the error of the dithered result.
[[nodiscard]] BitmapLines encodePackedScreen(const ScreenTarget& target, ScreenMode mode);
// Screen 8: the 256 fixed colours.
[[nodiscard]] BitmapLines encodeScreen8(const ScreenTarget& target);
// Screen 12: each 4-pixel run one J and K and four Y, chosen together.
[[nodiscard]] BitmapLines encodeScreen12(const ScreenTarget& target);
// Screens 10 and 11: screen 12's groups, each pixel either YJK (an even Y) with its
// group's J and K, or one of sixteen lattice colours chosen for the picture.
[[nodiscard]] BitmapLines encodeScreen10(const ScreenTarget& target);

// The 8-bit colour of a 3-bit level under model, for palette entries and screen 8.
[[nodiscard]] Lab latticeColour(int red, int green, int blue, ColourModel model);
// The colour of entry i (0..15) of a palette table under model.
[[nodiscard]] Lab entryColour(const PaletteRecord& palette, int i, ColourModel model);

} // namespace tessarin
