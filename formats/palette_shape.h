#pragma once

#include "formats/screen_layout.h"
#include "names/file_name_rule.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tessarin {

// Whether a VRAM palette table holds a palette, or why not.
enum class PaletteFinding : std::uint8_t { holds, noPaletteMode, notReached, allZero, strayBits };

// Entries (two bytes each) are a palette when they are not all zero and every entry has
// only the bits an entry has.
[[nodiscard]] PaletteFinding holdsPalette(std::span<const std::uint8_t> entries);

// The bytes of the entries the mode shows: 8 in screen 6 (4 colours), else 32.
[[nodiscard]] constexpr std::size_t shownPaletteBytes(const ScreenModeFacts& mode) {
    return static_cast<std::size_t>(mode.paletteColours) * 2;
}

// The mode's table in vram, which the screen file wrote as far as written. The table
// counts when the entries the mode shows are written and hold a palette: a screen 6 file
// that writes its 4 entries, 8 bytes, brings its colours.
[[nodiscard]] PaletteFinding vramPaletteFinding(std::span<const std::uint8_t, kVramSize> vram,
                                                const ScreenModeFacts& mode, VramRange written);

// Where a screen file keeps its palette beyond the data BLOAD lays.
enum class PalettePlace : std::uint8_t {
    pastEnd, // the file goes on past a BSAVE's end address up to the mode's table
    appended // 32 bytes (entries 0-15) or 30 (entries 1-15) right after a BSAVE's data
};

struct CarriedPalette {
    PalettePlace place;
    PaletteRecord table; // entries the file does not hold are zero
};

// The palette a BSAVE file (its bytes from the start, as far as read) carries beyond its
// end address, for the mode: the table read from the bytes past the end where they reach
// the mode's shown entries, else a palette appended after the data; each only when it
// holds a palette. Nothing for any other layout or a mode without a palette.
[[nodiscard]] std::optional<CarriedPalette> paletteBeyondData(const ScreenLayout& layout,
                                                              std::span<const std::uint8_t> file,
                                                              const ScreenModeFacts& mode);

// For the status bar: "" when it holds, else "the table holds no palette" and the like.
[[nodiscard]] std::string_view reasonOf(PaletteFinding finding);

// --- Palette files. A file the name rule calls a palette is one only up to this size;
// a larger one is opened as a screen file.
[[nodiscard]] constexpr bool isPaletteFileSize(std::uint64_t size) {
    return size > 0 && size <= kMaxPaletteFileSize;
}

// How a palette file holds its table.
enum class PaletteShape : std::uint8_t {
    plain,      // the table from byte 0; a shorter file leaves the rest zero
    bsave,      // 39 bytes: a BSAVE header of a 32-byte range, then the table
    eightCopies // 256 bytes: one table per screen page; the first counts
};

[[nodiscard]] PaletteShape paletteShapeOf(std::span<const std::uint8_t> file);

// Whether a file of size bytes whose first bytes are head (256 are enough) is a palette
// file by its bytes alone, whatever its name: 32 bytes holding a palette, a 39-byte BSAVE
// whose range is exactly a mode's palette table, or 256 bytes of eight equal copies of one.
[[nodiscard]] bool isPaletteByContent(std::span<const std::uint8_t> head, std::uint64_t size);

// Whether a file a name calls a palette (PIC.PL5) holds one: 32 bytes holding a palette, a
// 39-byte BSAVE of any 32-byte range holding one, or 256 bytes of eight tables whose first
// holds a palette and whose every entry has only the bits an entry has. A text file, a
// shorter or longer one, holds none.
[[nodiscard]] bool isPaletteFile(std::span<const std::uint8_t> head, std::uint64_t size);

// The table of a palette file (its first kMaxPaletteFileSize bytes or fewer).
[[nodiscard]] PaletteRecord readPaletteFile(std::span<const std::uint8_t> file);

} // namespace tessarin
