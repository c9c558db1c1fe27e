#pragma once

// The YJK screens' colours (10, 11 and 12) and the search for a group's J, K and Ys.
#include "convert/oklab.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <utility>

namespace tessarin {

inline constexpr int kYjkGroup = 4;   // pixels sharing one J and K
inline constexpr int kYjkLevels = 32; // Y, and each 5-bit channel
inline constexpr int kMinJk = -32;    // J and K are six bits, signed
inline constexpr int kMaxJk = 31;
inline constexpr int kJkLevels = kMaxJk - kMinJk + 1;

// Every 5-bit colour in Oklab, index (red << 10) | (green << 5) | blue; the same in every
// model.
[[nodiscard]] std::span<const Lab> channelColours();

// The index in channelColours of the colour the VDP shows for Y, J and K: red Y + J, green
// Y + K, blue (5Y - 2J - K) / 4 rounded as the model does, each clamped to 0..31. Inline:
// the group search takes it hundreds of times a group.
[[nodiscard]] inline std::size_t yjkIndex(int y, int j, int k, int blueRounding) {
    const auto level = [](int v) { return std::clamp(v, 0, kYjkLevels - 1); };
    const int r = level(y + j);
    const int g = level(y + k);
    const int b = level((5 * y - 2 * j - k + blueRounding) / 4);
    return static_cast<std::size_t>(r << 10 | g << 5 | b);
}

// J and K's place among the 64 x 64 pairs: (J + 32) * 64 + K + 32.
[[nodiscard]] std::size_t chromaIndex(int j, int k);

// The low three bits of a group's four bytes: K's low and high three bits in bytes 0 and 1,
// J's in bytes 2 and 3.
[[nodiscard]] std::array<std::uint8_t, kYjkGroup> chromaBits(int j, int k);
// J and K of a group's four bytes, as chromaBits lays them.
[[nodiscard]] std::pair<int, int> chromaOf(std::span<const std::uint8_t, kYjkGroup> group);

// What a group's pixels want. A pixel may have a colour other than the YJK ones (screen
// 10's palette): its squared distance is otherError, and a pixel fixed to it (colour 0's)
// has 0 there and its chroma no weight.
class GroupTarget {
public:
    // Pixel i wants colour, or no YJK colour nearer than otherError.
    void set(int i, Lab colour, float otherError = std::numeric_limits<float>::max());
    // Pixel i is fixed to its other colour.
    void fix(int i);

    // The mean J and K (rounded) of the pixels of mask that are not fixed.
    [[nodiscard]] std::pair<int, int> meanChroma(std::array<bool, kYjkGroup> mask) const;
    [[nodiscard]] bool allFixed() const;

    [[nodiscard]] Lab colour(int i) const { return lab_[i]; }
    [[nodiscard]] const std::array<float, 3>& levels(int i) const { return levels_[i]; }
    [[nodiscard]] float otherError(int i) const { return otherError_[i]; }

private:
    std::array<Lab, kYjkGroup> lab_{};
    std::array<std::array<float, 3>, kYjkGroup> levels_{}; // red, green and blue, 0 to 31
    std::array<float, kYjkGroup> otherError_{};
    std::array<bool, kYjkGroup> fixed_{};
};

inline constexpr int kOtherColour = -1;

// A group's J and K and each pixel's Y (kOtherColour where its other colour is nearer),
// with their summed squared distance from what the pixels want.
struct GroupChoice {
    int j = 0;
    int k = 0;
    std::array<int, kYjkGroup> y{};
    float error = std::numeric_limits<float>::max();
};

// How far bestGroup looks.
struct GroupSearch {
    int jkReach = 0;      // J and K tried up to this far from the mean each
    int yStep = 1;        // the Ys a pixel may take are its multiples
    int blueRounding = 0; // the model's (ColourLevels)
};

// The J and K within search.jkReach of chroma and each pixel's Y or its other colour, for
// the least summed error.
[[nodiscard]] GroupChoice bestGroup(const GroupTarget& group, std::pair<int, int> chroma,
                                    const GroupSearch& search);

} // namespace tessarin
