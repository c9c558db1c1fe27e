#pragma once

#include "document/screen_layout.h"
#include "names/file_name_rule.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace tessarin {

// Whether a VRAM palette table holds a palette, or why not.
enum class PaletteFinding : std::uint8_t { holds, noPaletteMode, notReached, allZero, strayBits };

// byte 0 of an entry is 0RRR0BBB, byte 1 00000GGG.
inline constexpr std::uint8_t kRedBlueBits = 0x77;
inline constexpr std::uint8_t kGreenBits = 0x07;

// A whole table (all 16 entries) is a palette when it is not all zero and every entry
// has only the bits an entry has.
[[nodiscard]] PaletteFinding holdsPalette(std::span<const std::uint8_t, kPaletteSize> table);

// The mode's table in vram, which the screen file wrote as far as written. The table
// counts whole, 32 bytes, in every mode with a palette: screen 6 shows 4 colours but
// saves and loads all 16 entries, so a file that stops inside the table was cut short.
[[nodiscard]] PaletteFinding vramPaletteFinding(std::span<const std::uint8_t, kVramSize> vram,
                                                const ScreenModeFacts& mode, VramRange written);

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

// The table of a palette file (its first kMaxPaletteFileSize bytes or fewer).
[[nodiscard]] PaletteRecord readPaletteFile(std::span<const std::uint8_t> file);

} // namespace tessarin
