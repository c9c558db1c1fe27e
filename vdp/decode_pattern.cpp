#include "vdp/pattern_layout.h"
#include "vdp/pixel_words.h"
#include "vdp/vdp_state.h"

namespace tessarin {

namespace {

constexpr int kNibble = 4;
constexpr std::uint8_t kLowNibble = 0x0F;
constexpr std::uint8_t kLeftBlock = 0xF0; // a multicolour byte as a pattern: 4 left, 4 right

// One 8-pixel line of a cell: set bits of pattern (bit 7 leftmost) take the colour in the
// high nibble of colours, clear bits the one in the low nibble. A multicolour line is the
// pattern kLeftBlock with the block byte as its colours.
struct CellLine {
    std::uint8_t pattern;
    std::uint8_t colours;
};

// The line y of the cell in name column `column`. Lines up to 255 stay within the first
// 0x4800 bytes of VRAM.
template <ScreenMode Mode>
[[gnu::always_inline]] inline CellLine cellLine(const std::uint8_t* vram, int column, int y) {
    const int nameRow = y / kCellPixels;
    const int cellY = y % kCellPixels;
    if constexpr (Mode == 3) {
        const std::uint8_t name = vram[kMulticolourNames + nameRow * kNameColumns + column];
        const int byte = nameRow % kRowsPerPattern * 2 + cellY / kBlockPixels;
        return {kLeftBlock, vram[kMulticolourPatterns + name * kCellPixels + byte]};
    } else {
        static_assert(Mode == 2 || Mode == 4);
        const std::uint8_t name = vram[kGraphicNames + nameRow * kNameColumns + column];
        const std::uint32_t offset = static_cast<std::uint32_t>(y / kThirdLines) * kThirdSize +
                                     name * static_cast<std::uint32_t>(kCellPixels) + cellY;
        return {vram[kGraphicPatterns + offset], vram[kGraphicColours + offset]};
    }
}

// set where bit `bit` of pattern is 1, else clear; without a branch, since patterns are
// as good as random to the predictor.
[[gnu::always_inline]] inline PixelWord pick(unsigned pattern, int bit, PixelWord set,
                                             PixelWord clear) {
    const PixelWord mask = 0U - ((pattern >> bit) & 1U);
    return clear ^ ((set ^ clear) & mask);
}

} // namespace

RgbTriple VdpState::patternPixel(std::uint8_t pattern, std::uint8_t colours, int x) const {
    const bool set = ((pattern >> (kCellPixels - 1 - x % kCellPixels)) & 1) != 0;
    return paletteRgb[set ? colours >> kNibble : colours & kLowNibble];
}

RgbTriple VdpState::pixelScreen2(int x, int y) const {
    const CellLine c = cellLine<2>(vram.data(), x / kCellPixels, y);
    return patternPixel(c.pattern, c.colours, x);
}

RgbTriple VdpState::pixelScreen3(int x, int y) const {
    const CellLine c = cellLine<3>(vram.data(), x / kCellPixels, y);
    return patternPixel(c.pattern, c.colours, x);
}

RgbTriple VdpState::pixelScreen4(int x, int y) const {
    const CellLine c = cellLine<4>(vram.data(), x / kCellPixels, y);
    return patternPixel(c.pattern, c.colours, x);
}

// A cell at a time: its two colours looked up once, then eight pixels picked between them,
// four to a putFour (each pixel twice in a 512-pixel row).
template <ScreenMode Mode, std::size_t Width>
void VdpState::decodePatternLine(int y, std::span<RgbTriple, Width> out) const {
    constexpr int kRepeat = static_cast<int>(Width) / kNarrowWidth;
    static_assert(kRepeat == 1 || kRepeat == 2);
    const auto palette = wordsOf(paletteRgb);
    std::uint8_t* row = reinterpret_cast<std::uint8_t*>(out.data());
    for (int column = 0; column < kNameColumns; ++column) {
        const CellLine c = cellLine<Mode>(vram.data(), column, y);
        const PixelWord set = palette[c.colours >> kNibble];
        const PixelWord clear = palette[c.colours & kLowNibble];
        for (const int high : {kCellPixels - 1, kQuadPixels - 1}) { // bits 7-4, then 3-0
            const PixelWord a = pick(c.pattern, high, set, clear);
            const PixelWord b = pick(c.pattern, high - 1, set, clear);
            const PixelWord d = pick(c.pattern, high - 2, set, clear);
            const PixelWord e = pick(c.pattern, high - 3, set, clear);
            if constexpr (kRepeat == 1) {
                putFour(row, a, b, d, e);
            } else {
                putFour(row, a, a, b, b);
                putFour(row + kQuadBytes, d, d, e, e);
            }
            row += kRepeat * kQuadBytes;
        }
    }
}

void VdpState::decodeLineScreen2(int y, RgbRow256 out) const {
    decodePatternLine<2>(y, out);
}

void VdpState::decodeLineScreen3(int y, RgbRow256 out) const {
    decodePatternLine<3>(y, out);
}

void VdpState::decodeLineScreen4(int y, RgbRow256 out) const {
    decodePatternLine<4>(y, out);
}

template <std::size_t Width>
void VdpState::renderPatternLine(int y, std::span<RgbTriple, Width> out) const {
    switch (screenMode) {
    case 2:
        decodePatternLine<2>(y, out);
        break;
    case 3:
        decodePatternLine<3>(y, out);
        break;
    default:
        decodePatternLine<4>(y, out);
        break;
    }
}

template void VdpState::renderPatternLine(int, RgbRow256) const;
template void VdpState::renderPatternLine(int, RgbRow512) const;

} // namespace tessarin
