#include "document/file_source.h"

#include "document/disk_image.h"
#include "document/disk_reader.h"
#include "document/file_browsing.h"
#include "platform/file_error.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <system_error>

namespace tessarin {

namespace {

namespace fs = std::filesystem;

// Folders whose listings are kept; browsing needs one, a batch a few.
constexpr std::size_t kKeptListings = 8;

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool hasDiskExtension(std::string_view path) {
    return path.size() > kDiskExtension.size() &&
           equalNoCase(path.substr(path.size() - kDiskExtension.size()), kDiskExtension);
}

// What tells a changed file or directory from the one read before.
struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    friend bool operator==(const Stamp& a, const Stamp& b) {
        return a.device == b.device && a.inode == b.inode && a.size == b.size &&
               a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec;
    }
};

std::optional<Stamp> stampOf(const std::string& path, bool wantDirectory) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || (S_ISDIR(info.st_mode) != wantDirectory) ||
        (!wantDirectory && !S_ISREG(info.st_mode))) {
        return std::nullopt;
    }
    return Stamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder == ".") {
        return name; // a name given without a folder stays so
    }
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

// A disk image file, read where the disk is read: kept open while the disk is kept.
class DiskFile final : public DiskReader {
public:
    explicit DiskFile(const std::string& path) : file_(path) {}
    [[nodiscard]] std::uint64_t size() const override { return file_.size(); }
    [[nodiscard]] std::size_t readAt(std::uint64_t offset,
                                     std::span<std::uint8_t> out) const override {
        return file_.readAt(offset, out);
    }

private:
    InputFile file_;
};

// A path through a disk image, with the image's stamp as it was found.
struct FoundDiskPath {
    DiskPath where;
    Stamp stamp;
};

std::optional<FoundDiskPath> findDiskPath(const std::string& path) {
    for (std::size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        std::string prefix = path.substr(0, slash);
        if (!hasDiskExtension(prefix)) {
            continue;
        }
        if (const auto stamp = stampOf(prefix, false)) {
            std::string inner = path.substr(slash + 1);
            if (inner.empty()) {
                return std::nullopt;
            }
            return FoundDiskPath{{std::move(prefix), std::move(inner)}, *stamp};
        }
    }
    return std::nullopt;
}

// The last disk image read, kept while it is unchanged: browsing and batches read many
// files of one disk. stamp is the disk's as the caller just found it.
std::shared_ptr<const DiskImage> openDisk(const std::string& disk, const Stamp& stamp) {
    static std::mutex guard;
    static std::string keptName;
    static Stamp keptStamp;
    static std::shared_ptr<const DiskImage> kept;

    {
        const std::lock_guard lock(guard);
        if (kept && keptName == disk && keptStamp == stamp) {
            return kept;
        }
    }
    auto file = std::make_shared<const DiskFile>(disk);
    if (file->size() > kMaxDiskImageSize) {
        throw FileError(disk, "\"" + disk + "\" is too large for an MSX-DOS disk image",
                        Fault::diskTooLarge);
    }
    auto image = std::make_shared<const DiskImage>(disk, std::move(file));
    const std::lock_guard lock(guard);
    keptName = disk;
    keptStamp = stamp;
    kept = image;
    return image;
}

const DiskImage::File& fileOnDisk(const DiskImage& image, const DiskPath& where,
                                  const std::string& path) {
    if (const DiskImage::File* file = image.find(where.inner)) {
        return *file;
    }
    throw FileError(path, "Cannot open file \"" + path + "\": no such file on the disk",
                    Fault::noSuchFile);
}

void refuseEmpty(const std::string& path, std::uint64_t size) {
    if (size == 0) {
        throw FileError(path, "File \"" + path + "\" is empty", Fault::empty);
    }
}

std::vector<std::string> sortedByName(std::vector<std::string> paths, const std::string& folder) {
    const std::size_t skip = folder == "." ? 0 : joined(folder, "").size();
    std::sort(paths.begin(), paths.end(), [skip](const std::string& a, const std::string& b) {
        return compareNatural(std::string_view(a).substr(skip), std::string_view(b).substr(skip)) <
               0;
    });
    return paths;
}

std::vector<std::string> listDisk(const std::string& disk, const Stamp& stamp) {
    const auto image = openDisk(disk, stamp);
    std::vector<std::string> paths;
    for (const DiskImage::File& file : image->files()) {
        paths.push_back(disk + "/" + file.path());
    }
    return sortedByName(std::move(paths), disk);
}

std::vector<std::string> listDirectory(const std::string& folder) {
    std::vector<std::string> paths;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) {
            paths.push_back(joined(folder, it->path().filename().string()));
        }
    }
    return sortedByName(std::move(paths), folder);
}

struct KeptListing {
    Stamp stamp;
    FolderListing paths;
};

} // namespace

std::optional<DiskPath> splitDiskPath(const std::string& path) {
    if (auto found = findDiskPath(path)) {
        return std::move(found->where);
    }
    return std::nullopt;
}

bool isDiskImage(const std::string& path) {
    return hasDiskExtension(path) && stampOf(path, false).has_value();
}

InputBytes readInput(const std::string& path, std::size_t limit) {
    InputBytes input;
    if (const auto found = findDiskPath(path)) {
        const auto image = openDisk(found->where.disk, found->stamp);
        const DiskImage::File& file = fileOnDisk(*image, found->where, path);
        input.size = file.size();
        refuseEmpty(path, input.size);
        input.bytes = image->read(file, limit);
        return input;
    }
    InputFile in(path);
    input.size = in.size();
    refuseEmpty(path, input.size);
    input.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(input.size, limit)));
    input.bytes.resize(in.read(input.bytes));
    return input;
}

std::string folderOf(const std::string& path) {
    if (const auto where = splitDiskPath(path)) {
        return where->disk;
    }
    return directoryOf(path);
}

std::string hostFolderOf(const std::string& path) {
    if (const auto where = splitDiskPath(path)) {
        return directoryOf(where->disk);
    }
    return directoryOf(path);
}

std::string hostFileOf(const std::string& path) {
    if (const auto where = splitDiskPath(path)) {
        return where->disk;
    }
    return path;
}

std::string nameInFolder(const std::string& path) {
    if (const auto where = splitDiskPath(path)) {
        return where->inner;
    }
    return baseNameOf(path);
}

std::vector<FileError> damageOf(const std::string& folder) {
    const auto stamp = hasDiskExtension(folder) ? stampOf(folder, false) : std::nullopt;
    if (!stamp) {
        return {};
    }
    return openDisk(folder, *stamp)->problems();
}

FolderListing listFolder(const std::string& folder) {
    // One stat: a disk image is a regular file with its extension, else a directory.
    auto stamp = hasDiskExtension(folder) ? stampOf(folder, false) : std::nullopt;
    const bool disk = stamp.has_value();
    if (!disk) {
        stamp = stampOf(folder, true);
    }
    static std::mutex guard;
    static std::map<std::string, KeptListing> kept;
    if (!stamp) {
        return std::make_shared<const std::vector<std::string>>();
    }
    {
        const std::lock_guard lock(guard);
        if (const auto it = kept.find(folder); it != kept.end() && it->second.stamp == *stamp) {
            return it->second.paths;
        }
    }
    auto paths = std::make_shared<const std::vector<std::string>>(disk ? listDisk(folder, *stamp)
                                                                       : listDirectory(folder));
    const std::lock_guard lock(guard);
    if (kept.size() >= kKeptListings) {
        kept.clear();
    }
    kept[folder] = KeptListing{*stamp, paths};
    return paths;
}

} // namespace tessarin
