#pragma once

#include "convert/msx_encoders.h"
#include "vdp/palette_entry.h"
#include "vdp/vdp_state.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tessarin {

// Colours of the 512-colour lattice chosen for a picture, and the picture dithered in them.
struct LatticePalette {
    int count = 0;                                        // entries the mode shows
    std::array<PaletteLevels, kPaletteColours> entries{}; // those past count black
    std::vector<std::uint8_t> indices; // each pixel's entry, row after row; colour 0's 0

    // The palette table's 32 bytes: entry i at 2i, as palette_entry.h lays them out.
    [[nodiscard]] PaletteRecord table() const;
};

// The first entry a picture's own colours may take: 1 where colour 0 is kept black for the
// letterbox and the transparent pixels, else 0.
[[nodiscard]] int firstFreeEntry(const ScreenTarget& target);

// count entries (up to 16) chosen for target, those from first on for its pixels, the ones
// before black: k-means over its colours walked through the lattice, then moved to what the
// pixels given each wanted once dithered (orderedAmplitude: the lightness spread of the
// ordered pattern) while that lowers the summed difference from the target.
[[nodiscard]] LatticePalette chooseLatticePalette(const ScreenTarget& target, int count, int first,
                                                  float orderedAmplitude);

} // namespace tessarin
