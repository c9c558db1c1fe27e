// Screen 2: 8x1 runs of two colours, from pattern and colour tables in three thirds.
#include "image/msx_encoders.h"
#include "vdp/basic_screen.h"
#include "vdp/pattern_layout.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

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

// A run's eight pixels: what each wants, and which are colour 0.
struct Run {
    std::array<Lab, kRun> target{};
    std::array<bool, kRun> zero{};
};

// Whether a pixel that wants a colour takes the pair's background: the nearer one, but
// never colour 0, which is for colour 0's pixels alone.
bool takesBackground(const std::array<Lab, kColours>& colours, Pair pair, Lab wanted) {
    return pair.background != 0 && distance2(colours[pair.background], wanted) <
                                       distance2(colours[pair.foreground], wanted);
}

// The run's error with the pair, each pixel its nearer colour with the error of those
// before carried into it as diffusion would.
float runError(const Run& run, const std::array<Lab, kColours>& colours, Pair pair, bool carry) {
    float total = 0;
    Lab error;
    for (int i = 0; i < kRun; ++i) {
        if (run.zero[i]) {
            continue;
        }
        const Lab wanted = run.target[i] + error * (carry ? 7.0F / 16 : 0.0F);
        const int given =
            takesBackground(colours, pair, wanted) ? pair.background : pair.foreground;
        total += distance2(colours[given], wanted);
        error = wanted - colours[given];
    }
    return total;
}

Pair bestPair(const Run& run, const std::array<Lab, kColours>& colours, bool carry) {
    bool anyZero = false;
    for (const bool z : run.zero) {
        anyZero = anyZero || z;
    }
    Pair best{1, 1};
    float bestError = std::numeric_limits<float>::max();
    // Colour 0 shows through; the run's other pixels share one colour of 1 to 15.
    for (int f = 1; f < kColours; ++f) {
        for (int b = anyZero ? 0 : f; b <= (anyZero ? 0 : kColours - 1); ++b) {
            const float e = runError(run, colours, {f, b}, carry);
            if (e < bestError) {
                bestError = e;
                best = {f, b};
            }
        }
    }
    return best;
}

} // namespace

std::vector<std::uint8_t> encodeScreen2(const ScreenTarget& target) {
    const PaletteRecord& standard = standardPalette(target.model);
    std::array<Lab, kColours> colours{};
    for (int i = 0; i < kColours; ++i) {
        colours[i] = latticeColour(standard[2 * i] >> 4, standard[2 * i + 1] & 7,
                                   standard[2 * i] & 7, target.model);
    }
    // As SCREEN 2 leaves it: each cell its own pattern, the sprites hidden.
    std::vector<std::uint8_t> vram(kVramSize);
    fillAsBasicScreen(ScreenMode::screen2, std::span<std::uint8_t, kVramSize>(vram));
    vram.resize(kEnd);
    const std::uint32_t palette = kModeFacts<ScreenMode::screen2>.paletteTable;
    std::ranges::copy(standard, vram.begin() + palette);

    const bool diffuse = target.dither == Dither::diffuse;
    ErrorCarry carry(target.dither, kOrderedAmplitude, target.pixels, target.width);
    for (int y = 0; y < target.height; ++y) {
        for (int x0 = 0; x0 < target.width; x0 += kRun) {
            Run run;
            for (int i = 0; i < kRun; ++i) {
                const std::size_t p = target.at(x0 + i, y);
                run.zero[i] = target.zero[p] != 0;
                run.target[i] = carry.wanted(target.pixels[p], x0 + i, y);
            }
            const Pair pair = bestPair(run, colours, diffuse);
            std::uint8_t pattern = 0;
            for (int i = 0; i < kRun; ++i) {
                if (run.zero[i]) {
                    continue;
                }
                // The chosen run again, its error carried on to the next run and row.
                const Lab wanted = carry.wanted(target.pixels[target.at(x0 + i, y)], x0 + i, y);
                const bool fore = !takesBackground(colours, pair, wanted);
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

} // namespace tessarin
