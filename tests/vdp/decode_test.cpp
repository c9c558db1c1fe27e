#include "tests/support/pixel_operations.h"
#include "vdp_test_support.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace tessarin {
namespace {

using test::makeVdp;
using test::rgb;

// Straight from the VDP's bit layout: the colour of pixel x of line y, computed bit by
// bit without the decoder's split helpers.
RgbTriple referenceYjk(const VdpState& v, int y, int j, int k) {
    const int js = j >= 32 ? j - 64 : j;
    const int ks = k >= 32 ? k - 64 : k;
    auto clamp = [](int c) { return c < 0 ? 0 : (c > 31 ? 31 : c); };
    const int r = clamp(y + js);
    const int g = clamp(y + ks);
    const int b = clamp((5 * y - 2 * js - ks) / 4);
    return RgbTriple{v.level5()[b], v.level5()[g], v.level5()[r]};
}

RgbTriple referencePixel(const VdpState& v, ScreenMode mode, int x, int y) {
    const std::uint8_t* line = v.vram().data() + v.pageBase();
    switch (mode) {
    case ScreenMode::screen5: {
        const std::uint8_t b = line[128 * y + x / 2];
        return v.paletteRgb()[x % 2 == 0 ? b / 16 : b % 16];
    }
    case ScreenMode::screen6: {
        const std::uint8_t b = line[128 * y + x / 4];
        return v.paletteRgb()[(b >> (6 - 2 * (x % 4))) % 4];
    }
    case ScreenMode::screen7: {
        const std::uint8_t b = line[256 * y + x / 2];
        return v.paletteRgb()[x % 2 == 0 ? b / 16 : b % 16];
    }
    case ScreenMode::screen8:
        return screen8Colour(colourLevels(v.shownColourModel()), line[256 * y + x]);
    default: {
        const std::uint8_t* g = line + 256 * y + 4 * (x / 4);
        const int k = (g[0] % 8) + 8 * (g[1] % 8);
        const int j = (g[2] % 8) + 8 * (g[3] % 8);
        const std::uint8_t b = g[x % 4];
        if (mode == ScreenMode::screen10 && (b & 0x08) != 0) {
            return v.paletteRgb()[b / 16];
        }
        return referenceYjk(v, b / 8, j, k);
    }
    }
}

int widthOf(ScreenMode mode) {
    return (mode == ScreenMode::screen6 || mode == ScreenMode::screen7) ? 512 : 256;
}

// The line decoder of the VDP's current mode, which must be mode.
template <std::size_t N>
void decodeLine(const VdpState& v, ScreenMode mode, int y, std::array<RgbTriple, N>& out) {
    EXPECT_EQ(v.screenMode(), mode);
    if constexpr (N == 256) {
        v.renderLine256(y, out);
    } else {
        v.renderLine512(y, out);
    }
}

RgbTriple pixelOf(const VdpState& v, ScreenMode mode, int x, int y) {
    switch (mode) {
    case ScreenMode::screen5:
        return test::pixelScreen5(v, x, y);
    case ScreenMode::screen6:
        return test::pixelScreen6(v, x, y);
    case ScreenMode::screen7:
        return test::pixelScreen7(v, x, y);
    case ScreenMode::screen8:
        return test::pixelScreen8(v, x, y);
    case ScreenMode::screen10:
        return test::pixelScreen10(v, x, y);
    default:
        return test::pixelScreen12(v, x, y);
    }
}

TEST(Decode, YjkConversionClampsAndSignsJAndK) {
    const auto vdp = makeVdp();
    struct Case {
        int y, j, k;
        RgbTriple colour;
    };
    const Case cases[] = {
        {16, 0, 0, rgb(131, 131, 164)},  // blue is 5/4 of Y
        {31, 0, 0, rgb(255, 255, 255)},  // b = 38 clamped
        {0, 32, 32, rgb(0, 0, 197)},     // raw 32 is -32: r, g negative, b = 24
        {31, 31, 0, rgb(255, 255, 189)}, // r = 62 clamped, b = 23
        {16, 1, 0, rgb(139, 131, 156)},  {0, 63, 0, rgb(0, 0, 0)}, // j = -1: b = 2/4 = 0 truncated
        {1, 63, 63, rgb(0, 0, 16)}, // j = k = -1: b = (5 + 2 + 1) / 4 = 2
        {2, 0, 1, rgb(16, 24, 16)}, // b = 9 / 4 = 2
        {0, 0, 1, rgb(0, 8, 0)},    // b = -1 / 4 truncates to 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(test::yjkToRgb(*vdp, c.y, c.j, c.k), c.colour) << c.y << "," << c.j << "," << c.k;
    }
}

TEST(Decode, YjkConversionMatchesReferenceForEveryInput) {
    const auto vdp = makeVdp();
    for (int y = 0; y < 32; ++y) {
        for (int j = 0; j < 64; ++j) {
            for (int k = 0; k < 64; ++k) {
                ASSERT_EQ(test::yjkToRgb(*vdp, y, j, k), referenceYjk(*vdp, y, j, k));
            }
        }
    }
}

// The line decoders look YJK colours up in tables; every Y, J and K through them must give
// the pixel operations' colour (screen 10 also its palette pixels, the odd Y fields).
TEST(Decode, YjkLinesMatchThePixelOperationsForEveryInput) {
    auto vdp = makeVdp();
    constexpr int kGroups = 64; // a line of 256 pixels
    for (int first = 0; first < 64 * 64 * 8; first += kGroups) {
        for (int n = 0; n < kGroups; ++n) {
            const int jk = (first + n) / 8;
            const int y = 4 * ((first + n) % 8);
            const int j = jk / 64, k = jk % 64;
            const std::array<int, 4> low{k & 7, k >> 3, j & 7, j >> 3};
            for (int i = 0; i < 4; ++i) {
                vdp->vramForLoading()[4 * n + i] = static_cast<std::uint8_t>((y + i) << 3 | low[i]);
            }
        }
        for (const ScreenMode mode : {ScreenMode::screen10, ScreenMode::screen12}) {
            vdp->setScreenMode(mode);
            RgbLine256 line{};
            decodeLine(*vdp, mode, 0, line);
            for (int x = 0; x < 256; ++x) {
                ASSERT_EQ(line[x], pixelOf(*vdp, mode, x, 0)) << mode << " group " << first + x / 4;
            }
        }
    }
}

TEST(Decode, KnownBytesGiveKnownLines) {
    struct Case {
        const char* name;
        ScreenMode mode;
        std::array<std::uint8_t, 4> pattern; // repeated over the line
        std::array<RgbTriple, 8> firstPixels;
    };
    const RgbTriple c0 = rgb(0, 0, 0), c1 = rgb(0, 0, 0), c2 = rgb(36, 218, 36),
                    c3 = rgb(109, 255, 109), c15 = rgb(255, 255, 255), c9 = rgb(255, 109, 109);
    const RgbTriple y16j1 = rgb(139, 131, 156);
    const Case cases[] = {
        {"screen 5 0x1F alternates 1 and 15",
         ScreenMode::screen5,
         {0x1F, 0x1F, 0x1F, 0x1F},
         {c1, c15, c1, c15, c1, c15, c1, c15}},
        {"screen 6 0x1B gives 0 1 2 3",
         ScreenMode::screen6,
         {0x1B, 0x1B, 0x1B, 0x1B},
         {c0, c1, c2, c3, c0, c1, c2, c3}},
        {"screen 7 0x9F gives 9 and 15",
         ScreenMode::screen7,
         {0x9F, 0x23, 0x9F, 0x23},
         {c9, c15, c2, c3, c9, c15, c2, c3}},
        {"screen 8 bytes",
         ScreenMode::screen8,
         {0xE0, 0x1C, 0x03, 0x49},
         {rgb(0, 255, 0), rgb(255, 0, 0), rgb(0, 0, 255), rgb(72, 72, 85), rgb(0, 255, 0),
          rgb(255, 0, 0), rgb(0, 0, 255), rgb(72, 72, 85)}},
        {"screen 12 group J=1 K=0 Y=16",
         ScreenMode::screen12,
         {0x80, 0x80, 0x81, 0x80},
         {y16j1, y16j1, y16j1, y16j1, y16j1, y16j1, y16j1, y16j1}},
        {"screen 10 attribute pixels keep palette colour",
         ScreenMode::screen10,
         {0x98, 0x80, 0x81, 0xF8},
         {c9, y16j1, y16j1, c15, c9, y16j1, y16j1, c15}},
        {"screen 10 clear attribute is YJK with even Y",
         ScreenMode::screen10,
         {0x10, 0x18, 0x10, 0x10},
         {rgb(16, 16, 16), c1, rgb(16, 16, 16), rgb(16, 16, 16), rgb(16, 16, 16), c1,
          rgb(16, 16, 16), rgb(16, 16, 16)}},
    };
    for (const auto& c : cases) {
        auto vdp = makeVdp();
        vdp->setScreenMode(c.mode);
        const int lineBytes =
            (c.mode == ScreenMode::screen5 || c.mode == ScreenMode::screen6) ? 128 : 256;
        for (int i = 0; i < lineBytes; ++i) {
            vdp->vramForLoading()[3 * lineBytes + i] = c.pattern[i % 4];
        }
        const int width = widthOf(c.mode);
        std::array<RgbTriple, 512> line{};
        if (width == 512) {
            decodeLine(*vdp, c.mode, 3, line);
        } else {
            std::array<RgbTriple, 256> narrow{};
            decodeLine(*vdp, c.mode, 3, narrow);
            std::copy(narrow.begin(), narrow.end(), line.begin());
        }
        for (int x = 0; x < width; ++x) {
            ASSERT_EQ(line[x], c.firstPixels[x % 8]) << c.name << " x=" << x;
        }
    }
}

TEST(Decode, LineAndPixelOperationsAgreeWithReferenceOnEveryPage) {
    struct Case {
        ScreenMode mode;
        std::int32_t page;
    };
    const Case cases[] = {
        {ScreenMode::screen5, 0},  {ScreenMode::screen5, 1},  {ScreenMode::screen5, 3},
        {ScreenMode::screen6, 0},  {ScreenMode::screen6, 1},  {ScreenMode::screen7, 0},
        {ScreenMode::screen7, 1},  {ScreenMode::screen8, 0},  {ScreenMode::screen8, 1},
        {ScreenMode::screen10, 0}, {ScreenMode::screen10, 1}, {ScreenMode::screen12, 0},
        {ScreenMode::screen12, 1}};
    for (const auto& c : cases) {
        auto vdp = makeVdp();
        test::fillRandom(*vdp, 100 * static_cast<std::uint32_t>(c.mode) +
                                   static_cast<std::uint32_t>(c.page));
        PaletteRecord pal;
        std::copy_n(vdp->vram().begin() + 0x1234, pal.size(), pal.begin());
        vdp->setFilePalette(pal);
        vdp->selectPalette(PaletteSource::file);
        vdp->setScreenMode(c.mode);
        vdp->selectPage(c.page);
        for (int y : {0, 1, 105, 211, 255}) {
            std::array<RgbTriple, 512> line{};
            if (widthOf(c.mode) == 512) {
                decodeLine(*vdp, c.mode, y, line);
            } else {
                std::array<RgbTriple, 256> narrow{};
                decodeLine(*vdp, c.mode, y, narrow);
                std::copy(narrow.begin(), narrow.end(), line.begin());
            }
            for (int x = 0; x < widthOf(c.mode); ++x) {
                const RgbTriple expected = referencePixel(*vdp, c.mode, x, y);
                ASSERT_EQ(line[x], expected) << c.mode << "/" << c.page << " y=" << y << " x=" << x;
                ASSERT_EQ(pixelOf(*vdp, c.mode, x, y), expected)
                    << c.mode << "/" << c.page << " y=" << y << " x=" << x;
            }
        }
    }
}

TEST(Decode, DisplayPageMovesTheLineStart) {
    struct Case {
        ScreenMode mode;
        std::size_t line0, line1;
    };
    const Case cases[] = {{ScreenMode::screen5, 0x8000, 0x8080},
                          {ScreenMode::screen6, 0x8000, 0x8080},
                          {ScreenMode::screen7, 0x10000, 0x10100},
                          {ScreenMode::screen8, 0x10000, 0x10100},
                          {ScreenMode::screen12, 0x10000, 0x10100}};
    for (const auto& c : cases) {
        auto vdp = makeVdp();
        vdp->setScreenMode(c.mode);
        vdp->selectPage(1);
        vdp->vramForLoading()[c.line0] = 0xFF;
        vdp->vramForLoading()[c.line1] = 0xFF;
        vdp->vramForLoading()[c.line1 - 1] = 0xFF;
        EXPECT_NE(pixelOf(*vdp, c.mode, 0, 0), rgb(0, 0, 0)) << c.mode;
        EXPECT_NE(pixelOf(*vdp, c.mode, 0, 1), rgb(0, 0, 0)) << c.mode;
        EXPECT_EQ(pixelOf(*vdp, c.mode, 4, 1), rgb(0, 0, 0)) << c.mode;
    }
}

TEST(Decode, Screen12GroupSharesJAndK) {
    auto vdp = makeVdp();
    vdp->setScreenMode(ScreenMode::screen12);
    const std::array<std::uint8_t, 8> bytes{0x00, 0x00, 0x00, 0x00, 0x80, 0x80, 0x81, 0x80};
    std::copy(bytes.begin(), bytes.end(), vdp->vramForLoading().begin());
    EXPECT_EQ(test::pixelScreen12(*vdp, 5, 0), rgb(139, 131, 156));
    EXPECT_EQ(test::pixelScreen12(*vdp, 3, 0), rgb(0, 0, 0));
    EXPECT_EQ(test::fetchPixel(*vdp, 10, 0, false), test::fetchPixel(*vdp, 11, 0, false));
    EXPECT_EQ(test::fetchPixel(*vdp, 10, 0, false), rgb(139, 131, 156));
}

} // namespace
} // namespace tessarin
