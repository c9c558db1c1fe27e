#pragma once

#include "platform/file_error.h"
#include "storage/disk_geometry.h"
#include "storage/disk_reader.h"
#include "storage/fat12.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tessarin {

// The files of an MSX-DOS 1 or 2 disk image (.DSK, FAT12), listed once and read on demand.
// A broken directory does not hide the rest of the disk: the entries that could be read
// are listed, the others are not, and problems() says what was wrong and where.
class DiskImage {
public:
    // A file on the disk, as listed.
    class File {
    public:
        // Its path inside the disk, "/" between directories ("PICS/TITLE.SC5"), in the
        // disk's own case.
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

    // Directory entries looked at over the whole disk, deleted ones too: the listing's work
    // and memory stay small whatever the disk claims (a 720 KB floppy holds a few hundred).
    static constexpr std::size_t kMaxEntries = 16384;
    // MSX-DOS 2 paths hold at most 63 characters, so no real disk nests deeper than this.
    static constexpr int kMaxDepth = 32;

    // Checks the boot sector and the FAT of the image and lists its files, reading only
    // those and the directories; name is what errors call the disk ("GAME.DSK").
    // FileError(name, reason) when the image is no MSX-DOS disk image or its root
    // directory lies outside it.
    DiskImage(std::string name, std::shared_ptr<const DiskReader> image);

    // Every file on the disk, subdirectories followed, in directory order (depth first);
    // a path met a second time is listed once.
    [[nodiscard]] const std::vector<File>& files() const { return files_; }

    // The file at path inside the disk: the one of exactly that name, else the only one
    // whose name differs from it in case alone; nullptr for none.
    [[nodiscard]] const File* find(std::string_view path) const;

    // At most limit bytes of the file from its start, along its cluster chain, however
    // large its entry says it is; a longer chain than that needs is fine. Where the chain is
    // broken, shorter than those bytes or reaches past the end of the image, the bytes of
    // the clusters before that (problems() tells of it, naming the file); FileError naming
    // "disk/path" when not even its first cluster can be read.
    [[nodiscard]] std::vector<std::uint8_t>
    read(const File& file, std::size_t limit = std::numeric_limits<std::size_t>::max()) const;

    [[nodiscard]] const std::string& name() const { return name_; }

    // What was wrong while listing, each once in the order met, as the error naming the
    // place ("GAME.DSK/SUB": "... cluster chain loops at cluster 9; ..."): loops, cut
    // chains, directories past the end, too deep or too many entries. Empty for a sound disk.
    [[nodiscard]] const std::vector<FileError>& problems() const { return problems_; }

private:
    // Lists the entries of directory ("" for the root), following its subdirectories.
    // directoryClusters marks the clusters already listed as a directory.
    void list(std::span<const std::uint8_t> entries, const std::string& directory, int depth,
              std::vector<bool>& directoryClusters);
    // The subdirectory's entries from the clusters of its chain that could be read, no
    // more than the entries left to look at need.
    [[nodiscard]] std::vector<std::uint8_t> directoryContents(const std::string& path,
                                                              std::uint16_t firstCluster,
                                                              std::vector<bool>& directoryClusters);
    // Appends the clusters' bytes to out, count bytes in all, each run of consecutive
    // clusters read at once; the chain's first cluster it could not read when one lies past
    // the image's end.
    [[nodiscard]] std::optional<std::uint16_t> append(std::span<const std::uint16_t> clusters,
                                                      std::uint64_t count,
                                                      std::vector<std::uint8_t>& out) const;
    // The clusters of file's chain that hold its first bytes and can be read, and why
    // there are fewer than those bytes need, if there are.
    [[nodiscard]] ClusterChain readableChain(const File& file, std::uint64_t bytes) const;
    // How many of the first bytes the clusters of chain hold.
    [[nodiscard]] std::uint64_t readableBytes(const ClusterChain& chain, std::uint64_t bytes) const;
    // Adds a problem naming file when its chain cannot give all of its bytes.
    void checkChain(const File& file);
    [[nodiscard]] std::string qualified(const std::string& path) const;
    void addProblem(const std::string& path, Fault fault, const std::string& reason);

    std::string name_;
    std::shared_ptr<const DiskReader> image_;
    DiskGeometry geometry_;
    std::vector<std::uint8_t> fat_;
    std::vector<File> files_;
    std::vector<FileError> problems_;
    std::size_t entriesLeft_ = kMaxEntries;
    bool full_ = false; // entries were left unlisted, and that was told
    // files_ by exact path, and by lower-case path when only one file has it.
    std::unordered_map<std::string, std::size_t> byPath_;
    std::unordered_map<std::string, std::size_t> byFoldedPath_;
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
