#include "vdp/colour_model.h"
#include "vdp_test_support.h"

#include <array>
#include <gtest/gtest.h>

namespace tessarin {
namespace {

using test::makeVdp;
using test::rgb;

TEST(VdpState, FreshStateIsScreen7Page0WithStandardPaletteAndZeroVram) {
    const auto vdp = makeVdp();
    EXPECT_EQ(vdp->screenMode(), ScreenMode::screen7);
    EXPECT_EQ(vdp->displayPage(), 0);
    EXPECT_EQ(vdp->pageBase(), 0);
    EXPECT_EQ(vdp->paletteTableAddress(), 0xFA80u);
    EXPECT_EQ(vdp->activePalette(), kStandardPalette);
    for (const auto b : vdp->vram()) {
        ASSERT_EQ(b, 0);
    }
}

TEST(VdpState, IntensityTablesHoldTheListedLevels) {
    const auto vdp = makeVdp();
    const std::array<std::uint8_t, 8> level3{0, 36, 72, 109, 145, 182, 218, 255};
    const std::array<std::uint8_t, 32> level5{0,   8,   16,  24,  32,  41,  49,  57,  65,  74,  82,
                                              90,  98,  106, 115, 123, 131, 139, 148, 156, 164, 172,
                                              180, 189, 197, 205, 213, 222, 230, 238, 246, 255};
    EXPECT_EQ(vdp->level3(), level3);
    EXPECT_EQ(vdp->level5(), level5);
}

TEST(VdpState, StandardPaletteGivesTheListedColours) {
    const auto vdp = makeVdp();
    const std::array<RgbTriple, 16> expected{
        rgb(0, 0, 0),     rgb(0, 0, 0),       rgb(36, 218, 36),   rgb(109, 255, 109),
        rgb(36, 36, 255), rgb(72, 109, 255),  rgb(182, 36, 36),   rgb(72, 218, 255),
        rgb(255, 36, 36), rgb(255, 109, 109), rgb(218, 218, 36),  rgb(218, 218, 109),
        rgb(36, 145, 36), rgb(218, 72, 182),  rgb(182, 182, 182), rgb(255, 255, 255)};
    EXPECT_EQ(vdp->paletteRgb(), expected);
}

TEST(VdpState, Screen8TableSplitsGreenRedBlue) {
    const auto vdp = makeVdp();
    struct Case {
        int byte;
        RgbTriple colour;
    };
    const Case cases[] = {{0x00, rgb(0, 0, 0)},    {0xE0, rgb(0, 255, 0)},
                          {0x1C, rgb(255, 0, 0)},  {0x03, rgb(0, 0, 255)},
                          {0x49, rgb(72, 72, 85)}, {0xFF, rgb(255, 255, 255)},
                          {0x02, rgb(0, 0, 170)},  {0x24, rgb(36, 36, 0)}};
    for (const auto& c : cases) {
        EXPECT_EQ(
            screen8Colour(colourLevels(vdp->colourModel()), static_cast<std::uint8_t>(c.byte)),
            c.colour)
            << "byte " << c.byte;
    }
}

TEST(VdpState, PaletteConversionMasksIgnoredBits) {
    auto vdp = makeVdp();
    PaletteRecord pal{};
    pal[0] = 0xF7; // red 7 (bit 7 ignored), blue 7 (bit 3 ignored)
    pal[1] = 0xFF; // green 7, bits 7-3 ignored
    pal[2] = 0x88; // only ignored bits: black
    pal[3] = 0xF8;
    pal[30] = 0x25; // red 2, blue 5
    pal[31] = 0x03; // green 3
    vdp->setFilePalette(pal);
    vdp->selectPalette(PaletteSource::file);
    EXPECT_EQ(vdp->paletteRgb()[0], rgb(255, 255, 255));
    EXPECT_EQ(vdp->paletteRgb()[1], rgb(0, 0, 0));
    EXPECT_EQ(vdp->paletteRgb()[15], rgb(72, 109, 182));
}

TEST(VdpState, FilePaletteTakesEffectOnlyWhenSelected) {
    auto vdp = makeVdp();
    PaletteRecord pal;
    pal.fill(0x77);
    vdp->setFilePalette(pal);
    EXPECT_EQ(vdp->paletteRgb()[0], rgb(0, 0, 0));
    EXPECT_EQ(vdp->filePalette(), pal);
    vdp->selectPalette(PaletteSource::file);
    EXPECT_EQ(vdp->paletteRgb()[0], rgb(255, 255, 255));
    vdp->selectPalette(PaletteSource::standard);
    EXPECT_EQ(vdp->paletteRgb()[0], rgb(0, 0, 0));
}

TEST(VdpState, UnknownPaletteSourceKeepsActivePaletteAndRecomputesColours) {
    auto vdp = makeVdp();
    const PaletteRecord before = vdp->activePalette();
    vdp->selectPalette(static_cast<PaletteSource>(3));
    EXPECT_EQ(vdp->activePalette(), before);
    EXPECT_EQ(vdp->paletteRgb()[4], rgb(36, 36, 255));
}

TEST(VdpState, VramPaletteIsReadFromTheModesAbsoluteTableAddress) {
    struct Case {
        ScreenMode mode;
        std::int32_t page;
        std::size_t address;
    };
    const Case cases[] = {{ScreenMode::screen5, 1, 0x7680},  {ScreenMode::screen6, 3, 0x7680},
                          {ScreenMode::screen7, 1, 0xFA80},  {ScreenMode::screen8, 0, 0xFA80},
                          {ScreenMode::screen10, 1, 0xFA80}, {ScreenMode::screen12, 1, 0xFA80}};
    for (const auto& c : cases) {
        auto vdp = makeVdp();
        test::fillRandom(*vdp, static_cast<std::uint32_t>(c.mode));
        vdp->setScreenMode(c.mode);
        vdp->selectPage(c.page);
        vdp->readVramPalette();
        for (std::size_t k = 0; k < kPaletteSize; ++k) {
            ASSERT_EQ(vdp->vramPalette()[k], vdp->vram()[c.address + k]) << "mode " << c.mode;
        }
        EXPECT_EQ(vdp->paletteRgb()[4], rgb(36, 36, 255)) << "reading does not activate";
    }
}

TEST(VdpState, ScreenModeSetsTableAddressAndAlwaysSelectsPage0) {
    struct Case {
        ScreenMode mode;
        ScreenMode expectedMode;
        std::uint32_t tableAddress;
    };
    const Case cases[] = {{ScreenMode::screen5, ScreenMode::screen5, 0x7680},
                          {ScreenMode::screen6, ScreenMode::screen6, 0x7680},
                          {ScreenMode::screen7, ScreenMode::screen7, 0xFA80},
                          {ScreenMode::screen8, ScreenMode::screen8, 0xFA80},
                          {ScreenMode::screen10, ScreenMode::screen10, 0xFA80},
                          {ScreenMode::screen12, ScreenMode::screen12, 0xFA80},
                          {static_cast<ScreenMode>(9), ScreenMode::screen8, 0xFA80},
                          {static_cast<ScreenMode>(11), ScreenMode::screen8, 0xFA80},
                          {static_cast<ScreenMode>(13), ScreenMode::screen8, 0xFA80},
                          {ScreenMode::screen0, ScreenMode::screen0, 0x0400},
                          {ScreenMode::screen0w80, ScreenMode::screen0w80, 0x0F00},
                          {ScreenMode::screen4, ScreenMode::screen4, 0x1B80}};
    for (const auto& c : cases) {
        auto vdp = makeVdp();
        vdp->setScreenMode(ScreenMode::screen8);
        vdp->selectPage(1);
        vdp->setScreenMode(c.mode);
        EXPECT_EQ(vdp->screenMode(), c.expectedMode) << "mode " << c.mode;
        EXPECT_EQ(vdp->paletteTableAddress(), c.tableAddress) << "mode " << c.mode;
        EXPECT_EQ(vdp->displayPage(), 0) << "mode " << c.mode;
        EXPECT_EQ(vdp->pageBase(), 0) << "mode " << c.mode;
    }
}

TEST(VdpState, PageSelectionFollowsTheModesPageLayout) {
    struct Case {
        ScreenMode mode;
        std::int32_t page;
        std::int32_t expectedPage;
        std::int32_t expectedBase;
    };
    // Each case starts from page 1 where that exists, so an ignored page shows.
    const Case cases[] = {
        {ScreenMode::screen5, 0, 0, 0},         {ScreenMode::screen5, 3, 3, 0x18000},
        {ScreenMode::screen5, 4, 1, 0x8000},    {ScreenMode::screen5, -1, 1, 0x8000},
        {ScreenMode::screen6, 2, 2, 0x10000},   {ScreenMode::screen7, 0, 0, 0},
        {ScreenMode::screen7, 2, 1, 0x10000},   {ScreenMode::screen8, 2, 1, 0x10000},
        {ScreenMode::screen10, -1, 1, 0x10000}, {ScreenMode::screen12, 0, 0, 0},
    };
    for (const auto& c : cases) {
        auto vdp = makeVdp();
        vdp->setScreenMode(c.mode);
        vdp->selectPage(1);
        vdp->selectPage(c.page);
        EXPECT_EQ(vdp->displayPage(), c.expectedPage) << c.mode << "/" << c.page;
        EXPECT_EQ(vdp->pageBase(), c.expectedBase) << c.mode << "/" << c.page;
    }
}

} // namespace
} // namespace tessarin
