#include "export/near_duplicates.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <numeric>

namespace tessarin::exporter {

namespace {

// Two hashes at most kNearDistance bits apart differ in at most kNearDistance of these
// bands, so they agree in one band at least: only hashes sharing a band's value are
// compared. A band's hashes are sorted, and each is compared with the next kWindow of the
// same band value only: at most kBands * kWindow comparisons per picture after the sorts
// (n log n). Equal hashes sort side by side and are always joined; a near pair can be missed
// only where, in every band they share, more than kWindow hashes of that band value sort
// between them (bands crowded by a million pictures of one look).
constexpr int kHashBits = 64;
constexpr int kBands = kNearDistance + 1;
constexpr std::size_t kWindow = 32;

std::uint64_t bandOf(std::uint64_t hash, int band) {
    const int first = band * kHashBits / kBands;
    const int width = (band + 1) * kHashBits / kBands - first;
    return (hash >> first) & ((std::uint64_t{1} << width) - 1);
}

// Sets of indices joined, each named by its smallest index.
class JoinedSets {
public:
    explicit JoinedSets(std::size_t size) : parent_(size) {
        std::iota(parent_.begin(), parent_.end(), std::size_t{0});
    }
    [[nodiscard]] std::size_t root(std::size_t i) {
        while (parent_[i] != i) {
            parent_[i] = parent_[parent_[i]];
            i = parent_[i];
        }
        return i;
    }
    void join(std::size_t a, std::size_t b) {
        a = root(a);
        b = root(b);
        parent_[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<std::size_t> parent_;
};

} // namespace

std::vector<std::vector<std::size_t>> nearDuplicateGroups(std::span<const std::uint64_t> hashes) {
    JoinedSets sets(hashes.size());
    std::vector<std::size_t> order(hashes.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    for (int band = 0; band < kBands; ++band) {
        std::ranges::sort(order, [&](std::size_t a, std::size_t b) {
            const std::uint64_t bandA = bandOf(hashes[a], band);
            const std::uint64_t bandB = bandOf(hashes[b], band);
            return bandA != bandB ? bandA < bandB : hashes[a] < hashes[b];
        });
        for (std::size_t i = 0; i < order.size(); ++i) {
            const std::uint64_t value = bandOf(hashes[order[i]], band);
            const std::size_t end = std::min(order.size(), i + 1 + kWindow);
            for (std::size_t j = i + 1; j < end && bandOf(hashes[order[j]], band) == value; ++j) {
                if (std::popcount(hashes[order[i]] ^ hashes[order[j]]) <= kNearDistance) {
                    sets.join(order[i], order[j]);
                }
            }
        }
    }
    // Each root's count of members first, so that no single picture gets a group.
    std::vector<std::size_t>& members = order;
    std::ranges::fill(members, 0);
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        ++members[sets.root(i)];
    }
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> groupOf(hashes.size(), kNone);
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        const std::size_t root = sets.root(i);
        if (members[root] < 2) {
            continue;
        }
        if (groupOf[root] == kNone) {
            groupOf[root] = groups.size();
            groups.emplace_back();
        }
        groups[groupOf[root]].push_back(i);
    }
    return groups;
}

} // namespace tessarin::exporter
