// Screens 10 and 11: screen 12's groups, where a byte whose Y field is odd shows the
// palette colour of its high nibble instead of a YJK colour.
#include "convert/eye_dither.h"
#include "convert/lattice_palette.h"
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

constexpr float kOrderedAmplitude = 0.06F;        // a step between two even Ys
constexpr float kPaletteOrderedAmplitude = 0.10F; // the palette's choice dithers sixteen colours
constexpr int kYStep = 2;                         // a YJK pixel has only the even Ys
// J and K tried around the mean: farther than 1 measured no nearer (0.02 of CIEDE2000) at
// four times the time.
constexpr int kJkReach = 1;
// Byte layout: bits 7-3 the Y field; bit 3 set, bits 7-4 a palette entry; bits 2-0 the
// group's J and K.
constexpr int kYShift = 3;
constexpr int kEntryShift = 4;
constexpr std::uint8_t kPaletteBit = 0x08;
constexpr std::uint8_t kChromaMask = 0x07;
// Only the even Ys: a step between two is twice screen 12's, which a dither of the two
// makes up for as seen from a distance (1.5 against 2.5 took the blurred error down by up to
// a fifth for at most a tenth more pixel by pixel).
constexpr float kEyePixelWeight = 1.5F;
// The eye's colour table: per J and K, the 16 palette entries and then the 16 even Ys.
constexpr std::uint32_t kChoices = 2 * kPaletteColours;

// The sixteen entries in Oklab, as the model shows them.
std::array<Lab, kPaletteColours> paletteColours(const LatticePalette& palette, ColourModel model) {
    std::array<Lab, kPaletteColours> colours{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const PaletteLevels& e = palette.entries[i];
        colours[i] = latticeColour(e.red, e.green, e.blue, model);
    }
    return colours;
}

// The palette chosen on the whole picture, in the colours model shows. Choosing it on the
// pixels YJK misses alone (weighted by how far) measured no nearer.
LatticePalette paletteFor(const ScreenTarget& target, ColourModel model, int first) {
    if (model == target.model) {
        return chooseLatticePalette(target, kPaletteColours, first, kPaletteOrderedAmplitude);
    }
    ScreenTarget shown = target;
    shown.model = model;
    return chooseLatticePalette(shown, kPaletteColours, first, kPaletteOrderedAmplitude);
}

// The nearest entry from first on to colour, and its squared distance.
std::pair<int, float> nearestEntry(std::span<const Lab, kPaletteColours> palette, int first,
                                   Lab colour) {
    std::pair<int, float> best{first, std::numeric_limits<float>::max()};
    for (int e = first; e < kPaletteColours; ++e) {
        if (const float d = distance2(palette[e], colour); d < best.second) {
            best = {e, d};
        }
    }
    return best;
}

std::uint8_t paletteByte(int entry) {
    return static_cast<std::uint8_t>(entry << kEntryShift | kPaletteBit);
}

// Each pixel's colour refined for the eye, its group's J and K kept. The colours are laid
// kChoices to each J and K the groups use, the entries and then the Ys / 2, so that the
// choices of a pixel are those of its block (the entries from first on).
void refineChoicesForEye(const ScreenTarget& target, std::span<std::uint8_t> vram,
                         std::span<const Lab, kPaletteColours> palette, int first,
                         int blueRounding) {
    const std::span<const Lab> colours = channelColours();
    constexpr std::uint32_t kUnused = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> blockOf(static_cast<std::size_t>(kJkLevels * kJkLevels), kUnused);
    std::vector<Lab> table;
    std::vector<std::uint32_t> indices(vram.size());
    for (std::size_t g = 0; g < vram.size(); g += kYjkGroup) {
        const auto [j, k] = chromaOf(vram.subspan(g).first<kYjkGroup>());
        std::uint32_t& block = blockOf[chromaIndex(j, k)];
        if (block == kUnused) {
            block = static_cast<std::uint32_t>(table.size() / kChoices);
            table.insert(table.end(), palette.begin(), palette.end());
            for (int c = 0; c < kPaletteColours; ++c) {
                table.push_back(colours[yjkIndex(kYStep * c, j, k, blueRounding)]);
            }
        }
        for (std::size_t i = g; i < g + kYjkGroup; ++i) {
            // A palette byte's high nibble is its entry, a YJK byte's its Y / 2.
            const auto nibble = static_cast<std::uint32_t>(vram[i] >> kEntryShift);
            indices[i] = block * kChoices +
                         ((vram[i] & kPaletteBit) != 0 ? nibble : kPaletteColours + nibble);
        }
    }
    std::vector<std::uint32_t> all(table.size());
    std::iota(all.begin(), all.end(), 0U);
    const auto firstChoice = static_cast<std::size_t>(first);
    indices = refineForEye(
        target, table, std::move(indices),
        [&](std::size_t, std::uint32_t colour) {
            return std::span(all).subspan(colour / kChoices * kChoices + firstChoice,
                                          kChoices - firstChoice);
        },
        kEyePixelWeight);
    for (std::size_t i = 0; i < vram.size(); ++i) {
        const auto c = static_cast<int>(indices[i] % kChoices);
        const auto chroma = static_cast<std::uint8_t>(vram[i] & kChromaMask);
        vram[i] = static_cast<std::uint8_t>(
            (c < kPaletteColours ? paletteByte(c) : (kYStep * (c - kPaletteColours)) << kYShift) |
            chroma);
    }
}

} // namespace

BitmapLines encodeScreen10(const ScreenTarget& target) {
    const ColourModel model = shownColourModel(target.model, ScreenMode::screen10);
    const int blueRounding = colourLevels(model).blueRounding;
    const GroupSearch search{kJkReach, kYStep, blueRounding};
    const int first = firstFreeEntry(target);
    const LatticePalette chosen = paletteFor(target, model, first);
    const std::array<Lab, kPaletteColours> palette = paletteColours(chosen, model);
    const std::span<const Lab> colours = channelColours();
    std::vector<std::uint8_t> vram(static_cast<std::size_t>(target.width) * target.height);
    ErrorCarry carry(target.dither, kOrderedAmplitude, target.pixels, target.width);
    for (int y = 0; y < target.height; ++y) {
        for (int x0 = 0; x0 < target.width; x0 += kYjkGroup) {
            GroupTarget group;
            std::array<int, kYjkGroup> entry{}; // colour 0's pixels entry 0
            for (int i = 0; i < kYjkGroup; ++i) {
                const std::size_t p = target.at(x0 + i, y);
                if (target.zero[p] != 0) {
                    group.fix(i);
                    continue;
                }
                const Lab wanted = carry.wanted(target.pixels[p], x0 + i, y);
                const auto [e, d] = nearestEntry(palette, first, wanted);
                entry[i] = e;
                group.set(i, wanted, d);
            }
            if (group.allFixed()) {
                std::fill_n(vram.begin() + static_cast<std::ptrdiff_t>(target.at(x0, y)), kYjkGroup,
                            paletteByte(0)); // J and K 0
                continue;
            }
            GroupChoice best = bestGroup(group, group.meanChroma({true, true, true, true}), search);
            // Where some pixels took the palette, J and K may follow the others closer.
            std::array<bool, kYjkGroup> yjk{};
            std::ranges::transform(best.y, yjk.begin(), [](int v) { return v != kOtherColour; });
            if (std::ranges::count(yjk, true) % kYjkGroup != 0) {
                const GroupChoice other = bestGroup(group, group.meanChroma(yjk), search);
                best = other.error < best.error ? other : best;
            }
            const std::array<std::uint8_t, kYjkGroup> low = chromaBits(best.j, best.k);
            for (int i = 0; i < kYjkGroup; ++i) {
                const std::size_t p = target.at(x0 + i, y);
                const bool fromPalette = best.y[i] == kOtherColour;
                vram[p] = static_cast<std::uint8_t>(
                    (fromPalette ? paletteByte(entry[i]) : best.y[i] << kYShift) | low[i]);
                if (target.zero[p] == 0) {
                    const Lab shown =
                        fromPalette ? palette[entry[i]]
                                    : colours[yjkIndex(best.y[i], best.j, best.k, blueRounding)];
                    carry.carry(x0 + i, group.colour(i) - shown);
                }
            }
        }
        carry.nextRow();
    }
    if (target.dither == Dither::eye) {
        refineChoicesForEye(target, vram, palette, first, blueRounding);
    }
    return BitmapLines{std::move(vram), chosen.table()};
}

} // namespace tessarin
