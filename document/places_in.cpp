#include "document/places_in.h"

#include "catalog/file_source.h"
#include "names/natural_order.h"
#include "platform/file_error.h"
#include "storage/folder_storage.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

namespace tessarin {

std::vector<Location> placesIn(const Location& folder) {
    std::vector<Location> places;
    try {
        if (const FolderListing listing = fileSource().listFolder(folder)) {
            // heldNameOf gives "" for a disk image or an archive: a place, no picture.
            std::ranges::copy_if(*listing, std::back_inserter(places), [](const Location& file) {
                return heldNameOf(file.nameInFolder()) == std::optional<std::string>("");
            });
        }
    } catch (const FileError&) {
        return {}; // a disk image that is no disk: its grid says so
    }
    if (folder.kind() == PlaceKind::directory) {
        for (const std::string& name : FolderStorage(folder.path()).subfolders()) {
            places.push_back(Location::of((std::filesystem::path(folder.path()) / name).string()));
        }
    }
    std::ranges::sort(places, [](const Location& a, const Location& b) {
        return compareNatural(a.nameInFolder(), b.nameInFolder()) < 0;
    });
    return places;
}

} // namespace tessarin
