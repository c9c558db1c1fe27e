#include "tests/support/pixel_operations.h"
#include "vdp_test_support.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace tessarin {
namespace {

using test::rgb;

// A VDP in mode under model with the model's standard palette and bytes at VRAM address 0.
std::unique_ptr<VdpState> vdpShowing(ColourModel model, ScreenMode mode,
                                     const std::array<std::uint8_t, 4>& bytes) {
    auto vdp = test::makeVdp();
    vdp->setColourModel(model);
    vdp->setScreenMode(mode);
    vdp->selectPalette(PaletteSource::standard);
    std::copy(bytes.begin(), bytes.end(), vdp->vramForLoading().begin());
    return vdp;
}

// Pixel 0 of known bytes in each mode and model (the line decoders are held to the pixel
// fetch below): the standard palette's colour 11, screen 8 bytes of green, red, blue, YJK
// groups of one Y with blue's numerator 50 (Y 10), 2 (Y 2, J 4) or 103 (Y 20, K -3).
TEST(ColourModel, KnownBytesGiveEachModelsColours) {
    using enum ColourModel;
    struct Case {
        ColourModel model;
        ScreenMode mode;
        std::array<std::uint8_t, 4> bytes;
        RgbTriple colour;
        ColourModel shown;
    };
    const Case cases[] = {
        {msx2, ScreenMode::screen5, {0xB0}, rgb(218, 218, 145), msx2},
        {msx2plus, ScreenMode::screen7, {0xB0}, rgb(222, 222, 148), msx2plus},
        {msx2, ScreenMode::screen8, {0x49}, rgb(72, 72, 72), msx2},
        {msx2plus, ScreenMode::screen8, {0x49}, rgb(74, 74, 74), msx2plus},
        {msx2, ScreenMode::screen8, {0xB6}, rgb(182, 182, 145), msx2},
        {msx2plus, ScreenMode::screen8, {0xB6}, rgb(180, 180, 148), msx2plus},
        {msx2plus, ScreenMode::screen8, {0x6F}, rgb(106, 106, 255), msx2plus},
        {msx2, ScreenMode::screen10, {0xB8}, rgb(222, 222, 148), msx2plus}, // a palette pixel
        {msx2, ScreenMode::screen12, {0x50, 0x50, 0x50, 0x50}, rgb(82, 82, 106), msx2plus},
        {levels, ScreenMode::screen12, {0x10, 0x10, 0x14, 0x10}, rgb(49, 16, 0), levels},
        {msx2plus, ScreenMode::screen10, {0x10, 0x10, 0x14, 0x10}, rgb(49, 16, 8), msx2plus},
        {levels, ScreenMode::screen12, {0xA5, 0xA7, 0xA0, 0xA0}, rgb(164, 139, 205), levels},
        {msx2plus, ScreenMode::screen12, {0xA5, 0xA7, 0xA0, 0xA0}, rgb(164, 139, 213), msx2plus},
    };
    for (const auto& c : cases) {
        const auto vdp = vdpShowing(c.model, c.mode, c.bytes);
        EXPECT_EQ(test::fetchPixel(*vdp, 0, 0, true), c.colour)
            << indexOf(c.model) << "/" << c.mode;
        EXPECT_EQ(vdp->shownColourModel(), c.shown) << indexOf(c.model) << "/" << c.mode;
    }
}

// MSX1 shows the pattern modes in the TMS9918's colours, whatever the palette; the bitmap
// modes as MSX2 (screens 10-12 as MSX2+).
TEST(ColourModel, Msx1ShowsTheTms9918sColoursInThePatternModes) {
    using enum ScreenMode;
    for (const auto& [mode, colour, expected, shown] :
         {std::tuple{screen2, 2, rgb(33, 200, 66), ColourModel::msx1},
          {screen3, 4, rgb(84, 85, 237), ColourModel::msx1},
          {screen4, 13, rgb(201, 91, 186), ColourModel::msx1},
          {screen5, 11, rgb(218, 218, 145), ColourModel::msx2},
          {screen10, 11, rgb(222, 222, 148), ColourModel::msx2plus}}) {
        const auto vdp = vdpShowing(ColourModel::msx1, mode, {});
        EXPECT_EQ(vdp->paletteRgb().at(static_cast<std::size_t>(colour)), expected) << mode;
        EXPECT_EQ(vdp->shownColourModel(), shown) << mode;
    }
}

// The line decoders' per-model tables against the pixel operations, over random J and K.
TEST(ColourModel, LineDecodersAgreeWithPixelFetchInEveryModel) {
    for (const ColourModel model : {ColourModel::msx2, ColourModel::msx2plus}) {
        for (const ScreenMode mode : test::kModes) {
            auto vdp = vdpShowing(model, mode, {});
            test::fillRandom(*vdp, static_cast<std::uint32_t>(mode) + 100 * indexOf(model));
            for (int y = 0; y < kPictureLines; y += 7) {
                RgbLine512 wide{};
                vdp->renderLine512(y, wide);
                for (int x = 0; x < 512; ++x) {
                    ASSERT_EQ(test::fetchPixel(*vdp, x, y, false), wide[x]) << mode << " x=" << x;
                }
            }
        }
    }
}

} // namespace
} // namespace tessarin
