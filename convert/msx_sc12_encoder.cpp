// Screen 12: YJK, four pixels a group sharing J and K, each with its own Y.
#include "convert/eye_dither.h"
#include "convert/msx_encoders.h"
#include "convert/yjk_colours.h"
#include "vdp/colour_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

namespace tessarin {

namespace {

constexpr float kOrderedAmplitude = 0.03F;
constexpr int kJkReach = 3; // J and K tried around the group's mean
// Y steps are small, but a pixel's colour is its group's: its Y alone moves it.
constexpr float kEyePixelWeight = 2.5F;
// The eye's Y within this many steps of the diffused one (a whole-range walk measured no
// nearer, within 0.01, and left lone white dots on edges).
constexpr int kEyeYReach = 3;

// Each pixel's Y refined for the eye, its group's J and K kept: a colour is indexed
// chromaIndex(J, K) * 32 + Y, so the 32 choices of a pixel are those of its J and K.
void refineYForEye(const ScreenTarget& target, std::span<std::uint8_t> vram, int blueRounding) {
    const std::span<const Lab> colours = channelColours();
    std::vector<Lab> yjk(static_cast<std::size_t>(kJkLevels * kJkLevels * kYjkLevels));
    for (int j = kMinJk; j <= kMaxJk; ++j) {
        for (int k = kMinJk; k <= kMaxJk; ++k) {
            for (int y = 0; y < kYjkLevels; ++y) {
                yjk[chromaIndex(j, k) * kYjkLevels + static_cast<std::size_t>(y)] =
                    colours[yjkIndex(y, j, k, blueRounding)];
            }
        }
    }
    std::vector<std::uint32_t> indices(vram.size());
    for (std::size_t g = 0; g < vram.size(); g += kYjkGroup) {
        const auto [j, k] = chromaOf(vram.subspan(g).first<kYjkGroup>());
        for (std::size_t i = g; i < g + kYjkGroup; ++i) {
            indices[i] =
                static_cast<std::uint32_t>(chromaIndex(j, k) * kYjkLevels + (vram[i] >> 3));
        }
    }
    std::vector<std::uint32_t> all(yjk.size());
    std::iota(all.begin(), all.end(), 0U);
    // Each Y kept near the one the diffusion gave: far ones made the group's chroma up on
    // an edge by a lone white or black dot.
    const std::vector<std::uint32_t> diffused = indices;
    indices = refineForEye(
        target, yjk, std::move(indices),
        [&](std::size_t p, std::uint32_t) {
            const std::uint32_t group = diffused[p] / kYjkLevels * kYjkLevels;
            const int y = static_cast<int>(diffused[p] % kYjkLevels);
            const int low = std::max(0, y - kEyeYReach);
            const int high = std::min(static_cast<int>(kYjkLevels) - 1, y + kEyeYReach);
            return std::span(all).subspan(group + static_cast<std::uint32_t>(low),
                                          static_cast<std::size_t>(high - low + 1));
        },
        kEyePixelWeight);
    for (std::size_t i = 0; i < vram.size(); ++i) {
        vram[i] = static_cast<std::uint8_t>((indices[i] % kYjkLevels) << 3 | (vram[i] & 7));
    }
}

} // namespace

BitmapLines encodeScreen12(const ScreenTarget& target) {
    const std::span<const Lab> colours = channelColours();
    const int blueRounding = colourLevels(target.model).blueRounding;
    std::vector<std::uint8_t> vram(static_cast<std::size_t>(target.width) * target.height);
    ErrorCarry carry(target.dither, kOrderedAmplitude, target.pixels, target.width);
    for (int y = 0; y < target.height; ++y) {
        for (int x0 = 0; x0 < target.width; x0 += kYjkGroup) {
            GroupTarget group;
            bool allZero = true;
            for (int i = 0; i < kYjkGroup; ++i) {
                const std::size_t p = target.at(x0 + i, y);
                allZero = allZero && target.zero[p] != 0;
                group.set(i,
                          target.zero[p] != 0 ? Lab{} : carry.wanted(target.pixels[p], x0 + i, y));
            }
            if (allZero) {
                continue; // black: every byte 0
            }
            const GroupChoice best = bestGroup(group, group.meanChroma({true, true, true, true}),
                                               {kJkReach, 1, blueRounding});
            const std::array<std::uint8_t, kYjkGroup> low = chromaBits(best.j, best.k);
            for (int i = 0; i < kYjkGroup; ++i) {
                const std::size_t p = target.at(x0 + i, y);
                vram[p] = static_cast<std::uint8_t>(best.y[i] << 3 | low[i]);
                if (target.zero[p] == 0) {
                    carry.carry(x0 + i,
                                group.colour(i) -
                                    colours[yjkIndex(best.y[i], best.j, best.k, blueRounding)]);
                }
            }
        }
        carry.nextRow();
    }
    if (target.dither == Dither::eye) {
        refineYForEye(target, vram, blueRounding);
    }
    return BitmapLines{std::move(vram), std::nullopt};
}

} // namespace tessarin
