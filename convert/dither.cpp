#include "convert/dither.h"

#include <algorithm>
#include <array>
#include <cmath>

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
// A step in the picture at which no error is carried across: an edge's error comes from
// the edge, and carried on it fringes the edge with dots.
constexpr float kEdge = 0.2F;

Lab bounded(Lab e) {
    return {std::clamp(e.l, -kMaxError, kMaxError), std::clamp(e.a, -kMaxError, kMaxError),
            std::clamp(e.b, -kMaxError, kMaxError)};
}

} // namespace

ErrorCarry::ErrorCarry(Dither dither, float amplitude, std::span<const Lab> picture, int width)
    : dither_(dither), amplitude_(amplitude),
      current_(static_cast<std::size_t>(width + 2 * kMargin)),
      next_(static_cast<std::size_t>(width + 2 * kMargin)), picture_(picture), width_(width) {}

float ErrorCarry::smoothnessAt(int x) const {
    const auto height = static_cast<int>(picture_.size() / static_cast<std::size_t>(width_));
    const auto at = [&](int px, int py) {
        return picture_[static_cast<std::size_t>(py) * static_cast<std::size_t>(width_) +
                        static_cast<std::size_t>(px)];
    };
    const Lab here = at(x, row_);
    float step = 0;
    // Its neighbours on this row and the pixels below, where the error goes.
    constexpr std::array<std::array<int, 2>, 5> kAround{{{-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}};
    for (const auto& [dx, dy] : kAround) {
        const int px = x + dx;
        const int py = row_ + dy;
        if (px >= 0 && px < width_ && py < height) {
            step = std::max(step, std::sqrt(distance2(here, at(px, py))));
        }
    }
    return std::max(0.0F, 1.0F - step / kEdge);
}

Lab ErrorCarry::wanted(Lab target, int x, int y) const {
    switch (dither_) {
    case Dither::none:
        return target;
    case Dither::diffuse:
    case Dither::eye:
        return target + bounded(current_[static_cast<std::size_t>(x + kMargin)]);
    case Dither::ordered:
        break;
    }
    const float threshold = (kBayer[y % kBayerSize][x % kBayerSize] + 0.5F) / kBayerLevels - 0.5F;
    return {target.l + threshold * amplitude_, target.a, target.b};
}

void ErrorCarry::carry(int x, Lab error) {
    if (dither_ != Dither::diffuse && dither_ != Dither::eye) {
        return;
    }
    // The picture's steps are looked at only for an error that could be carried at all.
    if (distance2(error, Lab{}) < kStill * kStill) {
        return;
    }
    error = error * smoothnessAt(x);
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
    ++row_;
    std::swap(current_, next_);
    std::ranges::fill(next_, Lab{});
}

} // namespace tessarin
