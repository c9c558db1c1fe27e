// The difference hash of pictures of known greys, and the grouping of hashes by distance.
#include "export/near_duplicates.h"
#include "export/picture_hash.h"
#include "tests/platform/scratch_dir.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <random>
#include <span>

namespace tessarin::exporter {
namespace {

// A width x height picture, each pixel the grey grey(x).
Picture greys(int width, int height, const std::function<int(int)>& grey) {
    Picture picture;
    picture.resize(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto g = static_cast<std::uint8_t>(grey(x));
            picture.row(y)[static_cast<std::size_t>(x)] = {g, g, g};
        }
    }
    return picture;
}

TEST(NearHash, KnownGreys) {
    // Left half white, right half black, in 9 cells across: cell 4 is half of each, so
    // cells 3 and 4 are each brighter than their right neighbour, in every row.
    const auto halves = [](int white, int dark) {
        return [=](int width) { return [=](int x) { return x < width / 2 ? white : dark; }; };
    };
    const struct {
        Picture picture;
        std::uint64_t hash;
    } cases[] = {
        {greys(18, 8, halves(255, 0)(18)), 0x1818181818181818ULL},
        {greys(36, 16, halves(255, 0)(36)), 0x1818181818181818ULL},  // another size
        {greys(18, 8, halves(200, 100)(18)), 0x1818181818181818ULL}, // another palette
        {greys(18, 8, halves(0, 255)(18)), 0},                       // darker to the left
        {greys(90, 8, [](int x) { return 255 - x; }), ~0ULL},        // brighter to the left
        {greys(1, 1, [](int) { return 9; }), 0},
        {Picture(), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nearHash(c.picture), c.hash) << c.picture.width() << "x" << c.picture.height();
    }
}

using Groups = std::vector<std::vector<std::uint64_t>>;

Groups groupsOf(const std::vector<std::uint64_t>& hashes) {
    const test::ScratchDir dir;
    NearDuplicates near(dir.file("near"));
    for (const std::uint64_t hash : hashes) {
        near.add(hash);
    }
    Groups groups;
    const std::size_t count = near.groups([&groups](std::span<const std::uint64_t> members) {
        groups.emplace_back(members.begin(), members.end());
    });
    EXPECT_EQ(count, groups.size());
    return groups;
}

// The reference: every pair compared, joined while any join is new.
Groups everyPairJoined(const std::vector<std::uint64_t>& hashes) {
    std::vector<std::uint64_t> first(hashes.size());
    std::iota(first.begin(), first.end(), std::uint64_t{0});
    for (bool joined = true; joined;) {
        joined = false;
        for (std::size_t a = 0; a < hashes.size(); ++a) {
            for (std::size_t b = a + 1; b < hashes.size(); ++b) {
                if (std::popcount(hashes[a] ^ hashes[b]) <= kNearDistance && first[a] != first[b]) {
                    first[a] = first[b] = std::min(first[a], first[b]);
                    joined = true;
                }
            }
        }
    }
    std::map<std::uint64_t, std::vector<std::uint64_t>> byFirst;
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        byFirst[first[i]].push_back(i);
    }
    Groups groups;
    for (auto& [f, members] : byFirst) {
        if (members.size() > 1) {
            groups.push_back(std::move(members));
        }
    }
    return groups;
}

TEST(NearDuplicateGroups, LinkedWithinTheDistance) {
    const struct {
        std::vector<std::uint64_t> hashes;
        Groups groups;
    } cases[] = {
        // 0 ~ 0x7 (3 bits) ~ 0x7F (4 bits), 0 again; the two high ones 8 bits apart.
        {{0, 0x7, 0xFFULL << 56, 0x7F, 0xFFULL << 56 | 0xFF, 0}, Groups{{0, 1, 3, 5}}},
        // Six bits apart are near, seven not.
        {{0, 0x3F, 0x7FULL << 20}, Groups{{0, 1}}},
        {{0x1234, 0x1234}, Groups{{0, 1}}},
        {{0x1, 0xFEULL << 8}, Groups{}},
        {{}, Groups{}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(groupsOf(c.hashes), c.groups) << c.hashes.size();
    }
    // Clusters of a few bits' changes around random centres, shuffled: as every pair
    // compared finds them.
    std::mt19937_64 random(43);
    std::vector<std::uint64_t> hashes;
    for (int centre = 0; centre < 60; ++centre) {
        const std::uint64_t hash = random();
        for (int copy = 0; copy < 1 + centre % 7; ++copy) {
            hashes.push_back(hash ^ (std::uint64_t{1} << (random() % 64)) ^
                             (std::uint64_t{1} << (random() % 64)));
        }
    }
    std::ranges::shuffle(hashes, random);
    EXPECT_EQ(groupsOf(hashes), everyPairJoined(hashes));
}

} // namespace
} // namespace tessarin::exporter
