#pragma once

#include "vdp/rgb.h"
#include "vdp/vocabulary.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessarin {

// Bitmap modes keep each line's pixels in VRAM; pattern modes build the picture from a
// name table of 8x8 cells and their patterns (and colours), at fixed addresses.
enum class ModeKind : std::uint8_t { bitmap, pattern };

// The first VDP that has the mode: the V9938 of the MSX2, or only the V9958 of the MSX2+.
enum class Chip : std::uint8_t { v9938, v9958 };

// Sprite mode 1 (the TMS9918's: a colour a sprite, 4 a line) or 2 (the V9938's: a colour
// a sprite line from the colour table, 8 a line); the text modes have none.
enum class SpriteMode : std::uint8_t { none = 0, mode1 = 1, mode2 = 2 };

// How a line's bytes become colours: each one a decoder of the VDP's.
enum class Decoder : std::uint8_t {
    text,        // 6 pattern bits a character in R#7's two colours, within a border
    graphic1,    // a pattern bit picks one of the two colours of the name's group of 8
    graphic,     // a pattern bit picks one of a cell line's two palette colours
    multicolour, // a pattern byte is two 4x4 blocks of palette colours
    packed,      // palette indices packed bitsPerPixel to a byte, leftmost in the high bits
    direct,      // a byte is its own colour, GGGRRRBB
    yjk,         // four bytes share a J and K, each with its own Y
    yjkPalette,  // yjk, where bit 0 of Y set gives the palette colour of the high nibble
};

inline constexpr int kBitmapLines = 212;
inline constexpr int kPatternLines = 192;         // 24 rows of 8-line cells
inline constexpr std::int32_t kOnePage = 0x20000; // a one-page mode's page spans all VRAM

// Everything about one screen mode: how it lays its pictures into VRAM and what it shows of
// them, which chip and decoder show it, and what the user calls it. A pattern mode's line
// width is its frame's (a text mode's border included), its bits those of a pattern line
// and its bytes a line the names of a row (32, or 40 and 80 characters); its lines are not
// laid out one after the other.
struct ScreenModeFacts {
    ScreenMode mode;
    std::string_view name;    // its BASIC number, as the status bar and --screen show it
    std::string_view caption; // the Screen menu's item, its access key after '&'
    int alsoNumber;           // another BASIC number showing the same, 0 for none
    ModeKind kind;
    Chip chip;
    Decoder decoder;
    int lineWidth;              // the mode's own pixels a line, also the full "line pixels"
    int lines;                  // lines of a display page
    int bitsPerPixel;           // 1, 2, 4 or 8 (a YJK pixel counts its byte of the group)
    int bytesPerLine;           // from one line to the next in VRAM (bitmap modes)
    std::int32_t pageSize;      // from one display page to the next
    std::int32_t pageCount;     // display pages in the 128 KB
    std::uint32_t paletteTable; // where a screen file keeps its palette (absolute address)
    int paletteColours;         // palette entries the mode shows; 0 when its colours are direct
    SpriteMode spriteMode;
    // Where SCREEN n puts the sprite attribute table (R#5/R#11) and the sprite patterns
    // (R#6), absolute addresses.
    std::uint32_t spriteAttributes;
    std::uint32_t spritePatterns;

    // Whether any of its colours come from the palette.
    [[nodiscard]] constexpr bool usesPalette() const { return paletteColours != 0; }
};

inline constexpr std::array<ScreenModeFacts, 12> kScreenModes{{
    // mode, name, caption, also, kind, chip, decoder,
    //   lineWidth, lines, bits, bytes a line, page size, pages, palette table, colours,
    //   sprite mode, sprite attributes, sprite patterns
    {ScreenMode::screen0, "0", "Screen &0 (40 columns)", 0, ModeKind::pattern, Chip::v9938,
     Decoder::text, kNarrowWidth, kPatternLines, 1, 40, kOnePage, 1, 0x0400, 16, SpriteMode::none,
     0, 0},
    {ScreenMode::screen0w80, "0w80", "Screen 0 (&80 columns)", 0, ModeKind::pattern, Chip::v9938,
     Decoder::text, kWideWidth, kPatternLines, 1, 80, kOnePage, 1, 0x0F00, 16, SpriteMode::none, 0,
     0},
    {ScreenMode::screen1, "1", "Screen &1", 0, ModeKind::pattern, Chip::v9938, Decoder::graphic1,
     kNarrowWidth, kPatternLines, 1, 32, kOnePage, 1, 0x2020, 16, SpriteMode::mode1, 0x1B00,
     0x3800},
    {ScreenMode::screen2, "2", "Screen &2", 0, ModeKind::pattern, Chip::v9938, Decoder::graphic,
     kNarrowWidth, kPatternLines, 1, 32, kOnePage, 1, 0x1B80, 16, SpriteMode::mode1, 0x1B00,
     0x3800},
    {ScreenMode::screen3, "3", "Screen &3", 0, ModeKind::pattern, Chip::v9938, Decoder::multicolour,
     kNarrowWidth, kPatternLines, 1, 32, kOnePage, 1, 0x2020, 16, SpriteMode::mode1, 0x1B00,
     0x3800},
    {ScreenMode::screen4, "4", "Screen &4", 0, ModeKind::pattern, Chip::v9938, Decoder::graphic,
     kNarrowWidth, kPatternLines, 1, 32, kOnePage, 1, 0x1B80, 16, SpriteMode::mode2, 0x1E00,
     0x3800},
    {ScreenMode::screen5, "5", "Screen &5", 0, ModeKind::bitmap, Chip::v9938, Decoder::packed,
     kNarrowWidth, kBitmapLines, 4, 128, 0x8000, 4, 0x7680, 16, SpriteMode::mode2, 0x7600, 0x7800},
    {ScreenMode::screen6, "6", "Screen &6", 0, ModeKind::bitmap, Chip::v9938, Decoder::packed,
     kWideWidth, kBitmapLines, 2, 128, 0x8000, 4, 0x7680, 4, SpriteMode::mode2, 0x7600, 0x7800},
    {ScreenMode::screen7, "7", "Screen &7", 0, ModeKind::bitmap, Chip::v9938, Decoder::packed,
     kWideWidth, kBitmapLines, 4, 256, 0x10000, 2, 0xFA80, 16, SpriteMode::mode2, 0xFA00, 0xF000},
    {ScreenMode::screen8, "8", "Screen &8", 0, ModeKind::bitmap, Chip::v9938, Decoder::direct,
     kNarrowWidth, kBitmapLines, 8, 256, 0x10000, 2, 0xFA80, 0, SpriteMode::mode2, 0xFA00, 0xF000},
    {ScreenMode::screen10, "10", "Screen 1&0,11", 11, ModeKind::bitmap, Chip::v9958,
     Decoder::yjkPalette, kNarrowWidth, kBitmapLines, 8, 256, 0x10000, 2, 0xFA80, 16,
     SpriteMode::mode2, 0xFA00, 0xF000},
    {ScreenMode::screen12, "12", "Screen 1&2", 0, ModeKind::bitmap, Chip::v9958, Decoder::yjk,
     kNarrowWidth, kBitmapLines, 8, 256, 0x10000, 2, 0xFA80, 0, SpriteMode::mode2, 0xFA00, 0xF000},
}};

// The row of mode in kScreenModes, kScreenModes.size() for a value no row has.
[[nodiscard]] constexpr std::size_t rowOf(ScreenMode mode) {
    const auto* row = std::ranges::find(kScreenModes, mode, &ScreenModeFacts::mode);
    return static_cast<std::size_t>(row - kScreenModes.begin());
}

// The facts of mode, or nullptr for a value no row has.
[[nodiscard]] constexpr const ScreenModeFacts* findScreenMode(ScreenMode mode) {
    const std::size_t row = rowOf(mode);
    return row < kScreenModes.size() ? &kScreenModes[row] : nullptr;
}

// The mode a BASIC screen number shows (11 shows 10's), or nothing for a number no row
// has: the one way from an outside number (a command line, fuzz input, settings) to a mode.
[[nodiscard]] constexpr std::optional<ScreenMode> screenModeFromNumber(int number) {
    for (const ScreenModeFacts& facts : kScreenModes) {
        if (static_cast<int>(facts.mode) == number ||
            (facts.alsoNumber != 0 && facts.alsoNumber == number)) {
            return facts.mode;
        }
    }
    return std::nullopt;
}

// The lines of a display page of mode; a bitmap page's for a value no row has.
[[nodiscard]] constexpr int pictureLinesOf(ScreenMode mode) {
    const ScreenModeFacts* facts = findScreenMode(mode);
    return facts == nullptr ? kBitmapLines : facts->lines;
}

// How the status bar and the exporter name mode: its BASIC number, with a text mode's
// columns ("0 (80 columns)"); "?" for a value no row has.
[[nodiscard]] inline std::string screenTitle(ScreenMode mode) {
    const ScreenModeFacts* facts = findScreenMode(mode);
    if (facts == nullptr) {
        return "?";
    }
    if (facts->decoder != Decoder::text) {
        return std::string(facts->name);
    }
    return "0 (" + std::to_string(facts->bytesPerLine) + " columns)";
}

// How the status bar and the thumbnail grid name mode: "Screen 5", "Screen 0 (80 columns)".
[[nodiscard]] inline std::string screenCaption(ScreenMode mode) {
    return "Screen " + screenTitle(mode);
}

// The short name screen files' extensions give mode: "SC5", "SC12"; "SC0" at either width.
[[nodiscard]] inline std::string screenShortName(ScreenMode mode) {
    const ScreenModeFacts* facts = findScreenMode(mode);
    if (facts == nullptr) {
        return "SC?";
    }
    return facts->decoder == Decoder::text ? "SC0" : "SC" + std::string(facts->name);
}

// The facts of a mode named at compile time.
template <ScreenMode Mode> inline constexpr ScreenModeFacts kModeFacts = kScreenModes[rowOf(Mode)];

// The longest line of any mode, in pixels and in bytes.
inline constexpr int kMaxLineWidth =
    std::ranges::max(kScreenModes, {}, &ScreenModeFacts::lineWidth).lineWidth;
inline constexpr int kMaxLineBytes =
    std::ranges::max(kScreenModes, {}, &ScreenModeFacts::bytesPerLine).bytesPerLine;

} // namespace tessarin
