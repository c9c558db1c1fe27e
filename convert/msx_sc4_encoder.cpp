// Screen 4: screen 2's runs of two colours, in fifteen colours chosen for the picture.
#include "convert/lattice_palette.h"
#include "convert/msx_encoders.h"

namespace tessarin {

namespace {

// The ordered pattern's spread while the palette is chosen: about a step between its colours.
constexpr float kOrderedAmplitude = 0.10F;

} // namespace

std::vector<std::uint8_t> encodeScreen4(const ScreenTarget& target) {
    // Colour 0 shows through a run, as in screen 2: it is black, for colour 0's pixels alone.
    const LatticePalette palette =
        chooseLatticePalette(target, kPaletteColours, 1, kOrderedAmplitude);
    return encodeGraphicScreen(target, ScreenMode::screen4, palette.table());
}

} // namespace tessarin
