#include "image/dither.h"

#include <algorithm>
#include <array>

namespace tessarin {

namespace {

constexpr int kMargin = 1;
constexpr int kBayerSize = 4;
constexpr std::array<std::array<int, kBayerSize>, kBayerSize> kBayer{{
    {0, 8, 2, 10},
    {12, 4, 14, 6},
    {3, 11, 1, 9},
    {15, 7, 13, 5},
}};
constexpr float kBayerLevels = 16.0F;
// An error larger than this in any channel is not carried on in full: a saturated colour
// the screen cannot reach would otherwise streak across the picture.
constexpr float kMaxError = 0.12F;
// Part of each error carried on: all of it adds speckle that costs more than it gains on
// smooth areas, too little leaves bands.
constexpr float kCarried = 0.75F;
// An error smaller than this (about half a step of the 512-colour lattice in lightness)
// is not carried at all: an area a little off its nearest colour stays flat rather than
// turning to noise that only brings it nearer on average.
constexpr float kStill = 0.06F;

Lab bounded(Lab e) {
    return {std::clamp(e.l, -kMaxError, kMaxError), std::clamp(e.a, -kMaxError, kMaxError),
            std::clamp(e.b, -kMaxError, kMaxError)};
}

} // namespace

ErrorCarry::ErrorCarry(Dither dither, float amplitude, int width)
    : dither_(dither), amplitude_(amplitude),
      current_(static_cast<std::size_t>(width + 2 * kMargin)),
      next_(static_cast<std::size_t>(width + 2 * kMargin)) {}

Lab ErrorCarry::wanted(Lab target, int x, int y) const {
    switch (dither_) {
    case Dither::none:
        return target;
    case Dither::diffuse:
        return target + bounded(current_[static_cast<std::size_t>(x + kMargin)]);
    case Dither::ordered:
        break;
    }
    const float threshold = (kBayer[y % kBayerSize][x % kBayerSize] + 0.5F) / kBayerLevels - 0.5F;
    return {target.l + threshold * amplitude_, target.a, target.b};
}

void ErrorCarry::carry(int x, Lab error) {
    if (dither_ != Dither::diffuse) {
        return;
    }
    if (distance2(error, Lab{}) < kStill * kStill) {
        return;
    }
    const auto i = static_cast<std::size_t>(x + kMargin);
    error = bounded(error * kCarried);
    current_[i + 1] = current_[i + 1] + error * (7.0F / 16);
    next_[i - 1] = next_[i - 1] + error * (3.0F / 16);
    next_[i] = next_[i] + error * (5.0F / 16);
    next_[i + 1] = next_[i + 1] + error * (1.0F / 16);
}

void ErrorCarry::nextRow() {
    std::swap(current_, next_);
    std::ranges::fill(next_, Lab{});
}

} // namespace tessarin
