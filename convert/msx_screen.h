#pragma once

#include "convert/dither.h"
#include "convert/fit_frame.h"
#include "image/image_format.h"
#include "image/source_image.h"
#include "vdp/vocabulary.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tessarin {

// The screens a picture is converted to, each written as a BSAVE file of VRAM.
enum class MsxScreen : std::uint8_t { sc2, sc5, sc7, sc8, sc12, sc3, sc4, sc6, sc10, sc11 };

// The screen a format writes; nothing for BMP and PNG.
[[nodiscard]] std::optional<MsxScreen> msxScreenOf(ImageFormat format);

// The format a screen is written in.
[[nodiscard]] ImageFormat formatOf(MsxScreen screen);

// The extension of a screen's file, without the dot: its format's, but "scc" for an
// interlaced screen 12, as only X.SCC has a page-1 name (X.S1C) paired with it.
[[nodiscard]] const char* fileExtensionOf(MsxScreen screen, bool interlace);

// The VDP's mode of a screen.
[[nodiscard]] ScreenMode screenModeOf(MsxScreen screen);

// Whether a screen's frame may have that many lines: its mode's own, and 192 for a bitmap
// screen (whose own is 212).
[[nodiscard]] bool takesLines(MsxScreen screen, int lines);

// Whether a screen can be interlaced: a bitmap screen, whose two display pages show the
// even and the odd lines of a picture twice as tall.
[[nodiscard]] bool takesInterlace(MsxScreen screen);

// How a picture becomes a screen.
struct MsxChoices {
    FitMode fit = FitMode::contain;
    double tvAspect = 1.0; // how much wider than tall a TV shows a pixel of a 256-wide line
    Dither dither = Dither::eye;
    bool transparent = false; // the source's transparent pixels colour 0, no other pixel
    ColourModel colourModel = ColourModel::levels;
    int lines = 0;          // the frame's lines, one takesLines allows; 0 for the mode's own
    int sprites = 0;        // screen 2: sprites placed, 0 to kMostScreen2Sprites
    bool interlace = false; // twice the lines, the odd ones in page 1 (takesInterlace)
};

inline constexpr int kMostScreen2Sprites = 32;

// The sprite size a screen 2 file with sprites is shown at: 16x16, unmagnified, as after
// SCREEN 2,2.
inline constexpr bool kScreen2LargeSprites = true;

// A picture as a screen file.
struct MsxEncoding {
    std::vector<std::uint8_t> file; // the BSAVE file: FEh, start, end, execution, then VRAM
    // Interlaced: page 1's BSAVE file (X.S17 beside X.SC7), its lines from address 0 of the
    // page; else empty.
    std::vector<std::uint8_t> companion;
    Picture fitted;  // the source in the screen's frame, what it aims at
    Picture preview; // the screen as the VDP shows it, in the same frame
};

// source fitted to the screen's frame (choices.lines of it) and coloured in its colours.
// The file is a BSAVE of VRAM from address 0 (`BLOAD "X",S`) up to the end of the picture,
// or of the palette table (its 32 bytes the picture's colours) where the mode has one; the
// sprites it reaches are hidden, but for screen 2's with choices.sprites, where it reaches
// the end of the sprite tables used. Its preview, of the frame's lines, is decoded from
// those bytes by the VDP's own decoders, sprites drawn (screen 2's at
// kScreen2LargeSprites). Interlaced, the frame has twice the lines: the even ones are the
// file's, the odd ones the companion's, and the preview shows them woven as the VDP does.
// Throws std::invalid_argument for lines the screen does not take, or an interlace of a
// screen that takes none.
[[nodiscard]] MsxEncoding encodeMsx(const SourceImage& source, MsxScreen screen,
                                    const MsxChoices& choices);

} // namespace tessarin
