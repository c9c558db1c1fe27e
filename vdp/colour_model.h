#pragma once

#include "vdp/levels.h"
#include "vdp/rgb.h"
#include "vdp/screen_modes.h"
#include "vdp/vocabulary.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace tessarin {

inline constexpr std::size_t kColourModelCount = 4;

[[nodiscard]] constexpr std::size_t indexOf(ColourModel model) {
    return static_cast<std::size_t>(model);
}

// The 8-bit values of one model's levels.
struct ColourLevels {
    std::array<std::uint8_t, kMaxLevel3 + 1> level3; // palette entries, screen 8 red and green
    std::array<std::uint8_t, kMaxLevel2 + 1> blue2;  // screen 8 blue
    std::array<std::uint8_t, kMaxLevel5 + 1> level5; // a YJK channel
    int blueRounding; // added to the YJK blue numerator before it is divided
};

namespace detail {

// The chips show screen 8's 2-bit blue as these 3-bit levels.
inline constexpr std::array<int, kMaxLevel2 + 1> kBlue2AsLevel3{0, 2, 4, 7};
// The V9958's DAC takes 5 bits: a 3-bit level n is (n << 2) | (n >> 1).
inline constexpr int kLevel3To5Shift = 2;
// YJK blue (5Y - 2J - K) / 4 rounded to nearest on the V9958, truncated in file levels.
inline constexpr int kChipBlueRounding = 2;

using Level3Rule = std::uint8_t (*)(int);

constexpr std::uint8_t fileLevel3(int n) {
    return spreadLevel(n, kMaxLevel3);
}

constexpr std::uint8_t v9958Level3(int n) {
    return spreadLevel((n << kLevel3To5Shift) | (n >> 1), kMaxLevel5);
}

// The file levels spread screen 8 blue over its own 2 bits; the chips show it as a 3-bit level.
constexpr ColourLevels makeLevels(Level3Rule level3Of, bool chipBlue, int blueRounding) {
    ColourLevels t{};
    for (int n = 0; n <= kMaxLevel3; ++n) {
        t.level3[n] = level3Of(n);
    }
    for (int b = 0; b <= kMaxLevel2; ++b) {
        t.blue2[b] = chipBlue ? level3Of(kBlue2AsLevel3[b]) : spreadLevel(b, kMaxLevel2);
    }
    // The V9958's 5-bit levels are spread as the files' are.
    for (int v = 0; v <= kMaxLevel5; ++v) {
        t.level5[v] = spreadLevel(v, kMaxLevel5);
    }
    t.blueRounding = blueRounding;
    return t;
}

inline constexpr std::array<ColourLevels, kColourModelCount> kColourLevels{
    makeLevels(fileLevel3, false, 0),
    makeLevels(fileLevel3, true, kChipBlueRounding), // the V9938's 3-bit DAC
    makeLevels(v9958Level3, true, kChipBlueRounding),
    // msx1 shows only the pattern modes itself (its fixed colours); the others as msx2.
    makeLevels(fileLevel3, true, kChipBlueRounding),
};

} // namespace detail

[[nodiscard]] constexpr const ColourLevels& colourLevels(ColourModel model) {
    return detail::kColourLevels[indexOf(model)];
}

// The model whose colours mode shows under model: the TMS9918 has only the pattern modes,
// so msx1 shows a bitmap mode as msx2 does; a mode only the V9958 has shows the V9958's
// under msx2.
[[nodiscard]] constexpr ColourModel shownColourModel(ColourModel model, ScreenMode mode) {
    const ScreenModeFacts* facts = findScreenMode(mode);
    const bool pattern = facts != nullptr && facts->kind == ModeKind::pattern;
    if (model == ColourModel::msx1 && !pattern) {
        model = ColourModel::msx2;
    }
    const bool v9958Only = facts != nullptr && facts->chip == Chip::v9958;
    return model == ColourModel::msx2 && v9958Only ? ColourModel::msx2plus : model;
}

// The colour of a screen 8 byte: green in bits 7-5, red in bits 4-2, blue in bits 1-0.
[[nodiscard]] constexpr RgbTriple screen8Colour(const ColourLevels& levels, std::uint8_t b) {
    constexpr int kByteGreenShift = 5;
    constexpr int kByteRedShift = 2;
    return RgbTriple{levels.blue2[b & kMaxLevel2],
                     levels.level3[(b >> kByteGreenShift) & kMaxLevel3],
                     levels.level3[(b >> kByteRedShift) & kMaxLevel3]};
}

} // namespace tessarin
