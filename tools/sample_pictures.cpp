#include "tools/sample_pictures.h"

#include "tools/bsave.h"
#include "tools/vram_canvas.h"
#include "vdp/layout.h"

namespace tessarin::samples {

namespace {

constexpr int kPictureWidthNarrow = kNarrowWidth; // screens 5, 8, 10, 12
constexpr int kPictureWidthWide = kWideWidth;     // screens 6, 7
constexpr int kSmallPageLines = layout::kSmallPageSize / layout::kShortLineBytes; // 256
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

constexpr std::size_t kSmallTwoPageBytes =
    layout::kSmallPageSize + static_cast<std::size_t>(kPictureLines) * layout::kShortLineBytes;
constexpr std::size_t kLargePictureBytes =
    static_cast<std::size_t>(kPictureLines) * layout::kLongLineBytes;
constexpr std::size_t kLargeWithPaletteBytes = layout::kLargePaletteTable + kPaletteSize;

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
    VramCanvas c(layout::kShortLineBytes);
    constexpr int kBarsLines = 160;
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kPictureWidthNarrow; ++x) {
            const int colour =
                y < kBarsLines ? x / (kPictureWidthNarrow / kBarCount) : ((x + y) / 8) % kBarCount;
            c.put4bpp(x, y, colour);
            c.put4bpp(x, kSmallPageLines + y, horizontalBar(y));
        }
    }
    c.putPalette(layout::kSmallPaletteTable, paletteRecord(kRainbow));
    return screenFile("BARS.SC5", c, kSmallTwoPageBytes);
}

// Screen 6: four bars, a dithered ramp through the four colours, and single-pixel
// columns of colours 1 and 2 (a 256-wide view shows colour 1 only); page 1 four
// horizontal bars.
SampleFile ramp6() {
    VramCanvas c(layout::kShortLineBytes);
    constexpr int kBandLines = 70;
    constexpr int kColours = 4;
    constexpr int kSteps = (kColours - 1) * 16; // ramp positions, 16 per dither level
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kPictureWidthWide; ++x) {
            int colour = 0;
            if (y < kBandLines) {
                colour = x / (kPictureWidthWide / kColours);
            } else if (y < 2 * kBandLines) {
                const int level = x * kSteps / kPictureWidthWide;
                colour = level / 16 + (level % 16 > kBayer[y % 4][x % 4] ? 1 : 0);
            } else {
                colour = 1 + x % 2;
            }
            c.put2bpp(x, y, colour);
            c.put2bpp(x, kSmallPageLines + y, y * kColours / kPictureLines);
        }
    }
    c.putPalette(layout::kSmallPaletteTable, paletteRecord(kRainbow));
    return screenFile("RAMP.SC6", c, kSmallTwoPageBytes);
}

// Screen 7: sixteen bars over single-pixel columns of colours 15 and 9.
SampleFile bars7() {
    VramCanvas c(layout::kLongLineBytes);
    constexpr int kBarsLines = 160;
    constexpr int kOddColour = 9;
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kPictureWidthWide; ++x) {
            const int colour = y < kBarsLines ? x / (kPictureWidthWide / kBarCount)
                                              : (x % 2 == 0 ? kWhite : kOddColour);
            c.put4bpp(x, y, colour);
        }
    }
    c.putPalette(layout::kLargePaletteTable, paletteRecord(kRainbow));
    return screenFile("BARS7.SC7", c, kLargeWithPaletteBytes);
}

// Screen 7, for VRAM1 (display page 1): sixteen horizontal bars.
SampleFile page7() {
    VramCanvas c(layout::kLongLineBytes);
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kPictureWidthWide; ++x) {
            c.put4bpp(x, y, horizontalBar(y));
        }
    }
    return screenFile("PAGE7.SC7", c, kLargePictureBytes);
}

// Screen 8: all 256 colours, byte value = 16 x row + column, white below.
SampleFile rgb8() {
    VramCanvas c(layout::kLongLineBytes);
    constexpr int kCellWidth = kPictureWidthNarrow / 16;
    constexpr std::uint8_t kWhiteByte = 0xFF;
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kPictureWidthNarrow; ++x) {
            const int row = y / kBarLines;
            c.put8bpp(x, y,
                      row < 16 ? static_cast<std::uint8_t>(16 * row + x / kCellWidth) : kWhiteByte);
        }
    }
    return screenFile("RGB.SC8", c, kLargePictureBytes);
}

// Screen 8, for VRAM1: ramps of red (8 levels), green (8) and blue (4), one band each.
SampleFile page8() {
    VramCanvas c(layout::kLongLineBytes);
    constexpr int kBandLines = 70;
    constexpr int kRedShift = 2;
    constexpr int kGreenShift = 5;
    for (int y = 0; y < kPictureLines; ++y) {
        for (int x = 0; x < kPictureWidthNarrow; ++x) {
            int value = x / 64; // blue, 2 bits
            if (y < kBandLines) {
                value = (x / 32) << kRedShift;
            } else if (y < 2 * kBandLines) {
                value = (x / 32) << kGreenShift;
            }
            c.put8bpp(x, y, static_cast<std::uint8_t>(value));
        }
    }
    return screenFile("PAGE8.SC8", c, kLargePictureBytes);
}

// J and K planes at constant Y over lines 0..planeLines-1, one group of four pixels
// per K step across and J running down (or the other way round when swapped).
void yjkPlane(VramCanvas& c, int planeLines, int yValue, bool swapped) {
    for (int y = 0; y < planeLines; ++y) {
        for (int x = 0; x < kPictureWidthNarrow; x += 4) {
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
    VramCanvas c(layout::kLongLineBytes);
    constexpr int kPlaneLines = 160;
    yjkPlane(c, kPlaneLines, kYjkMid, swapped);
    for (int y = kPlaneLines; y < kPictureLines; ++y) {
        for (int x = 0; x < kPictureWidthNarrow; x += 4) {
            std::array<int, 4> ys{};
            for (int i = 0; i < 4; ++i) {
                const int level = (x + i) / 8; // 0..31
                ys[i] = swapped ? 31 - level : level;
            }
            c.putGroup(x, y, yjkGroupBytes(ys, 0, 0));
        }
    }
    return screenFile(std::move(name), c, kLargePictureBytes);
}

// Screen 10: the J/K plane, a ramp of Y (16 levels) at J = K = 0, sixteen palette bars, and
// groups whose left two pixels are palette colours and right two light grey.
SampleFile yjka10() {
    VramCanvas c(layout::kLongLineBytes);
    constexpr int kPlaneLines = 140;
    constexpr int kRampEnd = 176;
    constexpr int kBarsEnd = 194;
    constexpr int kLightGrey = 30;
    yjkPlane(c, kPlaneLines, kYjkMid, false);
    // In screen 10 the lowest bit of the 5-bit Y field marks a palette pixel, whose
    // colour is the upper four bits.
    const auto palettePixel = [](int colour) { return 2 * colour + 1; };
    for (int y = kPlaneLines; y < kPictureLines; ++y) {
        for (int x = 0; x < kPictureWidthNarrow; x += 4) {
            const int bar = x / (kPictureWidthNarrow / kBarCount);
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
    c.putPalette(layout::kLargePaletteTable, paletteRecord(kRainbow));
    return screenFile("YJKA.SCA", c, kLargeWithPaletteBytes);
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
    return files;
}

} // namespace tessarin::samples
