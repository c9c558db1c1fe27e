#pragma once

// Where BASIC's SCREEN 0 to 4 leave the VDP's tables, and how they are indexed.

#include <cstdint>

namespace tessarin {

inline constexpr int kCellPixels = 8;   // a pattern is 8 x 8 pixels, one byte a line
inline constexpr int kNameColumns = 32; // names a row of the name table
inline constexpr int kNameRows = 24;
inline constexpr std::uint32_t kFontBytes = 256 * kCellPixels; // a pattern for each name

// Screen 0 (text 1 after WIDTH 40, text 2 after WIDTH 80): name row r column c at
// names + r * columns + c; its pattern's line y at patterns + name * 8 + y % 8, bits 7-2
// the character's 6 pixels, left first, set in R#7's high nibble, clear in its low one.
// The border beside the characters shows the low nibble. (Text 2's blink table at 0800h
// shows only with R#13's blink period set, which BASIC leaves zero.)
inline constexpr std::uint32_t kText1Names = 0x0000;
inline constexpr std::uint32_t kText1Patterns = 0x0800;
inline constexpr std::uint32_t kText2Names = 0x0000;
inline constexpr std::uint32_t kText2Patterns = 0x1000;
inline constexpr int kTextCharPixels = 6;
// The characters' 240 pixels start 9 pixels into a 256-pixel frame, not 8: the VDP shows
// them a pixel right of the middle, 7 pixels of border to their right.
inline constexpr int kTextLeftBorder = 9;
// R#7 as BASIC's COLOR 15,4 leaves it: white characters on dark blue.
inline constexpr std::uint8_t kTextForeground = 15;
inline constexpr std::uint8_t kTextBackground = 4;

// Screen 1 (graphic 1): name row r column c at 1800h + r * 32 + c, its pattern's line y at
// 0000h + name * 8 + y % 8, and one colour byte for each 8 names: name n's at 2000h + n / 8.
inline constexpr std::uint32_t kGraphic1Names = 0x1800;
inline constexpr std::uint32_t kGraphic1Patterns = 0x0000;
inline constexpr std::uint32_t kGraphic1Colours = 0x2000;
inline constexpr int kNamesPerColour = 8;

// Screens 2 and 4 (graphic 2 and 3): the screen in three thirds of 8 name rows, each third
// with its own 2 KB of patterns and of colours. Name n on line y of third t uses the bytes
// at table + t * kThirdSize + n * 8 + y % 8.
inline constexpr std::uint32_t kGraphicNames = 0x1800;
inline constexpr std::uint32_t kGraphicPatterns = 0x0000;
inline constexpr std::uint32_t kGraphicColours = 0x2000;
inline constexpr std::uint32_t kThirdSize = 0x800;
inline constexpr int kThirdLines = 64;

// Screen 3 (multicolour): each pattern byte is two 4 x 4 blocks, the left one in bits 7-4.
// Name row r uses bytes (r % 4) * 2 (upper four lines) and (r % 4) * 2 + 1 (lower four) of
// the name's 8.
inline constexpr std::uint32_t kMulticolourNames = 0x0800;
inline constexpr std::uint32_t kMulticolourPatterns = 0x0000;
inline constexpr int kBlockPixels = 4;
inline constexpr int kRowsPerPattern = 4; // name rows that share one 8-byte pattern

} // namespace tessarin
