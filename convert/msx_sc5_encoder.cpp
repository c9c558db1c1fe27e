// Screens 5, 6 and 7: each pixel a palette index packed into its line's bytes, the palette
// chosen in the VDP's own 512-colour lattice.
#include "convert/eye_dither.h"
#include "convert/lattice_palette.h"
#include "convert/msx_encoders.h"
#include "vdp/screen_modes.h"

#include <algorithm>
#include <utility>

namespace tessarin {

namespace {

// The ordered pattern's spread: about a step between sixteen colours, twice that between
// screen 6's four.
constexpr float kOrderedAmplitude = 0.10F;
constexpr int kByteBits = 8;
// Few colours lie far apart: a pixel dithered to another is much farther off.
constexpr float kEyePixelWeight = 2.5F;

float orderedAmplitudeOf(int colours) {
    return colours == kPaletteColours ? kOrderedAmplitude : 2 * kOrderedAmplitude;
}

} // namespace

BitmapLines encodePackedScreen(const ScreenTarget& target, ScreenMode mode) {
    const ScreenModeFacts& facts = *findScreenMode(mode);
    const int first = firstFreeEntry(target);
    LatticePalette palette = chooseLatticePalette(target, facts.paletteColours, first,
                                                  orderedAmplitudeOf(facts.paletteColours));
    if (target.dither == Dither::eye) {
        std::vector<Lab> colours;
        for (int i = 0; i < palette.count; ++i) {
            const PaletteLevels& e = palette.entries[static_cast<std::size_t>(i)];
            colours.push_back(latticeColour(e.red, e.green, e.blue, target.model));
        }
        std::ranges::transform(ditherForEye(target, colours, first, kEyePixelWeight),
                               palette.indices.begin(),
                               [](std::uint32_t i) { return static_cast<std::uint8_t>(i); });
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(facts.bytesPerLine) * target.height);
    // A byte holds 8 / bits pixels, the leftmost in its high bits.
    const int perByte = kByteBits / facts.bitsPerPixel;
    for (int y = 0; y < target.height; ++y) {
        std::uint8_t* line = &bytes[static_cast<std::size_t>(y) * facts.bytesPerLine];
        for (int x = 0; x < target.width; ++x) {
            const int shift = kByteBits - facts.bitsPerPixel * (x % perByte + 1);
            line[x / perByte] |=
                static_cast<std::uint8_t>(palette.indices[target.at(x, y)] << shift);
        }
    }
    return BitmapLines{std::move(bytes), palette.table()};
}

} // namespace tessarin
