#pragma once

// VRAM as BASIC's SCREEN n leaves it before a program BLOADs a picture: every byte zero
// but the pattern modes' name tables, filled so that each cell shows its own pattern, and
// the sprite attribute table's first Y, which hides every sprite. Programs often BSAVE
// only the patterns and colours and rely on this.

#include "vdp/vdp_state.h"
#include "vdp/vocabulary.h"

#include <cstdint>
#include <span>

namespace tessarin {

// Where SCREEN n keeps the sprite attribute table, and the Y that ends the sprites shown
// (V9938 data book: 208 in sprite mode 1, screens 1-3; 216 in sprite mode 2, screen 4 on).
inline constexpr std::uint32_t kGraphicSpriteAttributes = 0x1B00;  // screens 2 and 3
inline constexpr std::uint32_t kGraphic3SpriteAttributes = 0x1E00; // screen 4
inline constexpr std::uint32_t kGraphic4SpriteAttributes = 0x7600; // screens 5 and 6
inline constexpr std::uint32_t kGraphic6SpriteAttributes = 0xFA00; // screens 7 to 12
inline constexpr std::uint8_t kSpriteMode1End = 208;
inline constexpr std::uint8_t kSpriteMode2End = 216;

// Zeroes vram and fills it as SCREEN mode does:
//   screens 2 and 4: names 0-255 three times at 1800h (one run for each third);
//   screen 3: at 0800h, row r column c holds (r / 4) * 32 + c (four rows share a pattern);
// and the first sprite's Y hides all sprites. Bitmap modes are all zero.
void fillAsBasicScreen(ScreenMode mode, std::span<std::uint8_t, kVramSize> vram);

} // namespace tessarin
