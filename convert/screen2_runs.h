#pragma once

// Screen 2's 8x1 runs: the pair of colours a run takes, for the encoder and for the
// sprites placed over it.

#include "convert/ciede2000.h"
#include "vdp/pattern_layout.h"

#include <array>

namespace tessarin::screen2 {

inline constexpr int kRun = kCellPixels; // a run is one line of a cell's pattern
inline constexpr int kColours = 16;

struct Pair {
    int foreground;
    int background;
};

// The fifteen colours lie far apart, where a difference in Oklab counts a lost chroma
// above a lost hue and turns a photo's dark purples black or grey; the choices here go by
// CIEDE2000 instead.
using Differences = std::array<double, kColours>;
using Colours = std::array<CieLab, kColours>;

// A colour's difference from each of colours 1 to 15 (colour 0's is unused).
[[nodiscard]] Differences differencesOf(Lab wanted, const Colours& colours);

// Whether a pixel takes the pair's background, given its difference from each: the nearer
// one, but never colour 0, which is for colour 0's pixels alone.
[[nodiscard]] inline bool takesBackground(Pair pair, double toBackground, double toForeground) {
    return pair.background != 0 && toBackground < toForeground;
}

// A run's eight pixels: each one's difference from each colour as it stands before the
// run, which are colour 0, and which a sprite covers (left out of the choice).
struct Run {
    std::array<Differences, kRun> differences{};
    std::array<bool, kRun> zero{};
    std::array<bool, kRun> covered{};
};

// A run's pair and the summed difference of the pixels no sprite covers.
struct Choice {
    Pair pair;
    double error;
};

// The pair with the least summed difference over the pixels no sprite covers, each pixel
// taking its nearer colour, or sprite colour third (0: none) where that is nearer still; a
// run with colour 0's pixels has colour 0 as its background.
[[nodiscard]] Choice bestChoice(const Run& run, int third);
[[nodiscard]] inline Pair bestPair(const Run& run) {
    return bestChoice(run, 0).pair;
}

// The colour of the pair pixel i of the run takes (under a sprite too): colour 0's pixels
// the background, which is then colour 0.
[[nodiscard]] inline int pairColour(const Run& run, int i, Pair pair) {
    const Differences& d = run.differences[i];
    return run.zero[i] || takesBackground(pair, d[pair.background], d[pair.foreground])
               ? pair.background
               : pair.foreground;
}

} // namespace tessarin::screen2
