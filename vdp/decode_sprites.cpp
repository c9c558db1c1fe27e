#include "vdp/sprites.h"
#include "vdp/vdp_state.h"

#include <algorithm>
#include <array>

namespace tessarin {

namespace {

// Screen 8's sprites show 16 fixed colours, not the palette (V9938 data book): red,
// green and blue levels of 0..7.
constexpr std::array<PaletteLevels, kPaletteColours> kScreen8SpriteLevels{{
    {0, 0, 0},
    {0, 0, 2},
    {3, 0, 0},
    {3, 0, 2},
    {0, 3, 0},
    {0, 3, 2},
    {3, 3, 0},
    {3, 3, 2},
    {7, 4, 2},
    {0, 0, 7},
    {7, 0, 0},
    {7, 0, 7},
    {0, 7, 0},
    {0, 7, 7},
    {7, 7, 0},
    {7, 7, 7},
}};

// Screen 6's sprite colour is two pixels of its line: bits 3-2 the left, 1-0 the right.
constexpr int kScreen6LeftShift = 2;
constexpr std::uint8_t kScreen6Bits = 0x03;

} // namespace

template <std::size_t Width>
void VdpState::overlaySprites(int y, std::span<RgbTriple, Width> out) const {
    SpriteLine line{};
    if (!drawSpriteLine(spriteTables_, vram_, y, line)) {
        return;
    }
    constexpr std::size_t kRepeat = Width / kSpritePositions;
    std::array<RgbTriple, kPaletteColours> colours = paletteRgb_;
    if (screenMode_ == ScreenMode::screen8) {
        std::ranges::transform(kScreen8SpriteLevels, colours.begin(), [this](PaletteLevels c) {
            return RgbTriple{level3_[c.blue], level3_[c.green], level3_[c.red]};
        });
    }
    const bool halves = screenMode_ == ScreenMode::screen6;
    for (std::size_t x = 0; x < kSpritePositions; ++x) {
        const std::uint8_t c = line[x];
        if (c == 0) {
            continue;
        }
        for (std::size_t i = 0; i < kRepeat; ++i) {
            // At 256 pixels screen 6 shows every other pixel, the left of each pair.
            const std::uint8_t half = i == 0 ? c >> kScreen6LeftShift : c;
            setColour(out[x * kRepeat + i], colours[halves ? half & kScreen6Bits : c]);
        }
    }
}

template void VdpState::overlaySprites(int, RgbRow256) const;
template void VdpState::overlaySprites(int, RgbRow512) const;

} // namespace tessarin
