#include "export/near_duplicates.h"

#include "export/record_fields.h"

#include <algorithm>
#include <bit>
#include <deque>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <vector>

namespace tessarin::exporter {

namespace {

// Two hashes at most kNearDistance bits apart differ in at most kNearDistance of these
// bands, so they agree in one band at least: only hashes sharing a band's value are
// compared. A band's hashes are sorted, and each is compared with the kWindow before it of
// the same band value only: at most kBands * kWindow comparisons per picture after the sort
// (n log n, in sorted runs). Equal hashes sort side by side and are always joined; a near pair can
// be missed only where, in every band they share, more than kWindow hashes of that band value sort
// between them (bands crowded by a million pictures of one look).
constexpr int kHashBits = 64;
constexpr int kBands = kNearDistance + 1;
constexpr std::size_t kWindow = 32;

std::uint64_t bandOf(std::uint64_t hash, int band) {
    const int first = band * kHashBits / kBands;
    const int width = (band + 1) * kHashBits / kBands - first;
    return (hash >> first) & ((std::uint64_t{1} << width) - 1);
}

// Sets of pictures joined, each named by its smallest number.
class JoinedSets {
public:
    explicit JoinedSets(std::uint64_t size) : parent_(size) {
        std::iota(parent_.begin(), parent_.end(), std::uint32_t{0});
    }
    [[nodiscard]] std::uint32_t root(std::uint32_t i) {
        while (parent_[i] != i) {
            parent_[i] = parent_[parent_[i]];
            i = parent_[i];
        }
        return i;
    }
    void join(std::uint32_t a, std::uint32_t b) {
        a = root(a);
        b = root(b);
        parent_[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<std::uint32_t> parent_;
};

// A band's record: the band, its value in the hash, the hash and the picture's number.
struct Banded {
    std::uint64_t band = 0;
    std::uint64_t value = 0;
    std::uint64_t hash = 0;
    std::uint32_t picture = 0;
};

} // namespace

NearDuplicates::NearDuplicates(const std::string& scratch)
    : bands_(scratch + "-bands"), members_(scratch + "-members") {}

void NearDuplicates::add(std::uint64_t hash) {
    if (count_ > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("more pictures than near duplicates are sought among");
    }
    for (int band = 0; band < kBands; ++band) {
        bands_.add(RecordWriter()
                       .number(static_cast<std::uint64_t>(band))
                       .number(bandOf(hash, band))
                       .number(hash)
                       .number(count_)
                       .take());
    }
    ++count_;
}

std::size_t
NearDuplicates::groups(const std::function<void(std::span<const std::uint64_t>)>& take) {
    JoinedSets sets(count_);
    // Each record against the kWindow before it of the same band and value.
    std::deque<Banded> window;
    bands_.drain([&](std::string_view record) {
        RecordReader fields(record);
        Banded next;
        next.band = fields.number();
        next.value = fields.number();
        next.hash = fields.number();
        next.picture = static_cast<std::uint32_t>(fields.number());
        if (!window.empty() &&
            (window.front().band != next.band || window.front().value != next.value)) {
            window.clear();
        }
        for (const Banded& earlier : window) {
            if (std::popcount(earlier.hash ^ next.hash) <= kNearDistance) {
                sets.join(earlier.picture, next.picture);
            }
        }
        window.push_back(next);
        if (window.size() > kWindow) {
            window.pop_front();
        }
    });
    // Each picture under its group's first, so that the groups come in that order.
    for (std::uint64_t i = 0; i < count_; ++i) {
        const std::uint32_t first = sets.root(static_cast<std::uint32_t>(i));
        members_.add(RecordWriter().number(first).number(i).take());
    }
    std::size_t groups = 0;
    std::vector<std::uint64_t> group;
    const auto close = [&] {
        if (group.size() > 1) {
            take(group);
            ++groups;
        }
        group.clear();
    };
    members_.drain([&](std::string_view record) {
        RecordReader fields(record);
        const std::uint64_t first = fields.number();
        if (!group.empty() && group.front() != first) {
            close();
        }
        group.push_back(fields.number());
    });
    close();
    return groups;
}

} // namespace tessarin::exporter
