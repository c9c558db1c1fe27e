#include "convert/yjk_colours.h"

#include "vdp/colour_model.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tessarin {

namespace {

constexpr int kMaxLevel = kYjkLevels - 1;
constexpr int kYReach = 2; // Y tried around its estimate, one step more for coarser Ys
constexpr float kLevelsPerByte = 31.0F / 255.0F;
constexpr int kChromaBits = 3;
constexpr int kLowBits = (1 << kChromaBits) - 1;
constexpr int kSignBit = 32;

int clampLevel(int v) {
    return std::clamp(v, 0, kMaxLevel);
}

} // namespace

std::span<const Lab> channelColours() {
    static const std::vector<Lab> colours = [] {
        const auto& level5 = colourLevels(ColourModel::levels).level5;
        std::vector<Lab> c(std::size_t{1} << 15);
        for (std::size_t i = 0; i < c.size(); ++i) {
            c[i] = oklabOf(RgbTriple{level5[i & 31], level5[(i >> 5) & 31], level5[i >> 10]});
        }
        return c;
    }();
    return colours;
}

std::size_t chromaIndex(int j, int k) {
    return static_cast<std::size_t>((j - kMinJk) * kJkLevels + k - kMinJk);
}

std::array<std::uint8_t, kYjkGroup> chromaBits(int j, int k) {
    const auto bits = [](int v) { return static_cast<std::uint8_t>(v & kLowBits); };
    return {bits(k), bits(k >> kChromaBits), bits(j), bits(j >> kChromaBits)};
}

std::pair<int, int> chromaOf(std::span<const std::uint8_t, kYjkGroup> group) {
    const auto signedOf = [](int low, int high) {
        return ((high << kChromaBits | low) ^ kSignBit) - kSignBit;
    };
    return {signedOf(group[2] & kLowBits, group[3] & kLowBits),
            signedOf(group[0] & kLowBits, group[1] & kLowBits)};
}

void GroupTarget::set(int i, Lab colour, float otherError) {
    const UnroundedRgb c = srgbOf(colour);
    lab_[i] = colour;
    levels_[i] = {c.red * kLevelsPerByte, c.green * kLevelsPerByte, c.blue * kLevelsPerByte};
    otherError_[i] = otherError;
    fixed_[i] = false;
}

void GroupTarget::fix(int i) {
    lab_[i] = Lab{};
    levels_[i] = {};
    otherError_[i] = 0;
    fixed_[i] = true;
}

std::pair<int, int> GroupTarget::meanChroma(std::array<bool, kYjkGroup> mask) const {
    float jSum = 0;
    float kSum = 0;
    int count = 0;
    for (std::size_t i = 0; i < kYjkGroup; ++i) {
        if (mask[i] && !fixed_[i]) {
            const auto& [r, g, b] = levels_[i];
            const float luma = (4 * b + 2 * r + g) / 8;
            jSum += r - luma;
            kSum += g - luma;
            ++count;
        }
    }
    if (count == 0) {
        return {0, 0};
    }
    return {static_cast<int>(std::lround(jSum / static_cast<float>(count))),
            static_cast<int>(std::lround(kSum / static_cast<float>(count)))};
}

bool GroupTarget::allFixed() const {
    return std::ranges::all_of(fixed_, [](bool f) { return f; });
}

GroupChoice bestGroup(const GroupTarget& group, std::pair<int, int> chroma,
                      const GroupSearch& search) {
    const std::span<const Lab> colours = channelColours();
    const int yStep = search.yStep;
    const int yReach = kYReach + yStep - 1;
    const int reach = search.jkReach;
    GroupChoice best;
    const auto [j0, k0] = chroma;
    for (int j = std::max(kMinJk, j0 - reach); j <= std::min(kMaxJk, j0 + reach); ++j) {
        for (int k = std::max(kMinJk, k0 - reach); k <= std::min(kMaxJk, k0 + reach); ++k) {
            GroupChoice g{j, k, {}, 0};
            for (int i = 0; i < kYjkGroup; ++i) {
                const auto& [r, gr, b] = group.levels(i);
                const int estimate =
                    static_cast<int>(std::lround((r - j + gr - k + (4 * b + 2 * j + k) / 5) / 3));
                const int from = clampLevel(estimate - yReach + yStep - 1) / yStep * yStep;
                float nearest = group.otherError(i);
                g.y[i] = kOtherColour;
                for (int y = from; y <= clampLevel(estimate + yReach); y += yStep) {
                    const float d =
                        distance2(colours[yjkIndex(y, j, k, search.blueRounding)], group.colour(i));
                    if (d < nearest) {
                        nearest = d;
                        g.y[i] = y;
                    }
                }
                g.error += nearest;
            }
            if (g.error < best.error) {
                best = g;
            }
        }
    }
    return best;
}

} // namespace tessarin
