#pragma once

#include "storage/stamp.h"
#include "storage/storage.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tessarin {

// Paths as the viewer and the exporter name files: a file of the file system, or a file
// inside a file that holds a place of its own (a disk image), named by a path through it
// ("GAME.DSK/PIC.SC5", "GAME.DSK/PICS/TITLE.SC5"). What a path is decides its kind of
// storage, here and nowhere else.

// A place found on the file system: a directory, or a regular file of a kind that holds
// files.
struct FoundPlace {
    std::string path;
    Stamp stamp;
    bool isFile = false;
};

// The place at path, with one stat; nothing when it is neither.
[[nodiscard]] std::optional<FoundPlace> findPlace(const std::string& path);

// The storage of a place found. FileError naming it when a file of its kind is not one.
[[nodiscard]] std::unique_ptr<const Storage> openStorage(const FoundPlace& place);

// The extensions of the kinds of file that hold files (".dsk"), for the open dialog.
[[nodiscard]] std::span<const std::string_view> fileKindExtensions();

// Whether path is a regular file of a kind that holds files (a disk image by its name).
[[nodiscard]] bool holdsFiles(const std::string& path);

// The file holding a place that path leads through and the name inside it; nothing for a
// path that leads through none.
struct PlacePath {
    FoundPlace place;
    std::string inner;
};
[[nodiscard]] std::optional<PlacePath> splitPlacePath(const std::string& path);

// The folder path is listed in: the file holding it for a path through one, else its
// directory.
[[nodiscard]] std::string folderOf(const std::string& path);
// The file-system folder that holds path: the disk image's folder for a path through one.
[[nodiscard]] std::string hostFolderOf(const std::string& path);
// The file-system file that holds path: the disk image for a path through one, else path.
// What a save must not replace.
[[nodiscard]] std::string hostFileOf(const std::string& path);
// The name of path inside its folder ("PICS/TITLE.SC5" inside a disk image, else the
// file's name).
[[nodiscard]] std::string nameInFolder(const std::string& path);

} // namespace tessarin
