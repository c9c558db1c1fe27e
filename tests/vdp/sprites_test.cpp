#include "vdp/sprites.h"
#include "vdp_test_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace tessarin {
namespace {

// An attribute entry; in mode 2 colour fills its colour table, below its lines past the first.
struct Sprite {
    std::uint8_t y, x, pattern, colour, below = 0;
};

// Sprites in mode with R#1's size bits (1 MAG, 2 SI), the list ended after them; pattern 0
// is solid (16x16 too), pattern 1 its left column only.
std::unique_ptr<VdpState> vdpWith(ScreenMode mode, int r1, const std::vector<Sprite>& sprites) {
    auto vdp = test::makeVdp();
    vdp->setColourModel(ColourModel::msx2);
    vdp->setScreenMode(mode);
    vdp->selectPalette(PaletteSource::standard);
    SpriteTables t = vdp->spriteTables();
    t.magnified = (r1 & 1) != 0;
    t.large = (r1 & 2) != 0;
    vdp->setSpriteTables(t);
    auto vram = vdp->vramForLoading();
    std::fill_n(vram.begin() + t.patterns, 32, std::uint8_t{0xFF});
    std::fill_n(vram.begin() + t.patterns + 8, 8, std::uint8_t{0x80});
    for (std::size_t n = 0; n < sprites.size(); ++n) {
        const Sprite& s = sprites[n];
        std::ranges::copy(std::vector<std::uint8_t>{s.y, s.x, s.pattern, s.colour},
                          vram.begin() + t.attributes + 4 * n);
        const auto colours = vram.begin() + t.attributes - 512 + 16 * static_cast<long>(n);
        std::fill_n(colours, 16, s.below != 0 ? s.below : s.colour);
        *colours = s.colour;
    }
    vram[t.attributes + 4 * sprites.size()] = spriteListEnd(t.mode);
    return vdp;
}

std::vector<int> codes(ScreenMode mode, int r1, const std::vector<Sprite>& sprites, int y,
                       const std::vector<int>& xs) {
    const auto vdp = vdpWith(mode, r1, sprites);
    SpriteLine line{};
    drawSpriteLine(vdp->spriteTables(), vdp->vram(), y, line);
    std::vector<int> out(xs.size());
    std::ranges::transform(xs, out.begin(),
                           [&](int x) { return line.at(static_cast<std::size_t>(x)); });
    return out;
}

TEST(Sprites, KnownTablesGiveKnownColourCodesOnTheLine) {
    using enum ScreenMode;
    constexpr std::uint8_t kCc = 0x40, kEc = 0x80;
    std::vector<Sprite> nine; // mode 1 draws the first 4 of a line, mode 2 the first 8
    for (int i = 0; i < 9; ++i) {
        nine.push_back({9, static_cast<std::uint8_t>(16 * i), 0, static_cast<std::uint8_t>(i + 1)});
    }
    EXPECT_EQ(codes(screen2, 0, {{9, 20, 0, 5}}, 10, {19, 20, 27, 28}),
              (std::vector{0, 5, 5, 0})); // Y + 1
    EXPECT_EQ(codes(screen2, 0, {{9, 40, 0, kEc | 5}}, 10, {8, 15, 40}), (std::vector{5, 5, 0}));
    EXPECT_EQ(codes(screen2, 0, {{9, 20, 0, 5}, {9, 24, 0, 9}}, 10, {24, 28}),
              (std::vector{5, 9})); // the lower number in front
    EXPECT_EQ(codes(screen2, 0, nine, 10, {48, 64}), (std::vector{4, 0}));
    EXPECT_EQ(codes(screen5, 0, nine, 10, {112, 128}), (std::vector{8, 0}));
    EXPECT_EQ(codes(screen2, 0, {{208, 0, 0, 5}, {9, 20, 0, 5}}, 10, {20}), std::vector{0});
    // In mode 2, 208 is a place (line 209) and 216 ends the list.
    EXPECT_EQ(codes(screen5, 0, {{208, 0, 0, 5}, {216, 0, 0, 5}, {9, 20, 0, 6}}, 209, {0}),
              std::vector{5});
    EXPECT_EQ(codes(screen5, 0, {{216, 0, 0, 5}, {9, 20, 0, 6}}, 10, {20}), std::vector{0});
    EXPECT_EQ(codes(screen2, 0, {{250, 0, 0, 5}}, 2, {0}), std::vector{5}); // Y wraps
    EXPECT_EQ(codes(screen2, 0, {{250, 0, 0, 5}}, 3, {0}), std::vector{0});
    EXPECT_EQ(codes(screen2, 1, {{9, 20, 1, 5}}, 25, {20, 21, 22}), (std::vector{5, 5, 0}));
    EXPECT_EQ(codes(screen4, 2, {{9, 20, 3, 5}}, 25, {20, 35, 36}), (std::vector{5, 5, 0}));
    EXPECT_EQ(codes(screen8, 0, {{9, 20, 0, 4, 6}}, 11, {20}), std::vector{6}); // a line's own
    EXPECT_EQ(codes(screen7, 0, {{9, 0, 0, 1}, {9, 4, 0, kCc | 2}}, 10, {0, 4, 8, 12}),
              (std::vector{1, 3, 2, 0})); // CC ORs with the sprite before
    EXPECT_EQ(codes(screen7, 0, {{9, 0, 0, kCc | 2}}, 10, {0}), std::vector{0});
}

// The codes in the mode's colours over the line: the palette's, screen 8's fixed ones,
// screen 6's two halves (left pixel bits 3-2), at the sprite's first two of 512 pixels.
TEST(Sprites, CodesShowInTheModesColours) {
    using test::rgb;
    for (const auto& [mode, code, left, right] :
         {std::tuple{ScreenMode::screen5, 11, rgb(218, 218, 145), rgb(218, 218, 145)},
          {ScreenMode::screen8, 8, rgb(255, 145, 72), rgb(255, 145, 72)},
          {ScreenMode::screen6, 0xB, rgb(36, 218, 36), rgb(109, 255, 109)}}) {
        const auto vdp = vdpWith(mode, 0, {{9, 20, 0, static_cast<std::uint8_t>(code)}});
        vdp->setSpritesDrawn(true);
        RgbLine512 row{};
        vdp->renderLine512(10, row);
        EXPECT_EQ(row[40], left) << mode;
        EXPECT_EQ(row[41], right) << mode;
    }
}

} // namespace
} // namespace tessarin
