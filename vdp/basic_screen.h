#pragma once

// VRAM as BASIC's SCREEN n leaves it before a program BLOADs a picture: every byte zero
// but the pattern modes' name tables, filled so that each cell shows its own pattern (a
// text mode's cleared to spaces, its patterns the machine's font), and the sprite
// attribute table's first Y, which hides every sprite. Programs often BSAVE only the
// patterns and colours, or a text screen only its names, and rely on this.

#include "vdp/reset_font.h"
#include "vdp/sprites.h"
#include "vdp/vdp_state.h"
#include "vdp/vocabulary.h"

#include <cstdint>
#include <span>

namespace tessarin {

// Zeroes vram and fills it as SCREEN mode does:
//   screen 0: spaces (20h) in the 24 rows of names at 0000h, font at 0800h (WIDTH 40) or
//   1000h (WIDTH 80);
//   screen 1: spaces in the names at 1800h, font at 0000h, every colour byte at 2000h
//   R#7's (F4h, white on dark blue);
//   screens 2 and 4: names 0-255 three times at 1800h (one run for each third);
//   screen 3: at 0800h, row r column c holds (r / 4) * 32 + c (four rows share a pattern);
// and in every mode with sprites the first sprite's Y hides all of them. Bitmap modes are
// otherwise all zero. font is asked for only by the text modes, so that no other picture
// reads its ROM.
void fillAsBasicScreen(ScreenMode mode, std::span<std::uint8_t, kVramSize> vram,
                       const Font& (*font)() = resetFont);

} // namespace tessarin
