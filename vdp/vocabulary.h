#pragma once

#include <cstdint>

namespace tessarin {

// A screen mode, valued as its BASIC number; screen10 shows screens 10 and 11, and screen0w80
// (SCREEN 0 after WIDTH 80, the V9938's text 2) is valued by its columns, 0 being taken by
// WIDTH 40. Its facts are its row of kScreenModes (vdp/screen_modes.h); numbers from outside
// become modes through screenModeFromNumber.
enum class ScreenMode : std::uint8_t {
    screen0 = 0,
    screen1 = 1,
    screen2 = 2,
    screen3 = 3,
    screen4 = 4,
    screen5 = 5,
    screen6 = 6,
    screen7 = 7,
    screen8 = 8,
    screen10 = 10,
    screen12 = 12,
    screen0w80 = 80,
};

// The mode a new VDP starts in, and the viewer and the exporter with it.
inline constexpr ScreenMode kDefaultScreenMode = ScreenMode::screen7;

// Where the colours of the palette come from. automatic is the document's rule for
// choosing among the other three, never the VDP's.
enum class PaletteSource : std::uint8_t { file = 0, vram = 1, standard = 2, automatic = 3 };

// How colour levels become 8-bit values: spread evenly as the files' levels read
// (levels, the default), or as the V9938 (msx2) or the V9958 (msx2plus) shows them; msx1
// shows the pattern modes in the TMS9918's 16 fixed colours, whatever the palette.
enum class ColourModel : std::uint8_t { levels = 0, msx2 = 1, msx2plus = 2, msx1 = 3 };

// Whether the sprites of the VRAM's sprite tables are drawn over the picture: automatic
// draws them when they show on the picture (BASIC leaves them hidden, so a file without
// its attribute table shows none).
enum class SpriteChoice : std::uint8_t { automatic = 0, on = 1, off = 2 };

} // namespace tessarin
