#include "storage/fat12.h"

#include "storage/disk_geometry.h"

namespace tessarin {

namespace {

constexpr std::uint32_t kFree = 0x000;
constexpr std::uint32_t kBad = 0xFF7;
constexpr std::uint32_t kEndOfChain = 0xFF8; // and above

[[nodiscard]] std::string clusterText(std::uint32_t cluster) {
    return "cluster " + std::to_string(cluster);
}

} // namespace

Fat12::Fat12(std::span<const std::uint8_t> fat, std::uint32_t clusterCount)
    : fat_(fat), clusterCount_(clusterCount) {}

std::uint32_t Fat12::entry(std::uint32_t cluster) const {
    const std::size_t at = cluster * 3 / 2;
    const std::uint32_t pair = std::uint32_t{fat_[at]} | std::uint32_t{fat_[at + 1]} << 8; // LE
    return cluster % 2 == 0 ? pair & 0xFFF : pair >> 4;
}

bool Fat12::inDataArea(std::uint32_t cluster) const {
    return cluster >= DiskGeometry::kFirstCluster &&
           cluster < DiskGeometry::kFirstCluster + clusterCount_;
}

ClusterChain Fat12::follow(std::uint32_t first, std::size_t limit) const {
    ClusterChain chain;
    if (limit == 0) {
        return chain;
    }
    if (!inDataArea(first)) {
        chain.problem = "first " + clusterText(first) + " outside the data area";
        return chain;
    }
    std::vector<bool> seen(DiskGeometry::kFirstCluster + clusterCount_, false);
    for (std::uint32_t cluster = first;;) {
        seen[cluster] = true;
        chain.clusters.push_back(static_cast<std::uint16_t>(cluster));
        if (chain.clusters.size() == limit) {
            return chain;
        }
        const std::uint32_t next = entry(cluster);
        if (next >= kEndOfChain) {
            return chain;
        }
        if (next == kFree || next == kBad) {
            chain.problem = clusterText(cluster) + " of the chain is marked " +
                            (next == kFree ? "free" : "bad");
            return chain;
        }
        if (!inDataArea(next)) {
            chain.problem =
                clusterText(cluster) + " leads to " + clusterText(next) + ", outside the data area";
            return chain;
        }
        if (seen[next]) {
            chain.problem = "cluster chain loops at " + clusterText(next);
            chain.fault = Fault::chainLoop;
            return chain;
        }
        cluster = next;
    }
}

} // namespace tessarin
