#pragma once

// The TMS9918's 16 fixed colours, made from the figures its data sheet publishes for each
// colour code: luminance Y and the colour differences R-Y and B-Y, in hundredths of the
// black-to-white swing, the differences centred on 0.47 (black's). Converted as a TV does,
// with the luminance weights 0.299 R + 0.587 G + 0.114 B. Colour 0 (see-through) shows
// as black.

#include "colour/rgb_triple.h"
#include "vdp/levels.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tessarin {

inline constexpr std::size_t kTms9918ColourCount = 16;

namespace detail {

struct ChipFigures {
    int luminance; // Y
    int redDiff;   // R-Y
    int blueDiff;  // B-Y
};

inline constexpr int kFigureScale = 100;
inline constexpr int kDiffCentre = 47;
inline constexpr std::array<ChipFigures, kTms9918ColourCount> kTms9918Figures{{
    {0, 47, 47},
    {0, 47, 47},
    {53, 7, 20},
    {67, 17, 27},
    {40, 40, 100},
    {53, 43, 93},
    {47, 83, 30},
    {73, 0, 70},
    {53, 93, 27},
    {67, 93, 27},
    {73, 57, 7},
    {80, 57, 17},
    {47, 13, 23},
    {53, 73, 67},
    {80, 47, 47},
    {100, 47, 47},
}};

// Green from Y = 0.299 R + 0.587 G + 0.114 B.
inline constexpr double kGreenFromRed = 0.299 / 0.587;
inline constexpr double kGreenFromBlue = 0.114 / 0.587;

constexpr std::uint8_t eightBits(double v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 1.0) * kMaxLevel8 + 0.5);
}

constexpr RgbTriple tmsColour(ChipFigures f) {
    const double y = static_cast<double>(f.luminance) / kFigureScale;
    const double redDiff = static_cast<double>(f.redDiff - kDiffCentre) / kFigureScale;
    const double blueDiff = static_cast<double>(f.blueDiff - kDiffCentre) / kFigureScale;
    return RgbTriple{eightBits(y + blueDiff),
                     eightBits(y - kGreenFromRed * redDiff - kGreenFromBlue * blueDiff),
                     eightBits(y + redDiff)};
}

} // namespace detail

inline constexpr std::array<RgbTriple, kTms9918ColourCount> kTms9918Colours = [] {
    std::array<RgbTriple, kTms9918ColourCount> colours{};
    std::ranges::transform(detail::kTms9918Figures, colours.begin(), detail::tmsColour);
    return colours;
}();

} // namespace tessarin
