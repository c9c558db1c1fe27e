#pragma once

#include "platform/file_error.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

// Files as the viewer and the exporter name them: a file of the file system, or a file
// inside an MSX-DOS disk image named by a path through the image, which stands for a
// folder ("GAME.DSK/PIC.SC5", "GAME.DSK/PICS/TITLE.SC5"). Reading and listing both go
// through here, so that every rule about names, layouts and pairing applies alike.

// The first bytes of an input and its size.
struct InputBytes {
    std::vector<std::uint8_t> bytes; // at most the limit asked for
    std::uint64_t size = 0;
};

// The largest disk image read; MSX-DOS hard disk partitions are at most 32 MB.
inline constexpr std::uint64_t kMaxDiskImageSize = 32 * 1024 * 1024;

// Reads at most limit bytes from the start of path. FileError naming path when it cannot
// be opened or read (only regular files are opened, without blocking) or holds nothing.
[[nodiscard]] InputBytes readInput(const std::string& path, std::size_t limit);

// The extension of disk images, in any case.
inline constexpr std::string_view kDiskExtension = ".dsk";

// Whether path names a disk image by its extension (".DSK", any case) and is a regular
// file; its content is checked when it is read.
[[nodiscard]] bool isDiskImage(const std::string& path);

// The disk image a path leads through and the path inside it; nothing for a path that
// does not lead through a disk image.
struct DiskPath {
    std::string disk;
    std::string inner;
};
[[nodiscard]] std::optional<DiskPath> splitDiskPath(const std::string& path);

// The folder path is listed in: a disk image for a path through one, else its directory.
[[nodiscard]] std::string folderOf(const std::string& path);
// The file-system folder that holds path: the disk image's folder for a path through one.
[[nodiscard]] std::string hostFolderOf(const std::string& path);

// The files of folder (a directory or a disk image), as paths beside what folderOf gives,
// in file-manager order (compareNatural of the names inside the folder). A directory's
// listing is kept and read again only when the directory changes. An unreadable folder
// lists nothing; a disk image that is no MSX-DOS disk throws FileError naming it.
// Shared, not copied: a folder may hold 100,000 files.
using FolderListing = std::shared_ptr<const std::vector<std::string>>;
[[nodiscard]] FolderListing listFolder(const std::string& folder);

// What was found wrong on the disk image folder while listing it (loops, cut chains,
// directories past the end, too deep or too many entries), each as the error naming the
// disk and the place inside it, once, in the order met; empty for a sound disk and for a
// directory. FileError naming the disk when it is no MSX-DOS disk.
[[nodiscard]] std::vector<FileError> damageOf(const std::string& folder);

// The file-system file that holds path: the disk image for a path through one, else path.
[[nodiscard]] std::string hostFileOf(const std::string& path);

// The name of path inside its folder ("PICS/TITLE.SC5" inside a disk image, else the
// file's name).
[[nodiscard]] std::string nameInFolder(const std::string& path);

} // namespace tessarin
