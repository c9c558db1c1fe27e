#include "convert/screen2_sprites.h"

#include <algorithm>
#include <utility>

namespace tessarin::screen2 {

namespace {

constexpr std::uint16_t kLeftBit = 0x8000;
constexpr int kSpriteRuns = kSpriteSide / kRun; // a sprite at a run's start covers two a line

// A sprite not yet placed: its first run column and line, its colour, and what it would
// lower the error by.
struct Candidate {
    int column = 0;
    int top = 0;
    int colour = 0;
    double gain = 0;
};

// The sprites start where runs start, so that each run under one holds three colours, its
// pair and the sprite's, and what a sprite gains is known run by run: the run's least
// error without it less its least error with the sprite's colour at any pixel no sprite in
// front takes.
class Placement {
public:
    Placement(int width, int height, std::span<const Differences> differences,
              std::span<const std::uint8_t> zero)
        : columns_(width / kRun), height_(height), differences_(differences), zero_(zero),
          cover_(differences.size(), 0), gains_(runIndex(0, height) * kColours, 0),
          sums_((static_cast<std::size_t>(height) + 1) * static_cast<std::size_t>(columns_), 0),
          lineSprites_(static_cast<std::size_t>(height), 0) {
        for (int y = 0; y < height_; ++y) {
            for (int column = 0; column < columns_; ++column) {
                weighRun(column, y);
            }
        }
    }

    // The sprite that lowers the error most where its lines still have room for one; no
    // gain when none lowers it.
    [[nodiscard]] Candidate best() {
        Candidate best;
        for (int c = 1; c < kColours; ++c) {
            sumGains(c);
            for (int top = 0; top + kSpriteSide <= height_; ++top) {
                if (!roomAt(top)) {
                    continue;
                }
                for (int column = 0; column + kSpriteRuns <= columns_; ++column) {
                    double gain = 0;
                    for (int r = column; r < column + kSpriteRuns; ++r) {
                        gain += sums_[sumAt(r, top + kSpriteSide)] - sums_[sumAt(r, top)];
                    }
                    if (gain > best.gain) {
                        best = {column, top, c, gain};
                    }
                }
            }
        }
        return best;
    }

    // Places the candidate as the next sprite: each run under it takes its best pair with
    // the sprite's colour, the sprite the pixels it is nearer there than the pair.
    PlacedSprite place(const Candidate& candidate) {
        PlacedSprite sprite{candidate.column * kRun, candidate.top, candidate.colour, {}};
        for (int dy = 0; dy < kSpriteSide; ++dy) {
            const int y = sprite.top + dy;
            for (int r = 0; r < kSpriteRuns; ++r) {
                const Run run = runAt(candidate.column + r, y);
                const Pair pair = bestChoice(run, sprite.colour).pair;
                for (int i = 0; i < kRun; ++i) {
                    const Differences& d = run.differences[i];
                    if (run.zero[i] || run.covered[i] ||
                        d[sprite.colour] >= d[pairColour(run, i, pair)]) {
                        continue;
                    }
                    sprite.rows[dy] |= static_cast<std::uint16_t>(kLeftBit >> (r * kRun + i));
                    cover_[pixelAt(candidate.column + r, i, y)] =
                        static_cast<std::uint8_t>(sprite.colour);
                }
                weighRun(candidate.column + r, y);
            }
            ++lineSprites_[static_cast<std::size_t>(y)];
        }
        return sprite;
    }

    [[nodiscard]] std::vector<std::uint8_t> takeCover() { return std::move(cover_); }

private:
    [[nodiscard]] std::size_t runIndex(int column, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(column);
    }
    [[nodiscard]] std::size_t pixelAt(int column, int i, int y) const {
        return runIndex(column, y) * kRun + static_cast<std::size_t>(i);
    }
    [[nodiscard]] std::size_t sumAt(int column, int y) const {
        return static_cast<std::size_t>(column) * (static_cast<std::size_t>(height_) + 1) +
               static_cast<std::size_t>(y);
    }

    [[nodiscard]] Run runAt(int column, int y) const {
        Run run;
        for (int i = 0; i < kRun; ++i) {
            const std::size_t p = pixelAt(column, i, y);
            run.differences[i] = differences_[p];
            run.zero[i] = zero_[p] != 0;
            run.covered[i] = cover_[p] != 0;
        }
        return run;
    }

    // What a sprite of each colour would gain at a run, as the sprites in front leave it.
    void weighRun(int column, int y) {
        const Run run = runAt(column, y);
        const double alone = bestChoice(run, 0).error;
        double* gains = &gains_[runIndex(column, y) * kColours];
        for (int c = 1; c < kColours; ++c) {
            gains[c] = alone - bestChoice(run, c).error;
        }
    }

    // Whether a sprite's 16 lines from top all have room for one more.
    [[nodiscard]] bool roomAt(int top) const {
        return std::all_of(lineSprites_.begin() + top, lineSprites_.begin() + top + kSpriteSide,
                           [](int n) { return n < kSpritesPerLine; });
    }

    // Colour c's gains of each run column summed from line 0 to each line.
    void sumGains(int c) {
        for (int column = 0; column < columns_; ++column) {
            for (int y = 0; y < height_; ++y) {
                sums_[sumAt(column, y + 1)] =
                    sums_[sumAt(column, y)] +
                    gains_[runIndex(column, y) * kColours + static_cast<std::size_t>(c)];
            }
        }
    }

    int columns_;
    int height_;
    std::span<const Differences> differences_;
    std::span<const std::uint8_t> zero_;
    std::vector<std::uint8_t> cover_; // the colour of the sprite in front, 0 none
    std::vector<double> gains_;       // each run's gain from a sprite of each colour
    std::vector<double> sums_;        // sumGains's
    std::vector<int> lineSprites_;    // sprites on each line
};

} // namespace

SpriteCover placeSprites(int width, int height, std::span<const Differences> differences,
                         std::span<const std::uint8_t> zero, int count) {
    SpriteCover cover;
    if (count <= 0) {
        return cover;
    }
    Placement placement(width, height, differences, zero);
    for (int n = 0; n < std::min(count, kMostSprites); ++n) {
        const Candidate candidate = placement.best();
        if (candidate.gain <= 0) {
            break;
        }
        cover.sprites.push_back(placement.place(candidate));
    }
    cover.colour = placement.takeCover();
    return cover;
}

} // namespace tessarin::screen2
