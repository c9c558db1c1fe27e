#include "vdp/basic_screen.h"

#include "vdp/pattern_layout.h"

#include <algorithm>

namespace tessarin {

namespace {

constexpr int kNames = kNameRows * kNameColumns;
constexpr int kNamesPerThird = 256;
constexpr std::uint8_t kSpace = 0x20;
constexpr int kColourBytes = 256 / kNamesPerColour;
constexpr int kNibble = 4;

// A text screen cleared: rows x columns spaces at names, the font at patterns.
void clearText(std::span<std::uint8_t, kVramSize> vram, std::uint32_t names, int columns,
               std::uint32_t patterns, const Font& font) {
    std::fill_n(vram.begin() + names, kNameRows * columns, kSpace);
    std::ranges::copy(font, vram.begin() + patterns);
}

} // namespace

void fillAsBasicScreen(ScreenMode mode, std::span<std::uint8_t, kVramSize> vram,
                       const Font& (*font)()) {
    std::ranges::fill(vram, std::uint8_t{0});
    switch (mode) {
    case ScreenMode::screen0:
    case ScreenMode::screen0w80: {
        const ScreenModeFacts& facts = *findScreenMode(mode);
        const bool wide = mode == ScreenMode::screen0w80;
        clearText(vram, wide ? kText2Names : kText1Names, facts.bytesPerLine,
                  wide ? kText2Patterns : kText1Patterns, font());
        break;
    }
    case ScreenMode::screen1:
        clearText(vram, kGraphic1Names, kNameColumns, kGraphic1Patterns, font());
        std::fill_n(vram.begin() + kGraphic1Colours, kColourBytes,
                    static_cast<std::uint8_t>(kTextForeground << kNibble | kTextBackground));
        break;
    case ScreenMode::screen2:
    case ScreenMode::screen4:
        for (int i = 0; i < kNames; ++i) {
            vram[kGraphicNames + static_cast<std::uint32_t>(i)] =
                static_cast<std::uint8_t>(i % kNamesPerThird);
        }
        break;
    case ScreenMode::screen3:
        for (int row = 0; row < kNameRows; ++row) {
            for (int column = 0; column < kNameColumns; ++column) {
                vram[kMulticolourNames + static_cast<std::uint32_t>(row * kNameColumns + column)] =
                    static_cast<std::uint8_t>(row / kRowsPerPattern * kNameColumns + column);
            }
        }
        break;
    default:
        break;
    }
    if (const ScreenModeFacts* facts = findScreenMode(mode);
        facts != nullptr && facts->spriteMode != SpriteMode::none) {
        vram[facts->spriteAttributes] = spriteListEnd(facts->spriteMode);
    }
}

} // namespace tessarin
