// Screens 5, 6 and 7: each pixel a palette index packed into its line's bytes, the palette
// chosen in the VDP's own 512-colour lattice.
#include "convert/lattice_palette.h"
#include "convert/msx_encoders.h"
#include "vdp/basic_screen.h"
#include "vdp/screen_modes.h"

#include <algorithm>

namespace tessarin {

namespace {

// The ordered pattern's spread: about a step between sixteen colours, twice that between
// screen 6's four.
constexpr float kOrderedAmplitude = 0.10F;
constexpr int kByteBits = 8;

float orderedAmplitudeOf(int colours) {
    return colours == kPaletteColours ? kOrderedAmplitude : 2 * kOrderedAmplitude;
}

} // namespace

std::vector<std::uint8_t> encodePackedScreen(const ScreenTarget& target, ScreenMode mode) {
    const ScreenModeFacts& facts = *findScreenMode(mode);
    const LatticePalette palette =
        chooseLatticePalette(target, facts.paletteColours, firstFreeEntry(target),
                             orderedAmplitudeOf(facts.paletteColours));
    std::vector<std::uint8_t> vram(facts.paletteTable + kPaletteSize);
    // A byte holds 8 / bits pixels, the leftmost in its high bits.
    const int perByte = kByteBits / facts.bitsPerPixel;
    for (int y = 0; y < target.height; ++y) {
        std::uint8_t* line = &vram[static_cast<std::size_t>(y) * facts.bytesPerLine];
        for (int x = 0; x < target.width; ++x) {
            const int shift = kByteBits - facts.bitsPerPixel * (x % perByte + 1);
            line[x / perByte] |=
                static_cast<std::uint8_t>(palette.indices[target.at(x, y)] << shift);
        }
    }
    // The first sprite's Y ends the sprites shown, so that BLOAD shows only the picture.
    vram.at(facts.spriteAttributes) = spriteListEnd(facts.spriteMode);
    std::ranges::copy(palette.table(), vram.begin() + facts.paletteTable);
    return vram;
}

} // namespace tessarin
