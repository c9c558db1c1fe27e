#pragma once

// VRAM as BASIC's SCREEN n leaves it before a program BLOADs a picture: every byte zero
// but the pattern modes' name tables, filled so that each cell shows its own pattern, and
// the sprite attribute table's first Y, which hides every sprite. Programs often BSAVE
// only the patterns and colours and rely on this.

#include "vdp/sprites.h"
#include "vdp/vdp_state.h"
#include "vdp/vocabulary.h"

#include <cstdint>
#include <span>

namespace tessarin {

// Zeroes vram and fills it as SCREEN mode does:
//   screens 2 and 4: names 0-255 three times at 1800h (one run for each third);
//   screen 3: at 0800h, row r column c holds (r / 4) * 32 + c (four rows share a pattern);
// and in every mode the first sprite's Y hides all sprites. Bitmap modes are otherwise all
// zero.
void fillAsBasicScreen(ScreenMode mode, std::span<std::uint8_t, kVramSize> vram);

} // namespace tessarin
