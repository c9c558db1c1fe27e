// Screens 2 and 4: 8x1 runs of two colours, from pattern and colour tables in three thirds.
#include "convert/ciede2000.h"
#include "convert/msx_encoders.h"
#include "vdp/basic_screen.h"
#include "vdp/pattern_layout.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

#include <algorithm>
#include <array>
#include <limits>

namespace tessarin {

namespace {

constexpr int kRun = kCellPixels; // a run is one line of a cell's pattern
constexpr int kColours = 16;
constexpr float kOrderedAmplitude = 0.12F;
constexpr std::size_t kEnd = kGraphicColours + 3 * kThirdSize; // a file to 37FFh

struct Pair {
    int foreground;
    int background;
};

// The fifteen colours lie far apart, where a difference in Oklab counts a lost chroma
// above a lost hue and turns a photo's dark purples black or grey; the choices here go by
// CIEDE2000 instead.
using Differences = std::array<double, kColours>;

Differences differencesOf(Lab wanted, const std::array<CieLab, kColours>& colours) {
    const CieLab w = cieLabOf(wanted);
    Differences d{};
    for (int c = 1; c < kColours; ++c) {
        d[c] = ciede2000(w, colours[c]);
    }
    return d;
}

// Whether a pixel takes the pair's background, given its difference from each: the nearer
// one, but never colour 0, which is for colour 0's pixels alone.
bool takesBackground(Pair pair, double toBackground, double toForeground) {
    return pair.background != 0 && toBackground < toForeground;
}

// A run's eight pixels: each one's difference from each colour as it stands before the
// run (with the error carried from earlier runs and rows), and which are colour 0.
struct Run {
    std::array<Differences, kRun> differences{};
    std::array<bool, kRun> zero{};
};

// The pair with the least summed difference, each pixel taking its nearer colour.
Pair bestPair(const Run& run) {
    const bool anyZero = std::ranges::any_of(run.zero, [](bool z) { return z; });
    Pair best{1, 1};
    double bestError = std::numeric_limits<double>::max();
    // Colour 0 shows through; the run's other pixels share one colour of 1 to 15.
    for (int f = 1; f < kColours; ++f) {
        for (int b = anyZero ? 0 : f; b <= (anyZero ? 0 : kColours - 1); ++b) {
            double e = 0;
            for (int i = 0; i < kRun; ++i) {
                const Differences& d = run.differences[i];
                e += run.zero[i] ? 0.0 : d[takesBackground({f, b}, d[b], d[f]) ? b : f];
            }
            if (e < bestError) {
                bestError = e;
                best = {f, b};
            }
        }
    }
    return best;
}

} // namespace

std::vector<std::uint8_t> encodeGraphicScreen(const ScreenTarget& target, ScreenMode mode,
                                              const PaletteRecord& palette) {
    std::array<Lab, kColours> colours{};
    std::array<CieLab, kColours> cieColours{};
    for (int i = 0; i < kColours; ++i) {
        colours[i] = entryColour(palette, i, target.model);
        cieColours[i] = cieLabOf(colours[i]);
    }
    // As SCREEN 2 or 4 leaves it: each cell its own pattern, the sprites hidden.
    std::vector<std::uint8_t> vram(kVramSize);
    fillAsBasicScreen(mode, std::span<std::uint8_t, kVramSize>(vram));
    vram.resize(kEnd);
    std::ranges::copy(palette, vram.begin() + findScreenMode(mode)->paletteTable);

    ErrorCarry carry(target.dither, kOrderedAmplitude, target.pixels, target.width);
    for (int y = 0; y < target.height; ++y) {
        for (int x0 = 0; x0 < target.width; x0 += kRun) {
            Run run;
            for (int i = 0; i < kRun; ++i) {
                const std::size_t p = target.at(x0 + i, y);
                run.zero[i] = target.zero[p] != 0;
                run.differences[i] =
                    differencesOf(carry.wanted(target.pixels[p], x0 + i, y), cieColours);
            }
            const Pair pair = bestPair(run);
            std::uint8_t pattern = 0;
            for (int i = 0; i < kRun; ++i) {
                if (run.zero[i]) {
                    continue;
                }
                // The chosen run again, its error carried on to the next run and row.
                const Lab wanted = carry.wanted(target.pixels[target.at(x0 + i, y)], x0 + i, y);
                const CieLab w = cieLabOf(wanted);
                const bool fore = !takesBackground(pair, ciede2000(w, cieColours[pair.background]),
                                                   ciede2000(w, cieColours[pair.foreground]));
                pattern |= static_cast<std::uint8_t>(fore ? 0x80 >> i : 0);
                carry.carry(x0 + i, wanted - colours[fore ? pair.foreground : pair.background]);
            }
            // Cell (x0 / 8, y / 8) of the line's third, its line y % 8.
            const auto offset =
                static_cast<std::uint32_t>(y / kThirdLines) * kThirdSize +
                static_cast<std::uint32_t>(((y % kThirdLines) / kCellPixels) * kNameColumns +
                                           x0 / kCellPixels) *
                    kCellPixels +
                static_cast<std::uint32_t>(y % 8);
            vram[kGraphicPatterns + offset] = pattern;
            vram[kGraphicColours + offset] =
                static_cast<std::uint8_t>(pair.foreground << 4 | pair.background);
        }
        carry.nextRow();
    }
    return vram;
}

std::vector<std::uint8_t> encodeScreen2(const ScreenTarget& target) {
    return encodeGraphicScreen(target, ScreenMode::screen2, standardPalette(target.model));
}

} // namespace tessarin
