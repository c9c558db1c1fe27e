#include "pattern_reference.h"
#include "vdp_test_support.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace tessarin {
namespace {

constexpr int kLines = 192;
constexpr ScreenMode kPatternModes[] = {2, 3, 4};

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

void decodeLine(const VdpState& vdp, ScreenMode mode, int y, RgbRow256 out) {
    switch (mode) {
    case 2:
        return vdp.decodeLineScreen2(y, out);
    case 3:
        return vdp.decodeLineScreen3(y, out);
    default:
        return vdp.decodeLineScreen4(y, out);
    }
}

TEST(PatternModes, DecodersAgreeWithThePixelReferenceOnRandomVram) {
    for (const ScreenMode mode : kPatternModes) {
        for (const std::uint32_t seed : {1U, 2U}) {
            SCOPED_TRACE(mode);
            auto vdp = test::makeVdp();
            test::fillRandom(*vdp, seed * 31 + mode);
            vdp->setScreenMode(mode);
            useDistinctPalette(*vdp);
            for (int y = 0; y < kLines; ++y) {
                RgbLine256 own{};
                RgbLine256 narrow{};
                RgbLine512 wide{};
                decodeLine(*vdp, mode, y, own);
                vdp->renderLine256(y, narrow);
                vdp->renderLine512(y, wide);
                for (int x = 0; x < kNarrowWidth; ++x) {
                    const RgbTriple want =
                        vdp->paletteRgb[test::patternReferenceIndex(vdp->vram, mode, x, y)];
                    ASSERT_EQ(own[x], want) << "x=" << x << " y=" << y;
                    ASSERT_EQ(narrow[x], want) << "x=" << x << " y=" << y;
                    ASSERT_EQ(wide[2 * x], want) << "x=" << x << " y=" << y;
                    ASSERT_EQ(wide[2 * x + 1], want) << "x=" << x << " y=" << y;
                    ASSERT_EQ(vdp->fetchPixel(x, y, true), want) << "x=" << x << " y=" << y;
                }
            }
        }
    }
}

TEST(PatternModes, KnownBytesGiveKnownColours) {
    struct Pixel {
        int x, y, index;
    };
    const struct Case {
        ScreenMode mode;
        std::vector<std::pair<std::uint32_t, std::uint8_t>> bytes; // address, value
        std::vector<Pixel> pixels;
    } cases[] = {
        // Third 0, name 5, line 3: pattern 0x80, colours 4 (set) and 10 (clear).
        {2, {{0x1800, 5}, {0x002B, 0x80}, {0x202B, 0x4A}}, {{0, 3, 4}, {1, 3, 10}, {7, 3, 10}}},
        // Third 2 (line 130), column 1, name 7: its bytes lie 0x1000 on.
        {2, {{0x1A01, 7}, {0x103A, 0x01}, {0x303A, 0xF3}}, {{15, 130, 15}, {14, 130, 3}}},
        // Colour 0 is palette colour 0, not a backdrop.
        {2, {{0x1800, 1}, {0x0008, 0xF0}, {0x2008, 0x0C}}, {{0, 0, 0}, {4, 0, 12}}},
        // Screen 4 alike: third 1 (line 64), column 0, name 0 at 0x0800 and 0x2800.
        {4, {{0x1900, 0}, {0x0800, 0x40}, {0x2800, 0x92}}, {{1, 64, 9}, {0, 64, 2}}},
        // Row 5, column 2, name 16: bytes 2 (upper lines) and 3 (lower) of its pattern.
        {3,
         {{0x08A2, 0x10}, {0x0082, 0x9C}, {0x0083, 0x5E}},
         {{16, 40, 9}, {19, 43, 9}, {20, 40, 12}, {16, 44, 5}, {23, 47, 14}}},
        // Row 0, name 0: byte 0 for lines 0-3.
        {3, {{0x0800, 0}, {0x0000, 0x0E}, {0x0001, 0x00}}, {{0, 0, 0}, {4, 3, 14}, {4, 4, 0}}},
    };
    for (const Case& c : cases) {
        auto vdp = test::makeVdp(); // VRAM all zero
        vdp->setScreenMode(c.mode);
        useDistinctPalette(*vdp);
        for (const auto& [address, value] : c.bytes) {
            vdp->vram[address] = value;
        }
        for (const Pixel& p : c.pixels) {
            SCOPED_TRACE(testing::Message() << "screen " << c.mode << " x=" << p.x << " y=" << p.y);
            EXPECT_EQ(test::patternReferenceIndex(vdp->vram, static_cast<int>(c.mode), p.x, p.y),
                      p.index);
            EXPECT_EQ(vdp->fetchPixel(p.x, p.y, true), vdp->paletteRgb[p.index]);
        }
    }
}

TEST(PatternModes, LinePixelsLeaveVramAsItIs) {
    for (const ScreenMode mode : kPatternModes) {
        auto vdp = test::makeVdp();
        test::fillRandom(*vdp, mode);
        vdp->setScreenMode(mode);
        const auto before = vdp->vram;
        vdp->remapLinePixels(100);
        EXPECT_TRUE(vdp->vram == before) << mode;
    }
}

} // namespace
} // namespace tessarin
