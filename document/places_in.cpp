#include "document/places_in.h"

#include "catalog/file_source.h"
#include "names/natural_order.h"
#include "platform/file_error.h"
#include "storage/folder_storage.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace tessarin {

std::vector<std::string> placesIn(const Location& folder) {
    std::vector<std::pair<std::string, std::string>> places; // name in folder, path
    try {
        if (const FolderListing listing = fileSource().listFolder(folder)) {
            for (const Location& file : *listing) {
                // "" names a disk image or an archive: a place, no picture.
                if (heldNameOf(file.nameInFolder()) == std::optional<std::string>("")) {
                    places.emplace_back(file.nameInFolder(), file.path());
                }
            }
        }
    } catch (const FileError&) {
        return {}; // a disk image that is no disk: its grid says so
    }
    if (folder.kind() == PlaceKind::directory) {
        for (const std::string& name : FolderStorage(folder.path()).subfolders()) {
            places.emplace_back(name, (std::filesystem::path(folder.path()) / name).string());
        }
    }
    std::ranges::sort(
        places, [](const auto& a, const auto& b) { return compareNatural(a.first, b.first) < 0; });
    std::vector<std::string> paths;
    for (auto& [name, path] : places) {
        paths.push_back(std::move(path));
    }
    return paths;
}

} // namespace tessarin
