#pragma once

#include "storage/disk_reader.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tessarin {

// Where the parts of an MSX-DOS disk image lie: the boot sector's parameter block, or the
// standard geometry the FAT's media byte names when that block is garbage (as on some
// MSX-DOS 1 disks). Offsets and sizes in bytes from the start of the image.
class DiskGeometry {
public:
    // The geometry of image, checked to fit it (the boot sector and the FAT's first byte are
    // read): a first FAT starting with a media byte, the
    // FATs and the root directory inside the image, a data area of 1..4084 clusters (what
    // FAT12 numbers) that the FAT has entries for. The data area may run past a truncated
    // image. Nothing when image is no MSX-DOS disk image, and then why in whyNot.
    [[nodiscard]] static std::optional<DiskGeometry> of(const DiskReader& image,
                                                        std::string& whyNot);

    [[nodiscard]] std::size_t fatOffset() const { return fatOffset_; }
    [[nodiscard]] std::size_t fatBytes() const { return fatBytes_; }
    [[nodiscard]] std::size_t rootOffset() const { return rootOffset_; }
    [[nodiscard]] std::size_t rootBytes() const { return rootBytes_; }
    [[nodiscard]] std::size_t clusterBytes() const { return clusterBytes_; }
    // Clusters of the data area, numbered 2..clusterCount() + 1.
    [[nodiscard]] std::uint32_t clusterCount() const { return clusterCount_; }
    // Where a cluster of the data area starts; cluster is 2..clusterCount() + 1.
    [[nodiscard]] std::uint64_t clusterOffset(std::uint32_t cluster) const {
        return dataOffset_ + std::uint64_t{cluster - kFirstCluster} * clusterBytes_;
    }

    static constexpr std::uint32_t kFirstCluster = 2;

private:
    DiskGeometry() = default;

    std::size_t fatOffset_ = 0;
    std::size_t fatBytes_ = 0;
    std::size_t rootOffset_ = 0;
    std::size_t rootBytes_ = 0;
    std::size_t dataOffset_ = 0;
    std::size_t clusterBytes_ = 0;
    std::uint32_t clusterCount_ = 0;
};

} // namespace tessarin
