#include "image/scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace tessarin {

namespace {

struct Tap {
    int source = 0;
    float weight = 0.0F;
};

// For every output index along one edge, the source indices and weights summing to 1.
std::vector<std::vector<Tap>> tapsAlong(int sourceLength, int targetLength) {
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(targetLength));
    const double ratio = static_cast<double>(sourceLength) / targetLength;
    for (int t = 0; t < targetLength; ++t) {
        auto& out = taps[static_cast<std::size_t>(t)];
        if (ratio > 1.0) {
            // Box: the source interval [t, t + 1) * ratio, partly covered pixels in part.
            const double begin = t * ratio;
            const double end = begin + ratio;
            for (int s = static_cast<int>(begin); s < sourceLength && s < end; ++s) {
                const double covered = std::min<double>(s + 1, end) - std::max<double>(s, begin);
                out.push_back({s, static_cast<float>(covered / ratio)});
            }
        } else {
            // Linear between the two source centres around the output pixel's centre.
            const double centre = std::clamp((t + 0.5) * ratio - 0.5, 0.0, sourceLength - 1.0);
            const int left = static_cast<int>(centre);
            const int right = std::min(left + 1, sourceLength - 1);
            const auto fraction = static_cast<float>(centre - left);
            out.push_back({left, 1.0F - fraction});
            out.push_back({right, fraction});
        }
    }
    return taps;
}

using Channels = std::array<float, 3>; // blue, green, red
constexpr float kMaxChannel = 255.0F;

} // namespace

std::pair<int, int> fittedSize(int width, int height, int side) {
    const int longer = std::max(width, height);
    const auto scaled = [&](int edge) {
        return std::max(1,
                        static_cast<int>(std::lround(static_cast<double>(edge) * side / longer)));
    };
    return {scaled(width), scaled(height)};
}

Picture scalePicture(const Picture& picture, int width, int height) {
    if (picture.empty()) {
        return {};
    }
    const auto across = tapsAlong(picture.width(), width);
    const auto down = tapsAlong(picture.height(), height);

    // Rows first, into floats, so that the second pass blends unrounded values.
    std::vector<Channels> wide(static_cast<std::size_t>(width) *
                               static_cast<std::size_t>(picture.height()));
    for (int r = 0; r < picture.height(); ++r) {
        const auto row = picture.row(r);
        for (int x = 0; x < width; ++x) {
            Channels sum{};
            for (const Tap& tap : across[static_cast<std::size_t>(x)]) {
                const RgbTriple& p = row[static_cast<std::size_t>(tap.source)];
                sum[0] += tap.weight * p.blue;
                sum[1] += tap.weight * p.green;
                sum[2] += tap.weight * p.red;
            }
            wide[static_cast<std::size_t>(r) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)] = sum;
        }
    }

    const auto channel = [](float value) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0F, kMaxChannel)));
    };
    Picture scaled;
    scaled.resize(width, height);
    for (int y = 0; y < height; ++y) {
        auto out = scaled.row(y);
        for (int x = 0; x < width; ++x) {
            Channels sum{};
            for (const Tap& tap : down[static_cast<std::size_t>(y)]) {
                const Channels& p =
                    wide[static_cast<std::size_t>(tap.source) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)];
                for (std::size_t c = 0; c < sum.size(); ++c) {
                    sum[c] += tap.weight * p[c];
                }
            }
            out[static_cast<std::size_t>(x)] = {channel(sum[0]), channel(sum[1]), channel(sum[2])};
        }
    }
    return scaled;
}

} // namespace tessarin
