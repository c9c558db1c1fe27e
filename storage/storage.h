#pragma once

#include "platform/file_error.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessarin {

// The first bytes of an input and its size.
struct InputBytes {
    std::vector<std::uint8_t> bytes; // at most the limit asked for
    std::uint64_t size = 0;
};

// A place that holds files: a folder of the file system, an MSX-DOS disk image. Files are
// named inside it ("PIC.SC5", "PICS/TITLE.SC5" on a disk). A new kind is a class of its own,
// one line in location.cpp and one case in storage_kinds.cpp. Safe to read from several
// threads at once.
class Storage {
public:
    virtual ~Storage() = default;

    // The names of the place's regular files, subfolders of a disk followed, in no order.
    // A folder that cannot be read lists nothing.
    [[nodiscard]] virtual std::vector<std::string> names() const = 0;

    // At most limit bytes from the start of the named file, and its size. path is the
    // place and the name as the caller spelled them; FileError names it when the file
    // cannot be opened or read or holds nothing.
    [[nodiscard]] virtual InputBytes read(const std::string& name, std::size_t limit,
                                          const std::string& path) const = 0;

    // The size of the named file where the place knows it without reading the file (a
    // directory's entry, a disk's directory, an archive's header); nothing otherwise.
    [[nodiscard]] virtual std::optional<std::uint64_t> sizeOf(const std::string& name) const = 0;

    // What was found wrong while listing (a disk's loops, cut chains, directories past the
    // end, too deep or too many entries), each as the error naming the place, once, in the
    // order met; empty for a sound place.
    [[nodiscard]] virtual std::vector<FileError> problems() const { return {}; }
};

} // namespace tessarin
