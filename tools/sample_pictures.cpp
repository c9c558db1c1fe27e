#include "tools/sample_pictures.h"

#include "formats/bsave.h"
#include "tools/pattern_samples.h"
#include "tools/screen_files.h"
#include "tools/text_samples.h"
#include "tools/vram_canvas.h"
#include "vdp/screen_modes.h"

#include <algorithm>
#include <cstdlib>

namespace tessarin::samples {

namespace {

constexpr ScreenModeFacts kScreen5 = kModeFacts<ScreenMode::screen5>;
constexpr ScreenModeFacts kScreen6 = kModeFacts<ScreenMode::screen6>;
constexpr ScreenModeFacts kScreen7 = kModeFacts<ScreenMode::screen7>;
constexpr ScreenModeFacts kScreen8 = kModeFacts<ScreenMode::screen8>;
constexpr ScreenModeFacts kScreen10 = kModeFacts<ScreenMode::screen10>;
constexpr ScreenModeFacts kScreen12 = kModeFacts<ScreenMode::screen12>;
constexpr int kBarCount = 16;
constexpr int kBarLines = 13; // 16 bars of 13 lines fill 208 of the 212 lines
constexpr int kWhite = 15;
constexpr int kYjkMid = 16;
constexpr int kJkRange = 64; // J and K run from -32 to 31
constexpr int kJkMin = -32;

// The palette table the samples keep in VRAM: black, twelve hues round the colour
// circle, two greys and white, so that it differs visibly from the standard palette.
constexpr PaletteColours kRainbow{{{0, 0, 0},
                                   {7, 0, 0},
                                   {7, 3, 0},
                                   {7, 7, 0},
                                   {3, 7, 0},
                                   {0, 7, 0},
                                   {0, 7, 3},
                                   {0, 7, 7},
                                   {0, 3, 7},
                                   {0, 0, 7},
                                   {3, 0, 7},
                                   {7, 0, 7},
                                   {7, 0, 3},
                                   {2, 2, 2},
                                   {5, 5, 5},
                                   {7, 7, 7}}};

// The palette files: colours 0-7 a grey ramp, 8-15 a ramp from blue to red.
constexpr PaletteColours kRamps{{{0, 0, 0},
                                 {1, 1, 1},
                                 {2, 2, 2},
                                 {3, 3, 3},
                                 {4, 4, 4},
                                 {5, 5, 5},
                                 {6, 6, 6},
                                 {7, 7, 7},
                                 {0, 0, 7},
                                 {1, 0, 6},
                                 {2, 0, 5},
                                 {3, 0, 4},
                                 {4, 0, 3},
                                 {5, 0, 2},
                                 {6, 0, 1},
                                 {7, 0, 0}}};

// 4x4 ordered-dither thresholds, 0..15.
constexpr std::array<std::array<int, 4>, 4> kBayer{
    {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}}};

// How much of VRAM a sample saves: the picture of page 0; page 0 whole and the picture
// of page 1; or everything up to the end of the palette table.
constexpr std::size_t pictureBytes(const ScreenModeFacts& mode) {
    return static_cast<std::size_t>(kPictureLines) * static_cast<std::size_t>(mode.bytesPerLine);
}
constexpr std::size_t twoPageBytes(const ScreenModeFacts& mode) {
    return static_cast<std::size_t>(mode.pageSize) + pictureBytes(mode);
}
constexpr std::size_t withPaletteBytes(const ScreenModeFacts& mode) {
    return mode.paletteTable + kPaletteSize;
}

// Page 1 begins this many lines below page 0.
constexpr int pageLines(const ScreenModeFacts& mode) {
    return mode.pageSize / mode.bytesPerLine;
}

SampleFile screenFile(std::string name, const VramCanvas& canvas, std::size_t size) {
    return SampleFile{std::move(name), bsaveFile(0, canvas.prefix(size))};
}

SampleFile paletteFile(std::string name, const PaletteColours& colours) {
    const PaletteRecord record = paletteRecord(colours);
    return SampleFile{std::move(name), std::vector<std::uint8_t>(record.begin(), record.end())};
}

int horizontalBar(int y) {
    return y < kBarCount * kBarLines ? y / kBarLines : kWhite;
}

// Screen 5: page 0 vertical bars over diagonal stripes, page 1 horizontal bars.
SampleFile bars5() {
    VramCanvas c(kScreen5.bytesPerLine);
    constexpr int kBarsLines = 160;
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kScreen5.lineWidth; ++x) {
            const int colour =
                y < kBarsLines ? x / (kScreen5.lineWidth / kBarCount) : ((x + y) / 8) % kBarCount;
            c.put4bpp(x, y, colour);
            c.put4bpp(x, pageLines(kScreen5) + y, horizontalBar(y));
        }
    }
    c.putPalette(kScreen5.paletteTable, paletteRecord(kRainbow));
    return screenFile("BARS.SC5", c, twoPageBytes(kScreen5));
}

// Screen 6: four bars, a dithered ramp through the four colours, and single-pixel
// columns of colours 1 and 2 (a 256-wide view shows colour 1 only); page 1 four
// horizontal bars.
SampleFile ramp6() {
    VramCanvas c(kScreen6.bytesPerLine);
    constexpr int kBandLines = 70;
    constexpr int kColours = kScreen6.paletteColours;
    constexpr int kSteps = (kColours - 1) * 16; // ramp positions, 16 per dither level
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kScreen6.lineWidth; ++x) {
            int colour = 0;
            if (y < kBandLines) {
                colour = x / (kScreen6.lineWidth / kColours);
            } else if (y < 2 * kBandLines) {
                const int level = x * kSteps / kScreen6.lineWidth;
                colour = level / 16 + (level % 16 > kBayer[y % 4][x % 4] ? 1 : 0);
            } else {
                colour = 1 + x % 2;
            }
            c.put2bpp(x, y, colour);
            c.put2bpp(x, pageLines(kScreen6) + y, y * kColours / kPictureLines);
        }
    }
    c.putPalette(kScreen6.paletteTable, paletteRecord(kRainbow));
    return screenFile("RAMP.SC6", c, twoPageBytes(kScreen6));
}

// Screen 7: sixteen bars over single-pixel columns of colours 15 and 9.
VramCanvas bars7Canvas() {
    VramCanvas c(kScreen7.bytesPerLine);
    constexpr int kBarsLines = 160;
    constexpr int kOddColour = 9;
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kScreen7.lineWidth; ++x) {
            const int colour = y < kBarsLines ? x / (kScreen7.lineWidth / kBarCount)
                                              : (x % 2 == 0 ? kWhite : kOddColour);
            c.put4bpp(x, y, colour);
        }
    }
    c.putPalette(kScreen7.paletteTable, paletteRecord(kRainbow));
    return c;
}

SampleFile bars7() {
    return screenFile("BARS7.SC7", bars7Canvas(), withPaletteBytes(kScreen7));
}

// The same VRAM as a headerless dump up to the end of the palette table.
SampleFile raw7() {
    const VramCanvas c = bars7Canvas();
    const auto bytes = c.prefix(withPaletteBytes(kScreen7));
    return SampleFile{"RAW7.SC7", std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

// Screen 7, for VRAM1 (display page 1): sixteen horizontal bars.
SampleFile page7() {
    VramCanvas c(kScreen7.bytesPerLine);
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kScreen7.lineWidth; ++x) {
            c.put4bpp(x, y, horizontalBar(y));
        }
    }
    return screenFile("PAGE7.SC7", c, pictureBytes(kScreen7));
}

// Screen 8: all 256 colours, byte value = 16 x row + column, white below.
SampleFile rgb8() {
    VramCanvas c(kScreen8.bytesPerLine);
    constexpr int kCellWidth = kScreen8.lineWidth / 16;
    constexpr std::uint8_t kWhiteByte = 0xFF;
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kScreen8.lineWidth; ++x) {
            const int row = y / kBarLines;
            c.put8bpp(x, y,
                      row < 16 ? static_cast<std::uint8_t>(16 * row + x / kCellWidth) : kWhiteByte);
        }
    }
    return screenFile("RGB.SC8", c, pictureBytes(kScreen8));
}

// Screen 8, for VRAM1: ramps of red (8 levels), green (8) and blue (4), one band each.
SampleFile page8() {
    VramCanvas c(kScreen8.bytesPerLine);
    constexpr int kBandLines = 70;
    constexpr int kRedShift = 2;
    constexpr int kGreenShift = 5;
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kScreen8.lineWidth; ++x) {
            int value = x / 64; // blue, 2 bits
            if (y < kBandLines) {
                value = (x / 32) << kRedShift;
            } else if (y < 2 * kBandLines) {
                value = (x / 32) << kGreenShift;
            }
            c.put8bpp(x, y, static_cast<std::uint8_t>(value));
        }
    }
    return screenFile("PAGE8.SC8", c, pictureBytes(kScreen8));
}

// J and K planes at constant Y over lines 0..planeLines-1, one group of four pixels
// per K step across and J running down (or the other way round when swapped).
void yjkPlane(VramCanvas& c, const ScreenModeFacts& mode, int planeLines, int yValue,
              bool swapped) {
    for (int y = 0; y < planeLines; ++y) {
        for (int x = 0; x < mode.lineWidth; x += 4) {
            const int across = kJkMin + x / 4;
            const int down = kJkMin + y * kJkRange / planeLines;
            const int j = swapped ? across : down;
            const int k = swapped ? down : across;
            c.putGroup(x, y, yjkGroupBytes({yValue, yValue, yValue, yValue}, j, k));
        }
    }
}

// Screen 12: the J/K plane at middle Y above a ramp of Y (32 levels) at J = K = 0.
SampleFile yjk12(std::string name, bool swapped) {
    VramCanvas c(kScreen12.bytesPerLine);
    constexpr int kPlaneLines = 160;
    yjkPlane(c, kScreen12, kPlaneLines, kYjkMid, swapped);
    for (int y = kPlaneLines; y < kPictureLines; ++y) {
        for (int x = 0; x < kScreen12.lineWidth; x += 4) {
            std::array<int, 4> ys{};
            for (int i = 0; i < 4; ++i) {
                const int level = (x + i) / 8; // 0..31
                ys[i] = swapped ? 31 - level : level;
            }
            c.putGroup(x, y, yjkGroupBytes(ys, 0, 0));
        }
    }
    return screenFile(std::move(name), c, pictureBytes(kScreen12));
}

// Screen 10: the J/K plane, a ramp of Y (16 levels) at J = K = 0, sixteen palette bars, and
// groups whose left two pixels are palette colours and right two light grey.
SampleFile yjka10() {
    VramCanvas c(kScreen10.bytesPerLine);
    constexpr int kPlaneLines = 140;
    constexpr int kRampEnd = 176;
    constexpr int kBarsEnd = 194;
    constexpr int kLightGrey = 30;
    yjkPlane(c, kScreen10, kPlaneLines, kYjkMid, false);
    // In screen 10 the lowest bit of the 5-bit Y field marks a palette pixel, whose
    // colour is the upper four bits.
    const auto palettePixel = [](int colour) { return 2 * colour + 1; };
    for (int y = kPlaneLines; y < kPictureLines; ++y) {
        for (int x = 0; x < kScreen10.lineWidth; x += 4) {
            const int bar = x / (kScreen10.lineWidth / kBarCount);
            std::array<int, 4> ys{};
            if (y < kRampEnd) {
                ys.fill(2 * bar);
            } else if (y < kBarsEnd) {
                ys.fill(palettePixel(bar));
            } else {
                ys = {palettePixel(bar), palettePixel(bar), kLightGrey, kLightGrey};
            }
            c.putGroup(x, y, yjkGroupBytes(ys, 0, 0));
        }
    }
    c.putPalette(kScreen10.paletteTable, paletteRecord(kRainbow));
    return screenFile("YJKA.SCA", c, withPaletteBytes(kScreen10));
}

// The landscape's parts, drawn in flat colours except where an ordered dither blends two
// of them, as pictures for these screens are drawn. The sky comes last: its shades follow.
enum LandscapePart : int {
    kSun,
    kFarHill,
    kNearHill,
    kHillLight,
    kWall,
    kRoof,
    kWindow,
    kWater,
    kWaterLight,
    kGround,
    kGroundDark,
    kSky
};

// The landscape's colours in the order of its parts, then four sky shades from the top down
// and an unused white.
constexpr PaletteColours kLandscape{{{7, 7, 2},
                                     {2, 4, 3},
                                     {1, 3, 1},
                                     {3, 5, 1},
                                     {6, 6, 5},
                                     {5, 1, 1},
                                     {1, 1, 1},
                                     {0, 2, 5},
                                     {2, 4, 7},
                                     {4, 3, 1},
                                     {2, 1, 0},
                                     {1, 1, 5},
                                     {2, 3, 6},
                                     {3, 5, 7},
                                     {5, 6, 7},
                                     {7, 7, 7}}};
constexpr int kLandscapeSkyShades = kPaletteColours - 1 - kSky;
constexpr int kHalfDither = 8;   // of 16 levels: a checkerboard
constexpr int kSparseDither = 3; // of 16 levels: specks

// True where an ordered dither at level (0..16 of 16) shows the second colour.
bool dithered(int x, int y, int level) {
    return level > kBayer[y % 4][x % 4];
}

// A parabolic hill standing on a base line.
struct Hill {
    int centre;
    int halfWidth;
    int height;
};
constexpr Hill kNearHillShape{150, 170, 50};
constexpr Hill kLeftHillShape{60, 90, 45};
constexpr Hill kRightHillShape{200, 80, 30};

// The hill's top line at x, or base beside the hill.
int hillTop(int x, const Hill& hill, int base) {
    const int d = x - hill.centre;
    const int w2 = hill.halfWidth * hill.halfWidth;
    return d * d >= w2 ? base : base - hill.height * (w2 - d * d) / w2;
}

// A rectangle of pixels, right and bottom excluded.
struct Box {
    int left;
    int top;
    int right;
    int bottom;
    [[nodiscard]] bool holds(int x, int y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
};

// What the landscape shows at a pixel: a part, or kSky plus one of skyShades shades, dark at
// the top, dithered into one another down to the horizon.
int landscape(int x, int y, int skyShades) {
    constexpr int kHorizon = 130;
    constexpr int kShore = 176;
    constexpr int kLakeEnd = 120;
    constexpr int kSunX = 64;
    constexpr int kSunY = 36;
    constexpr int kSunRadius = 16;
    constexpr int kHaloRadius = 22;
    constexpr int kHillLightLines = 6;
    constexpr Box kWalls{176, 136, 216, kShore};
    constexpr Box kWindowPane{184, 144, 196, 156};
    constexpr Box kDoor{202, 150, 210, kShore};
    constexpr int kRoofTop = 116;
    constexpr int kRoofTipHalfWidth = 4;
    constexpr int kRoofCentre = (kWalls.left + kWalls.right) / 2;
    constexpr int kDitherLevels = 16;
    if (y >= kShore) {
        if (x < kLakeEnd) {
            const int level =
                kDitherLevels - (y - kShore) * kDitherLevels / (kPictureLines - kShore);
            return dithered(x, y, level) ? kWaterLight : kWater;
        }
        return dithered(x, y, kSparseDither) ? kGroundDark : kGround;
    }
    if (kWalls.holds(x, y)) {
        return kWindowPane.holds(x, y) || kDoor.holds(x, y) ? kWindow : kWall;
    }
    // The roof widens by 6 pixels every 5 lines down to the walls.
    if (y >= kRoofTop && y < kWalls.top &&
        std::abs(x - kRoofCentre) < kRoofTipHalfWidth + (y - kRoofTop) * 6 / 5) {
        return kRoof;
    }
    const int nearTop = hillTop(x, kNearHillShape, kShore);
    if (y >= nearTop) {
        return y < nearTop + kHillLightLines && dithered(x, y, kHalfDither) ? kHillLight
                                                                            : kNearHill;
    }
    if (y >=
        std::min(hillTop(x, kLeftHillShape, kHorizon), hillTop(x, kRightHillShape, kHorizon))) {
        return kFarHill;
    }
    const int r2 = (x - kSunX) * (x - kSunX) + (y - kSunY) * (y - kSunY);
    if (r2 <= kSunRadius * kSunRadius ||
        (r2 <= kHaloRadius * kHaloRadius && dithered(x, y, kHalfDither))) {
        return kSun;
    }
    const int level = std::min(y, kHorizon - 1) * (skyShades - 1) * kDitherLevels / kHorizon;
    return kSky + level / kDitherLevels + (dithered(x, y, level % kDitherLevels) ? 1 : 0);
}

// Screen 5: the landscape in its own palette, kept in VRAM.
VramCanvas landscape5Canvas() {
    VramCanvas c(kScreen5.bytesPerLine);
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kScreen5.lineWidth; ++x) {
            c.put4bpp(x, y, landscape(x, y, kLandscapeSkyShades));
        }
    }
    c.putPalette(kScreen5.paletteTable, paletteRecord(kLandscape));
    return c;
}

SampleFile landscape5() {
    return screenFile("LAND5.SC5", landscape5Canvas(), withPaletteBytes(kScreen5));
}

// The house and the hill behind it, saved by COPY (40,96)-(139,175) TO "CROP5.SC5".
constexpr Rectangle kCrop{40, 96, 100, 80};
SampleFile crop5() {
    return SampleFile{"CROP5.SC5",
                      copyRectangleFile(landscape5Canvas().prefix(kVramHalfSize),
                                        kScreen5.bytesPerLine, kScreen5.bitsPerPixel, kCrop)};
}

// The landscape's palette for the rectangle, which does not hold it: one copy for each of
// eight pages, as some programs save it.
SampleFile cropPalette5() {
    constexpr int kCopies = 8;
    const PaletteRecord record = paletteRecord(kLandscape);
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < kCopies; ++i) {
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return SampleFile{"CROP5.PL5", std::move(bytes)};
}

// The landscape as a BSAVE whose file runs on past its end address: BLOAD leaves the
// trailing bytes out, so they must not reach VRAM.
SampleFile loose5() {
    constexpr std::size_t kTrailing = 96;
    constexpr std::uint8_t kTrailingByte = 0xFF;
    std::vector<std::uint8_t> bytes =
        bsaveFile(0, landscape5Canvas().prefix(withPaletteBytes(kScreen5)));
    bytes.insert(bytes.end(), kTrailing, kTrailingByte);
    return SampleFile{"LOOSE5.SC5", std::move(bytes)};
}

// The landscape saved as far as its picture (0000h-69FFh) by a program that writes on to
// the palette table: the viewer reads the table from the bytes past the end address.
SampleFile past5() {
    const auto canvas = landscape5Canvas();
    std::vector<std::uint8_t> bytes = bsaveFile(0, canvas.prefix(pictureBytes(kScreen5)));
    const auto tail = canvas.prefix(withPaletteBytes(kScreen5)).subspan(pictureBytes(kScreen5));
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return SampleFile{"PAST5.SC5", std::move(bytes)};
}

// The landscape's picture with its palette appended after the data, 32 bytes, as
// converters write it.
SampleFile append5() {
    std::vector<std::uint8_t> bytes =
        bsaveFile(0, landscape5Canvas().prefix(pictureBytes(kScreen5)));
    const PaletteRecord record = paletteRecord(kLandscape);
    bytes.insert(bytes.end(), record.begin(), record.end());
    return SampleFile{"APPEND5.SC5", std::move(bytes)};
}

// The ramps palette as BSAVE saves the palette table: a 39-byte file.
SampleFile bsavePalette5() {
    const PaletteRecord record = paletteRecord(kRamps);
    const auto table = static_cast<std::uint16_t>(kScreen5.paletteTable);
    return SampleFile{"LOOSE5.PL5", bsaveFile(table, record, table)};
}

// Screen 8: the landscape in the nearest fixed colours, its sky in eight shades from dark
// blue to light blue.
VramCanvas landscape8Canvas() {
    VramCanvas c(kScreen8.bytesPerLine);
    constexpr int kSkyShades = 8;
    constexpr int kRedShift = 2;
    constexpr int kGreenShift = 5;
    constexpr int kBlueDrop = 1; // palette blue has 3 bits, screen 8 blue 2
    const auto byteOf = [](const PaletteLevels& p) {
        return static_cast<std::uint8_t>(p.green << kGreenShift | p.red << kRedShift |
                                         p.blue >> kBlueDrop);
    };
    const auto skyShade = [](int shade) {
        constexpr int kLast = kSkyShades - 1;
        constexpr PaletteLevels kTop{0, 1, 5};
        constexpr PaletteLevels kRise{5, 5, 2}; // from the top to the horizon
        return PaletteLevels{kTop.red + shade * kRise.red / kLast,
                             kTop.green + shade * kRise.green / kLast,
                             kTop.blue + shade * kRise.blue / kLast};
    };
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kScreen8.lineWidth; ++x) {
            const int part = landscape(x, y, kSkyShades);
            c.put8bpp(x, y,
                      byteOf(part < kSky ? kLandscape[static_cast<std::size_t>(part)]
                                         : skyShade(part - kSky)));
        }
    }
    return c;
}

SampleFile landscape8() {
    return screenFile("LAND8.SC8", landscape8Canvas(), pictureBytes(kScreen8));
}

// The same picture run-length compressed.
SampleFile packed8() {
    return SampleFile{"LAND8.SR8",
                      graphSaurusFile(landscape8Canvas().prefix(pictureBytes(kScreen8)))};
}

} // namespace

std::vector<SampleFile> makeSamples() {
    std::vector<SampleFile> files;
    files.push_back(bars5());
    files.push_back(paletteFile("BARS.PL5", kRamps));
    files.push_back(ramp6());
    files.push_back(bars7());
    files.push_back(paletteFile("BARS7.PL7", kRamps));
    files.push_back(page7());
    files.push_back(rgb8());
    files.push_back(page8());
    files.push_back(yjka10());
    files.push_back(yjk12("YJK.SCC", false));
    files.push_back(yjk12("PAGE12.SCC", true));
    files.push_back(landscape5());
    files.push_back(landscape8());
    files.push_back(raw7());
    files.push_back(crop5());
    files.push_back(cropPalette5());
    files.push_back(loose5());
    files.push_back(bsavePalette5());
    files.push_back(past5());
    files.push_back(append5());
    files.push_back(packed8());
    for (SampleFile& file : patternSamples(paletteRecord(kRainbow))) {
        files.push_back(std::move(file));
    }
    for (SampleFile& file : textSamples()) {
        files.push_back(std::move(file));
    }
    return files;
}

} // namespace tessarin::samples
