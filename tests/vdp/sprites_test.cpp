#include "vdp/sprites.h"
#include "vdp_test_support.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace tessarin {
namespace {

using test::rgb;

// A sprite's attribute entry; in mode 2 colour fills its colour table, below for the
// lines past the first when set.
struct Sprite {
    std::uint8_t y, x, pattern, colour, below = 0;
};

// Pattern 0 is solid (16x16 too); pattern 1 is its left pixel column only.
void writeSprites(VdpState& vdp, const std::vector<Sprite>& sprites) {
    const SpriteTables& t = vdp.spriteTables();
    auto vram = vdp.vramForLoading();
    std::fill_n(vram.begin() + t.patterns, 32, std::uint8_t{0xFF});
    std::fill_n(vram.begin() + t.patterns + 8, 8, std::uint8_t{0x80});
    for (std::size_t n = 0; n < sprites.size(); ++n) {
        const Sprite& s = sprites[n];
        const std::size_t entry = t.attributes + 4 * n;
        vram[entry] = s.y;
        vram[entry + 1] = s.x;
        vram[entry + 2] = s.pattern;
        vram[entry + 3] = s.colour;
        const std::size_t colours = t.attributes - 512 + 16 * n;
        std::fill_n(vram.begin() + colours, 16, s.below != 0 ? s.below : s.colour);
        vram[colours] = s.colour;
    }
}

// Known attribute, pattern and colour bytes to the colour codes of one line at positions.
TEST(Sprites, KnownTablesGiveKnownColoursOnTheLine) {
    constexpr std::uint8_t kCc = 0x40;
    constexpr std::uint8_t kEc = 0x80;
    struct Case {
        const char* what;
        ScreenMode mode;
        bool large, magnified;
        std::vector<Sprite> sprites;
        int y;
        std::vector<std::pair<int, int>> codes; // position, colour code (0: none)
    };
    const std::vector<Sprite> fiveInARow{
        {9, 0, 0, 2}, {9, 16, 0, 3}, {9, 32, 0, 4}, {9, 48, 0, 5}, {9, 64, 0, 6}};
    std::vector<Sprite> nineInARow;
    for (int i = 0; i < 9; ++i) {
        nineInARow.push_back({9, static_cast<std::uint8_t>(16 * i), 0, 7});
    }
    const Case cases[] = {
        {"shows from Y + 1, 8 wide",
         ScreenMode::screen2,
         false,
         false,
         {{9, 20, 0, 5}},
         10,
         {{19, 0}, {20, 5}, {27, 5}, {28, 0}}},
        {"above its first line", ScreenMode::screen2, false, false, {{9, 20, 0, 5}}, 9, {{20, 0}}},
        {"past its 8 lines", ScreenMode::screen2, false, false, {{9, 20, 0, 5}}, 18, {{20, 0}}},
        {"early clock, 32 to the left",
         ScreenMode::screen2,
         false,
         false,
         {{9, 40, 0, kEc | 5}},
         10,
         {{8, 5}, {15, 5}, {40, 0}}},
        {"the lower number in front",
         ScreenMode::screen2,
         false,
         false,
         {{9, 20, 0, 5}, {9, 24, 0, 9}},
         10,
         {{24, 5}, {28, 9}}},
        {"4 a line in mode 1",
         ScreenMode::screen2,
         false,
         false,
         fiveInARow,
         10,
         {{48, 5}, {64, 0}}},
        {"8 a line in mode 2",
         ScreenMode::screen5,
         false,
         false,
         nineInARow,
         10,
         {{112, 7}, {128, 0}}},
        {"208 ends mode 1's list",
         ScreenMode::screen2,
         false,
         false,
         {{208, 0, 0, 5}, {9, 20, 0, 5}},
         10,
         {{20, 0}}},
        {"208 is a place in mode 2",
         ScreenMode::screen5,
         false,
         false,
         {{208, 0, 0, 5}, {9, 20, 0, 6}},
         209,
         {{0, 5}}},
        {"216 ends mode 2's list",
         ScreenMode::screen5,
         false,
         false,
         {{216, 0, 0, 5}, {9, 20, 0, 6}},
         10,
         {{20, 0}}},
        {"Y wraps: 250 shows on lines 0-2",
         ScreenMode::screen2,
         false,
         false,
         {{250, 0, 0, 5}},
         2,
         {{0, 5}}},
        {"wrapped past its last line",
         ScreenMode::screen2,
         false,
         false,
         {{250, 0, 0, 5}},
         3,
         {{0, 0}}},
        {"magnified: 16 wide, 16 lines",
         ScreenMode::screen2,
         false,
         true,
         {{9, 20, 1, 5}},
         25,
         {{20, 5}, {21, 5}, {22, 0}}},
        {"16x16: the pattern number's low bits ignored",
         ScreenMode::screen4,
         true,
         false,
         {{9, 20, 3, 5}},
         25,
         {{20, 5}, {35, 5}, {36, 0}}},
        {"mode 2: a colour a line",
         ScreenMode::screen8,
         false,
         false,
         {{9, 20, 0, 4, 6}},
         11,
         {{20, 6}}},
        {"CC ORs with the sprite before",
         ScreenMode::screen7,
         false,
         false,
         {{9, 0, 0, 1}, {9, 4, 0, kCc | 2}},
         10,
         {{0, 1}, {4, 3}, {8, 2}, {12, 0}}},
        {"CC without a sprite before is not shown",
         ScreenMode::screen7,
         false,
         false,
         {{9, 0, 0, kCc | 2}},
         10,
         {{0, 0}}},
    };
    for (const Case& c : cases) {
        auto vdp = test::makeVdp();
        vdp->setScreenMode(c.mode);
        SpriteTables tables = vdp->spriteTables();
        tables.large = c.large;
        tables.magnified = c.magnified;
        vdp->setSpriteTables(tables);
        writeSprites(*vdp, c.sprites);
        vdp->vramForLoading()[tables.attributes + 4 * c.sprites.size()] =
            spriteListEnd(tables.mode);
        SpriteLine line{};
        drawSpriteLine(tables, vdp->vram(), c.y, line);
        for (const auto& [x, code] : c.codes) {
            EXPECT_EQ(line[static_cast<std::size_t>(x)], code) << c.what << " at " << x;
        }
    }
}

// The codes become the mode's colours over the decoded line: the palette's, screen 8's
// fixed ones, screen 6's two halves; not drawn, the picture alone.
TEST(Sprites, CodesShowInTheModesColours) {
    struct Case {
        ScreenMode mode;
        bool drawn;
        std::uint8_t code;
        RgbTriple left, right; // of the sprite's first position in a 512-pixel row
    };
    const Case cases[] = {
        {ScreenMode::screen5, true, 11, rgb(218, 218, 145), rgb(218, 218, 145)},
        {ScreenMode::screen5, false, 11, rgb(0, 0, 0), rgb(0, 0, 0)},
        {ScreenMode::screen8, true, 8, rgb(255, 145, 72), rgb(255, 145, 72)},
        {ScreenMode::screen6, true, 0xB, rgb(36, 218, 36), rgb(109, 255, 109)},
    };
    for (const Case& c : cases) {
        auto vdp = test::makeVdp();
        vdp->setColourModel(ColourModel::msx2);
        vdp->setScreenMode(c.mode);
        vdp->selectPalette(PaletteSource::standard);
        writeSprites(*vdp, {{9, 20, 0, c.code}});
        vdp->setSpritesDrawn(c.drawn);
        RgbLine512 row{};
        vdp->renderLine512(10, row);
        EXPECT_EQ(row[40], c.left) << c.mode;
        EXPECT_EQ(row[41], c.right) << c.mode;
        EXPECT_TRUE(vdp->spritesShown()) << c.mode;
    }
}

} // namespace
} // namespace tessarin
