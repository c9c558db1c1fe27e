#include "tests/support/pattern_reference.h"
#include "tests/support/pixel_operations.h"
#include "vdp_test_support.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace tessarin {
namespace {

constexpr int kLines = 192;

// Sixteen different colours, colour 0 not black, so that every index shows as itself.
void useDistinctPalette(VdpState& vdp) {
    PaletteRecord record{};
    for (int i = 0; i < kPaletteColours; ++i) {
        record[2 * i] = static_cast<std::uint8_t>(((i + 1) % 8) << 4 | (i / 8) * 7);
        record[2 * i + 1] = static_cast<std::uint8_t>(i * 3 % 8);
    }
    vdp.setFilePalette(record);
    vdp.selectPalette(PaletteSource::file);
}

constexpr ScreenMode kPatternModes[] = {ScreenMode::screen2, ScreenMode::screen3,
                                        ScreenMode::screen4};

// Line pixels never re-lay a pattern mode's VRAM; every decoder shows the reference's pixels.
TEST(PatternModes, DecodersAgreeWithThePixelReferenceOnRandomVram) {
    for (const ScreenMode mode : kPatternModes) {
        SCOPED_TRACE(mode);
        auto vdp = test::makeVdp();
        test::fillRandom(*vdp, static_cast<std::uint32_t>(mode));
        vdp->setScreenMode(mode);
        useDistinctPalette(*vdp);
        const std::vector<std::uint8_t> before(vdp->vram().begin(), vdp->vram().end());
        vdp->remapLinePixels(100);
        ASSERT_TRUE(std::ranges::equal(vdp->vram(), before));
        for (int y = 0; y < kLines; ++y) {
            RgbLine256 narrow{};
            RgbLine512 wide{};
            vdp->renderLine256(y, narrow);
            vdp->renderLine512(y, wide);
            for (int x = 0; x < kNarrowWidth; ++x) {
                const RgbTriple want =
                    vdp->paletteRgb()[test::patternReferenceIndex(vdp->vram(), mode, x, y)];
                const RgbTriple got[] = {narrow[x], wide[2 * x], wide[2 * x + 1],
                                         test::fetchPixel(*vdp, x, y, true)};
                ASSERT_EQ(std::count(std::begin(got), std::end(got), want), 4) << x << "," << y;
            }
        }
    }
}

TEST(PatternModes, KnownBytesGiveKnownColours) {
    const struct Case {
        ScreenMode mode;
        std::vector<std::pair<std::uint32_t, std::uint8_t>> bytes; // address, value
        std::vector<std::array<int, 3>> pixels;                    // x, y, palette index
    } cases[] = {
        // Third 0, name 5, line 3: pattern 0x80, colours 4 (set) and 10 (clear).
        {ScreenMode::screen2,
         {{0x1800, 5}, {0x002B, 0x80}, {0x202B, 0x4A}},
         {{0, 3, 4}, {1, 3, 10}, {7, 3, 10}}},
        // Third 2 (line 130), column 1, name 7: its bytes lie 0x1000 on.
        {ScreenMode::screen2,
         {{0x1A01, 7}, {0x103A, 0x01}, {0x303A, 0xF3}},
         {{15, 130, 15}, {14, 130, 3}}},
        // Colour 0 is palette colour 0, not a backdrop.
        {ScreenMode::screen2,
         {{0x1800, 1}, {0x0008, 0xF0}, {0x2008, 0x0C}},
         {{0, 0, 0}, {4, 0, 12}}},
        // Row 5, column 2, name 16: bytes 2 (upper lines) and 3 (lower) of its pattern.
        {ScreenMode::screen3,
         {{0x08A2, 0x10}, {0x0082, 0x9C}, {0x0083, 0x5E}},
         {{16, 40, 9}, {19, 43, 9}, {20, 40, 12}, {16, 44, 5}, {23, 47, 14}}},
    };
    for (const Case& c : cases) {
        auto vdp = test::makeVdp(); // VRAM all zero
        vdp->setScreenMode(c.mode);
        useDistinctPalette(*vdp);
        for (const auto& [address, value] : c.bytes) {
            vdp->vramForLoading()[address] = value;
        }
        for (const auto& [x, y, index] : c.pixels) {
            SCOPED_TRACE(testing::Message() << "screen " << c.mode << " x=" << x << " y=" << y);
            EXPECT_EQ(test::patternReferenceIndex(vdp->vram(), c.mode, x, y), index);
            EXPECT_EQ(test::fetchPixel(*vdp, x, y, true), vdp->paletteRgb()[index]);
        }
    }
}

} // namespace
} // namespace tessarin
