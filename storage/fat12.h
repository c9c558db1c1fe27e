#pragma once

#include "platform/file_error.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

// The clusters a file or directory occupies, as far as its chain could be followed.
struct ClusterChain {
    std::vector<std::uint16_t> clusters;
    // Why the chain stopped short ("cluster chain loops at cluster 7"); empty when it ended
    // with an end mark or at the limit it was followed to.
    std::string problem;
    Fault fault = Fault::chainBroken; // the problem's kind, when there is one
};

// A FAT12 allocation table: 12-bit entries, two in three bytes, little-endian.
class Fat12 {
public:
    // fat holds at least the entries of clusters 0..clusterCount + 1.
    Fat12(std::span<const std::uint8_t> fat, std::uint32_t clusterCount);

    // The chain from cluster first, at most limit clusters of it. Never loops: a cluster
    // met twice, a cluster outside the data area, a free or bad cluster in the chain stop
    // it with a problem.
    [[nodiscard]] ClusterChain follow(std::uint32_t first, std::size_t limit) const;

private:
    [[nodiscard]] std::uint32_t entry(std::uint32_t cluster) const;
    [[nodiscard]] bool inDataArea(std::uint32_t cluster) const;

    std::span<const std::uint8_t> fat_;
    std::uint32_t clusterCount_;
};

} // namespace tessarin
