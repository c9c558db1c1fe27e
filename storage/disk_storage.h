#pragma once

#include "storage/disk_image.h"
#include "storage/storage.h"

#include <cstdint>
#include <string>

namespace tessarin {

// The largest disk image read; MSX-DOS hard disk partitions are at most 32 MB.
inline constexpr std::uint64_t kMaxDiskImageSize = 32 * 1024 * 1024;

// An MSX-DOS disk image file: its FAT and directories read when it is opened, a file's
// clusters when the file is read; the image stays open while the storage lives.
class DiskStorage final : public Storage {
public:
    // FileError naming disk when it cannot be opened, is too large or is no MSX-DOS disk.
    explicit DiskStorage(const std::string& disk);
    // A disk image's bytes read from elsewhere (an archive's member), named disk in errors.
    DiskStorage(const std::string& disk, std::vector<std::uint8_t> bytes);

    [[nodiscard]] std::vector<std::string> names() const override;
    [[nodiscard]] std::optional<std::uint64_t> sizeOf(const std::string& name) const override;
    [[nodiscard]] std::vector<FileError> problems() const override;
    [[nodiscard]] InputBytes read(const std::string& name, std::size_t limit,
                                  const std::string& path) const override;

private:
    DiskImage image_;
};

} // namespace tessarin
