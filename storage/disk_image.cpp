#include "storage/disk_image.h"

#include "platform/file_error.h"
#include "storage/disk_directory.h"
#include "storage/fat12.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <utility>

namespace tessarin {

namespace {

[[nodiscard]] DiskGeometry geometryOf(const std::string& name, const DiskReader& image) {
    std::string whyNot;
    if (auto geometry = DiskGeometry::of(image, whyNot)) {
        return *geometry;
    }
    throw FileError(name, name + ": not an MSX-DOS disk image: " + whyNot, Fault::notDiskImage);
}

// The bytes of a part the geometry places inside the image: the FAT, the root directory.
[[nodiscard]] std::vector<std::uint8_t> partOf(const std::string& name, const DiskReader& image,
                                               std::uint64_t offset, std::size_t size,
                                               const char* what) {
    std::vector<std::uint8_t> bytes(size);
    if (image.readAt(offset, bytes) != size) { // the image shrank since its size was taken
        throw FileError(name, name + ": " + what + " past the end of the image",
                        Fault::partPastEnd);
    }
    return bytes;
}

[[nodiscard]] std::string folded(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

[[nodiscard]] std::size_t clustersFor(std::uint64_t bytes, std::uint64_t clusterBytes) {
    return static_cast<std::size_t>((bytes + clusterBytes - 1) / clusterBytes);
}

constexpr std::size_t kAmbiguous = std::numeric_limits<std::size_t>::max();

} // namespace

DiskImage::DiskImage(std::string name, std::shared_ptr<const DiskReader> image)
    : name_(std::move(name)), image_(std::move(image)), geometry_(geometryOf(name_, *image_)),
      fat_(partOf(name_, *image_, geometry_.fatOffset(), geometry_.fatBytes(), "FAT")) {
    std::vector<bool> directoryClusters(DiskGeometry::kFirstCluster + geometry_.clusterCount());
    list(partOf(name_, *image_, geometry_.rootOffset(), geometry_.rootBytes(), "root directory"),
         "", 0, directoryClusters);
}

std::string DiskImage::qualified(const std::string& path) const {
    return path.empty() ? name_ : name_ + '/' + path;
}

void DiskImage::addProblem(const std::string& path, Fault fault, const std::string& reason) {
    const std::string place = qualified(path);
    problems_.emplace_back(place, place + ": " + reason, fault);
}

const DiskImage::File* DiskImage::find(std::string_view path) const {
    if (const auto it = byPath_.find(std::string(path)); it != byPath_.end()) {
        return &files_[it->second];
    }
    const auto it = byFoldedPath_.find(folded(path));
    return it == byFoldedPath_.end() || it->second == kAmbiguous ? nullptr : &files_[it->second];
}

void DiskImage::list(std::span<const std::uint8_t> entries, const std::string& directory, int depth,
                     std::vector<bool>& directoryClusters) {
    ParsedDirectory parsed = parseDirectory(entries, entriesLeft_);
    entriesLeft_ -= parsed.slots;
    if (parsed.cut && !full_) {
        full_ = true;
        addProblem(directory, Fault::tooManyEntries,
                   "more than " + std::to_string(kMaxEntries) +
                       " directory entries on the disk; the rest are not listed");
    }
    const std::string prefix = directory.empty() ? directory : directory + '/';
    for (DirectoryEntry& entry : parsed.entries) {
        std::string path = prefix + entry.name;
        if (!entry.isDirectory) {
            if (!byPath_.try_emplace(path, files_.size()).second) {
                addProblem(path, Fault::sameName, "a second entry of this name, not listed");
                continue;
            }
            const auto [it, fresh] = byFoldedPath_.try_emplace(folded(path), files_.size());
            if (!fresh) {
                it->second = kAmbiguous; // names differing in case alone are found exactly
            }
            files_.push_back(File(std::move(path), entry.size, entry.firstCluster));
            checkChain(files_.back());
        } else if (depth == kMaxDepth) {
            addProblem(path, Fault::directoryTooDeep,
                       "directories nested deeper than " + std::to_string(kMaxDepth) +
                           " levels, not listed");
        } else if (!full_) {
            const std::vector<std::uint8_t> contents =
                directoryContents(path, entry.firstCluster, directoryClusters);
            list(contents, path, depth + 1, directoryClusters);
        }
    }
}

std::vector<std::uint8_t> DiskImage::directoryContents(const std::string& path,
                                                       std::uint16_t firstCluster,
                                                       std::vector<bool>& directoryClusters) {
    // One entry more than are left tells a directory that goes on from one that ends there.
    const std::size_t wanted =
        clustersFor((entriesLeft_ + 1) * kDirectoryEntryBytes, geometry_.clusterBytes());
    ClusterChain chain = Fat12(fat_, geometry_.clusterCount()).follow(firstCluster, wanted);
    std::vector<std::uint8_t> contents;
    for (const std::uint16_t cluster : chain.clusters) {
        if (directoryClusters[cluster]) {
            // Its entries are listed already: a directory that contains itself or another.
            chain.problem = "directory loops back to cluster " + std::to_string(cluster);
            chain.fault = Fault::directoryLoop;
            break;
        }
        if (append(std::span(&cluster, 1), geometry_.clusterBytes(), contents)) {
            chain.problem = "cluster " + std::to_string(cluster) + " past the end of the image";
            chain.fault = Fault::clusterPastEnd;
            break;
        }
        directoryClusters[cluster] = true;
    }
    if (!chain.problem.empty()) {
        addProblem(path, chain.fault, chain.problem + "; the directory is listed only up to there");
    }
    return contents;
}

std::optional<std::uint16_t> DiskImage::append(std::span<const std::uint16_t> clusters,
                                               std::uint64_t count,
                                               std::vector<std::uint8_t>& out) const {
    const std::uint64_t clusterBytes = geometry_.clusterBytes();
    for (std::size_t first = 0; first < clusters.size() && count > 0;) {
        // Clusters numbered one after the other lie one after the other in the image.
        std::size_t run = 1;
        while (first + run < clusters.size() && clusters[first + run] == clusters[first] + run) {
            ++run;
        }
        const std::uint64_t offset = geometry_.clusterOffset(clusters[first]);
        const std::uint64_t bytes = std::min<std::uint64_t>(count, run * clusterBytes);
        // Checked before anything is reserved: a lying size must not claim gigabytes.
        if (offset + bytes > image_->size()) {
            const std::uint64_t inside =
                offset < image_->size() ? (image_->size() - offset) / clusterBytes : 0;
            return clusters[first + static_cast<std::size_t>(inside)];
        }
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(bytes));
        const std::size_t got = image_->readAt(offset, std::span(out).subspan(at));
        if (got < bytes) { // the image shrank since its size was taken
            out.resize(at);
            return clusters[first + got / clusterBytes];
        }
        count -= bytes;
        first += run;
    }
    return std::nullopt;
}

ClusterChain DiskImage::readableChain(const File& file, std::uint64_t bytes) const {
    const std::uint64_t clusterBytes = geometry_.clusterBytes();
    const std::size_t needed = clustersFor(bytes, clusterBytes);
    ClusterChain chain = Fat12(fat_, geometry_.clusterCount()).follow(file.firstCluster_, needed);
    if (chain.problem.empty() && chain.clusters.size() < needed) {
        chain.problem = "cluster chain shorter than the file's size (" +
                        std::to_string(chain.clusters.size()) + " of " + std::to_string(needed) +
                        " clusters)";
        chain.fault = Fault::chainShort;
    }
    for (std::size_t i = 0; i < chain.clusters.size(); ++i) {
        const std::uint64_t part = std::min(clusterBytes, bytes - i * clusterBytes);
        if (geometry_.clusterOffset(chain.clusters[i]) + part > image_->size()) {
            chain.problem =
                "cluster " + std::to_string(chain.clusters[i]) + " past the end of the image";
            chain.fault = Fault::clusterPastEnd;
            chain.clusters.resize(i);
            break;
        }
    }
    return chain;
}

std::uint64_t DiskImage::readableBytes(const ClusterChain& chain, std::uint64_t bytes) const {
    return std::min<std::uint64_t>(bytes, chain.clusters.size() * geometry_.clusterBytes());
}

void DiskImage::checkChain(const File& file) {
    if (file.size_ == 0) {
        return;
    }
    const ClusterChain chain = readableChain(file, file.size_);
    if (chain.problem.empty()) {
        return;
    }
    const std::uint64_t readable = readableBytes(chain, file.size_);
    addProblem(file.path_, chain.fault,
               chain.problem + (readable == 0
                                    ? "; nothing of it can be read"
                                    : "; only its first " + std::to_string(readable) + " of " +
                                          std::to_string(file.size_) + " bytes are read"));
}

std::vector<std::uint8_t> DiskImage::read(const File& file, std::size_t limit) const {
    const std::uint64_t wanted = std::min<std::uint64_t>(file.size_, limit);
    const ClusterChain chain = readableChain(file, wanted);
    const auto fail = [&](const std::string& reason, Fault fault) {
        const std::string fileName = qualified(file.path_);
        return FileError(fileName, fileName + ": " + reason, fault);
    };
    // A damaged chain gives what comes before the damage, which the listing reports.
    if (chain.clusters.empty() && wanted > 0) {
        throw fail(chain.problem, chain.fault);
    }
    std::vector<std::uint8_t> contents;
    if (const auto missing = append(chain.clusters, readableBytes(chain, wanted), contents)) {
        throw fail("cluster " + std::to_string(*missing) + " past the end of the image",
                   Fault::clusterPastEnd);
    }
    return contents;
}

bool looksLikeDiskImage(const DiskReader& image) {
    std::string whyNot;
    return DiskGeometry::of(image, whyNot).has_value();
}

std::size_t MemoryDiskReader::readAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset >= bytes_.size()) {
        return 0;
    }
    const std::size_t count =
        std::min(out.size(), bytes_.size() - static_cast<std::size_t>(offset));
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), count, out.begin());
    return count;
}

} // namespace tessarin
