// Screens 5 and 7: sixteen colours chosen in the palette's own 512-colour lattice.
#include "convert/eye_dither.h"
#include "convert/msx_encoders.h"
#include "vdp/basic_screen.h"
#include "vdp/palette_entry.h"
#include "vdp/screen_modes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

namespace tessarin {

namespace {

constexpr int kColours = 16;
constexpr int kLatticeLevels = 8;
constexpr int kLatticeSize = kLatticeLevels * kLatticeLevels * kLatticeLevels;
constexpr int kBinBits = 5; // the colours are first counted in 32 levels a channel
constexpr int kBins = 1 << (3 * kBinBits);
constexpr int kClusterRounds = 12;
constexpr int kDitherRounds = 4;
constexpr int kLatticePasses = 8; // each pass moves an entry at most one level a channel
constexpr float kOrderedAmplitude = 0.10F;
// Sixteen colours lie far apart: a pixel dithered to another is much farther off.
constexpr float kEyePixelWeight = 2.5F;

// A lattice colour's index: (red << 6) | (green << 3) | blue.
PaletteLevels levelsAt(int index) {
    return {index >> 6, (index >> 3) & kLevelMask, index & kLevelMask};
}

int indexOf(PaletteLevels c) {
    return (c.red << 6) | (c.green << 3) | c.blue;
}

struct Lattice {
    std::array<Lab, kLatticeSize> colours; // by index
};

Lattice latticeOf(ColourModel model) {
    Lattice lattice{};
    for (int i = 0; i < kLatticeSize; ++i) {
        const PaletteLevels c = levelsAt(i);
        lattice.colours[i] = latticeColour(c.red, c.green, c.blue, model);
    }
    return lattice;
}

int nearestIn(std::span<const Lab> colours, Lab c, int first = 0) {
    int best = first;
    float bestDistance = std::numeric_limits<float>::max();
    for (int i = first; i < static_cast<int>(colours.size()); ++i) {
        const float d = distance2(colours[i], c);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

struct Palette {
    std::array<int, kColours> entries{}; // lattice indices
    std::array<Lab, kColours> colours{};
};

void setEntry(Palette& palette, const Lattice& lattice, int i, int latticeIndex) {
    palette.entries[i] = latticeIndex;
    palette.colours[i] = lattice.colours[latticeIndex];
}

// The colours counted in bins: each bin's weight and the sum of its pixels.
struct Bin {
    float weight = 0;
    Lab sum;
};

// The target's colours counted in bins of 32 levels a channel: each used bin's weight
// and the mean of its pixels. Colour 0's pixels are left out.
std::vector<Bin> binsOf(const ScreenTarget& target) {
    std::vector<Bin> bins(kBins);
    for (std::size_t i = 0; i < target.pixels.size(); ++i) {
        if (target.zero[i] != 0) {
            continue;
        }
        const UnroundedRgb rgb = srgbOf(target.pixels[i]);
        const auto level = [](float v) { return std::clamp(static_cast<int>(v) >> 3, 0, 31); };
        Bin& bin = bins[static_cast<std::size_t>((level(rgb.red) << 10) | (level(rgb.green) << 5) |
                                                 level(rgb.blue))];
        bin.weight += 1;
        bin.sum = bin.sum + target.pixels[i];
    }
    std::vector<Bin> used;
    for (const Bin& bin : bins) {
        if (bin.weight > 0) {
            used.push_back({bin.weight, bin.sum * (1.0F / bin.weight)});
        }
    }
    return used;
}

// A first palette: weighted k-means over the bins, seeded by the heaviest bin and then
// by the bins farthest from the seeds so far, each centre then snapped to the lattice.
Palette clusteredPalette(std::span<const Bin> used, const Lattice& lattice, int first) {
    Palette palette;
    if (used.empty()) {
        for (int i = first; i < kColours; ++i) {
            setEntry(palette, lattice, i, 0);
        }
        return palette;
    }
    const int wanted = kColours - first;
    std::vector<Lab> centres{std::ranges::max(used, {}, &Bin::weight).sum};
    std::vector<float> nearest(used.size(), std::numeric_limits<float>::max());
    while (static_cast<int>(centres.size()) < wanted) {
        std::size_t far = 0;
        float farthest = -1;
        for (std::size_t b = 0; b < used.size(); ++b) {
            nearest[b] = std::min(nearest[b], distance2(used[b].sum, centres.back()));
            const float score = nearest[b] * std::sqrt(used[b].weight);
            if (score > farthest) {
                farthest = score;
                far = b;
            }
        }
        centres.push_back(used[far].sum);
    }
    for (int round = 0; round < kClusterRounds; ++round) {
        std::vector<Bin> sums(centres.size());
        for (const Bin& bin : used) {
            Bin& s = sums[static_cast<std::size_t>(nearestIn(centres, bin.sum))];
            s.weight += bin.weight;
            s.sum = s.sum + bin.sum * bin.weight;
        }
        for (std::size_t c = 0; c < centres.size(); ++c) {
            if (sums[c].weight > 0) {
                centres[c] = sums[c].sum * (1.0F / sums[c].weight);
            }
        }
    }
    for (int i = first; i < kColours; ++i) {
        setEntry(palette, lattice, i, nearestIn(lattice.colours, centres[i - first]));
    }
    return palette;
}

// The lattice colours one level up or down in any channel from index e: up to 26.
std::vector<int> neighboursOf(int e) {
    std::vector<int> near;
    const PaletteLevels from = levelsAt(e);
    const std::array<int, 3> at{from.red, from.green, from.blue};
    for (int step = 0; step < 27; ++step) {
        const std::array<int, 3> by{step / 9 - 1, step / 3 % 3 - 1, step % 3 - 1};
        std::array<int, 3> to{};
        bool inside = by != std::array{0, 0, 0};
        for (std::size_t c = 0; c < 3; ++c) {
            to[c] = at[c] + by[c];
            inside = inside && to[c] >= 0 && to[c] < kLatticeLevels;
        }
        if (inside) {
            near.push_back(indexOf({to[0], to[1], to[2]}));
        }
    }
    return near;
}

// The palette walked through the lattice: each entry tries its 26 neighbours (one level
// up or down in any channel) and keeps one that lowers the summed distance of the bins to
// their nearest entries, until no step helps. Snapping the k-means centres one by one
// leaves entries that a step together with the others improves.
void refineInLattice(Palette& palette, std::span<const Bin> used, const Lattice& lattice,
                     int first) {
    // Each bin's nearest and second-nearest entry: the error without entry i is then the
    // second's wherever i is the nearest.
    struct Nearest {
        int best = 0;
        float bestDistance = 0;
        float secondDistance = 0;
    };
    std::vector<Nearest> near(used.size());
    const auto measure = [&] {
        for (std::size_t b = 0; b < used.size(); ++b) {
            Nearest n{first, std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
            for (int i = first; i < kColours; ++i) {
                const float d = std::sqrt(distance2(palette.colours[i], used[b].sum));
                if (d < n.bestDistance) {
                    n = {i, d, n.bestDistance};
                } else if (d < n.secondDistance) {
                    n.secondDistance = d;
                }
            }
            near[b] = n;
        }
    };
    measure();
    for (int pass = 0; pass < kLatticePasses; ++pass) {
        bool moved = false;
        for (int i = first; i < kColours; ++i) {
            // The summed distance with entry i as colour c.
            const auto errorWith = [&](Lab c) {
                double error = 0;
                for (std::size_t b = 0; b < used.size(); ++b) {
                    const float others =
                        near[b].best == i ? near[b].secondDistance : near[b].bestDistance;
                    error +=
                        used[b].weight * std::min(others, std::sqrt(distance2(c, used[b].sum)));
                }
                return error;
            };
            int bestStep = palette.entries[i];
            double bestError = errorWith(palette.colours[i]);
            for (const int step : neighboursOf(palette.entries[i])) {
                if (const double error = errorWith(lattice.colours[step]); error < bestError) {
                    bestError = error;
                    bestStep = step;
                }
            }
            if (bestStep != palette.entries[i]) {
                setEntry(palette, lattice, i, bestStep);
                measure();
                moved = true;
            }
        }
        if (!moved) {
            break;
        }
    }
}

// The picture in the palette's colours, dithered: each pixel's index, and per palette
// entry what its pixels wanted on average. Returns the summed difference from the target.
struct Quantised {
    std::vector<std::uint8_t> indices;
    std::array<Bin, kColours> wanted{};
    double error = 0;
};

Quantised quantise(const ScreenTarget& target, const Palette& palette, int first) {
    Quantised q;
    q.indices.resize(target.pixels.size());
    ErrorCarry carry(target.dither, kOrderedAmplitude, target.pixels, target.width);
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            const std::size_t i = target.at(x, y);
            if (target.zero[i] != 0) {
                q.indices[i] = 0;
                continue;
            }
            const Lab wanted = carry.wanted(target.pixels[i], x, y);
            const int index = nearestIn(palette.colours, wanted, first);
            q.indices[i] = static_cast<std::uint8_t>(index);
            carry.carry(x, wanted - palette.colours[index]);
            q.wanted[index].weight += 1;
            q.wanted[index].sum = q.wanted[index].sum + wanted;
            q.error += std::sqrt(distance2(target.pixels[i], palette.colours[index]));
        }
        carry.nextRow();
    }
    return q;
}

} // namespace

std::vector<std::uint8_t> encodeScreen5or7(const ScreenTarget& target, ScreenMode mode) {
    const ScreenModeFacts& facts = *findScreenMode(mode);
    const Lattice lattice = latticeOf(target.model);
    // Colour 0 stays black for the letterbox and the transparent pixels.
    const bool zeroUsed = std::ranges::any_of(target.zero, [](std::uint8_t z) { return z != 0; });
    const int first = zeroUsed || target.zeroReserved ? 1 : 0;
    const std::vector<Bin> used = binsOf(target);
    Palette palette = clusteredPalette(used, lattice, first);
    refineInLattice(palette, used, lattice, first);
    Quantised best = quantise(target, palette, first);
    Palette bestPalette = palette;
    // Each entry moved to what its pixels wanted once dithered, in the lattice.
    for (int round = 0; round < kDitherRounds; ++round) {
        for (int i = first; i < kColours; ++i) {
            const Bin& w = best.wanted[i];
            if (w.weight > 0) {
                setEntry(palette, lattice, i,
                         nearestIn(lattice.colours, w.sum * (1.0F / w.weight)));
            }
        }
        Quantised next = quantise(target, palette, first);
        if (next.error >= best.error) {
            break;
        }
        best = std::move(next);
        bestPalette = palette;
    }

    if (target.dither == Dither::eye) {
        const std::vector<std::uint32_t> eye =
            ditherForEye(target, bestPalette.colours, first, kEyePixelWeight);
        std::ranges::copy(eye, best.indices.begin());
    }
    std::vector<std::uint8_t> vram(facts.paletteTable + 2 * kColours);
    for (int y = 0; y < target.height; ++y) {
        std::uint8_t* line = &vram[static_cast<std::size_t>(y) * facts.bytesPerLine];
        for (int x = 0; x < target.width; x += 2) {
            line[x / 2] = static_cast<std::uint8_t>(best.indices[target.at(x, y)] << 4 |
                                                    best.indices[target.at(x + 1, y)]);
        }
    }
    // The first sprite's Y ends the sprites shown, so that BLOAD shows only the picture.
    vram.at(facts.spriteAttributes) = spriteListEnd(facts.spriteMode);
    for (int i = 0; i < kColours; ++i) {
        std::ranges::copy(entryBytesOf(levelsAt(bestPalette.entries[i])),
                          vram.begin() + facts.paletteTable + 2 * i);
    }
    return vram;
}

} // namespace tessarin
