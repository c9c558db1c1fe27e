#include "vdp/basic_screen.h"

#include "vdp/pattern_layout.h"

#include <algorithm>

namespace tessarin {

namespace {

constexpr int kNames = kNameRows * kNameColumns;
constexpr int kNamesPerThird = 256;

} // namespace

void fillAsBasicScreen(ScreenMode mode, std::span<std::uint8_t, kVramSize> vram) {
    std::ranges::fill(vram, std::uint8_t{0});
    switch (mode) {
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
    if (const ScreenModeFacts* facts = findScreenMode(mode)) {
        vram[facts->spriteAttributes] = spriteListEnd(facts->spriteMode);
    }
}

} // namespace tessarin
