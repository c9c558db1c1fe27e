#pragma once

#include "storage/stamp.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessarin {

// What kind of place holds files: how its storage is opened.
enum class PlaceKind : std::uint8_t {
    none,      // no place: a file of another kind, or nothing
    directory, // a folder of the file system
    disk,      // an MSX-DOS disk image (".dsk")
    dmk,       // an MSX-DOS disk as a DMK track image (".dmk"), read as a disk image
    cassette,  // a cassette image (".cas"), one folder of its files
    packed,    // a packed file of one file (".zx0", ".zx7", ".apl": packings.h)
    archive,   // an archive of members in folders (".zip", ".lzh", ".lha", ".7z")
    gzip,      // a gzip file of one file (".gz"), read as an archive
};

// Where a name as the viewer and the exporter are given it leads: a file or directory of
// the file system (the host), or a file inside a file of a kind that holds files there,
// named by a path through it ("GAME.DSK/PIC.SC5", "GAME.ZIP/PICS/TITLE.SC5"). A disk image,
// cassette image or packed file inside an archive is a place too, one level deep
// ("GAME.ZIP/GAME.DSK/PIC.SC5"). Made once where a name enters; what a name is, is decided
// here and nowhere else. A name is kept as spelled: two names of one file are two
// locations. What the file system held when it was made; a changed file needs a new one.
// Only of(), child() and folder() stat, as they say; the other queries read the value.
// Location() is the empty name, no location.
class Location {
public:
    // The location of path. Stats (links followed) the prefixes of path of a kind that
    // holds files, in order, up to the first that is a regular file (the host); through
    // none, path itself. Nothing is opened or read; the empty name is stat'ed not at all.
    [[nodiscard]] static Location of(const std::string& path);

    // The host file file (no place, through none) as a packed file of packing (an extension
    // of kPackings, packings.h) whatever its name says: a place of the one file it holds,
    // which is what is returned. Stats nothing: for a file already found to unpack so.
    [[nodiscard]] static Location packedAs(const Location& file, std::string_view packing);

    // The location of name as this place lists it ("PICS/TITLE.SC5" in an archive), beside
    // what folder() gives; for a place only. Stats nothing but, in a directory, a name of a
    // kind that holds files (its stamp).
    [[nodiscard]] Location child(const std::string& name) const;

    // The name as spelled.
    [[nodiscard]] const std::string& path() const { return path_; }
    // The place it is: a directory, a file of a kind that holds files on the file system,
    // a disk image or packed file one level inside an archive; none for anything else.
    [[nodiscard]] PlaceKind kind() const { return kind_; }
    [[nodiscard]] bool isPlace() const { return kind_ != PlaceKind::none; }
    // Whether it is a place that is a file (a disk image, an archive, a packed file).
    [[nodiscard]] bool holdsFiles() const;
    // Whether its folders are its own, kept by a batch (an archive's), not one folder of
    // all its files (a disk image's).
    [[nodiscard]] bool keepsFolders() const;
    // The one file a packed or gzip place holds ("X.SR8.zx0/X.SR8"), which it stands for;
    // nothing for another.
    [[nodiscard]] std::optional<Location> soleFile() const;

    // The name that chooses the unpacker of a packed place it is or leads through: the
    // packing packedAs gave it, else its path.
    [[nodiscard]] std::string_view packingName() const {
        return packing_.empty() ? std::string_view(path_) : packing_;
    }

    // Whether the name leads through a file of a kind that holds files.
    [[nodiscard]] bool throughPlace() const { return !chain_.empty(); }
    // The folder it is listed in: the innermost place it leads through (no stat), else its
    // directory (stat'ed).
    [[nodiscard]] Location folder() const;
    // Its name inside that folder ("PICS/TITLE.SC5" inside an archive, else the file's
    // name).
    [[nodiscard]] std::string nameInFolder() const;
    // The file-system file that holds it: the disk image or archive for a name through
    // one, else the name. What a save must not replace.
    [[nodiscard]] std::string hostFile() const;
    // The file-system folder holding hostFile().
    [[nodiscard]] std::string hostFolder() const;
    // The host's stamp when the location was made: what tells a changed place from the one
    // listed before. Filled in for a place; for another name it may not be.
    [[nodiscard]] const Stamp& stamp() const { return stamp_; }

private:
    // A file of a kind that holds files that the name leads through: where its name ends
    // in path_ (at the '/' after it) and its kind.
    struct Step {
        std::size_t end;
        PlaceKind kind;
    };

    // The steps from the host, a file of kind hostKind whose name ends at hostEnd, on:
    // inside an archive one more place, and whether path_ itself is one. Lexical.
    void leadThrough(std::size_t hostEnd, PlaceKind hostKind);

    std::string path_;
    std::vector<Step> chain_; // outermost first: the host
    PlaceKind kind_ = PlaceKind::none;
    Stamp stamp_;
    std::string_view packing_; // of a packed host its name does not name (packedAs)
};

// The extensions of the kinds of file that hold files (".dsk", ".zip"), for the open dialog.
[[nodiscard]] std::span<const std::string_view> fileKindExtensions();

// What a listed file of a kind that holds files is browsed as: the name of the one file a
// packed file holds ("X.SR8" for "X.SR8.zx0"), "" for a disk image or archive (a place,
// no picture); nothing for a name of no such kind. By the name alone, wherever it lies.
[[nodiscard]] std::optional<std::string> heldNameOf(std::string_view name);

} // namespace tessarin
