#pragma once

#include "storage/disk_geometry.h"
#include "storage/disk_reader.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace tessarin {

// The files of an MSX-DOS 1 or 2 disk image (.DSK, FAT12), listed once and read on demand.
// A broken subdirectory does not hide the rest of the disk: the entries of the clusters
// that could be read are listed, the others are not, and problems() says what was wrong.
class DiskImage {
public:
    // A file on the disk, as listed.
    class File {
    public:
        // Its path inside the disk, "/" between directories ("PICS/TITLE.SC5").
        [[nodiscard]] const std::string& path() const { return path_; }
        // Its size in bytes, as its directory entry says.
        [[nodiscard]] std::uint32_t size() const { return size_; }

    private:
        friend class DiskImage;
        File(std::string path, std::uint32_t size, std::uint16_t firstCluster)
            : path_(std::move(path)), size_(size), firstCluster_(firstCluster) {}

        std::string path_;
        std::uint32_t size_;
        std::uint16_t firstCluster_;
    };

    // Checks the boot sector and the FAT of the image and lists its files, reading only
    // those and the directories; name is what errors call the disk ("GAME.DSK").
    // FileError(name, reason) when the image is no MSX-DOS disk image or its root
    // directory lies outside it.
    DiskImage(std::string name, std::shared_ptr<const DiskReader> image);

    // Every file on the disk, subdirectories followed, in directory order (depth first).
    [[nodiscard]] const std::vector<File>& files() const { return files_; }

    // The file's bytes along its cluster chain; a longer chain than its size needs is fine.
    // FileError naming "disk/path" when the chain is broken, shorter than the size or
    // reaches past the end of the image.
    [[nodiscard]] std::vector<std::uint8_t> read(const File& file) const;

    [[nodiscard]] const std::string& name() const { return name_; }

    // What was wrong with the subdirectories while listing ("GAME.DSK/SUB: cluster chain
    // loops at cluster 9"), in the order met; empty for a sound disk.
    [[nodiscard]] const std::vector<std::string>& problems() const { return problems_; }

private:
    // Lists the entries of one directory under prefix, following its subdirectories.
    // directoryClusters marks the clusters already listed as a directory.
    void list(std::span<const std::uint8_t> entries, const std::string& prefix, int depth,
              std::vector<bool>& directoryClusters);
    // The subdirectory's entries from the clusters of its chain that could be read.
    [[nodiscard]] std::vector<std::uint8_t> directoryContents(const std::string& path,
                                                              std::uint16_t firstCluster,
                                                              std::vector<bool>& directoryClusters);
    // Appends the clusters' bytes to out, count bytes in all, each run of consecutive
    // clusters read at once; the chain's first cluster it could not read when one lies past
    // the image's end.
    [[nodiscard]] std::optional<std::uint16_t> append(std::span<const std::uint16_t> clusters,
                                                      std::uint64_t count,
                                                      std::vector<std::uint8_t>& out) const;
    [[nodiscard]] std::string qualified(const std::string& path) const;

    std::string name_;
    std::shared_ptr<const DiskReader> image_;
    DiskGeometry geometry_;
    std::vector<std::uint8_t> fat_;
    std::vector<File> files_;
    std::vector<std::string> problems_;
};

// Whether the image has a boot sector and a FAT as MSX-DOS disk images have, exactly when
// DiskImage accepts it; cheap, nothing is listed.
[[nodiscard]] bool looksLikeDiskImage(const DiskReader& image);

// The bytes of an image held in memory.
class MemoryDiskReader : public DiskReader {
public:
    explicit MemoryDiskReader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    [[nodiscard]] std::uint64_t size() const override { return bytes_.size(); }
    [[nodiscard]] std::size_t readAt(std::uint64_t offset,
                                     std::span<std::uint8_t> out) const override;

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace tessarin
