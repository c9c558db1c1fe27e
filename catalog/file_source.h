#pragma once

#include "catalog/picture_kind.h"
#include "names/file_name_rule.h"
#include "names/name_index.h"
#include "storage/location.h"
#include "storage/stamp.h"
#include "storage/storage.h"

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tessarin {

// The files of a folder (a directory, a disk image, an archive: a place, see location.h),
// as the folder's children, in file-manager order. Shared, not copied: a folder may hold
// 100,000 files.
using FolderListing = std::shared_ptr<const std::vector<Location>>;

// Everything that reads input reads through here: the document, browsing, the batch
// planner, the mapping dialog, each with the Location made where its name entered. It keeps
// what it found of the last few places (a folder's listing, an open disk image, the names
// paired in them) while each is unchanged: browsing and batches read many files of one
// folder. Safe from several threads at once.
class FileSource {
public:
    // At most limit bytes from the start of path, and its size. FileError naming path when
    // it cannot be opened or read (only regular files are opened, without blocking) or
    // holds nothing; a disk image that is no MSX-DOS disk is named too.
    [[nodiscard]] InputBytes read(const Location& path, std::size_t limit);

    // The name rule for path with its size: a palette by its name that is too large to be
    // one is a screen file; a palette by its bytes (GAMEPAL.SC5) is a palette whatever its
    // name. A file that cannot be read goes by its name.
    [[nodiscard]] FileNameChoice choose(const Location& path);

    // The files of folder in file-manager order (compareNatural of the names inside it).
    // A folder that cannot be read lists nothing; a disk image that is no MSX-DOS disk
    // throws FileError naming it.
    [[nodiscard]] FolderListing listFolder(const Location& folder);

    // What was found wrong in folder while listing it (see Storage::problems): a disk
    // image's loops, cut chains, directories past the end, too deep or too many entries.
    // Empty for a sound disk and for a directory; FileError as listFolder.
    [[nodiscard]] std::vector<FileError> damageOf(const Location& folder);

    // Whether path is a picture file and in which mode, or a palette (pictureKind of its
    // first bytes). A file that cannot be read is no picture.
    [[nodiscard]] PictureKind pictureKindOf(const Location& path);

    // The mode path is shown in, and why, by the one mode rule (screenModeOf) on its first
    // bytes; by its name when it cannot be read.
    [[nodiscard]] std::optional<ModeRuling> screenModeOf(const Location& path);

    // Browsing. The screen files of a folder are its picture files (pictureKindOf), but
    // companions (page 1 of another screen file present) not on their own.

    // The screen files of folder, in browsing order.
    [[nodiscard]] std::vector<Location> screenFilesOf(const Location& folder);
    // A screen file of a folder with its mode by the one mode rule on what the listing read
    // of it (its name, or its first bytes where the name leaves it to them); nothing where
    // neither gives one.
    struct ListedScreenFile {
        Location file;
        std::optional<ModeRuling> mode;
    };
    // The screen files of folder as screenFilesOf lists them, each with its mode, reading
    // nothing more than the listing did.
    [[nodiscard]] std::vector<ListedScreenFile> listedScreenFilesOf(const Location& folder);
    // The screen file step places after (step > 0) or before (step < 0) current among the
    // screen files of its folder, the first or last where the folder holds fewer. Nothing
    // where current is already at that end, or when the folder cannot be read.
    [[nodiscard]] std::optional<Location> neighbourScreenFile(const Location& current, int step);
    // Where current stands among the screen files of its folder: its place from 1 and
    // their count; nothing when it is not among them.
    [[nodiscard]] std::optional<std::pair<int, int>> placeInFolder(const Location& current);
    // The companion beside screenFile (X.S17 for X.SC7): page 1 of its picture.
    [[nodiscard]] std::optional<Location> companionOf(const Location& screenFile);
    // The palette file of screenFile in its folder (PIC.PL5 for PIC.SC5).
    [[nodiscard]] std::optional<Location> paletteOf(const Location& screenFile);
    // The one palette file of screenFile's folder (PictureKind::palette: by its name and
    // bytes, or by its bytes alone, GAMEPAL.SC5) that no picture of the folder is named
    // after; nothing when the folder holds none or several. Worked out once, when first
    // asked.
    [[nodiscard]] std::optional<Location> folderPaletteOf(const Location& screenFile);

private:
    // What one place holds, worked out once while it is unchanged.
    struct Place {
        Stamp stamp;
        std::shared_ptr<const Storage> storage;
        FolderListing listing;
        NameIndex names;                      // the names inside the place, in listing order
        std::vector<std::string> screenNames; // browsed, in order
        std::vector<std::optional<ModeRuling>> screenModes;       // of screenNames, by index
        std::unordered_map<std::string, std::size_t> screenPlace; // name -> index
        std::unordered_map<std::string, std::size_t> foldedPlace; // folded name -> first
        // The kinds of the files whose bytes were read, by name.
        std::unordered_map<std::string, PictureKind> kindByBytes;
        // The palette files by their bytes, in listing order.
        std::vector<std::string> palettes;
        // The folder's only palette file, found at the first question.
        struct OnlyPalette {
            std::once_flag found;
            std::optional<std::string> name;
        };
        std::shared_ptr<OnlyPalette> onlyPalette = std::make_shared<OnlyPalette>();
    };
    // The folder's only palette file among the place's files that no picture of it is
    // named after; nothing for none or several.
    [[nodiscard]] static std::optional<std::string> onlyPaletteIn(const Place& place);
    // What folder holds; nothing listed when it is no place.
    [[nodiscard]] std::shared_ptr<const Place> placeAt(const Location& folder);
    [[nodiscard]] static std::shared_ptr<const Place> make(const Location& folder);
    // The kind of the file name in storage by its first bytes; path names it for errors.
    [[nodiscard]] static PictureKind kindByBytes(const Storage& storage, const std::string& name,
                                                 const std::string& path);

    std::mutex guard_;
    std::map<std::string, std::shared_ptr<const Place>> places_;
};

// The process's one file source: the viewer's commands and a batch's threads share what it
// keeps. Made at its first use, it lasts as long as the process; it holds a few listings
// and open disk images, nothing that needs closing at exit.
[[nodiscard]] FileSource& fileSource();

} // namespace tessarin
