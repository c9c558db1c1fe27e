#pragma once

#include "colour/rgb_triple.h"
#include "image/picture.h"

#include <span>

namespace tessarin {

// The error (CIEDE2000) at which the heat map's ramp tops out: a difference seen at a
// glance, where 1 is about the least one sees side by side.
inline constexpr float kHeatMapTop = 10;

// The colour the heat map lays over a pixel of colour under whose error is error: none
// (under itself) at 0, rising through dark red to red at half the top, then to yellow at
// the top and above. A negative error counts as none.
[[nodiscard]] RgbTriple heatColour(float error, RgbTriple under);

// Where the error lies over picture: picture greyed (its lightness, dimmed so that the
// ramp stands out), each pixel coloured by heatColour of its error. error holds one value
// a pixel, row after row (blurredErrorMap); std::invalid_argument when it holds another
// count.
[[nodiscard]] Picture errorHeatMap(const Picture& picture, std::span<const float> error);

} // namespace tessarin
