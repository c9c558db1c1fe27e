#pragma once

#include "convert/msx_encoders.h"
#include "convert/oklab.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace tessarin {

// The colours a pixel may change to, given the colour it has (an index into the mode's
// colours): any colour of a palette near the current one, the other colour of its run, the
// other lightnesses of its group's chroma. The current colour may be among them.
using EyeChoices =
    std::function<std::span<const std::uint32_t>(std::size_t pixel, std::uint32_t colour)>;

// indices (each pixel's colour in colours, row after row) changed pixel by pixel, each
// change one choices allows, while it lowers the error of the picture seen from a little
// distance (both blurred by a Gaussian of sigma 1 pixel in linear light, weighed as the eye
// tells colours apart) plus pixelWeight times each pixel's own. Near 1 a mode dithers
// wherever that brings its colour nearer; near 3 an area a little off one colour stays flat
// and only one between two colours is dithered. Colour 0's pixels (target.zero) keep their
// colour.
[[nodiscard]] std::vector<std::uint32_t> refineForEye(const ScreenTarget& target,
                                                      std::span<const Lab> colours,
                                                      std::vector<std::uint32_t> indices,
                                                      const EyeChoices& choices, float pixelWeight);

// The target in colours from first on, each pixel free to take any of them: diffused in
// linear light (serpentine, all of each error carried), then refined for the eye. Colour
// 0's pixels are colour 0. Each pixel's index into colours, row after row.
[[nodiscard]] std::vector<std::uint32_t> ditherForEye(const ScreenTarget& target,
                                                      std::span<const Lab> colours, int first,
                                                      float pixelWeight);

} // namespace tessarin
