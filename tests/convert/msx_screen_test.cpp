// Pictures made here, converted to each screen: flat colours come back exact, a gradient
// within a bound, the BSAVE range and palette table as BLOAD needs them, and the file
// opened by the document gives the picture the encoder previewed; screen 2 with sprites.
#include "catalog/file_source.h"
#include "convert/eye_error.h"
#include "convert/msx_screen.h"
#include "document/resolve.h"
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
    {MsxScreen::sc10, "X.SCA", {0, 145, 255}, 0xFA9F, 2.0},
    {MsxScreen::sc11, "X.SCB", {0, 145, 255}, 0xFA9F, 2.0},
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

// A flat colour a quarter of the way between two of screen 8's: diffusion leaves it on the
// nearer one, the eye's dither mixes the two into it as seen from a distance.
TEST(MsxScreen, TheEyesDitherMakesAColourBetweenTwoOfTheScreensSeenFromADistance) {
    const SourceImage source = flat(256, 212, {64, 64, 64});
    const auto blurred = [&](Dither dither) {
        const MsxEncoding e = encodeMsx(source, MsxScreen::sc8, {FitMode::stretch, 1.0, dither});
        return colourError(e.fitted, e.preview).blurred;
    };
    EXPECT_LT(blurred(Dither::eye), 0.5 * blurred(Dither::diffuse));
}

TEST(MsxScreen, TheDocumentOpensEachFileToThePreviewedPicture) {
    const testing::TempDir dir;
    SourceImage source = gradient(300, 150); // letterboxed above and below
    source.transparent.assign(source.picture.pixels().size(), 0);
    std::fill_n(source.transparent.begin(), 3000, 1);
    for (const ScreenCase& c : kCases) {
        SCOPED_TRACE(c.name);
        for (const Dither dither : {Dither::none, Dither::diffuse, Dither::ordered, Dither::eye}) {
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

// Interlaced, each bitmap screen's file and its companion, found by its name beside it, open
// to the woven preview at 512x424 interlace: page 0's lines on the even rows, page 1's on the
// odd; a 256-wide line's pixels each twice.
TEST(MsxScreen, InterlacedFilesOpenWithTheirCompanionsToThePreview) {
    const testing::TempDir dir;
    const SourceImage source = gradient(300, 200);
    const std::pair<MsxScreen, const char*> kInterlaced[] = {
        {MsxScreen::sc5, "I.SC5"}, {MsxScreen::sc6, "I.SC6"},  {MsxScreen::sc7, "I.SC7"},
        {MsxScreen::sc8, "I.SC8"}, {MsxScreen::sc10, "I.SCA"}, {MsxScreen::sc11, "I.SCB"},
        {MsxScreen::sc12, "I.SCC"}};
    for (const auto& [screen, name] : kInterlaced) {
        SCOPED_TRACE(name);
        const int width = factsOf(screen).lineWidth;
        MsxChoices choices{FitMode::contain, 1.0, Dither::eye};
        choices.interlace = true;
        const MsxEncoding encoding = encodeMsx(source, screen, choices);
        ASSERT_EQ(encoding.preview.height(), 2 * kBitmapLines);
        const std::string file = dir / name;
        testing::writeBytes(file, {encoding.file.begin(), encoding.file.end()});
        testing::writeBytes(*companionNameOf(file),
                            {encoding.companion.begin(), encoding.companion.end()});
        PictureRequest request = resolve(fileSource(), Location::of(file));
        request.viewMode = ViewMode::interlace512x424;
        const Picture opened = ScreenDocument::pictureOf(request);
        ASSERT_EQ(opened.height(), 2 * kBitmapLines);
        const int repeat = kWideWidth / width;
        for (int y = 0; y < opened.height(); ++y) {
            for (int x = 0; x < kWideWidth; ++x) {
                ASSERT_EQ(opened.row(y)[x], encoding.preview.row(y)[x / repeat])
                    << "row " << y << " pixel " << x;
            }
        }
    }
}

// Lines 32 to 95 in 1-pixel stripes of red, green and blue, three colours in every run:
// more than the 4 sprites a line can mend. Each sprite of the file, as the VDP counts
// them (Y + 1 to Y + 16 until Y 208), leaves no line with a fifth; the document opens the
// file to the preview, its 16x16 sprites drawn; and the sprites lower the error.
TEST(MsxScreen, Screen2SpritesKeepToFourALineOpenToThePreviewAndLowerTheError) {
    const testing::TempDir dir;
    SourceImage source = flat(256, 192, {255, 255, 255});
    for (int y = 32; y < 96; ++y) {
        for (int x = 0; x < 256; ++x) {
            source.picture.row(y)[x] = std::array<RgbTriple, 3>{
                {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}}}[static_cast<std::size_t>(x % 3)];
        }
    }
    for (const Dither dither : {Dither::none, Dither::diffuse}) {
        SCOPED_TRACE(static_cast<int>(dither));
        MsxChoices choices{FitMode::stretch, 1.0, dither, false, ColourModel::levels};
        choices.sprites = 32;
        const MsxEncoding with = encodeMsx(source, MsxScreen::sc2, choices);
        choices.sprites = 0;
        const MsxEncoding without = encodeMsx(source, MsxScreen::sc2, choices);
        const std::vector<std::uint8_t>& file = with.file;
        std::array<int, 256> perLine{};
        std::size_t n = 0;
        for (; n < 32 && file[7 + 0x1B00 + 4 * n] != 208; ++n) {
            for (int line = 1; line <= 16; ++line) {
                ++perLine[(file[7 + 0x1B00 + 4 * n] + line) % 256];
            }
        }
        EXPECT_GE(n, 4U);
        EXPECT_LE(std::ranges::max(perLine), 4);
        EXPECT_EQ(file.size(), 7 + 0x3800 + 32 * n); // to the last sprite's pattern
        const std::string name = dir / "S.SC2";
        testing::writeBytes(name, {file.begin(), file.end()});
        PictureRequest request;
        request.screenFile = Location::of(name);
        request.screenMode = ScreenMode::screen2;
        request.sprites = SpriteChoice::on;
        request.largeSprites = true;
        const Picture opened = ScreenDocument::pictureOf(request);
        EXPECT_TRUE(std::ranges::equal(opened.pixels(), with.preview.pixels()));
        EXPECT_FALSE(std::ranges::equal(with.preview.pixels(), without.preview.pixels()));
        EXPECT_LT(colourError(with.fitted, with.preview).pixel,
                  0.9 * colourError(without.fitted, without.preview).pixel);
    }
}

} // namespace
} // namespace tessarin
