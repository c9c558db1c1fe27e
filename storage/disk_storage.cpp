#include "storage/disk_storage.h"

#include "names/ascii_case.h"
#include "platform/file_error.h"
#include "platform/file_stream.h"
#include "storage/disk_reader.h"

#include <algorithm>
#include <memory>

namespace tessarin {

namespace {

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

std::shared_ptr<const DiskReader> openImageFile(const std::string& disk) {
    auto file = std::make_shared<const DiskFile>(disk);
    if (file->size() > kMaxDiskImageSize) {
        throw FileError(disk, "\"" + disk + "\" is too large for an MSX-DOS disk image",
                        Fault::diskTooLarge);
    }
    return file;
}

} // namespace

DiskStorage::DiskStorage(const std::string& disk) : image_(disk, openImageFile(disk)) {}

DiskStorage::DiskStorage(const std::string& disk, std::vector<std::uint8_t> bytes)
    : image_(disk, std::make_shared<const MemoryDiskReader>(std::move(bytes))) {}

std::vector<std::string> DiskStorage::names() const {
    std::vector<std::string> names;
    names.reserve(image_.files().size());
    for (const DiskImage::File& file : image_.files()) {
        names.push_back(file.path());
    }
    return names;
}

InputBytes DiskStorage::read(const std::string& name, std::size_t limit,
                             const std::string& path) const {
    const DiskImage::File* file = image_.find(name);
    if (file == nullptr) {
        throw FileError(path, "Cannot open file \"" + path + "\": no such file on the disk",
                        Fault::noSuchFile);
    }
    InputBytes input;
    input.size = file->size();
    if (input.size == 0) {
        throw FileError(path, "File \"" + path + "\" is empty", Fault::empty);
    }
    // What the entry claims is not read past what the caller can use.
    input.bytes = image_.read(*file, limit);
    return input;
}

std::optional<std::uint64_t> DiskStorage::sizeOf(const std::string& name) const {
    const DiskImage::File* file = image_.find(name);
    return file == nullptr ? std::nullopt : std::optional<std::uint64_t>(file->size());
}

std::vector<FileError> DiskStorage::problems() const {
    return image_.problems();
}

} // namespace tessarin
