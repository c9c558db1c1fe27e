#include "tools/text_samples.h"

#include "formats/bsave.h"
#include "vdp/pattern_layout.h"
#include "vdp/screen_modes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace tessarin::samples {

namespace {

constexpr int kNames = 256;
constexpr int kNibble = 4;
constexpr std::uint8_t kTextPixels = 0xFC;  // bits 7-2: a text character's six pixels
constexpr std::size_t kText1Saved = 0x1000; // BSAVE "X.SC0",0,&HFFF,S (WIDTH 40)
constexpr std::size_t kText2Saved = 0x1800; // BSAVE "X.SC0",0,&H17FF,S (WIDTH 80)
constexpr std::size_t kGraphic1Saved = 0x4000;
constexpr int kColumns40 = kModeFacts<ScreenMode::screen0>.bytesPerLine;
constexpr int kColumns80 = kModeFacts<ScreenMode::screen0w80>.bytesPerLine;
constexpr std::size_t kNamesOnlySaved = kColumns40 * kNameRows; // the names of WIDTH 40 alone

// Name n's line y of the samples' own font: n's bits rotated by y, so that every name
// differs from its neighbours and each line shows another pattern; the last line blank.
std::uint8_t glyphLine(int name, int y) {
    if (y == kCellPixels - 1) {
        return 0;
    }
    const auto n = static_cast<unsigned>(name);
    return static_cast<std::uint8_t>((n << y | n >> (kCellPixels - y)) & 0xFFU);
}

// The font at patterns, masked to the pixels the mode shows.
void putFont(std::vector<std::uint8_t>& vram, std::uint32_t patterns, std::uint8_t shown) {
    for (int name = 0; name < kNames; ++name) {
        for (int y = 0; y < kCellPixels; ++y) {
            vram.at(patterns + static_cast<std::uint32_t>(name * kCellPixels + y)) =
                glyphLine(name, y) & shown;
        }
    }
}

// rows x columns names in reading order from 0, wrapping at 256.
void putNames(std::vector<std::uint8_t>& vram, std::uint32_t names, int columns) {
    for (int i = 0; i < kNameRows * columns; ++i) {
        vram.at(names + static_cast<std::uint32_t>(i)) = static_cast<std::uint8_t>(i % kNames);
    }
}

SampleFile textScreen(std::string name, std::size_t saved, std::uint32_t names, int columns,
                      std::uint32_t patterns) {
    std::vector<std::uint8_t> vram(saved);
    putNames(vram, names, columns);
    putFont(vram, patterns, kTextPixels);
    return SampleFile{std::move(name), bsaveFile(0, vram)};
}

// Screen 1: every name in reading order with its own font, the 32 colour bytes each its own
// pair (group g: colour g % 15 + 1 on colour 15 - g % 16), and two sprites of mode 1: a
// solid 8x8 square in colour 9 at (16, 40), a diamond in colour 11 at (200, 100).
SampleFile graphic1() {
    std::vector<std::uint8_t> vram(kGraphic1Saved);
    putNames(vram, kGraphic1Names, kNameColumns);
    putFont(vram, kGraphic1Patterns, 0xFF);
    constexpr int kColourBytes = kNames / kNamesPerColour;
    for (int g = 0; g < kColourBytes; ++g) {
        vram.at(kGraphic1Colours + static_cast<std::uint32_t>(g)) =
            static_cast<std::uint8_t>((g % 15 + 1) << kNibble | (15 - g % 16));
    }
    constexpr std::uint32_t kAttributes = kModeFacts<ScreenMode::screen1>.spriteAttributes;
    constexpr std::uint32_t kSpritePatterns = kModeFacts<ScreenMode::screen1>.spritePatterns;
    constexpr std::array<std::uint8_t, kCellPixels> kDiamond{0x18, 0x3C, 0x7E, 0xFF,
                                                             0xFF, 0x7E, 0x3C, 0x18};
    for (int y = 0; y < kCellPixels; ++y) {
        vram.at(kSpritePatterns + static_cast<std::uint32_t>(y)) = 0xFF;
        vram.at(kSpritePatterns + kCellPixels + static_cast<std::uint32_t>(y)) = kDiamond.at(y);
    }
    // Y (shown from Y + 1), X, pattern, colour; then Y 208 ends the list.
    constexpr std::array<std::uint8_t, 9> kSprites{39, 16, 0, 9, 99, 200, 1, 11, 208};
    std::copy(kSprites.begin(), kSprites.end(), vram.begin() + kAttributes);
    return SampleFile{"CHARS.SC1", bsaveFile(0, vram)};
}

// Screen 0 with only its names saved: a line of text on each row, in the machine's font.
SampleFile namesOnly() {
    std::vector<std::uint8_t> vram(kNamesOnlySaved, ' ');
    constexpr std::string_view kLine = "TEXT IN THE MACHINE'S FONT 0123456789";
    for (int row = 0; row < kNameRows; row += 2) {
        std::copy(kLine.begin(), kLine.end(), vram.begin() + row * kColumns40 + row % 3);
    }
    return SampleFile{"HELLO.SC0", bsaveFile(0, vram)};
}

} // namespace

std::vector<SampleFile> textSamples() {
    std::vector<SampleFile> files;
    files.push_back(textScreen("TEXT40.SC0", kText1Saved, kText1Names, kColumns40, kText1Patterns));
    files.push_back(textScreen("TEXT80.SC0", kText2Saved, kText2Names, kColumns80, kText2Patterns));
    files.push_back(graphic1());
    files.push_back(namesOnly());
    return files;
}

} // namespace tessarin::samples
