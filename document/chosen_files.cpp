#include "document/chosen_files.h"

#include "catalog/file_source.h"
#include "platform/file_error.h"

#include <algorithm>

namespace tessarin {

std::optional<std::string> ChosenFiles::neighbour(const std::string& current, int step) const {
    const auto place = placeOf(current);
    if (!place || step == 0) {
        return std::nullopt;
    }
    const long long count = place->second;
    const long long at = place->first - 1;
    const long long to = std::clamp(at + step, 0LL, count - 1);
    if (to == at) {
        return std::nullopt;
    }
    return files_[static_cast<std::size_t>(to)];
}

std::optional<std::pair<int, int>> ChosenFiles::placeOf(const std::string& current) const {
    const auto found = std::ranges::find(files_, current);
    if (found == files_.end()) {
        return std::nullopt;
    }
    return std::pair{static_cast<int>(found - files_.begin()) + 1, static_cast<int>(files_.size())};
}

NamedFiles sortNamedFiles(const std::vector<std::string>& names) {
    FileSource& source = fileSource();
    std::vector<std::string> pages;
    for (const std::string& name : names) {
        try {
            if (const auto page = source.companionOf(Location::of(name))) {
                pages.push_back(page->path());
            }
        } catch (const FileError&) {
            // A name in a disk image that is no disk: opening it says so.
        }
    }
    NamedFiles sorted;
    for (const std::string& name : names) {
        if (std::ranges::find(pages, name) != pages.end()) {
            continue;
        }
        (source.choose(Location::of(name)).slot == FileSlot::vram0 ? sorted.pictures
                                                                   : sorted.others)
            .push_back(name);
    }
    return sorted;
}

} // namespace tessarin
