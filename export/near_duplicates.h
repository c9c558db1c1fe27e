#pragma once

#include "export/sorted_runs.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace tessarin::exporter {

// Pictures are near duplicates when their nearHash values are at most this many bits apart.
inline constexpr int kNearDistance = 6;

// The groups of near duplicates among pictures added one at a time by their nearHash, one
// per distinct picture: linked through their members (a ~ b ~ c). Near-linear work, and
// in memory 4 bytes a picture beside a fixed amount: the hashes go to sorted runs under a
// scratch name. Each hash is compared with a bounded number of others (see the source for
// the bound).
class NearDuplicates {
public:
    // Sorted runs under scratch (scratch-bands.1, ...). Throws FileError naming one.
    explicit NearDuplicates(const std::string& scratch);

    // Adds the next picture (numbered 0, 1, 2, ... as added).
    void add(std::uint64_t hash);
    // Gives each group to take once all are added, its pictures' numbers in order, two or
    // more, the groups in the order of their first; returns how many there were. Once.
    std::size_t groups(const std::function<void(std::span<const std::uint64_t>)>& take);

private:
    SortedRuns bands_;   // each hash under each band's value
    SortedRuns members_; // each picture under its group's first
    std::uint64_t count_ = 0;
};

} // namespace tessarin::exporter
