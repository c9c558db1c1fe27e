#include "vdp/basic_screen.h"
#include "vdp_test_support.h"

#include <array>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace tessarin {
namespace {

// VRAM as a file of the mode leaves it (BASIC's SCREEN n, then the file's bytes), then
// pixels of rows 256 or 512 wide against the palette colours they must show.
TEST(TextScreens, KnownBytesGiveKnownColours) {
    const struct Case {
        const char* what;
        ScreenMode mode;
        std::vector<std::pair<std::uint32_t, std::uint8_t>> bytes; // address, value
        std::vector<std::array<int, 4>> pixels;                    // row width, x, y, index
    } cases[] = {
        // Name 41h at row 0, column 0, its own pattern 87h: bits 7-2 are the character's six
        // pixels from x 9 in colour 15 or 4; bits 1-0 are not shown; borders in colour 4.
        {"40 columns",
         ScreenMode::screen0,
         {{0x0000, 0x41}, {0x0A08, 0x87}},
         {{256, 8, 0, 4},
          {256, 9, 0, 15},
          {256, 10, 0, 4},
          {256, 14, 0, 15},
          {256, 15, 0, 4},
          {256, 255, 0, 4},
          {512, 18, 0, 15},
          {512, 19, 0, 15},
          {512, 20, 0, 4}}},
        // Row 1, column 79 (name at 009Fh) names 01h, whose line 1 (at 1009h) is 80h: its
        // pixel is 18 + 79 * 6 of 512; the 256-wide row shows every other pixel.
        {"80 columns",
         ScreenMode::screen0w80,
         {{0x009F, 0x01}, {0x1009, 0x80}},
         {{512, 492, 9, 15}, {512, 493, 9, 4}, {512, 17, 9, 4}, {256, 246, 9, 15}}},
        // Row 2, column 3 (1843h) names 29h, line 1 of its pattern (0149h) 40h, colours of
        // names 28h-2Fh at 2005h: 6 set, 12 clear. Name 20h at row 0 keeps SCREEN 1's
        // colours (F4h) under its pattern FFh.
        {"screen 1 colour table",
         ScreenMode::screen1,
         {{0x1843, 0x29}, {0x0149, 0x40}, {0x2005, 0x6C}, {0x0100, 0xFF}},
         {{256, 24, 17, 12},
          {256, 25, 17, 6},
          {256, 26, 17, 12},
          {256, 0, 0, 15},
          {512, 51, 17, 6}}},
        // Names only: 'A' drawn in the machine's font, .###.... on its first line.
        {"no font",
         ScreenMode::screen0,
         {{0x0000, 'A'}},
         {{256, 9, 0, 4}, {256, 10, 0, 15}, {256, 12, 0, 15}, {256, 13, 0, 4}}},
    };
    ASSERT_TRUE(resetFontFound()) << kResetFontRom << " missing: install cbios";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto vdp = test::makeVdp();
        vdp->setScreenMode(c.mode);
        fillAsBasicScreen(c.mode, vdp->vramForLoading());
        for (const auto& [address, value] : c.bytes) {
            vdp->vramForLoading()[address] = value;
        }
        for (const auto& [width, x, y, index] : c.pixels) {
            RgbLine256 narrow{};
            RgbLine512 wide{};
            vdp->renderLine256(y, narrow);
            vdp->renderLine512(y, wide);
            const RgbTriple got = width == kNarrowWidth ? narrow.at(x) : wide.at(x);
            EXPECT_EQ(got, vdp->paletteRgb().at(index)) << width << ": " << x << "," << y;
        }
        EXPECT_FALSE(c.mode != ScreenMode::screen1 && vdp->spritesShown()); // no sprites
    }
}

} // namespace
} // namespace tessarin
