#include "catalog/file_source.h"

#include "formats/palette_shape.h"
#include "names/ascii_case.h"
#include "names/name_parts.h"
#include "names/natural_order.h"
#include "platform/file_error.h"
#include "storage/folder_storage.h"

#include <algorithm>

namespace tessarin {

namespace {

// Places whose listings are kept; browsing needs one, a batch a few.
constexpr std::size_t kKeptPlaces = 8;
// The kind of a listed file that holds files, by its name: a packed picture is the picture
// it holds (without unpacking it while listing), a disk image or archive none; nothing for
// another name.
std::optional<PictureKind> kindOfPlaceName(const std::string& name) {
    const std::optional<std::string> held = heldNameOf(name);
    if (!held) {
        return pictureKindByName(name);
    }
    if (held->empty()) {
        return PictureKind{false, std::nullopt, NotPicture::place};
    }
    return pictureKindByName(*held).value_or(PictureKind{false, std::nullopt, NotPicture::place});
}

// What a path is browsed as among its folder's files: the packed file for the one file
// it holds, else itself.
std::string browsedAs(const std::string& path) {
    if (const auto where = splitPlacePath(path); where && soleFileOf(where->place.path) == path) {
        return where->place.path;
    }
    return path;
}

// Whether a file whose name decides is read all the same: its size, where the place knows
// it, may be an empty file's or a palette's.
bool bytesDecide(const Storage& storage, const std::string& name) {
    const std::optional<std::uint64_t> size = storage.sizeOf(name);
    return size && (*size == 0 || mayBePaletteFile(*size));
}

// The kind of the file name by the first bytes read gives; an empty file is one of no bytes
// (a storage refuses to read it), one that cannot be read is no picture.
template <typename Read> PictureKind kindOfRead(const std::string& name, Read read) {
    try {
        // A palette file is read whole in the same read: the largest is 256 bytes.
        const InputBytes head = read();
        return pictureKind(name, head.bytes, head.size);
    } catch (const FileError& error) {
        if (error.fault() == Fault::empty) {
            return pictureKind(name, {}, 0);
        }
        return {false, std::nullopt, NotPicture::unreadableFile};
    }
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder == ".") {
        return name; // a name given without a folder stays so
    }
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

} // namespace

FileSource& fileSource() {
    static FileSource source;
    return source;
}

InputBytes FileSource::read(const std::string& path, std::size_t limit) {
    if (const auto where = splitPlacePath(path)) {
        return placeOf(where->place)->storage->read(where->inner, limit, path);
    }
    return readHostFile(path, limit);
}

FileNameChoice FileSource::choose(const std::string& path) {
    const std::string name = nameInFolder(path);
    try {
        const InputBytes head = read(path, kKindHeadBytes);
        if (isPaletteByContent(head.bytes, head.size)) {
            return {FileSlot::palette, std::nullopt}; // GAMEPAL.SC5
        }
        return chooseByNameAndSize(name, head.size);
    } catch (const FileError&) {
        return chooseByFileName(name); // reported when it is opened
    }
}

FolderListing FileSource::listFolder(const std::string& folder) {
    return placeAt(folder)->listing;
}

std::vector<FileError> FileSource::damageOf(const std::string& folder) {
    const auto place = placeAt(folder);
    return place->storage ? place->storage->problems() : std::vector<FileError>{};
}

std::shared_ptr<const FileSource::Place> FileSource::placeAt(const std::string& folder) {
    if (const auto found = findPlace(folder)) {
        return placeOf(*found);
    }
    static const auto kNowhere =
        std::make_shared<const Place>(Place{{},
                                            nullptr,
                                            std::make_shared<const std::vector<std::string>>(),
                                            NameIndex({}),
                                            {},
                                            {},
                                            {},
                                            {},
                                            {}});
    return kNowhere;
}

std::shared_ptr<const FileSource::Place> FileSource::placeOf(const FoundPlace& found) {
    {
        const std::lock_guard lock(guard_);
        if (const auto it = places_.find(found.path);
            it != places_.end() && it->second->stamp == found.stamp) {
            return it->second;
        }
    }
    auto place = make(found);
    const std::lock_guard lock(guard_);
    if (places_.size() >= kKeptPlaces) {
        places_.clear();
    }
    places_[found.path] = place;
    return place;
}

std::shared_ptr<const FileSource::Place> FileSource::make(const FoundPlace& found) {
    std::shared_ptr<const Storage> storage = openStorage(found);
    std::vector<std::string> names = storage->names();
    std::ranges::sort(
        names, [](const std::string& a, const std::string& b) { return compareNatural(a, b) < 0; });
    auto listing = std::make_shared<std::vector<std::string>>();
    listing->reserve(names.size());
    std::vector<NamedFile> named;
    named.reserve(names.size());
    for (std::string& name : names) {
        listing->push_back(joined(found.path, name));
        const FileSlot slot = chooseByFileName(name).slot;
        named.push_back(NamedFile{std::move(name), slot});
    }
    Place place{found.stamp,
                std::move(storage),
                std::move(listing),
                NameIndex(std::move(named)),
                {},
                {},
                {},
                {},
                {}};
    for (const NamedFile& file : place.names.files()) {
        std::optional<PictureKind> kind = kindOfPlaceName(file.name);
        if (!kind || (!heldNameOf(file.name) && bytesDecide(*place.storage, file.name))) {
            // Only names that leave it to the bytes are read, and files of a size that may be
            // empty or a palette (GAMEPAL.SC5), and only their first bytes.
            kind = kindByBytes(*place.storage, file.name, joined(found.path, file.name));
            place.kindByBytes.emplace(file.name, *kind);
        }
        if (kind->palette) {
            place.palettes.push_back(file.name);
        }
        if (kind->picture && !place.names.isShownWithItsScreen(file.name)) {
            // PIC.SC5 and pic.sc5 on a disk are two files, each in its own place.
            place.screenPlace.emplace(file.name, place.screenNames.size());
            place.foldedPlace.emplace(asciiLower(file.name), place.screenNames.size());
            place.screenNames.push_back(file.name);
        }
    }
    return std::make_shared<const Place>(std::move(place));
}

PictureKind FileSource::kindByBytes(const Storage& storage, const std::string& name,
                                    const std::string& path) {
    return kindOfRead(name, [&] { return storage.read(name, kKindHeadBytes, path); });
}

PictureKind FileSource::pictureKindOf(const std::string& path) {
    // Its own first bytes, not its folder's listing: one file named in a folder of
    // thousands reads only itself. Even a name that decides may be empty or a palette.
    return kindOfRead(nameInFolder(path), [&] { return read(path, kKindHeadBytes); });
}

std::optional<ScreenMode> FileSource::screenModeOf(const std::string& path) {
    const std::string name = nameInFolder(path);
    try {
        const InputBytes head = read(path, kKindHeadBytes);
        return tessarin::screenModeOf(name, head.bytes, head.size);
    } catch (const FileError&) {
        return chooseByFileName(name).screenMode; // reported when it is opened
    }
}

std::vector<std::string> FileSource::screenFilesOf(const std::string& folder) {
    const auto place = placeAt(folder);
    std::vector<std::string> paths;
    paths.reserve(place->screenNames.size());
    for (const std::string& name : place->screenNames) {
        paths.push_back(joined(folder, name));
    }
    return paths;
}

std::optional<std::string> FileSource::neighbourScreenFile(const std::string& shown, int step) {
    const std::string current = browsedAs(shown);
    const std::string folder = folderOf(current);
    const auto place = placeAt(folder);
    const std::vector<std::string>& names = place->screenNames;
    const std::string name = nameInFolder(current);
    // Where current is or would be: the file may have vanished since it was opened.
    const auto at =
        std::ranges::lower_bound(names, name, [](const std::string& a, const std::string& b) {
            return compareNatural(a, b) < 0;
        });
    const bool present = at != names.end() && *at == name;
    const std::ptrdiff_t index = at - names.begin();
    const auto count = static_cast<std::ptrdiff_t>(names.size());
    // Where current is missing, index is the file after it: one step forward already.
    const std::ptrdiff_t wanted = index + step - (!present && step > 0 ? 1 : 0);
    const std::ptrdiff_t target = std::clamp<std::ptrdiff_t>(wanted, 0, count - 1);
    if (step == 0 || count == 0 || (present && target == index) ||
        (!present && step < 0 && index == 0) || (!present && step > 0 && index == count)) {
        return std::nullopt;
    }
    return joined(folder, names[static_cast<std::size_t>(target)]);
}

std::optional<std::pair<int, int>> FileSource::placeInFolder(const std::string& shown) {
    const std::string current = browsedAs(shown);
    const auto place = placeAt(folderOf(current));
    const std::string name = nameInFolder(current);
    const auto placed = [&](std::size_t at) {
        return std::pair{static_cast<int>(at) + 1, static_cast<int>(place->screenNames.size())};
    };
    if (const auto exact = place->screenPlace.find(name); exact != place->screenPlace.end()) {
        return placed(exact->second);
    }
    const auto folded = place->foldedPlace.find(asciiLower(name));
    if (folded == place->foldedPlace.end()) {
        return std::nullopt;
    }
    return placed(folded->second);
}

std::optional<std::string> FileSource::companionOf(const std::string& screenFile) {
    const std::string folder = folderOf(screenFile);
    const auto companion = placeAt(folder)->names.companionOf(nameInFolder(screenFile));
    return companion ? std::optional(joined(folder, *companion)) : std::nullopt;
}

std::optional<std::string> FileSource::paletteOf(const std::string& screenFile) {
    std::string folder = folderOf(screenFile);
    auto palette = placeAt(folder)->names.paletteOf(nameInFolder(screenFile));
    if (!palette && browsedAs(screenFile) != screenFile) {
        // A packed picture pairs with the palettes beside it, by the name it holds.
        folder = folderOf(folder);
        palette = placeAt(folder)->names.paletteOf(nameInFolder(screenFile));
    }
    return palette ? std::optional(joined(folder, *palette)) : std::nullopt;
}

std::optional<std::string> FileSource::folderPaletteOf(const std::string& screenFile) {
    const std::string folder = folderOf(screenFile);
    const auto place = placeAt(folder);
    Place::OnlyPalette& only = *place->onlyPalette;
    std::call_once(only.found, [&] { only.name = onlyPaletteIn(*place); });
    return only.name ? std::optional(joined(folder, *only.name)) : std::nullopt;
}

std::optional<std::string> FileSource::onlyPaletteIn(const Place& place) {
    // A palette named after a picture of the folder is that picture's, no one else's.
    std::unordered_set<std::string> pictureBases;
    for (const std::string& screen : place.screenNames) {
        pictureBases.insert(asciiLower(baseNameWithoutExtension(screen)));
    }
    std::optional<std::string> found;
    for (const std::string& palette : place.palettes) {
        if (pictureBases.contains(asciiLower(baseNameWithoutExtension(palette)))) {
            continue;
        }
        if (found) {
            return std::nullopt; // two: which would be a guess
        }
        found = palette;
    }
    return found;
}

} // namespace tessarin
