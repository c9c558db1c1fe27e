// Screens 2 and 4: 8x1 runs of two colours, from pattern and colour tables in three thirds,
// and on screen 2 the colours they cannot hold in sprites over them.
#include "convert/eye_dither.h"
#include "convert/msx_encoders.h"
#include "convert/screen2_runs.h"
#include "convert/screen2_sprites.h"
#include "vdp/basic_screen.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

#include <algorithm>
#include <array>

namespace tessarin {

namespace {

using namespace screen2;

constexpr float kOrderedAmplitude = 0.12F;
constexpr std::size_t kEnd = kGraphicColours + 3 * kThirdSize; // a file to 37FFh
// Sprites are placed on screen 2 only (sprite mode 1), at its table addresses.
constexpr auto& kFacts = kModeFacts<ScreenMode::screen2>;
// An attribute table entry: Y (the line above the sprite's first), X, pattern number,
// colour. A 16x16 sprite's 32 pattern bytes are its left column's 16 lines, then its
// right column's.
constexpr std::uint32_t kAttributeBytes = 4;
constexpr std::uint32_t kPatternBytes = 32;
constexpr std::uint32_t kRightColumn = 16;
constexpr int kPatternNumberStep = 4; // 16x16 patterns are numbered in fours
constexpr int kByteBits = 8;
// Fifteen colours far apart: a pixel given its run's other one is much farther off, yet
// a run's pair leaves the eye little else to mix.
constexpr float kEyePixelWeight = 2.0F;

// The sprites into their tables, the list ended after the last; the VRAM then reaches the
// end of the last one's pattern.
void writeSprites(const std::vector<PlacedSprite>& sprites, std::vector<std::uint8_t>& vram) {
    if (sprites.empty()) {
        return;
    }
    vram.resize(kFacts.spritePatterns + sprites.size() * kPatternBytes);
    for (std::size_t n = 0; n < sprites.size(); ++n) {
        const PlacedSprite& s = sprites[n];
        const std::uint32_t entry = kFacts.spriteAttributes + n * kAttributeBytes;
        vram[entry] = static_cast<std::uint8_t>(s.top - 1); // the top line 0 is Y 255
        vram[entry + 1] = static_cast<std::uint8_t>(s.x);
        vram[entry + 2] = static_cast<std::uint8_t>(n * kPatternNumberStep);
        vram[entry + 3] = static_cast<std::uint8_t>(s.colour);
        const std::uint32_t pattern = kFacts.spritePatterns + n * kPatternBytes;
        for (std::uint32_t row = 0; row < kSpriteSide; ++row) {
            vram[pattern + row] = static_cast<std::uint8_t>(s.rows[row] >> kByteBits);
            vram[pattern + kRightColumn + row] = static_cast<std::uint8_t>(s.rows[row]);
        }
    }
    if (sprites.size() < kMostSprites) {
        vram[kFacts.spriteAttributes + sprites.size() * kAttributeBytes] =
            spriteListEnd(SpriteMode::mode1);
    }
}

// Where the pattern and colour bytes of the run at (x0, y) lie past their tables: cell
// (x0 / 8, y / 8) of the line's third, its line y % 8.
std::uint32_t runOffset(int x0, int y) {
    return static_cast<std::uint32_t>(y / kThirdLines) * kThirdSize +
           static_cast<std::uint32_t>(((y % kThirdLines) / kCellPixels) * kNameColumns +
                                      x0 / kCellPixels) *
               kCellPixels +
           static_cast<std::uint32_t>(y % kCellPixels);
}

// Each pixel's colour of its run's pair refined for the eye, the pairs kept, never colour
// 0 (a run's background with colour 0's pixels); pixels of colour 0 or under a sprite keep
// what shows. The patterns written again from them.
void refineRunsForEye(const ScreenTarget& target, std::span<const Lab> colours,
                      const std::vector<std::uint8_t>& sprite, std::vector<std::uint32_t> shown,
                      std::span<std::uint8_t> vram) {
    // Each run's foreground and background, run after run as the pixels are.
    std::vector<std::array<std::uint32_t, 2>> pairs;
    pairs.reserve(shown.size() / kRun);
    for (int y = 0; y < target.height; ++y) {
        for (int x0 = 0; x0 < target.width; x0 += kRun) {
            const std::uint8_t c = vram[kGraphicColours + runOffset(x0, y)];
            pairs.push_back({static_cast<std::uint32_t>(c >> 4), c & 0x0FU});
        }
    }
    const std::vector<std::uint32_t> kept = shown;
    shown = refineForEye(
        target, colours, std::move(shown),
        [&](std::size_t p, std::uint32_t) {
            if (sprite[p] != 0 || target.zero[p] != 0) {
                return std::span(&kept[p], 1);
            }
            const std::array<std::uint32_t, 2>& pair = pairs[p / kRun];
            return std::span<const std::uint32_t>(pair).first(pair[1] == 0 ? 1 : 2);
        },
        kEyePixelWeight);
    for (int y = 0; y < target.height; ++y) {
        for (int x0 = 0; x0 < target.width; x0 += kRun) {
            std::uint8_t& pattern = vram[kGraphicPatterns + runOffset(x0, y)];
            const std::uint32_t foreground = pairs[target.at(x0, y) / kRun][0];
            for (int i = 0; i < kRun; ++i) {
                const std::size_t p = target.at(x0 + i, y);
                if (sprite[p] == 0 && target.zero[p] == 0) {
                    const auto bit = static_cast<std::uint8_t>(0x80U >> i);
                    pattern = static_cast<std::uint8_t>(shown[p] == foreground ? pattern | bit
                                                                               : pattern & ~bit);
                }
            }
        }
    }
}

// Each pixel's difference from each colour, the sprites' choice; nothing without sprites.
std::vector<Differences> differencesOf(const ScreenTarget& target, const Colours& colours) {
    std::vector<Differences> d;
    if (target.sprites > 0) {
        d.reserve(target.pixels.size());
        for (const Lab& p : target.pixels) {
            d.push_back(screen2::differencesOf(p, colours));
        }
    }
    return d;
}

} // namespace

std::vector<std::uint8_t> encodeGraphicScreen(const ScreenTarget& target, ScreenMode mode,
                                              const PaletteRecord& palette) {
    std::array<Lab, kColours> colours{};
    Colours cieColours{};
    for (int i = 0; i < kColours; ++i) {
        colours[i] = entryColour(palette, i, target.model);
        cieColours[i] = cieLabOf(colours[i]);
    }
    SpriteCover sprites =
        placeSprites(target.width, target.height, differencesOf(target, cieColours), target.zero,
                     target.sprites);
    sprites.colour.resize(target.pixels.size(), 0);
    // As SCREEN 2 or 4 leaves it: each cell its own pattern, the sprites hidden.
    std::vector<std::uint8_t> vram(kVramSize);
    fillAsBasicScreen(mode, std::span<std::uint8_t, kVramSize>(vram));
    vram.resize(kEnd);
    std::ranges::copy(palette, vram.begin() + findScreenMode(mode)->paletteTable);

    ErrorCarry carry(target.dither, kOrderedAmplitude, target.pixels, target.width);
    std::vector<std::uint32_t> shownColours(target.pixels.size());
    for (int y = 0; y < target.height; ++y) {
        for (int x0 = 0; x0 < target.width; x0 += kRun) {
            Run run;
            for (int i = 0; i < kRun; ++i) {
                const std::size_t p = target.at(x0 + i, y);
                run.zero[i] = target.zero[p] != 0;
                run.covered[i] = sprites.colour[p] != 0;
                run.differences[i] =
                    screen2::differencesOf(carry.wanted(target.pixels[p], x0 + i, y), cieColours);
            }
            const Pair pair = bestPair(run);
            std::uint8_t pattern = 0;
            for (int i = 0; i < kRun; ++i) {
                const std::size_t p = target.at(x0 + i, y);
                if (run.zero[i]) {
                    shownColours[p] = static_cast<std::uint32_t>(pair.background);
                    continue;
                }
                // The chosen run again, the error of what shows (the run's colour or a
                // sprite's) carried on to the next run and row.
                const Lab wanted = carry.wanted(target.pixels[p], x0 + i, y);
                const CieLab w = cieLabOf(wanted);
                const bool fore = !takesBackground(pair, ciede2000(w, cieColours[pair.background]),
                                                   ciede2000(w, cieColours[pair.foreground]));
                pattern |= static_cast<std::uint8_t>(fore ? 0x80 >> i : 0);
                const int sprite = sprites.colour[p];
                const int shown = sprite != 0 ? sprite : fore ? pair.foreground : pair.background;
                shownColours[p] = static_cast<std::uint32_t>(shown);
                carry.carry(x0 + i, wanted - colours[shown]);
            }
            const std::uint32_t offset = runOffset(x0, y);
            vram[kGraphicPatterns + offset] = pattern;
            vram[kGraphicColours + offset] =
                static_cast<std::uint8_t>(pair.foreground << 4 | pair.background);
        }
        carry.nextRow();
    }
    if (target.dither == Dither::eye) {
        refineRunsForEye(target, colours, sprites.colour, std::move(shownColours), vram);
    }
    writeSprites(sprites.sprites, vram);
    return vram;
}

std::vector<std::uint8_t> encodeScreen2(const ScreenTarget& target) {
    return encodeGraphicScreen(target, ScreenMode::screen2, standardPalette(target.model));
}

} // namespace tessarin
