// Halftoning for the eye: the picture's error is measured as a viewer sees it, blurred in
// linear light, and each pixel's colour changed while a change lowers it (direct binary
// search). The blurred error is kept up to date over each change's 7x7 footprint only.
#include "convert/eye_dither.h"

#include "convert/ciede2000.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

namespace tessarin {

namespace {

using Vec3 = std::array<float, 3>;

// The blur the error is measured through: a Gaussian of sigma 1 pixel, cut at 3 sigma.
constexpr int kRadius = 3;
constexpr int kTaps = 2 * kRadius + 1;
constexpr float kSigma = 1.0F;
// A blurred difference below this counts as this much where it divides: an error near
// nil has no direction to follow.
constexpr float kNearlyNone = 0.3F;
// Passes over the picture: each one's changes are fewer, the last few are worth little.
constexpr int kPasses = 4;
// A pass changing fewer than one pixel in this many ends the refinement.
constexpr std::size_t kSettled = 500;
// A free pixel tries the colours nearest its own: a few passes walk it farther.
constexpr std::size_t kNearest = 24;
// The step of the metric's numerical derivative, in linear light.
constexpr double kStep = 1e-4;

Vec3 operator-(Vec3 x, Vec3 y) {
    return {x[0] - y[0], x[1] - y[1], x[2] - y[2]};
}

float dot(Vec3 x, Vec3 y) {
    return x[0] * y[0] + x[1] * y[1] + x[2] * y[2];
}

Vec3 lightOf(Lab c) {
    const LinearLight l = linearLightOf(c);
    return {static_cast<float>(l.red), static_cast<float>(l.green), static_cast<float>(l.blue)};
}

Vec3 cieOf(Lab c) {
    const CieLab l = cieLabOf(c);
    return {static_cast<float>(l.l), static_cast<float>(l.a), static_cast<float>(l.b)};
}

// A symmetric 3x3 matrix: xx, yy, zz, xy, xz, yz.
using Metric = std::array<float, 6>;

Vec3 times(const Metric& m, Vec3 d) {
    return {m[0] * d[0] + m[3] * d[1] + m[4] * d[2], m[3] * d[0] + m[1] * d[1] + m[5] * d[2],
            m[4] * d[0] + m[5] * d[1] + m[2] * d[2]};
}

// How CIEDE2000 weighs lightness and chroma differences near a colour: 1/SL for L*, 1/SC
// for a* and b*, so that distances in CIE L*a*b* so weighed come near its figures.
Vec3 weightsAt(const CieLab& c) {
    const double dl = c.l - 50;
    const double sl = 1 + 0.015 * dl * dl / std::sqrt(20 + dl * dl);
    const double sc = 1 + 0.045 * std::hypot(c.a, c.b);
    return {static_cast<float>(1 / sl), static_cast<float>(1 / sc), static_cast<float>(1 / sc)};
}

// The squared colour difference a small step in linear light at light makes: CIE L*a*b*
// differentiated there and weighed as CIEDE2000 weighs it, so that a dark area's error
// counts as much as the eye sees it.
Metric metricAt(Vec3 light) {
    const auto at = [](const std::array<double, 3>& c) {
        return cieLabOf(LinearLight{c[0], c[1], c[2]});
    };
    std::array<double, 3> c{std::clamp<double>(light[0], 0, 1), std::clamp<double>(light[1], 0, 1),
                            std::clamp<double>(light[2], 0, 1)};
    const CieLab base = at(c);
    const Vec3 weights = weightsAt(base);
    // Column ch: the change of the weighed L*, a* and b* per unit of channel ch.
    std::array<std::array<double, 3>, 3> j{};
    for (std::size_t ch = 0; ch < 3; ++ch) {
        std::array<double, 3> moved = c;
        moved[ch] += kStep;
        const CieLab next = at(moved);
        j[ch] = {(next.l - base.l) / kStep * weights[0], (next.a - base.a) / kStep * weights[1],
                 (next.b - base.b) / kStep * weights[2]};
    }
    const auto m = [&](std::size_t p, std::size_t q) {
        return static_cast<float>(j[p][0] * j[q][0] + j[p][1] * j[q][1] + j[p][2] * j[q][2]);
    };
    return {m(0, 0), m(1, 1), m(2, 2), m(0, 1), m(0, 2), m(1, 2)};
}

// The 2D kernel, row after row, summing to 1.
std::array<float, kTaps * kTaps> kernel() {
    std::array<float, kTaps> taps{};
    for (int i = 0; i < kTaps; ++i) {
        const float d = static_cast<float>(i - kRadius);
        taps[static_cast<std::size_t>(i)] = std::exp(-d * d / (2 * kSigma * kSigma));
    }
    const float sum = std::accumulate(taps.begin(), taps.end(), 0.0F);
    std::array<float, kTaps * kTaps> k{};
    for (std::size_t y = 0; y < kTaps; ++y) {
        for (std::size_t x = 0; x < kTaps; ++x) {
            k[y * kTaps + x] = taps[y] * taps[x] / (sum * sum);
        }
    }
    return k;
}

// The refinement's state: the blurred error at every pixel and the eye's metric there. The
// error lowered is the mean colour difference of the blurred pictures plus pixelWeight
// times that of the pixels, both as distances (not squared), as the figures count them.
class Refinement {
public:
    Refinement(const ScreenTarget& target, std::span<const Lab> colours,
               std::vector<std::uint32_t> indices, float pixelWeight)
        : target_(target), indices_(std::move(indices)), pixelWeight_(pixelWeight),
          kernel_(kernel()) {
        light_.reserve(colours.size());
        cie_.reserve(colours.size());
        for (const Lab& c : colours) {
            light_.push_back(lightOf(c));
            cie_.push_back(cieOf(c));
        }
        const std::size_t n = target.pixels.size();
        // Colour 0's pixels aim at the colour they keep: no error of theirs to make up for.
        std::vector<Vec3> wanted(n);
        std::vector<Vec3> difference(n);
        targetCie_.resize(n);
        targetWeights_.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const bool fixed = target.zero[i] != 0;
            wanted[i] = fixed ? light_[indices_[i]] : lightOf(target.pixels[i]);
            const CieLab t = cieLabOf(fixed ? colours[indices_[i]] : target.pixels[i]);
            targetCie_[i] = {static_cast<float>(t.l), static_cast<float>(t.a),
                             static_cast<float>(t.b)};
            targetWeights_[i] = weightsAt(t);
            difference[i] = light_[indices_[i]] - wanted[i];
        }
        blurredError_.assign(n, Vec3{});
        scaledError_.resize(n);
        norm_.resize(n);
        metric_.resize(n);
        own_.assign(n, Metric{});
        for (int y = 0; y < target.height; ++y) {
            for (int x = 0; x < target.width; ++x) {
                Vec3 blurredWanted{};
                Vec3& e = blurredError_[target.at(x, y)];
                forFootprint(x, y, [&](std::size_t q, float w) {
                    for (std::size_t c = 0; c < 3; ++c) {
                        blurredWanted[c] += w * wanted[q][c];
                        e[c] += w * difference[q][c];
                    }
                });
                metric_[target.at(x, y)] = metricAt(blurredWanted);
            }
        }
        for (int y = 0; y < target.height; ++y) {
            for (int x = 0; x < target.width; ++x) {
                const std::size_t p = target.at(x, y);
                rescale(p);
                forFootprint(x, y, [&](std::size_t q, float w) {
                    for (std::size_t c = 0; c < 6; ++c) {
                        own_[p][c] += w * w * metric_[q][c];
                    }
                });
            }
        }
    }

    // One pass in reading order: the number of pixels changed.
    std::size_t pass(const EyeChoices& choices) {
        std::size_t changes = 0;
        for (int y = 0; y < target_.height; ++y) {
            for (int x = 0; x < target_.width; ++x) {
                changes += visit(x, y, choices) ? 1 : 0;
            }
        }
        return changes;
    }

    std::vector<std::uint32_t> indices() && { return std::move(indices_); }

private:
    // f(q, weight) for each pixel q of the picture within the kernel around (x, y).
    template <typename F> void forFootprint(int x, int y, F f) const {
        const int y0 = std::max(0, y - kRadius);
        const int y1 = std::min(target_.height - 1, y + kRadius);
        const int x0 = std::max(0, x - kRadius);
        const int x1 = std::min(target_.width - 1, x + kRadius);
        for (int qy = y0; qy <= y1; ++qy) {
            const std::size_t row = static_cast<std::size_t>(qy - y + kRadius) * kTaps;
            for (int qx = x0; qx <= x1; ++qx) {
                f(target_.at(qx, qy), kernel_[row + static_cast<std::size_t>(qx - x + kRadius)]);
            }
        }
    }

    // The eye's difference of a blurred error e at pixel q.
    [[nodiscard]] float normAt(std::size_t q, Vec3 e) const {
        return std::sqrt(std::max(0.0F, dot(e, times(metric_[q], e))));
    }

    // Pixel q's norm and its difference's gradient, after its blurred error changed.
    void rescale(std::size_t q) {
        norm_[q] = normAt(q, blurredError_[q]);
        const float scale = 1 / std::max(norm_[q], kNearlyNone);
        const Vec3 m = times(metric_[q], blurredError_[q]);
        scaledError_[q] = {m[0] * scale, m[1] * scale, m[2] * scale};
    }

    // The weighed difference of colour k from pixel p's target.
    [[nodiscard]] float pixelError(std::size_t p, std::uint32_t k) const {
        const Vec3 d = cie_[k] - targetCie_[p];
        const Vec3& w = targetWeights_[p];
        const Vec3 weighed{d[0] * w[0], d[1] * w[1], d[2] * w[2]};
        return std::sqrt(dot(weighed, weighed));
    }

    // Pixel (x, y) given the choice that lowers the error most, if any does. The choices
    // are ranked by the error's second-order estimate, the best one then measured.
    bool visit(int x, int y, const EyeChoices& choices) {
        const std::size_t p = target_.at(x, y);
        if (target_.zero[p] != 0) {
            return false;
        }
        Vec3 gradient{};
        forFootprint(x, y, [&](std::size_t q, float w) {
            for (std::size_t c = 0; c < 3; ++c) {
                gradient[c] += w * scaledError_[q][c];
            }
        });
        const float curvature = 0.5F / std::max(norm_[p], kNearlyNone);
        const std::uint32_t current = indices_[p];
        const Vec3 now = light_[current];
        const float pixelNow = pixelError(p, current);
        std::uint32_t best = current;
        float bestChange = 0;
        for (const std::uint32_t k : choices(p, current)) {
            const Vec3 d = light_[k] - now;
            const float change = dot(d, gradient) + curvature * dot(d, times(own_[p], d)) +
                                 pixelWeight_ * (pixelError(p, k) - pixelNow);
            if (change < bestChange) {
                bestChange = change;
                best = k;
            }
        }
        if (best == current) {
            return false;
        }
        const Vec3 d = light_[best] - now;
        float change = pixelWeight_ * (pixelError(p, best) - pixelNow);
        forFootprint(x, y, [&](std::size_t q, float w) {
            const Vec3& e = blurredError_[q];
            change += normAt(q, {e[0] + w * d[0], e[1] + w * d[1], e[2] + w * d[2]}) - norm_[q];
        });
        if (change >= 0) {
            return false;
        }
        forFootprint(x, y, [&](std::size_t q, float w) {
            for (std::size_t c = 0; c < 3; ++c) {
                blurredError_[q][c] += w * d[c];
            }
            rescale(q);
        });
        indices_[p] = best;
        return true;
    }

    const ScreenTarget& target_;
    std::vector<std::uint32_t> indices_;
    float pixelWeight_;
    std::array<float, kTaps * kTaps> kernel_;
    std::vector<Vec3> light_;         // each colour's linear light
    std::vector<Vec3> cie_;           // each colour in CIE L*a*b*
    std::vector<Vec3> targetCie_;     // each pixel's target in CIE L*a*b*
    std::vector<Vec3> targetWeights_; // and the weights of a difference from it
    std::vector<Vec3> blurredError_;  // the result's blurred light less the target's
    std::vector<float> norm_;         // the eye's difference of each blurred error
    std::vector<Vec3> scaledError_;   // its gradient: the error times the metric, over it
    std::vector<Metric> metric_;      // the eye's metric at each pixel's blurred target
    std::vector<Metric> own_;         // the metrics around a pixel times its squared kernel
};

// Error diffusion in linear light, rows taken in alternate directions (Floyd and
// Steinberg's weights), each pixel the Oklab-nearest of colours from first on to what it
// wants.
std::vector<std::uint32_t> diffuseInLight(const ScreenTarget& target, std::span<const Lab> colours,
                                          int first) {
    std::vector<Vec3> light;
    for (const Lab& c : colours) {
        light.push_back(lightOf(c));
    }
    const auto w = static_cast<std::size_t>(target.width);
    // Error reaching each pixel of this row and the next, one column of margin each side.
    std::vector<Vec3> current(w + 2);
    std::vector<Vec3> next(w + 2);
    std::vector<std::uint32_t> indices(target.pixels.size(), 0);
    for (int y = 0; y < target.height; ++y) {
        const bool leftward = y % 2 == 1;
        for (int step = 0; step < target.width; ++step) {
            const int x = leftward ? target.width - 1 - step : step;
            const std::size_t p = target.at(x, y);
            if (target.zero[p] != 0) {
                continue;
            }
            const auto m = static_cast<std::size_t>(x + 1);
            Vec3 wanted = lightOf(target.pixels[p]);
            for (std::size_t c = 0; c < 3; ++c) {
                wanted[c] = std::clamp(wanted[c] + current[m][c], 0.0F, 1.0F);
            }
            const Lab look = oklabOf(LinearLight{wanted[0], wanted[1], wanted[2]});
            std::uint32_t best = static_cast<std::uint32_t>(first);
            float bestDistance = std::numeric_limits<float>::max();
            for (auto k = static_cast<std::size_t>(first); k < colours.size(); ++k) {
                if (const float d = distance2(colours[k], look); d < bestDistance) {
                    bestDistance = d;
                    best = static_cast<std::uint32_t>(k);
                }
            }
            indices[p] = best;
            const Vec3 e = wanted - light[best];
            const std::size_t ahead = leftward ? m - 1 : m + 1;
            const std::size_t behind = leftward ? m + 1 : m - 1;
            for (std::size_t c = 0; c < 3; ++c) {
                current[ahead][c] += e[c] * (7.0F / 16);
                next[behind][c] += e[c] * (3.0F / 16);
                next[m][c] += e[c] * (5.0F / 16);
                next[ahead][c] += e[c] * (1.0F / 16);
            }
        }
        std::swap(current, next);
        std::ranges::fill(next, Vec3{});
    }
    return indices;
}

// For each colour, the kNearest colours from first on nearest it in Oklab, itself first;
// kNearest entries a colour, colour k's from k * kNearest (none below first).
std::vector<std::uint32_t> nearestColours(std::span<const Lab> colours, int first,
                                          std::size_t count) {
    std::vector<std::uint32_t> table(colours.size() * count);
    std::vector<std::uint32_t> order(colours.size() - static_cast<std::size_t>(first));
    for (auto k = static_cast<std::size_t>(first); k < colours.size(); ++k) {
        std::iota(order.begin(), order.end(), static_cast<std::uint32_t>(first));
        std::ranges::partial_sort(
            order, order.begin() + static_cast<std::ptrdiff_t>(count), {},
            [&](std::uint32_t o) { return distance2(colours[o], colours[k]); });
        std::copy_n(order.begin(), count, table.begin() + static_cast<std::ptrdiff_t>(k * count));
    }
    return table;
}

} // namespace

std::vector<std::uint32_t> refineForEye(const ScreenTarget& target, std::span<const Lab> colours,
                                        std::vector<std::uint32_t> indices,
                                        const EyeChoices& choices, float pixelWeight) {
    Refinement refinement(target, colours, std::move(indices), pixelWeight);
    for (int pass = 0; pass < kPasses; ++pass) {
        if (refinement.pass(choices) * kSettled < target.pixels.size()) {
            break;
        }
    }
    return std::move(refinement).indices();
}

std::vector<std::uint32_t> ditherForEye(const ScreenTarget& target, std::span<const Lab> colours,
                                        int first, float pixelWeight) {
    const std::size_t count = std::min(kNearest, colours.size() - static_cast<std::size_t>(first));
    const std::vector<std::uint32_t> nearest = nearestColours(colours, first, count);
    return refineForEye(
        target, colours, diffuseInLight(target, colours, first),
        [&](std::size_t, std::uint32_t colour) {
            return std::span(nearest).subspan(colour * count, count);
        },
        pixelWeight);
}

} // namespace tessarin
