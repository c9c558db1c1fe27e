// Screen 12: YJK, four pixels a group sharing J and K, each with its own Y.
#include "convert/eye_dither.h"
#include "convert/msx_encoders.h"
#include "vdp/colour_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

namespace tessarin {

namespace {

constexpr int kGroup = 4;
constexpr int kMaxLevel = 31; // Y, and each 5-bit channel
constexpr int kMinJk = -32;   // J and K are six bits, signed
constexpr int kMaxJk = 31;
constexpr int kJkReach = 3; // J and K tried around the group's mean
constexpr int kYReach = 2;  // Y tried around its estimate
constexpr float kOrderedAmplitude = 0.03F;
constexpr float kLevelsPerByte = 31.0F / 255.0F;
// Y steps are small, but a pixel's colour is its group's: its Y alone moves it.
constexpr float kEyePixelWeight = 2.5F;

// Every 5-bit colour in Oklab, index (red << 10) | (green << 5) | blue.
using ChannelColours = std::vector<Lab>;

ChannelColours channelColours() {
    const auto& level5 = colourLevels(ColourModel::levels).level5; // the same in every model
    ChannelColours colours(std::size_t{1} << 15);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        colours[i] = oklabOf(RgbTriple{level5[i & 31], level5[(i >> 5) & 31], level5[i >> 10]});
    }
    return colours;
}

int clampLevel(int v) {
    return std::clamp(v, 0, kMaxLevel);
}

// The colour the VDP shows for Y, J and K: red Y + J, green Y + K, blue (5Y - 2J - K) / 4
// rounded as the model does, each clamped to 0..31.
std::size_t yjkIndex(int y, int j, int k, int blueRounding) {
    const int r = clampLevel(y + j);
    const int g = clampLevel(y + k);
    const int b = clampLevel((5 * y - 2 * j - k + blueRounding) / 4);
    return static_cast<std::size_t>(r << 10 | g << 5 | b);
}

struct Group {
    int j = 0;
    int k = 0;
    std::array<int, kGroup> y{};
    float error = 0;
};

// The best Y of each pixel for J and K, and their error.
Group groupFor(int j, int k, const std::array<Lab, kGroup>& wanted,
               const std::array<std::array<float, 3>, kGroup>& rgb, const ChannelColours& colours,
               int blueRounding) {
    Group g{j, k, {}, 0};
    for (int i = 0; i < kGroup; ++i) {
        const auto& [r, gr, b] = rgb[i];
        const int estimate =
            static_cast<int>(std::lround((r - j + gr - k + (4 * b + 2 * j + k) / 5) / 3));
        float best = std::numeric_limits<float>::max();
        for (int y = clampLevel(estimate - kYReach); y <= clampLevel(estimate + kYReach); ++y) {
            const float d = distance2(colours[yjkIndex(y, j, k, blueRounding)], wanted[i]);
            if (d < best) {
                best = d;
                g.y[i] = y;
            }
        }
        g.error += best;
    }
    return g;
}

// Each pixel's Y refined for the eye, its group's J and K kept: a colour is indexed
// ((J + 32) * 64 + K + 32) * 32 + Y, so the 32 choices of a pixel are those of its J and K.
void refineYForEye(const ScreenTarget& target, std::span<std::uint8_t> vram,
                   const ChannelColours& colours, int blueRounding) {
    constexpr int kLevels = kMaxLevel + 1;
    constexpr int kJkLevels = kMaxJk - kMinJk + 1;
    std::vector<Lab> yjk(static_cast<std::size_t>(kJkLevels * kJkLevels * kLevels));
    for (int j = kMinJk; j <= kMaxJk; ++j) {
        for (int k = kMinJk; k <= kMaxJk; ++k) {
            for (int y = 0; y < kLevels; ++y) {
                yjk[static_cast<std::size_t>(((j - kMinJk) * kJkLevels + k - kMinJk) * kLevels +
                                             y)] = colours[yjkIndex(y, j, k, blueRounding)];
            }
        }
    }
    // Bytes 0 and 1 of a group carry K's low and high three bits, bytes 2 and 3 J's; six
    // bits each, signed.
    const auto signedOf = [](int low, int high) { return ((high << 3 | low) ^ 32) - 32; };
    std::vector<std::uint32_t> indices(vram.size());
    for (std::size_t g = 0; g < vram.size(); g += kGroup) {
        const int k = signedOf(vram[g] & 7, vram[g + 1] & 7);
        const int j = signedOf(vram[g + 2] & 7, vram[g + 3] & 7);
        for (std::size_t i = g; i < g + kGroup; ++i) {
            indices[i] = static_cast<std::uint32_t>(
                ((j - kMinJk) * kJkLevels + k - kMinJk) * kLevels + (vram[i] >> 3));
        }
    }
    std::vector<std::uint32_t> all(yjk.size());
    std::iota(all.begin(), all.end(), 0U);
    indices = refineForEye(
        target, yjk, std::move(indices),
        [&](std::size_t, std::uint32_t colour) {
            return std::span(all).subspan(colour / kLevels * kLevels, kLevels);
        },
        kEyePixelWeight);
    for (std::size_t i = 0; i < vram.size(); ++i) {
        vram[i] = static_cast<std::uint8_t>((indices[i] % kLevels) << 3 | (vram[i] & 7));
    }
}

} // namespace

BitmapLines encodeScreen12(const ScreenTarget& target) {
    static const ChannelColours colours = channelColours();
    const int blueRounding = colourLevels(target.model).blueRounding;
    std::vector<std::uint8_t> vram(static_cast<std::size_t>(target.width) * target.height);
    ErrorCarry carry(target.dither, kOrderedAmplitude, target.pixels, target.width);
    for (int y = 0; y < target.height; ++y) {
        for (int x0 = 0; x0 < target.width; x0 += kGroup) {
            std::array<Lab, kGroup> wanted{};
            std::array<std::array<float, 3>, kGroup> rgb{};
            bool allZero = true;
            float jSum = 0;
            float kSum = 0;
            for (int i = 0; i < kGroup; ++i) {
                const std::size_t p = target.at(x0 + i, y);
                allZero = allZero && target.zero[p] != 0;
                wanted[i] = target.zero[p] != 0 ? Lab{} : carry.wanted(target.pixels[p], x0 + i, y);
                const UnroundedRgb c = srgbOf(wanted[i]);
                rgb[i] = {c.red * kLevelsPerByte, c.green * kLevelsPerByte,
                          c.blue * kLevelsPerByte};
                const float luma = (4 * rgb[i][2] + 2 * rgb[i][0] + rgb[i][1]) / 8;
                jSum += rgb[i][0] - luma;
                kSum += rgb[i][1] - luma;
            }
            if (allZero) {
                continue; // black: every byte 0
            }
            const int j0 = static_cast<int>(std::lround(jSum / kGroup));
            const int k0 = static_cast<int>(std::lround(kSum / kGroup));
            Group best;
            best.error = std::numeric_limits<float>::max();
            for (int j = std::max(kMinJk, j0 - kJkReach); j <= std::min(kMaxJk, j0 + kJkReach);
                 ++j) {
                for (int k = std::max(kMinJk, k0 - kJkReach); k <= std::min(kMaxJk, k0 + kJkReach);
                     ++k) {
                    const Group g = groupFor(j, k, wanted, rgb, colours, blueRounding);
                    if (g.error < best.error) {
                        best = g;
                    }
                }
            }
            // Byte i: Y in bits 7-3; bytes 0 and 1 carry K's low and high three bits, bytes
            // 2 and 3 J's.
            const std::array<int, kGroup> low{best.k & 7, (best.k >> 3) & 7, best.j & 7,
                                              (best.j >> 3) & 7};
            for (int i = 0; i < kGroup; ++i) {
                const std::size_t p = target.at(x0 + i, y);
                vram[p] = static_cast<std::uint8_t>(best.y[i] << 3 | low[i]);
                if (target.zero[p] == 0) {
                    carry.carry(x0 + i,
                                wanted[i] -
                                    colours[yjkIndex(best.y[i], best.j, best.k, blueRounding)]);
                }
            }
        }
        carry.nextRow();
    }
    if (target.dither == Dither::eye) {
        refineYForEye(target, vram, colours, blueRounding);
    }
    return BitmapLines{std::move(vram), std::nullopt};
}

} // namespace tessarin
