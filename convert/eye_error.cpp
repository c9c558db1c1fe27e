#include "convert/eye_error.h"

#include "convert/ciede2000.h"
#include "convert/oklab.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <utility>

namespace tessarin {

namespace {

// The blur: a Gaussian of sigma 1 pixel, cut at 3 sigma, applied to light (linear sRGB), not
// to the gamma-coded values, since it is light that the eye and the screen mix.
constexpr int kRadius = 3;
constexpr double kSigma = 1.0;

constexpr std::size_t kTaps = 2 * kRadius + 1;

std::array<double, kTaps> gaussianTaps() {
    std::array<double, kTaps> taps{};
    for (int i = -kRadius; i <= kRadius; ++i) {
        taps[static_cast<std::size_t>(i + kRadius)] = std::exp(-i * i / (2 * kSigma * kSigma));
    }
    const double sum = std::accumulate(taps.begin(), taps.end(), 0.0);
    for (double& t : taps) {
        t /= sum;
    }
    return taps;
}

// Pixel (x, y) of a width x height plane; outside it, its nearest edge pixel, as if the
// picture went on beyond its border as it ends.
std::size_t clampedAt(int x, int y, int width, int height) {
    return static_cast<std::size_t>(std::clamp(y, 0, height - 1)) *
               static_cast<std::size_t>(width) +
           static_cast<std::size_t>(std::clamp(x, 0, width - 1));
}

// picture blurred, in CIE L*a*b*, row after row.
std::vector<CieLab> blurred(const Picture& picture) {
    static const std::array<double, kTaps> taps = gaussianTaps();
    const int width = picture.width();
    const int height = picture.height();
    std::vector<LinearLight> light;
    light.reserve(picture.pixels().size());
    for (const RgbTriple& p : picture.pixels()) {
        light.push_back(linearLightOf(p));
    }
    const auto along = [&](const std::vector<LinearLight>& in, int dx, int dy) {
        std::vector<LinearLight> out(in.size());
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                LinearLight sum{0, 0, 0};
                for (int i = -kRadius; i <= kRadius; ++i) {
                    const LinearLight& c = in[clampedAt(x + i * dx, y + i * dy, width, height)];
                    const double t = taps[static_cast<std::size_t>(i + kRadius)];
                    sum.red += t * c.red;
                    sum.green += t * c.green;
                    sum.blue += t * c.blue;
                }
                out[clampedAt(x, y, width, height)] = sum;
            }
        }
        return out;
    };
    const std::vector<LinearLight> both = along(along(light, 1, 0), 0, 1);
    std::vector<CieLab> lab;
    lab.reserve(both.size());
    for (const LinearLight& c : both) {
        lab.push_back(cieLabOf(c));
    }
    return lab;
}

void requireSameSize(const Picture& reference, const Picture& result) {
    if (reference.width() != result.width() || reference.height() != result.height()) {
        throw std::invalid_argument("colour error of pictures of different sizes");
    }
}

} // namespace

ColourErrorFigures colourError(const Picture& reference, const Picture& result) {
    return colourErrorAndMap(reference, result).figures;
}

ColourErrorAndMap colourErrorAndMap(const Picture& reference, const Picture& result) {
    requireSameSize(reference, result);
    if (reference.empty()) {
        return {};
    }
    const auto a = reference.pixels();
    const auto b = result.pixels();
    double pixelSum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        pixelSum += ciede2000(cieLabOf(a[i]), cieLabOf(b[i]));
    }
    std::vector<float> map = blurredErrorMap(reference, result);
    const double blurredSum = std::accumulate(map.begin(), map.end(), 0.0);
    const auto count = static_cast<double>(a.size());
    return {{pixelSum / count, blurredSum / count}, std::move(map)};
}

std::vector<float> blurredErrorMap(const Picture& reference, const Picture& result) {
    requireSameSize(reference, result);
    if (reference.empty()) {
        return {};
    }
    const std::vector<CieLab> a = blurred(reference);
    const std::vector<CieLab> b = blurred(result);
    std::vector<float> map(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        map[i] = static_cast<float>(ciede2000(a[i], b[i]));
    }
    return map;
}

} // namespace tessarin
