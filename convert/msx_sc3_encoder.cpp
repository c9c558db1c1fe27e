// Screen 3: 64 x 48 blocks of 4 x 4 pixels, each one of the standard palette's colours.
#include "convert/ciede2000.h"
#include "convert/msx_encoders.h"
#include "vdp/basic_screen.h"
#include "vdp/pattern_layout.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

#include <algorithm>
#include <array>
#include <limits>

namespace tessarin {

namespace {

constexpr float kOrderedAmplitude = 0.12F;
constexpr int kNibble = 4;
constexpr int kBlockPixelCount = kBlockPixels * kBlockPixels;

// The target as its blocks show it: each block's pixels averaged in linear light, as the
// eye blends them, and whether any of them is colour 0 (the block then is, so that the
// letterbox and the see-through pixels show no colour).
struct Blocks {
    int width = 0;
    int height = 0;
    std::vector<Lab> colours; // row after row
    std::vector<bool> zero;
};

Blocks blocksOf(const ScreenTarget& target) {
    Blocks blocks{target.width / kBlockPixels, target.height / kBlockPixels, {}, {}};
    for (int by = 0; by < blocks.height; ++by) {
        for (int bx = 0; bx < blocks.width; ++bx) {
            LinearLight sum{0, 0, 0};
            bool zero = false;
            for (int i = 0; i < kBlockPixelCount; ++i) {
                const std::size_t p = target.at(bx * kBlockPixels + i % kBlockPixels,
                                                by * kBlockPixels + i / kBlockPixels);
                zero = zero || target.zero[p] != 0;
                const LinearLight light = linearLightOf(target.pixels[p]);
                sum = {sum.red + light.red, sum.green + light.green, sum.blue + light.blue};
            }
            blocks.colours.push_back(
                oklabOf(LinearLight{sum.red / kBlockPixelCount, sum.green / kBlockPixelCount,
                                    sum.blue / kBlockPixelCount}));
            blocks.zero.push_back(zero);
        }
    }
    return blocks;
}

} // namespace

std::vector<std::uint8_t> encodeScreen3(const ScreenTarget& target) {
    const PaletteRecord& standard = standardPalette(target.model);
    std::array<Lab, kPaletteColours> colours{};
    std::array<CieLab, kPaletteColours> cieColours{};
    for (int i = 0; i < kPaletteColours; ++i) {
        colours[i] = entryColour(standard, i, target.model);
        cieColours[i] = cieLabOf(colours[i]);
    }
    // As SCREEN 3 leaves it: its name table, the sprites hidden; then the palette.
    const std::uint32_t palette = kModeFacts<ScreenMode::screen3>.paletteTable;
    std::vector<std::uint8_t> vram(kVramSize);
    fillAsBasicScreen(ScreenMode::screen3, std::span<std::uint8_t, kVramSize>(vram));
    vram.resize(palette + kPaletteSize);
    std::ranges::copy(standard, vram.begin() + palette);

    const Blocks blocks = blocksOf(target);
    ErrorCarry carry(target.dither, kOrderedAmplitude, blocks.colours, blocks.width);
    for (int by = 0; by < blocks.height; ++by) {
        for (int bx = 0; bx < blocks.width; ++bx) {
            const auto b = static_cast<std::size_t>(by * blocks.width + bx);
            if (blocks.zero[b]) {
                continue; // colour 0
            }
            // CIEDE2000, as screen 2 chooses among the same fifteen far-apart colours;
            // colour 0 shows through to the border, so the picture keeps off it.
            const Lab wanted = carry.wanted(blocks.colours[b], bx, by);
            const CieLab w = cieLabOf(wanted);
            int best = 1;
            double bestDifference = std::numeric_limits<double>::max();
            for (int c = 1; c < kPaletteColours; ++c) {
                if (const double d = ciede2000(w, cieColours[c]); d < bestDifference) {
                    bestDifference = d;
                    best = c;
                }
            }
            carry.carry(bx, wanted - colours[best]);
            // Block (bx, by) is in the cell of name row by / 2, column bx / 2: byte
            // (row % 4) * 2 + by % 2 of its name's pattern, the left block in bits 7-4.
            const int row = by / 2;
            const std::uint8_t name =
                vram[kMulticolourNames + static_cast<std::uint32_t>(row * kNameColumns + bx / 2)];
            std::uint8_t& byte =
                vram[kMulticolourPatterns + name * std::uint32_t{kCellPixels} +
                     static_cast<std::uint32_t>(row % kRowsPerPattern * 2 + by % 2)];
            byte |= static_cast<std::uint8_t>(best << (bx % 2 == 0 ? kNibble : 0));
        }
        carry.nextRow();
    }
    return vram;
}

} // namespace tessarin
