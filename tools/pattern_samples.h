#pragma once

#include "tools/sample_pictures.h"
#include "vdp/vdp_state.h"

#include <vector>

namespace tessarin::samples {

// The samples of screens 2, 3 and 4, each the VRAM range BASIC saves of them (0 to
// 0x37FF); the screen 2 file keeps vramPalette in its palette table, the others leave
// theirs zero.
[[nodiscard]] std::vector<SampleFile> patternSamples(const PaletteRecord& vramPalette);

} // namespace tessarin::samples
