#include "catalog/file_source.h"

#include "formats/palette_shape.h"
#include "names/ascii_case.h"
#include "names/name_parts.h"
#include "names/natural_order.h"
#include "platform/file_error.h"
#include "storage/folder_storage.h"
#include "storage/storage_kinds.h"

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

// What a file is browsed as among its folder's files: the packed file for the one file
// it holds, else itself.
Location browsedAs(const Location& file) {
    if (file.throughPlace()) {
        Location folder = file.folder();
        if (const auto sole = folder.soleFile(); sole && sole->path() == file.path()) {
            return folder;
        }
    }
    return file;
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

} // namespace

FileSource& fileSource() {
    static FileSource source;
    return source;
}

InputBytes FileSource::read(const Location& path, std::size_t limit) {
    if (!path.throughPlace()) {
        return readHostFile(path.path(), limit);
    }
    const Location folder = path.folder();
    if (!folder.isPlace()) {
        // Through a file that is no place of its own (an archive inside an archive).
        return openStorage(folder)->read(path.nameInFolder(), limit, path.path()); // throws
    }
    return placeAt(folder)->storage->read(path.nameInFolder(), limit, path.path());
}

FileNameChoice FileSource::choose(const Location& path) {
    const std::string name = path.nameInFolder();
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

FolderListing FileSource::listFolder(const Location& folder) {
    return placeAt(folder)->listing;
}

std::vector<FileError> FileSource::damageOf(const Location& folder) {
    const auto place = placeAt(folder);
    return place->storage ? place->storage->problems() : std::vector<FileError>{};
}

std::shared_ptr<const FileSource::Place> FileSource::placeAt(const Location& folder) {
    if (!folder.isPlace()) {
        static const auto kNowhere =
            std::make_shared<const Place>(Place{{},
                                                nullptr,
                                                std::make_shared<const std::vector<Location>>(),
                                                NameIndex({}),
                                                {},
                                                {},
                                                {},
                                                {},
                                                {},
                                                {}});
        return kNowhere;
    }
    {
        const std::lock_guard lock(guard_);
        if (const auto it = places_.find(folder.path());
            it != places_.end() && it->second->stamp == folder.stamp()) {
            return it->second;
        }
    }
    auto place = make(folder);
    const std::lock_guard lock(guard_);
    if (places_.size() >= kKeptPlaces) {
        places_.clear();
    }
    places_[folder.path()] = place;
    return place;
}

std::shared_ptr<const FileSource::Place> FileSource::make(const Location& folder) {
    std::shared_ptr<const Storage> storage = openStorage(folder);
    std::vector<std::string> names = storage->names();
    std::ranges::sort(
        names, [](const std::string& a, const std::string& b) { return compareNatural(a, b) < 0; });
    auto listing = std::make_shared<std::vector<Location>>();
    listing->reserve(names.size());
    std::vector<NamedFile> named;
    named.reserve(names.size());
    for (std::string& name : names) {
        listing->push_back(folder.child(name));
        const FileSlot slot = chooseByFileName(name).slot;
        named.push_back(NamedFile{std::move(name), slot});
    }
    Place place{folder.stamp(),
                std::move(storage),
                std::move(listing),
                NameIndex(std::move(named)),
                {},
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
            kind = kindByBytes(*place.storage, file.name, folder.child(file.name).path());
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
            // A packed picture is named for the one it holds (PIC.SC5.zx0: PIC.SC5).
            place.screenModes.push_back(
                tessarin::screenModeOf(heldNameOf(file.name).value_or(file.name), *kind));
        }
    }
    return std::make_shared<const Place>(std::move(place));
}

PictureKind FileSource::kindByBytes(const Storage& storage, const std::string& name,
                                    const std::string& path) {
    return kindOfRead(name, [&] { return storage.read(name, kKindHeadBytes, path); });
}

PictureKind FileSource::pictureKindOf(const Location& path) {
    // Its own first bytes, not its folder's listing: one file named in a folder of
    // thousands reads only itself. Even a name that decides may be empty or a palette.
    return kindOfRead(path.nameInFolder(), [&] { return read(path, kKindHeadBytes); });
}

std::optional<ModeRuling> FileSource::screenModeOf(const Location& path) {
    const std::string name = path.nameInFolder();
    try {
        const InputBytes head = read(path, kKindHeadBytes);
        return tessarin::screenModeOf(name, head.bytes, head.size);
    } catch (const FileError&) {
        // Reported when it is opened.
        const std::optional<ScreenMode> named = chooseByFileName(name).screenMode;
        return named ? std::optional(ModeRuling{*named, ModeWhy::name}) : std::nullopt;
    }
}

std::vector<Location> FileSource::screenFilesOf(const Location& folder) {
    const auto place = placeAt(folder);
    std::vector<Location> files;
    files.reserve(place->screenNames.size());
    for (const std::string& name : place->screenNames) {
        files.push_back(folder.child(name));
    }
    return files;
}

std::vector<FileSource::ListedScreenFile> FileSource::listedScreenFilesOf(const Location& folder) {
    const auto place = placeAt(folder);
    std::vector<ListedScreenFile> files;
    files.reserve(place->screenNames.size());
    for (std::size_t i = 0; i < place->screenNames.size(); ++i) {
        files.push_back({folder.child(place->screenNames[i]), place->screenModes[i]});
    }
    return files;
}

std::optional<Location> FileSource::neighbourScreenFile(const Location& shown, int step) {
    const Location current = browsedAs(shown);
    const Location folder = current.folder();
    const auto place = placeAt(folder);
    const std::vector<std::string>& names = place->screenNames;
    const std::string name = current.nameInFolder();
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
    return folder.child(names[static_cast<std::size_t>(target)]);
}

std::optional<std::pair<int, int>> FileSource::placeInFolder(const Location& shown) {
    const Location current = browsedAs(shown);
    const auto place = placeAt(current.folder());
    const std::string name = current.nameInFolder();
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

std::optional<Location> FileSource::companionOf(const Location& screenFile) {
    const Location folder = screenFile.folder();
    const auto companion = placeAt(folder)->names.companionOf(screenFile.nameInFolder());
    return companion ? std::optional(folder.child(*companion)) : std::nullopt;
}

std::optional<Location> FileSource::paletteOf(const Location& screenFile) {
    Location folder = screenFile.folder();
    const std::string name = screenFile.nameInFolder();
    auto palette = placeAt(folder)->names.paletteOf(name);
    if (!palette && browsedAs(screenFile).path() != screenFile.path()) {
        // A packed picture pairs with the palettes beside it, by the name it holds.
        folder = folder.folder();
        palette = placeAt(folder)->names.paletteOf(name);
    }
    return palette ? std::optional(folder.child(*palette)) : std::nullopt;
}

std::optional<Location> FileSource::folderPaletteOf(const Location& screenFile) {
    const Location folder = screenFile.folder();
    const auto place = placeAt(folder);
    Place::OnlyPalette& only = *place->onlyPalette;
    std::call_once(only.found, [&] { only.name = onlyPaletteIn(*place); });
    return only.name ? std::optional(folder.child(*only.name)) : std::nullopt;
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
