// Screen 10 on a picture YJK cannot hold: a fine checker of red and green, which no group's
// one J and K shows, beside a smooth gradient. Decoded by the VDP, the checker comes back
// in palette colours, the whole nearer the picture than screen 12 gets it, and colour 0's
// lines are palette entry 0, black.
#include "convert/eye_error.h"
#include "convert/msx_encoders.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

#include <gtest/gtest.h>
#include <memory>

namespace tessarin {
namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 212;
constexpr int kZeroLines = 8; // the letterbox above
constexpr int kCheckerEnd = 128;
constexpr RgbTriple kRed{0, 0, 255}; // blue, green, red
constexpr RgbTriple kGreen{0, 255, 0};

Picture madePicture() {
    Picture picture;
    picture.resize(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const auto t = static_cast<std::uint8_t>((x - kCheckerEnd) * 2);
            picture.row(y)[x] = y < kZeroLines    ? RgbTriple{}
                                : x < kCheckerEnd ? ((x + y) % 2 == 0 ? kRed : kGreen)
                                                  : RgbTriple{static_cast<std::uint8_t>(255 - t),
                                                              static_cast<std::uint8_t>(y), t};
        }
    }
    return picture;
}

constexpr ColourModel kModel = ColourModel::msx2; // screen 10's palette in the V9958's levels

Picture decoded(const BitmapLines& lines, ScreenMode mode) {
    auto vdp = std::make_unique<VdpState>();
    vdp->setColourModel(kModel);
    vdp->setScreenMode(mode);
    std::ranges::copy(lines.bytes, vdp->vramForLoading().begin());
    if (lines.palette) {
        std::ranges::copy(*lines.palette,
                          vdp->vramForLoading().begin() + findScreenMode(mode)->paletteTable);
        vdp->readVramPalette();
        vdp->selectPalette(PaletteSource::vram);
    }
    Picture picture;
    picture.resize(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        vdp->renderLine256(y, RgbRow256(picture.row(y).data(), kWidth));
    }
    return picture;
}

TEST(MsxScreen10, ShowsWhatYjkCannotInPaletteColoursNearerThanScreen12) {
    const Picture source = madePicture();
    ScreenTarget target{kWidth, kHeight, {}, {}, true, Dither::none, kModel, 0};
    for (const RgbTriple& p : source.pixels()) {
        target.pixels.push_back(oklabOf(p));
    }
    target.zero.assign(target.pixels.size(), 0);
    std::fill_n(target.zero.begin(), kZeroLines * kWidth, 1);
    for (const Dither dither : {Dither::none, Dither::diffuse, Dither::ordered, Dither::eye}) {
        SCOPED_TRACE(static_cast<int>(dither));
        target.dither = dither;
        const BitmapLines screen10 = encodeScreen10(target);
        const Picture shown = decoded(screen10, ScreenMode::screen10);
        int checkerExact = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kCheckerEnd; ++x) {
                const std::uint8_t byte = screen10.bytes[target.at(x, y)];
                if (y < kZeroLines) {
                    ASSERT_EQ(byte, 0x08) << x << "," << y; // entry 0, J and K 0
                    ASSERT_EQ(shown.row(y)[x], RgbTriple{});
                } else {
                    checkerExact += (byte & 0x08) != 0 && shown.row(y)[x] == source.row(y)[x];
                }
            }
        }
        EXPECT_GT(checkerExact, (kHeight - kZeroLines) * kCheckerEnd * 95 / 100);
        const ColourErrorFigures error10 = colourError(source, shown);
        const ColourErrorFigures error12 =
            colourError(source, decoded(encodeScreen12(target), ScreenMode::screen12));
        EXPECT_LT(error10.pixel, 0.2 * error12.pixel);
        EXPECT_LT(error10.blurred, error12.blurred);
    }
}

} // namespace
} // namespace tessarin
