#include "convert/error_heat_map.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tessarin {

namespace {

// The ramp's two colours: red at half the top, yellow at the top.
constexpr float kRedAt = 0.5F;
constexpr float kFull = 255;

// The grey of a colour, its Rec. 601 luma at half its brightness: the picture stays
// readable under the ramp without competing with it.
std::uint8_t dimmedGrey(RgbTriple colour) {
    constexpr float kDim = 0.5F;
    const float luma = 0.299F * colour.red + 0.587F * colour.green + 0.114F * colour.blue;
    return static_cast<std::uint8_t>(std::lround(luma * kDim));
}

std::uint8_t mixed(std::uint8_t from, float to, float share) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * share));
}

} // namespace

RgbTriple heatColour(float error, RgbTriple under) {
    const float t = std::clamp(error / kHeatMapTop, 0.0F, 1.0F);
    // Below red, the red grows over the colour under it; above, green joins it: yellow.
    const float cover = std::min(1.0F, t / kRedAt);
    const float green = t > kRedAt ? kFull * (t - kRedAt) / (1 - kRedAt) : 0;
    return {mixed(under.blue, 0, cover), mixed(under.green, green, cover),
            mixed(under.red, kFull, cover)};
}

Picture errorHeatMap(const Picture& picture, std::span<const float> error) {
    const std::span<const RgbTriple> pixels = picture.pixels();
    if (error.size() != pixels.size()) {
        throw std::invalid_argument("errorHeatMap: one error a pixel");
    }
    Picture map;
    map.resize(picture.width(), picture.height());
    const std::span<RgbTriple> out = map.pixels();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint8_t grey = dimmedGrey(pixels[i]);
        setColour(out[i], heatColour(error[i], {grey, grey, grey}));
    }
    return map;
}

} // namespace tessarin
