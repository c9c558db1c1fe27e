#pragma once

#include "vdp/vocabulary.h"

#include <cstdint>
#include <span>

namespace tessarin::test {

// The palette index the VDP shows at pixel (x, y) of screen 2, 3 or 4, stated pixel by
// pixel from the tables' layout, apart from the decoders. x < 256, y < 192.
inline int patternReferenceIndex(std::span<const std::uint8_t> vram, ScreenMode mode, int x,
                                 int y) {
    const int column = x / 8;
    const int row = y / 8;
    if (mode == ScreenMode::screen3) {
        // Names at 0x0800; of the name's 8 bytes, row % 4 picks a pair, the upper or lower
        // four lines one of it; the left four pixels take the high nibble.
        const int name = vram[0x0800 + row * 32 + column];
        const int block = vram[name * 8 + (row % 4) * 2 + (y % 8) / 4];
        return x % 8 < 4 ? block >> 4 : block & 0x0F;
    }
    // Names at 0x1800; patterns at 0x0000 and colours at 0x2000, 2 KB a third.
    const int name = vram[0x1800 + row * 32 + column];
    const int at = (y / 64) * 0x800 + name * 8 + y % 8;
    const bool set = (vram[at] & (0x80 >> (x % 8))) != 0;
    return set ? vram[0x2000 + at] >> 4 : vram[0x2000 + at] & 0x0F;
}

} // namespace tessarin::test
