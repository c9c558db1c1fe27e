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
// inside a file that holds a place of its own (a disk image, an archive, a packed file),
// named by a path through it ("GAME.DSK/PIC.SC5", "GAME.ZIP/PICS/TITLE.SC5"). A disk image
// or packed file inside an archive is a place too, one level deep
// ("GAME.ZIP/GAME.DSK/PIC.SC5"). What a path is decides its kind of storage, here and
// nowhere else.

// A place found: a directory, or a file of a kind that holds files, on the file system or
// inside an archive there.
struct FoundPlace {
    std::string path;
    Stamp stamp; // of the file-system file or directory holding it
    bool isFile = false;
    std::string archive; // the archive it lies in; empty for a place of the file system
};

// The place at path, with one stat; nothing when it is neither.
[[nodiscard]] std::optional<FoundPlace> findPlace(const std::string& path);

// The storage of a place found. FileError naming it when a file of its kind is not one.
[[nodiscard]] std::unique_ptr<const Storage> openStorage(const FoundPlace& place);

// The extensions of the kinds of file that hold files (".dsk", ".zip"), for the open dialog.
[[nodiscard]] std::span<const std::string_view> fileKindExtensions();

// Whether path is a file of a kind that holds files (a disk image, an archive by its
// name), of the file system or inside an archive there.
[[nodiscard]] bool holdsFiles(const std::string& path);

// The one file a packed or gzip file holds, as a path through it ("X.SR8.zx0/X.SR8"), for
// a file of such a kind; else nothing. Such a file stands for what it holds.
[[nodiscard]] std::optional<std::string> soleFileOf(const std::string& path);

// What a listed file of a kind that holds files is browsed as: the name of the one file a
// packed file holds ("X.SR8" for "X.SR8.zx0"), "" for a disk image or archive (a place,
// no picture); nothing for a name of no such kind. By the name alone.
[[nodiscard]] std::optional<std::string> heldNameOf(std::string_view name);

// Whether the place at path has folders of its own that a batch keeps (an archive's), not
// one folder of all its files (a disk image's).
[[nodiscard]] bool keepsFolders(const std::string& path);

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
// The file-system folder that holds path: the disk image's or archive's folder for a path
// through one.
[[nodiscard]] std::string hostFolderOf(const std::string& path);
// The file-system file that holds path: the disk image or archive for a path through one,
// else path.
// What a save must not replace.
[[nodiscard]] std::string hostFileOf(const std::string& path);
// The name of path inside its folder ("PICS/TITLE.SC5" inside a disk image, else the
// file's name).
[[nodiscard]] std::string nameInFolder(const std::string& path);

} // namespace tessarin
