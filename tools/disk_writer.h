#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessarin::samples {

// An MSX-DOS disk image (FAT12) built entry by entry, for the disks tests and benchmarks need
// that a formatting tool will not make: loops, cut chains, lying sizes, odd names, huge or
// deep directories. Layout: 512-byte sectors, one boot sector, two FATs, the root directory,
// then the data area of clusters 2, 3, ...
class DiskWriter {
public:
    // The root directory, where a directory's first cluster is asked for.
    static constexpr std::uint16_t kRoot = 0;
    static constexpr std::uint16_t kEndOfChain = 0xFFF;
    static constexpr std::uint16_t kFree = 0x000;

    // clusters: 1..4084; sectorsPerCluster: a power of two.
    explicit DiskWriter(std::uint32_t clusters, std::uint32_t sectorsPerCluster = 1,
                        std::uint32_t rootEntries = 112);

    // n unused clusters one after the other, chained, the last with an end mark; the first.
    // std::length_error when the disk is full.
    std::uint16_t allocate(std::size_t n);
    // Sets the FAT entry of cluster: the next cluster, kEndOfChain or kFree.
    void link(std::uint16_t cluster, std::uint16_t next);
    // Writes bytes into the data area from the start of cluster on.
    void put(std::uint16_t cluster, std::span<const std::uint8_t> bytes);

    // An entry in the next slot of directory (kRoot or its first cluster; a subdirectory's
    // clusters one after the other). name is "NAME.EXT" or "NAME", up to 8 and 3 bytes, any
    // bytes but the dot. std::length_error when the directory is full.
    void add(std::uint16_t directory, std::string_view name, std::uint8_t attributes,
             std::uint16_t first, std::uint32_t size);
    // A file of bytes in clusters of its own; its first cluster.
    std::uint16_t addFile(std::uint16_t directory, std::string_view name,
                          std::span<const std::uint8_t> bytes);
    // An empty subdirectory of clusters of its own; its first cluster.
    std::uint16_t addDirectory(std::uint16_t directory, std::string_view name,
                               std::size_t clusters = 1);

    [[nodiscard]] std::size_t clusterBytes() const { return clusterBytes_; }
    [[nodiscard]] const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    [[nodiscard]] std::size_t clusterOffset(std::uint16_t cluster) const;

    std::vector<std::uint8_t> bytes_;
    std::size_t fatOffset_;
    std::size_t fatBytes_;
    std::size_t rootOffset_;
    std::uint32_t rootEntries_;
    std::size_t dataOffset_;
    std::size_t clusterBytes_;
    std::uint32_t clusters_;
    std::uint32_t nextFree_ = 2;
    std::unordered_map<std::uint16_t, std::size_t> nextSlot_; // per directory
};

} // namespace tessarin::samples
