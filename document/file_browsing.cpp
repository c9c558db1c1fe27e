#include "document/file_browsing.h"

#include "document/file_name_rule.h"
#include "document/file_source.h"
#include "document/palette_pairing.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace tessarin {

namespace {

[[nodiscard]] bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

[[nodiscard]] char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// The run of digits at the front of text, without its leading zeros; text loses the run.
[[nodiscard]] std::string_view takeNumber(std::string_view& text) {
    std::size_t end = 0;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
    }
    std::string_view number = text.substr(0, end);
    text.remove_prefix(end);
    const std::size_t first = number.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : number.substr(first);
}

[[nodiscard]] int sign(int value) {
    return (value > 0) - (value < 0);
}

[[nodiscard]] std::string lowered(std::string_view text) {
    std::string low(text);
    std::transform(low.begin(), low.end(), low.begin(), lower);
    return low;
}

// The extension entry of a name's whole extension, if it has one.
[[nodiscard]] const ScreenExtension* extensionOf(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return nullptr;
    }
    const std::string upper = [&] {
        std::string e(name.substr(dot + 1));
        std::transform(e.begin(), e.end(), e.begin(), [](char c) {
            return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        });
        return e;
    }();
    for (const ScreenExtension& entry : kScreenExtensions) {
        if (entry.extension == upper) {
            return &entry;
        }
    }
    return nullptr;
}

[[nodiscard]] std::string withoutExtension(std::string_view name) {
    const auto dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

// What browsing needs of one listing, worked out once: a folder may hold 100,000 files.
struct FolderIndex {
    FolderListing listing;
    std::vector<std::string> screens;                           // browsed, in order
    std::vector<std::string> screenNames;                       // their names in the folder
    std::unordered_map<std::string, std::size_t> screenPlace;   // name -> index
    std::unordered_map<std::string, std::size_t> foldedPlace;   // lower-case name -> first
    std::unordered_map<std::string, std::string> byName;        // lower-case name -> path
    std::unordered_map<std::string, std::string> paletteByBase; // lower-case base -> first
};

[[nodiscard]] bool isScreenName(std::string_view name) {
    const FileNameChoice choice = chooseByFileName(name);
    return choice.slot == FileSlot::vram0 &&
           (choice.screenMode.has_value() || extensionOf(name) != nullptr);
}

// Indexes kept: browsing needs one, a batch whose files alternate between folders a few.
constexpr std::size_t kKeptIndexes = 8;

std::shared_ptr<const FolderIndex> folderIndex(const std::string& folder) {
    static std::mutex guard;
    static std::vector<std::shared_ptr<const FolderIndex>> kept;
    FolderListing listing = listFolder(folder);
    {
        const std::lock_guard lock(guard);
        for (const auto& index : kept) {
            if (index->listing == listing) {
                return index;
            }
        }
    }
    auto index = std::make_shared<FolderIndex>();
    // The listing's paths are the folder's path, a slash and the name in the folder.
    const std::size_t skip = folder == "." ? 0 : folder.size() + (folder.ends_with('/') ? 0 : 1);
    const auto nameOf = [skip](const std::string& path) { return path.substr(skip); };
    for (const std::string& path : *listing) {
        const std::string name = nameOf(path);
        index->byName.emplace(lowered(name), path);
        if (chooseByFileName(name).slot == FileSlot::palette) {
            index->paletteByBase.emplace(lowered(baseNameWithoutExtension(name)), path);
        }
    }
    for (const std::string& path : *listing) {
        const std::string name = nameOf(path);
        if (!isScreenName(name)) {
            continue;
        }
        // A companion is shown with its screen file, not on its own.
        const ScreenExtension* extension = extensionOf(name);
        if (extension != nullptr && !extension->pageOneOf.empty() &&
            index->byName.contains(
                lowered(withoutExtension(name) + "." + std::string(extension->pageOneOf)))) {
            continue;
        }
        // PIC.SC5 and pic.sc5 on a disk are two files, each in its own place.
        index->screenPlace.emplace(name, index->screens.size());
        index->foldedPlace.emplace(lowered(name), index->screens.size());
        index->screens.push_back(path);
        index->screenNames.push_back(name);
    }
    index->listing = std::move(listing);
    const std::lock_guard lock(guard);
    if (kept.size() >= kKeptIndexes) {
        kept.erase(kept.begin());
    }
    kept.push_back(index);
    return index;
}

} // namespace

int compareNatural(std::string_view a, std::string_view b) {
    std::string_view left = a;
    std::string_view right = b;
    while (!left.empty() && !right.empty()) {
        if (isDigit(left.front()) && isDigit(right.front())) {
            const std::string_view x = takeNumber(left);
            const std::string_view y = takeNumber(right);
            if (x.size() != y.size()) {
                return x.size() < y.size() ? -1 : 1;
            }
            if (const int order = x.compare(y); order != 0) {
                return sign(order);
            }
            continue;
        }
        const char x = lower(left.front());
        const char y = lower(right.front());
        if (x != y) {
            return x < y ? -1 : 1;
        }
        left.remove_prefix(1);
        right.remove_prefix(1);
    }
    if (left.empty() != right.empty()) {
        return left.empty() ? -1 : 1;
    }
    return sign(a.compare(b));
}

std::optional<std::string> neighbourScreenFile(const std::string& current, int step) {
    const auto index = folderIndex(folderOf(current));
    const std::vector<std::string>& names = index->screenNames;
    const std::string name = nameInFolder(current);
    // Where current is or would be: the file may have vanished since it was opened.
    const auto at = std::lower_bound(
        names.begin(), names.end(), name,
        [](const std::string& a, const std::string& b) { return compareNatural(a, b) < 0; });
    const bool present = at != names.end() && *at == name;
    const auto place = at - names.begin();
    if (step > 0) {
        const auto next = present ? place + 1 : place;
        if (next < static_cast<std::ptrdiff_t>(names.size())) {
            return index->screens[static_cast<std::size_t>(next)];
        }
    } else if (step < 0 && place > 0) {
        return index->screens[static_cast<std::size_t>(place - 1)];
    }
    return std::nullopt;
}

std::optional<std::pair<int, int>> placeInFolder(const std::string& current) {
    const auto index = folderIndex(folderOf(current));
    const std::string name = nameInFolder(current);
    const auto placed = [&](std::size_t at) {
        return std::pair{static_cast<int>(at) + 1, static_cast<int>(index->screens.size())};
    };
    if (const auto exact = index->screenPlace.find(name); exact != index->screenPlace.end()) {
        return placed(exact->second);
    }
    const auto folded = index->foldedPlace.find(lowered(name));
    if (folded == index->foldedPlace.end()) {
        return std::nullopt;
    }
    return placed(folded->second);
}

std::optional<std::string> firstScreenFile(const std::string& folder) {
    const auto index = folderIndex(folder);
    if (index->screens.empty()) {
        return std::nullopt;
    }
    return index->screens.front();
}

std::vector<std::string> screenFilesOf(const std::string& folder) {
    return folderIndex(folder)->screens;
}

std::optional<std::string> matchingPaletteFile(const std::string& screenFile) {
    const auto index = folderIndex(folderOf(screenFile));
    const auto it =
        index->paletteByBase.find(lowered(baseNameWithoutExtension(nameInFolder(screenFile))));
    if (it == index->paletteByBase.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<std::string> companionFile(const std::string& screenFile) {
    const std::string name = nameInFolder(screenFile);
    const ScreenExtension* own = extensionOf(name);
    if (own == nullptr) {
        return std::nullopt;
    }
    const auto index = folderIndex(folderOf(screenFile));
    for (const ScreenExtension& entry : kScreenExtensions) {
        if (entry.pageOneOf == own->extension) {
            const auto it = index->byName.find(
                lowered(withoutExtension(name) + "." + std::string(entry.extension)));
            if (it != index->byName.end()) {
                return it->second;
            }
        }
    }
    return std::nullopt;
}

} // namespace tessarin
