#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessarin::exporter {

// Pictures are near duplicates when their nearHash values are at most this many bits apart.
inline constexpr int kNearDistance = 6;

// The groups of near duplicates among hashes, one hash per distinct picture: indices into
// hashes, each group in order and of two or more, linked through its members (a ~ b ~ c),
// the groups in the order of their first. Near-linear work and memory: each hash is
// compared with a bounded number of others (see the source for the bound).
[[nodiscard]] std::vector<std::vector<std::size_t>>
nearDuplicateGroups(std::span<const std::uint64_t> hashes);

} // namespace tessarin::exporter
