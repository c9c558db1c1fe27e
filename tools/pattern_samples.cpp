#include "tools/pattern_samples.h"

#include "formats/bsave.h"
#include "vdp/pattern_layout.h"
#include "vdp/screen_modes.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tessarin::samples {

namespace {

constexpr std::size_t kSavedBytes = 0x3800; // BSAVE "X.SC2",0,&H37FF,S
constexpr int kColours = kPaletteColours;
constexpr int kLastColour = kColours - 1;
constexpr int kNibble = 4;
constexpr std::uint8_t kAllSet = 0xFF;
constexpr std::uint8_t kLeftHalf = 0xF0;
constexpr int kHalfCell = kCellPixels / 2;
constexpr std::array<std::uint8_t, kCellPixels> kDiamond{0x18, 0x3C, 0x7E, 0xFF,
                                                         0xFF, 0x7E, 0x3C, 0x18};
constexpr std::array<std::uint8_t, 2> kChecks{0xAA, 0x55};

// The VRAM a pattern sample is drawn into, byte by byte at absolute addresses.
class PatternVram {
public:
    void put(std::uint32_t address, std::uint8_t value) { bytes_.at(address) = value; }
    void putPalette(std::uint32_t address, const PaletteRecord& palette) {
        std::copy(palette.begin(), palette.end(), bytes_.begin() + address);
    }
    [[nodiscard]] SampleFile file(std::string name) const {
        return SampleFile{std::move(name), bsaveFile(0, bytes_)};
    }

private:
    std::array<std::uint8_t, kSavedBytes> bytes_{};
};

std::uint8_t colourByte(int set, int clear) {
    return static_cast<std::uint8_t>(set << kNibble | clear);
}

// Screens 2 and 4: every third names its cells 0..255 in reading order; draw gives the
// pattern and colour bytes of line cellY of the cell in column c, name row r of third t.
template <typename Draw> PatternVram graphicPicture(Draw draw) {
    constexpr int kThirdRows = kThirdLines / kCellPixels;
    PatternVram v;
    for (int row = 0; row < kNameRows; ++row) {
        const int third = row / kThirdRows;
        for (int column = 0; column < kNameColumns; ++column) {
            const int name = row % kThirdRows * kNameColumns + column;
            v.put(kGraphicNames + static_cast<std::uint32_t>(row * kNameColumns + column),
                  static_cast<std::uint8_t>(name));
            for (int cellY = 0; cellY < kCellPixels; ++cellY) {
                const std::uint32_t offset = static_cast<std::uint32_t>(third) * kThirdSize +
                                             static_cast<std::uint32_t>(name * kCellPixels + cellY);
                const auto [pattern, colours] = draw(third, row, column, cellY);
                v.put(kGraphicPatterns + offset, pattern);
                v.put(kGraphicColours + offset, colours);
            }
        }
    }
    return v;
}

struct PatternLine {
    std::uint8_t pattern;
    std::uint8_t colours;
};

// Screen 2: each third its own patterns behind the same names, so that a third shown
// with another's tables is plain to see. Top: diamonds in colours 1-15 by column on
// black; middle: the upper half of each cell in colour c (column mod 16), the lower in
// 15 - c; bottom: single-pixel checks of white and colour c.
SampleFile cells2(const PaletteRecord& vramPalette) {
    PatternVram v = graphicPicture([](int third, int, int column, int cellY) {
        const int c = column % kColours;
        switch (third) {
        case 0:
            return PatternLine{kDiamond[cellY], colourByte(1 + column % kLastColour, 0)};
        case 1:
            return PatternLine{cellY < kHalfCell ? kAllSet : std::uint8_t{0},
                               colourByte(c, kLastColour - c)};
        default:
            return PatternLine{kChecks[cellY % 2], colourByte(kLastColour, c)};
        }
    });
    v.putPalette(kModeFacts<ScreenMode::screen2>.paletteTable, vramPalette);
    return v.file("CELLS.SC2");
}

// Screen 4: the colour changes from line to line inside the cells: sixteen bands of 12
// lines down the page (colours 0-15) in the left half of every cell, 15-0 in the right.
SampleFile lines4() {
    constexpr int kBandLines = kPatternLines / kColours;
    const PatternVram v = graphicPicture([](int, int row, int, int cellY) {
        const int band = (row * kCellPixels + cellY) / kBandLines;
        return PatternLine{kLeftHalf, colourByte(band, kLastColour - band)};
    });
    return v.file("LINES.SC4");
}

// Screen 3: BASIC's name table (row r, column c names (r / 4) * 32 + c), 64 x 48 blocks in
// diagonal bands of the 16 colours, four blocks wide.
SampleFile blocks3() {
    constexpr int kBlockColumns = kNameColumns * 2;
    constexpr int kBlockRows = kNameRows * 2;
    constexpr int kBandBlocks = 4;
    PatternVram v;
    for (int row = 0; row < kNameRows; ++row) {
        for (int column = 0; column < kNameColumns; ++column) {
            v.put(kMulticolourNames + static_cast<std::uint32_t>(row * kNameColumns + column),
                  static_cast<std::uint8_t>(row / kRowsPerPattern * kNameColumns + column));
        }
    }
    for (int by = 0; by < kBlockRows; ++by) {
        for (int bx = 0; bx < kBlockColumns; bx += 2) {
            const int row = by / 2;
            const int name = row / kRowsPerPattern * kNameColumns + bx / 2;
            const int byte = row % kRowsPerPattern * 2 + by % 2;
            const auto colour = [by](int x) { return (x + by) / kBandBlocks % kColours; };
            v.put(kMulticolourPatterns + static_cast<std::uint32_t>(name * kCellPixels + byte),
                  colourByte(colour(bx), colour(bx + 1)));
        }
    }
    static_assert(kBlockColumns * kBlockPixels == kNarrowWidth);
    return v.file("BLOCKS.SC3");
}

} // namespace

std::vector<SampleFile> patternSamples(const PaletteRecord& vramPalette) {
    std::vector<SampleFile> files;
    files.push_back(cells2(vramPalette));
    files.push_back(blocks3());
    files.push_back(lines4());
    return files;
}

} // namespace tessarin::samples
