#include "document/disk_image.h"

#include "document/disk_directory.h"
#include "document/fat12.h"
#include "platform/file_error.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tessarin {

namespace {

// MSX-DOS 2 paths hold at most 63 characters, so no real disk nests deeper than this.
constexpr int kMaxDepth = 32;

[[nodiscard]] DiskGeometry geometryOf(const std::string& name,
                                      std::span<const std::uint8_t> bytes) {
    std::string whyNot;
    if (auto geometry = DiskGeometry::of(bytes, whyNot)) {
        return *geometry;
    }
    throw FileError(name, name + ": not an MSX-DOS disk image: " + whyNot);
}

} // namespace

DiskImage::DiskImage(std::string name, std::vector<std::uint8_t> bytes)
    : name_(std::move(name)), bytes_(std::move(bytes)), geometry_(geometryOf(name_, bytes_)) {
    std::vector<bool> directoryClusters(DiskGeometry::kFirstCluster + geometry_.clusterCount());
    list(std::span(bytes_).subspan(geometry_.rootOffset(), geometry_.rootBytes()), "", 0,
         directoryClusters);
}

std::span<const std::uint8_t> DiskImage::fat() const {
    return std::span(bytes_).subspan(geometry_.fatOffset(), geometry_.fatBytes());
}

std::string DiskImage::qualified(const std::string& path) const {
    return name_ + '/' + path;
}

void DiskImage::list(std::span<const std::uint8_t> entries, const std::string& prefix, int depth,
                     std::vector<bool>& directoryClusters) {
    for (DirectoryEntry& entry : parseDirectory(entries)) {
        std::string path = prefix + entry.name;
        if (!entry.isDirectory) {
            files_.push_back(File(std::move(path), entry.size, entry.firstCluster));
        } else if (depth == kMaxDepth) {
            problems_.push_back(qualified(path) + ": directories nested deeper than " +
                                std::to_string(kMaxDepth) + " levels, not listed");
        } else {
            const std::vector<std::uint8_t> contents =
                directoryContents(path, entry.firstCluster, directoryClusters);
            list(contents, path + '/', depth + 1, directoryClusters);
        }
    }
}

std::vector<std::uint8_t> DiskImage::directoryContents(const std::string& path,
                                                       std::uint16_t firstCluster,
                                                       std::vector<bool>& directoryClusters) {
    ClusterChain chain = Fat12(fat(), geometry_.clusterCount())
                             .follow(firstCluster, std::numeric_limits<std::size_t>::max());
    std::vector<std::uint8_t> contents;
    for (const std::uint16_t cluster : chain.clusters) {
        const std::uint64_t offset = geometry_.clusterOffset(cluster);
        if (directoryClusters[cluster]) {
            // Its entries are listed already: a directory that contains itself or another.
            chain.problem = "directory loops back to cluster " + std::to_string(cluster);
            break;
        }
        if (offset + geometry_.clusterBytes() > bytes_.size()) {
            chain.problem = "cluster " + std::to_string(cluster) + " past the end of the image";
            break;
        }
        directoryClusters[cluster] = true;
        const auto from = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
        contents.insert(contents.end(), from,
                        from + static_cast<std::ptrdiff_t>(geometry_.clusterBytes()));
    }
    if (!chain.problem.empty()) {
        problems_.push_back(qualified(path) + ": " + chain.problem +
                            "; the directory is listed only up to there");
    }
    return contents;
}

std::vector<std::uint8_t> DiskImage::read(const File& file) const {
    const std::uint64_t clusterBytes = geometry_.clusterBytes();
    const std::size_t needed =
        static_cast<std::size_t>((file.size_ + clusterBytes - 1) / clusterBytes);
    const ClusterChain chain =
        Fat12(fat(), geometry_.clusterCount()).follow(file.firstCluster_, needed);
    const auto fail = [&](const std::string& reason) {
        const std::string fileName = qualified(file.path_);
        return FileError(fileName, fileName + ": " + reason);
    };
    if (!chain.problem.empty()) {
        throw fail(chain.problem);
    }
    if (chain.clusters.size() < needed) {
        throw fail("cluster chain shorter than the file's size (" +
                   std::to_string(chain.clusters.size()) + " of " + std::to_string(needed) +
                   " clusters)");
    }
    std::vector<std::uint8_t> contents;
    // The chain's clusters are distinct, so a file that fits the image is no larger than it;
    // a lying size must not reserve gigabytes before the clusters are found missing.
    contents.reserve(std::min<std::size_t>(file.size_, bytes_.size()));
    for (const std::uint16_t cluster : chain.clusters) {
        const std::uint64_t offset = geometry_.clusterOffset(cluster);
        const std::uint64_t count =
            std::min<std::uint64_t>(clusterBytes, file.size_ - contents.size());
        if (offset + count > bytes_.size()) {
            throw fail("cluster " + std::to_string(cluster) + " past the end of the image");
        }
        const auto from = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
        contents.insert(contents.end(), from, from + static_cast<std::ptrdiff_t>(count));
    }
    return contents;
}

bool looksLikeDiskImage(std::span<const std::uint8_t> bytes) {
    std::string whyNot;
    return DiskGeometry::of(bytes, whyNot).has_value();
}

} // namespace tessarin
