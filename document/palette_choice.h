#pragma once

#include "catalog/picture_kind.h"
#include "formats/palette_shape.h"

#include <cstdint>
#include <string>

namespace tessarin {

// Why the palette file is open: the user opened it, or the picture's own found it beside
// the screen file (same base name) or as the only palette file of its folder.
enum class PaletteOrigin : std::uint8_t { byHand, sameName, folderOnly };

// The colour rule's outcome for the picture shown: which palette and why, and a palette
// file beside it that was left out. Only describe() turns it into words.
struct PaletteChoice {
    enum class Why : std::uint8_t {
        directColours, // the mode shows its bytes' own colours, whatever the palette
        file,          // a palette file, opened as origin says
        keptFile,      // a palette file the user opened, kept through browsing
        inFile,        // the table the screen file carries in VRAM
        appended,      // the table appended past the screen file's data
        standard,      // the standard palette, as the mapping chose it
        standardFound, // the standard palette, since the file carries none (finding says why)
    };
    Why why = Why::standard;
    PaletteOrigin origin = PaletteOrigin::byHand;   // for file
    std::string paletteFile;                        // for file and keptFile: its name in its folder
    PaletteFinding finding = PaletteFinding::holds; // for standardFound
    // A palette file beside the screen file that the colour rule left out, by its name in
    // its folder, and why; empty when none.
    std::string leftOutFile;
    NotPicture leftOutReason = NotPicture::none;

    friend bool operator==(const PaletteChoice&, const PaletteChoice&) = default;
};

// For the user: "palette: in file", "palette: appended", "palette: PIC.PL5 (same name)",
// "palette: mk.pal (folder's only palette)", "palette: X.PL7 (kept)", "standard palette
// (the table holds no palette)", "none: direct colours"; a file left out follows in
// brackets ("palette: in file (P.pal left out: text, not a palette)").
[[nodiscard]] std::string describe(const PaletteChoice& choice);

} // namespace tessarin
