// The committed samples are what the generator writes, and they decode to the
// pictures their README describes.
#include "formats/palette_shape.h"
#include "formats/screen_layout.h"
#include "run_process.h"
#include "tests/support/pixel_operations.h"
#include "vdp/vdp_state.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessarin::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kSamples = fs::path(TESSARIN_SOURCE_DIR) / "samples";
constexpr std::size_t kHeader = 7;

std::vector<std::string> sampleNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kSamples)) {
        if (entry.path().filename() != "README.md") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

unsigned word(const std::vector<unsigned char>& b, std::size_t at) {
    return b.at(at) | static_cast<unsigned>(b.at(at + 1)) << 8;
}

// A VDP in the mode with the screen file laid in at address (its BSAVE data).
VdpState load(ScreenMode mode, const std::string& name, std::size_t address = 0) {
    VdpState vdp;
    vdp.setScreenMode(mode);
    const std::vector<unsigned char> bytes = readBytes(kSamples / name);
    std::copy(bytes.begin() + kHeader, bytes.end(),
              vdp.vramForLoading().begin() + static_cast<long>(address));
    return vdp;
}

TEST(Samples, CommittedFilesAreWhatTheGeneratorWrites) {
    const TempDir out;
    const ProcessResult r = runProcess(TESSARIN_SAMPLES, {out.path().string()}, out.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(out.entries(), sampleNames());
    for (const std::string& name : sampleNames()) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(readBytes(out.path() / name) == readBytes(kSamples / name));
    }
}

TEST(Samples, GeneratorNamesAMissingDirectory) {
    const TempDir out;
    const ProcessResult r = runProcess(TESSARIN_SAMPLES, {"nowhere"}, out.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("\"nowhere/"), std::string::npos) << r.err;
    EXPECT_EQ(runProcess(TESSARIN_SAMPLES, {}, out.path()).exitCode, 2);
}

TEST(Samples, ScreenFilesCarryABsaveHeaderForTheirData) {
    for (const std::string& name : sampleNames()) {
        SCOPED_TRACE(name);
        const std::vector<unsigned char> b = readBytes(kSamples / name);
        if (name.find(".PL") != std::string::npos) {
            EXPECT_TRUE(isPaletteFileSize(b.size()));
            continue;
        }
        if (name == "CROP5.SC5" || name == "LAND8.SR8" || name == "LOOSE5.SC5" ||
            name == "RAW7.SC7" || name == "PAST5.SC5" || name == "APPEND5.SC5") {
            continue; // the other layouts, below
        }
        EXPECT_EQ(b.at(0), 0xFE);
        EXPECT_EQ(word(b, 1), 0U);                     // start
        EXPECT_EQ(word(b, 3), b.size() - kHeader - 1); // end, inclusive
        EXPECT_EQ(word(b, 5), 0U);                     // execution address
    }
}

// The files of other layouts lay the same VRAM as the BSAVE files they were made from.
TEST(Samples, OtherLayoutsLayTheirPictures) {
    const auto laid = [](const std::string& name, ScreenMode mode) {
        VdpState vdp;
        const std::vector<unsigned char> b = readBytes(kSamples / name);
        const ScreenModeFacts& facts = *findScreenMode(mode);
        static_cast<void>(
            layScreenFile(detectLayout(b, b.size(), facts), b, vdp.vramForLoading(), facts, 0));
        return std::vector<unsigned char>(vdp.vram().begin(), vdp.vram().end());
    };
    const auto asBsave = [](const std::string& name) {
        std::vector<unsigned char> vram(kVramSize);
        const std::vector<unsigned char> b = readBytes(kSamples / name);
        std::copy(b.begin() + kHeader, b.end(), vram.begin());
        return vram;
    };
    EXPECT_TRUE(laid("RAW7.SC7", ScreenMode::screen7) == asBsave("BARS7.SC7"));
    EXPECT_TRUE(laid("LAND8.SR8", ScreenMode::screen8) == asBsave("LAND8.SC8"));
    EXPECT_TRUE(laid("LOOSE5.SC5", ScreenMode::screen5) ==
                asBsave("LAND5.SC5")); // no trailing bytes
    // The rectangle (40,96)-(139,175), line by line: 50 bytes at 128 x line + 20.
    const std::vector<unsigned char> crop = laid("CROP5.SC5", ScreenMode::screen5);
    const std::vector<unsigned char> land = asBsave("LAND5.SC5");
    for (int y = 0; y < 80; ++y) {
        EXPECT_TRUE(std::equal(crop.begin() + 128 * y, crop.begin() + 128 * y + 50,
                               land.begin() + 128 * (96 + y) + 20))
            << y;
    }
    EXPECT_EQ(readPaletteFile(readBytes(kSamples / "CROP5.PL5")),
              readPaletteFile(std::span(land).subspan(0x7680, kPaletteSize)));
    EXPECT_EQ(readPaletteFile(readBytes(kSamples / "LOOSE5.PL5")),
              readPaletteFile(readBytes(kSamples / "BARS.PL5")));
}

TEST(Samples, Screen5BarsOnPageZeroAndHorizontalBarsOnPageOne) {
    VdpState vdp = load(ScreenMode::screen5, "BARS.SC5");
    for (int colour = 0; colour < kPaletteColours; ++colour) {
        SCOPED_TRACE(colour);
        EXPECT_EQ(test::pixelScreen5(vdp, 16 * colour + 5, 100), vdp.paletteRgb()[colour]);
    }
    vdp.selectPage(1);
    for (int colour = 0; colour < kPaletteColours; ++colour) {
        EXPECT_EQ(test::pixelScreen5(vdp, 200, 13 * colour + 6), vdp.paletteRgb()[colour]);
    }
    // The VRAM palette: colour 1 pure red, colour 9 pure blue.
    vdp.readVramPalette();
    vdp.selectPalette(PaletteSource::vram);
    EXPECT_EQ(vdp.paletteRgb()[1], (RgbTriple{0, 0, 255}));
    EXPECT_EQ(vdp.paletteRgb()[9], (RgbTriple{255, 0, 0}));
}

TEST(Samples, PaletteFilesHoldAGreyRampAndABlueToRedRamp) {
    const std::vector<unsigned char> b = readBytes(kSamples / "BARS.PL5");
    EXPECT_TRUE(b == readBytes(kSamples / "BARS7.PL7"));
    VdpState vdp;
    PaletteRecord record{};
    std::copy(b.begin(), b.end(), record.begin());
    vdp.setFilePalette(record);
    vdp.selectPalette(PaletteSource::file);
    EXPECT_EQ(vdp.paletteRgb()[7], (RgbTriple{255, 255, 255}));
    EXPECT_EQ(vdp.paletteRgb()[8], (RgbTriple{255, 0, 0}));
    EXPECT_EQ(vdp.paletteRgb()[15], (RgbTriple{0, 0, 255}));
}

TEST(Samples, WideModesAlternateSinglePixelColumns) {
    const VdpState s6 = load(ScreenMode::screen6, "RAMP.SC6");
    EXPECT_EQ(test::pixelScreen6(s6, 100, 200), s6.paletteRgb()[1]);
    EXPECT_EQ(test::pixelScreen6(s6, 101, 200), s6.paletteRgb()[2]);
    EXPECT_EQ(test::pixelScreen6(s6, 384, 10), s6.paletteRgb()[3]);
    const VdpState s7 = load(ScreenMode::screen7, "BARS7.SC7");
    EXPECT_EQ(test::pixelScreen7(s7, 32 * 9 + 1, 50), s7.paletteRgb()[9]);
    EXPECT_EQ(test::pixelScreen7(s7, 100, 200), s7.paletteRgb()[15]);
    EXPECT_EQ(test::pixelScreen7(s7, 101, 200), s7.paletteRgb()[9]);
}

TEST(Samples, Screen8ShowsEveryByteValueInAGrid) {
    const VdpState vdp = load(ScreenMode::screen8, "RGB.SC8");
    for (int value = 0; value < 256; ++value) {
        EXPECT_EQ(test::pixelScreen8(vdp, 16 * (value % 16) + 3, 13 * (value / 16) + 4),
                  screen8Colour(colourLevels(vdp.shownColourModel()), value));
    }
}

TEST(Samples, YjkRampsAndPalettePixels) {
    const VdpState s12 = load(ScreenMode::screen12, "YJK.SCC");
    // The Y ramp with J = K = 0: red and green equal Y, blue runs a little higher.
    for (int x = 0; x < kNarrowWidth; ++x) {
        const RgbTriple p = test::pixelScreen12(s12, x, 200);
        EXPECT_EQ(p, test::yjkToRgb(s12, x / 8, 0, 0)) << x;
        EXPECT_EQ(p.red, s12.level5()[x / 8]) << x;
        EXPECT_EQ(p.green, p.red) << x;
    }
    // Top left of the plane: J = K = -32 at Y = 16.
    EXPECT_EQ(test::pixelScreen12(s12, 0, 0), test::yjkToRgb(s12, 16, 32, 32));

    VdpState s10 = load(ScreenMode::screen10, "YJKA.SCA");
    s10.readVramPalette();
    s10.selectPalette(PaletteSource::vram);
    for (int colour = 0; colour < kPaletteColours; ++colour) {
        EXPECT_EQ(test::pixelScreen10(s10, 16 * colour + 2, 180), s10.paletteRgb()[colour]);
        EXPECT_EQ(test::pixelScreen10(s10, 16 * colour + 1, 200), s10.paletteRgb()[colour]);
        EXPECT_EQ(test::pixelScreen10(s10, 16 * colour + 3, 200), test::yjkToRgb(s10, 30, 0, 0));
    }
}

// The landscape as the pictures these screens show: flat areas, and a sky dithered between
// two shades so that neighbouring pixels differ.
TEST(Samples, LandscapeHasFlatAreasAndADitheredSky) {
    VdpState s5 = load(ScreenMode::screen5, "LAND5.SC5");
    s5.readVramPalette();
    s5.selectPalette(PaletteSource::vram);
    const VdpState s8 = load(ScreenMode::screen8, "LAND8.SC8");
    constexpr int kSunX = 64;
    constexpr int kSunY = 36;
    constexpr int kSkyY = 60;
    EXPECT_EQ(test::pixelScreen5(s5, kSunX, kSunY), s5.paletteRgb()[0]);
    EXPECT_EQ(test::pixelScreen5(s5, kSunX + 1, kSunY + 1), s5.paletteRgb()[0]);
    EXPECT_NE(test::pixelScreen5(s5, 0, kSkyY), test::pixelScreen5(s5, 1, kSkyY));
    EXPECT_NE(test::pixelScreen8(s8, 0, kSkyY), test::pixelScreen8(s8, 1, kSkyY));
    EXPECT_EQ(test::pixelScreen8(s8, kSunX, kSunY), test::pixelScreen8(s8, kSunX + 1, kSunY + 1));
}

} // namespace
} // namespace tessarin::testing
