// Pictures made here, converted to each screen: flat colours come back exact, a gradient
// within a bound, the BSAVE range and palette table as BLOAD needs them, and the file
// opened by the document gives the picture the encoder previewed.
#include "convert/eye_error.h"
#include "convert/msx_screen.h"
#include "document/screen_document.h"
#include "names/file_name_rule.h"
#include "run_process.h"
#include "vdp/screen_modes.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

struct ScreenCase {
    MsxScreen screen;
    const char* name;
    RgbTriple exact;      // a colour the screen shows exactly (blue, green, red)
    std::uint16_t end;    // the BSAVE end address
    double gradientBound; // mean CIEDE2000 of a red to blue gradient
    int lines = 0;        // the frame's, 0 for the mode's own
};

// 145 is level 4 of 7 (4 x 255 / 7), 131 level 16 of 31 (grey 16 is Y 14, J and K 2).
const ScreenCase kCases[] = {
    {MsxScreen::sc2, "X.SC2", {0x24, 0x24, 0xB6}, 0x37FF, 14.0},
    {MsxScreen::sc5, "X.SC5", {0, 145, 255}, 0x769F, 7.0},
    {MsxScreen::sc7, "X.SC7", {0, 145, 255}, 0xFA9F, 7.0},
    {MsxScreen::sc8, "X.SC8", {0, 145, 255}, 0xD3FF, 5.5},
    {MsxScreen::sc12, "X.SC12", {131, 131, 131}, 0xD3FF, 2.0},
    {MsxScreen::sc3, "X.SC3", {0x24, 0x24, 0xB6}, 0x203F, 14.0},
    {MsxScreen::sc4, "X.SC4", {0, 145, 255}, 0x37FF, 14.0},
    {MsxScreen::sc6, "X.SC6", {0, 145, 255}, 0x769F, 14.0},
    {MsxScreen::sc8, "X.SC8", {0, 145, 255}, 0xBFFF, 5.5, 192}, // the file ends after line 191
};

SourceImage flat(int width, int height, RgbTriple colour) {
    SourceImage source;
    source.picture.resize(width, height);
    std::ranges::fill(source.picture.pixels(), colour);
    return source;
}

SourceImage gradient(int width, int height) {
    SourceImage source = flat(width, height, {});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto t = static_cast<std::uint8_t>(x * 255 / (width - 1));
            source.picture.row(y)[x] = {t, static_cast<std::uint8_t>(y),
                                        static_cast<std::uint8_t>(255 - t)};
        }
    }
    return source;
}

const ScreenModeFacts& factsOf(MsxScreen screen) {
    return *findScreenMode(screenModeOf(screen));
}

TEST(MsxScreen, EachModeKeepsFlatColoursFollowsAGradientAndWritesItsBsaveRange) {
    for (const ScreenCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const ScreenModeFacts& facts = factsOf(c.screen);
        const MsxChoices stretched{FitMode::stretch,    1.0,    Dither::diffuse, false,
                                   ColourModel::levels, c.lines};
        const MsxEncoding plain =
            encodeMsx(flat(facts.lineWidth, facts.lines, c.exact), c.screen, stretched);
        EXPECT_EQ(plain.preview.height(), c.lines == 0 ? facts.lines : c.lines);
        EXPECT_TRUE(std::ranges::all_of(plain.preview.pixels(),
                                        [&](const RgbTriple& p) { return p == c.exact; }));
        const std::vector<std::uint8_t>& file = plain.file;
        ASSERT_EQ(file.size(), 7U + c.end + 1);
        EXPECT_EQ(std::vector(file.begin(), file.begin() + 7),
                  (std::vector<std::uint8_t>{0xFE, 0, 0, static_cast<std::uint8_t>(c.end & 0xFF),
                                             static_cast<std::uint8_t>(c.end >> 8), 0, 0}));
        if (facts.usesPalette()) {
            // The table lies inside the range; every entry has only the bits an entry has.
            EXPECT_LE(facts.paletteTable + 32U - 1, c.end);
            for (std::uint32_t i = 0; i < 32; i += 2) {
                EXPECT_EQ(file[7 + facts.paletteTable + i] & ~kRedBlueBits, 0);
                EXPECT_EQ(file[7 + facts.paletteTable + i + 1] & ~kGreenBits, 0);
            }
        }
        const MsxEncoding shaded = encodeMsx(
            gradient(320, 200), c.screen,
            {FitMode::contain, 1.0, Dither::diffuse, false, ColourModel::levels, c.lines});
        EXPECT_LT(colourError(shaded.fitted, shaded.preview).pixel, c.gradientBound);
    }
}

// The lattice's darkest grey is 36: a background of 12 is nearer black to the eye.
TEST(MsxScreen, ADarkGreyBackgroundTakesBlackNotTheNextGrey) {
    const MsxEncoding dark =
        encodeMsx(flat(256, 212, {12, 12, 12}), MsxScreen::sc5, {FitMode::stretch});
    EXPECT_TRUE(std::ranges::all_of(dark.preview.pixels(), [](const RgbTriple& p) {
        return p == RgbTriple{0, 0, 0};
    }));
}

TEST(MsxScreen, TheDocumentOpensEachFileToThePreviewedPicture) {
    const testing::TempDir dir;
    SourceImage source = gradient(300, 150); // letterboxed above and below
    source.transparent.assign(source.picture.pixels().size(), 0);
    std::fill_n(source.transparent.begin(), 3000, 1);
    for (const ScreenCase& c : kCases) {
        SCOPED_TRACE(c.name);
        for (const Dither dither : {Dither::none, Dither::diffuse, Dither::ordered}) {
            const MsxEncoding encoding =
                encodeMsx(source, c.screen,
                          {FitMode::contain, 8.0 / 7, dither, true, ColourModel::levels, c.lines});
            const std::string file = dir / c.name;
            testing::writeBytes(file, {encoding.file.begin(), encoding.file.end()});
            PictureRequest request;
            request.screenFile = Location::of(file);
            request.screenMode = *chooseByFileName(c.name).screenMode;
            const bool wide = factsOf(c.screen).lineWidth == kWideWidth;
            request.mapping.linePixels = {static_cast<std::int16_t>(factsOf(c.screen).lineWidth),
                                          static_cast<std::int16_t>(factsOf(c.screen).lineWidth)};
            request.viewMode = wide ? ViewMode::magnify512x424 : ViewMode::plain256x212;
            const Picture opened = ScreenDocument::pictureOf(request);
            ASSERT_EQ(opened.width(), encoding.preview.width());
            for (int y = 0; y < encoding.preview.height(); ++y) {
                ASSERT_TRUE(
                    std::ranges::equal(opened.row(wide ? 2 * y : y), encoding.preview.row(y)))
                    << "line " << y;
            }
            // The letterbox and the transparent pixels are colour 0, black.
            const auto fitted = encoding.fitted.pixels();
            const auto shown = encoding.preview.pixels();
            for (std::size_t i = 0; i < fitted.size(); ++i) {
                ASSERT_TRUE(fitted[i] != RgbTriple{} || shown[i] == RgbTriple{}) << "pixel " << i;
            }
        }
    }
}

} // namespace
} // namespace tessarin
