#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tessarin {

// Random access to the bytes of a disk image. A disk is read where it is needed, so that
// a batch over it reads its FAT, its directories and the files it converts, not the whole
// image.
class DiskReader {
public:
    virtual ~DiskReader() = default;

    // The image's size in bytes.
    [[nodiscard]] virtual std::uint64_t size() const = 0;
    // Fills out from offset; fewer bytes only at the end of the image, and how many is
    // returned. Safe from several threads at once. A read error throws FileError.
    [[nodiscard]] virtual std::size_t readAt(std::uint64_t offset,
                                             std::span<std::uint8_t> out) const = 0;
};

} // namespace tessarin
