#include "vdp/pattern_layout.h"
#include "vdp/pixel_words.h"
#include "vdp/vdp_state.h"

#include <array>

namespace tessarin {

namespace {

constexpr int kNibble = 4;
constexpr std::uint8_t kLowNibble = 0x0F;
constexpr std::uint8_t kLeftBlock = 0xF0; // a multicolour byte as a pattern: 4 left, 4 right
constexpr std::uint8_t kLeftmostBit = 0x80;

// One 8-pixel line of a cell: set bits of pattern (bit 7 leftmost) take the colour in the
// high nibble of colours, clear bits the one in the low nibble. A multicolour line is the
// pattern kLeftBlock with the block byte as its colours.
struct CellLine {
    std::uint8_t pattern;
    std::uint8_t colours;
};

// The line y of the cell in name column `column`. Lines up to 255 stay within the first
// 0x4800 bytes of VRAM.
template <Decoder Coding>
[[gnu::always_inline]] inline CellLine cellLine(const std::uint8_t* vram, int column, int y) {
    const int nameRow = y / kCellPixels;
    const int cellY = y % kCellPixels;
    if constexpr (Coding == Decoder::multicolour) {
        const std::uint8_t name = vram[kMulticolourNames + nameRow * kNameColumns + column];
        const int byte = nameRow % kRowsPerPattern * 2 + cellY / kBlockPixels;
        return {kLeftBlock, vram[kMulticolourPatterns + name * kCellPixels + byte]};
    } else if constexpr (Coding == Decoder::graphic1) {
        const std::uint8_t name = vram[kGraphic1Names + nameRow * kNameColumns + column];
        return {vram[kGraphic1Patterns + name * kCellPixels + cellY],
                vram[kGraphic1Colours + name / kNamesPerColour]};
    } else {
        static_assert(Coding == Decoder::graphic);
        const std::uint8_t name = vram[kGraphicNames + nameRow * kNameColumns + column];
        const std::uint32_t offset = static_cast<std::uint32_t>(y / kThirdLines) * kThirdSize +
                                     name * static_cast<std::uint32_t>(kCellPixels) + cellY;
        return {vram[kGraphicPatterns + offset], vram[kGraphicColours + offset]};
    }
}

// Byte masks of the quad words: for each group of pattern bits that fills a quad (four
// bits, or two with each pixel twice), all ones over the pixels of its set bits.
template <int Repeat>
constexpr auto kGroupMasks = [] {
    constexpr int kBits = kQuadPixels / Repeat;
    constexpr PixelWord kPixel = 0xFFFFFF;
    std::array<QuadWords, 1U << kBits> masks{};
    for (unsigned group = 0; group < masks.size(); ++group) {
        std::array<PixelWord, kQuadPixels> m{};
        for (int i = 0; i < kQuadPixels; ++i) {
            m[i] = ((group >> (kBits - 1 - i / Repeat)) & 1U) != 0 ? kPixel : 0;
        }
        masks[group] = quadWords(m[0], m[1], m[2], m[3]);
    }
    return masks;
}();

} // namespace

// A cell at a time: the quad words of its two colours looked up, then each group of
// pattern bits selects bytes between them through a mask, without a branch (patterns are
// as good as random to the predictor).
template <Decoder Coding, std::size_t Width>
void VdpState::decodePatternLine(int y, std::span<RgbTriple, Width> out) const {
    constexpr int kRepeat = static_cast<int>(Width) / kNarrowWidth;
    static_assert(kRepeat == 1 || kRepeat == 2);
    constexpr int kBits = kQuadPixels / kRepeat; // pattern bits a quad
    constexpr unsigned kGroup = (1U << kBits) - 1;
    std::array<QuadWords, kPaletteColours> solid{}; // four pixels of each colour
    for (std::size_t i = 0; i < solid.size(); ++i) {
        const PixelWord w = wordOf(paletteRgb_[i]);
        solid[i] = quadWords(w, w, w, w);
    }
    std::uint8_t* row = reinterpret_cast<std::uint8_t*>(out.data());
    for (int column = 0; column < kNameColumns; ++column) {
        const CellLine c = cellLine<Coding>(vram_.data(), column, y);
        const QuadWords& sets = solid[c.colours >> kNibble];
        const QuadWords& clears = solid[c.colours & kLowNibble];
        const QuadWords diff{sets[0] ^ clears[0], sets[1] ^ clears[1], sets[2] ^ clears[2]};
        for (int shift = kCellPixels - kBits; shift >= 0; shift -= kBits) {
            const QuadWords& m = kGroupMasks<kRepeat>[(c.pattern >> shift) & kGroup];
            putWords(row, {clears[0] ^ (diff[0] & m[0]), clears[1] ^ (diff[1] & m[1]),
                           clears[2] ^ (diff[2] & m[2])});
            row += kQuadBytes;
        }
    }
}

// Pixel by pixel: the frame holds 40 or 80 characters of 6 pixels between its borders, and
// a row narrower or wider than the frame shows every other pixel or each twice.
template <ScreenMode Mode, std::size_t Width>
void VdpState::decodeTextLine(int y, std::span<RgbTriple, Width> out) const {
    constexpr ScreenModeFacts kFacts = kModeFacts<Mode>;
    constexpr int kColumns = kFacts.bytesPerLine;
    constexpr int kBorder = kTextLeftBorder * kFacts.lineWidth / kNarrowWidth;
    static_assert(kColumns * kTextCharPixels < kFacts.lineWidth - kBorder);
    constexpr std::uint32_t kNames = Mode == ScreenMode::screen0 ? kText1Names : kText2Names;
    constexpr std::uint32_t kPatterns =
        Mode == ScreenMode::screen0 ? kText1Patterns : kText2Patterns;
    const RgbTriple foreground = paletteRgb_[kTextForeground];
    const RgbTriple background = paletteRgb_[kTextBackground];
    const std::uint8_t* names = vram_.data() + kNames + (y / kCellPixels) * kColumns;
    const std::uint8_t* patterns = vram_.data() + kPatterns + y % kCellPixels;
    for (std::size_t x = 0; x < Width; ++x) {
        const int at = static_cast<int>(x) * kFacts.lineWidth / static_cast<int>(Width) - kBorder;
        const int column = at / kTextCharPixels;
        bool set = false;
        if (at >= 0 && column < kColumns) {
            const std::uint8_t pattern = patterns[names[column] * kCellPixels];
            set = ((pattern << (at % kTextCharPixels)) & kLeftmostBit) != 0;
        }
        out[x] = set ? foreground : background;
    }
}

template void VdpState::decodeTextLine<ScreenMode::screen0>(int, RgbRow256) const;
template void VdpState::decodeTextLine<ScreenMode::screen0>(int, RgbRow512) const;
template void VdpState::decodeTextLine<ScreenMode::screen0w80>(int, RgbRow256) const;
template void VdpState::decodeTextLine<ScreenMode::screen0w80>(int, RgbRow512) const;
template void VdpState::decodePatternLine<Decoder::graphic1>(int, RgbRow256) const;
template void VdpState::decodePatternLine<Decoder::graphic1>(int, RgbRow512) const;
template void VdpState::decodePatternLine<Decoder::graphic>(int, RgbRow256) const;
template void VdpState::decodePatternLine<Decoder::graphic>(int, RgbRow512) const;
template void VdpState::decodePatternLine<Decoder::multicolour>(int, RgbRow256) const;
template void VdpState::decodePatternLine<Decoder::multicolour>(int, RgbRow512) const;

} // namespace tessarin
