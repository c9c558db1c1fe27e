#pragma once

#include "catalog/picture_kind.h"
#include "document/palette_choice.h"
#include "document/view_geometry.h"
#include "document/vocabulary.h"
#include "storage/location.h"
#include "vdp/screen_modes.h"

#include <array>
#include <cstdint>

namespace tessarin {

// The full line of the mode a new VDP starts in.
inline constexpr auto kDefaultLinePixels =
    static_cast<std::int16_t>(kModeFacts<kDefaultScreenMode>.lineWidth);

// How files are laid into VRAM, and where the palette comes from; index 0 is VRAM0,
// 1 is VRAM1. The mapping dialog edits a copy of the whole record.
struct VramMapping {
    std::array<HeaderSize, 2> headerSize{kDefaultHeaderSize, kDefaultHeaderSize};
    std::array<std::int16_t, 2> linePixels{kDefaultLinePixels, kDefaultLinePixels};
    PaletteSource paletteSource = PaletteSource::automatic;
    // automatic: each file in its own layout (BSAVE, Graph Saurus, COPY rectangle, raw),
    // header sizes and line pixels unused; fixed: laid past headerSize by linePixels.
    LayoutChoice layout = LayoutChoice::automatic;

    friend bool operator==(const VramMapping&, const VramMapping&) = default;
};

// Everything that decides one picture: the files and what the viewer would have been told
// about them (screen mode, mapping dialog, size and rotation), and why the mode and the
// palette file are the ones they are.
struct PictureRequest {
    Location screenFile;  // a screen file; in an export job also a PNG or JPEG picture
    Location vram1File;   // may be empty
    Location paletteFile; // may be empty: then the screen file's own, as the viewer finds it
    // byHand: the user named paletteFile, and a failure to read it fails the picture; one
    // found beside the screen file that cannot be laid in is left out.
    PaletteOrigin paletteOrigin = PaletteOrigin::sameName;
    // A palette file beside the screen file by base name that is none, left out, and why.
    Location paletteLeftOut;
    NotPicture leftOutReason = NotPicture::none;
    ScreenMode screenMode = kDefaultScreenMode;
    ModeWhy screenModeWhy = ModeWhy::standard;
    VramMapping mapping;
    ViewMode viewMode = ViewMode::plain256x212;
    ColourModel colourModel = ColourModel::levels;
    SpriteChoice sprites = SpriteChoice::automatic;
    bool largeSprites = false; // 16x16 sprites (SCREEN n,2), else 8x8 as SCREEN n leaves them
};

} // namespace tessarin
