#pragma once

#include "vdp/vdp_state.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tessarin::samples {

using PaletteColours = std::array<PaletteLevels, kPaletteColours>;

// The 32-byte palette record of 16 colours.
[[nodiscard]] PaletteRecord paletteRecord(const PaletteColours& colours);

// A 64 KB VRAM image that pictures are drawn into, pixel by pixel, in the byte
// layout of one screen mode; lines begin at lineBytes * y.
class VramCanvas {
public:
    explicit VramCanvas(int lineBytes);

    // Screens 5 and 7: two pixels a byte, the left one in bits 7-4.
    void put4bpp(int x, int y, int colour);
    // Screen 6: four pixels a byte, the left one in bits 7-6.
    void put2bpp(int x, int y, int colour);
    // Screen 8: one byte a pixel, green in bits 7-5, red in 4-2, blue in 1-0.
    void put8bpp(int x, int y, std::uint8_t value);
    // Screens 10 and 12: the four bytes of the group that holds x (a multiple of 4).
    void putGroup(int x, int y, const std::array<std::uint8_t, 4>& bytes);
    void putPalette(std::uint32_t address, const PaletteRecord& palette);

    // The first size bytes, as saved.
    [[nodiscard]] std::span<const std::uint8_t> prefix(std::size_t size) const;

private:
    [[nodiscard]] std::uint8_t& at(int byteX, int y);

    int lineBytes_;
    std::vector<std::uint8_t> bytes_;
};

// The bytes of a screen-12 group of four Y values (0..31) and signed J and K (-32..31):
// Y in bits 7-3, K bits 2-0 and 5-3 in bytes 0 and 1, J bits 2-0 and 5-3 in bytes 2 and 3.
[[nodiscard]] std::array<std::uint8_t, 4> yjkGroupBytes(const std::array<int, 4>& y, int j, int k);

} // namespace tessarin::samples
