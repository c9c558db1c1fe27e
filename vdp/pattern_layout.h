#pragma once

// Where BASIC's SCREEN 2, 3 and 4 leave the VDP's tables, and how they are indexed.

#include <cstdint>

namespace tessarin {

inline constexpr int kCellPixels = 8;   // a pattern is 8 x 8 pixels, one byte a line
inline constexpr int kNameColumns = 32; // names a row of the name table
inline constexpr int kNameRows = 24;

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
