#include "document/places_in.h"

#include "catalog/file_source.h"
#include "names/natural_order.h"
#include "platform/file_error.h"
#include "storage/folder_storage.h"
#include "storage/storage_kinds.h"

#include <algorithm>
#include <filesystem>

namespace tessarin {

std::vector<std::string> placesIn(const std::string& folder) {
    std::vector<std::string> places;
    try {
        if (const FolderListing listing = fileSource().listFolder(folder)) {
            for (const std::string& path : *listing) {
                // "" names a disk image or an archive: a place, no picture.
                if (heldNameOf(nameInFolder(path)) == std::optional<std::string>("")) {
                    places.push_back(path);
                }
            }
        }
    } catch (const FileError&) {
        return {}; // a disk image that is no disk: its grid says so
    }
    if (const auto found = findPlace(folder); found && !found->isFile) {
        for (const std::string& name : FolderStorage(folder).subfolders()) {
            places.push_back((std::filesystem::path(folder) / name).string());
        }
    }
    std::ranges::sort(places, [](const std::string& a, const std::string& b) {
        return compareNatural(nameInFolder(a), nameInFolder(b)) < 0;
    });
    return places;
}

} // namespace tessarin
