#include "names/name_index.h"

#include "names/ascii_case.h"
#include "names/file_name_rule.h"
#include "names/natural_order.h"

#include <algorithm>

namespace tessarin {

namespace {

// The path of a file with the same base and the given extension.
[[nodiscard]] std::string withExtension(std::string_view path, std::string_view extension) {
    return std::string(withoutExtension(path)) + "." + std::string(extension);
}

} // namespace

NameIndex::NameIndex(std::vector<NamedFile> files) : files_(std::move(files)) {
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const std::string& name = files_[i].name;
        byPath_.try_emplace(asciiLower(name), i);
        if (files_[i].slot != FileSlot::palette) {
            continue;
        }
        palettesByBase_[asciiLower(baseNameWithoutExtension(name))].push_back(i);
    }
    for (auto& [base, palettes] : palettesByBase_) {
        std::ranges::stable_sort(palettes, [&](std::size_t a, std::size_t b) {
            return compareNatural(fileNameOf(files_[a].name), fileNameOf(files_[b].name)) < 0;
        });
    }
}

std::optional<std::string> NameIndex::companionOf(std::string_view screenFile) const {
    const ScreenExtension* own = screenExtensionOf(screenFile);
    if (own == nullptr) {
        return std::nullopt;
    }
    for (const ScreenExtension& entry : kScreenExtensions) {
        if (entry.pageOneOf == own->extension) {
            const auto it = byPath_.find(asciiLower(withExtension(screenFile, entry.extension)));
            if (it != byPath_.end()) {
                return files_[it->second].name;
            }
        }
    }
    return std::nullopt;
}

bool NameIndex::isShownWithItsScreen(std::string_view file) const {
    const ScreenExtension* own = screenExtensionOf(file);
    return own != nullptr && !own->pageOneOf.empty() &&
           byPath_.contains(asciiLower(withExtension(file, own->pageOneOf)));
}

std::optional<std::string> NameIndex::paletteOf(std::string_view screenFile) const {
    const auto it = palettesByBase_.find(asciiLower(baseNameWithoutExtension(screenFile)));
    if (it == palettesByBase_.end()) {
        return std::nullopt;
    }
    const std::optional<ScreenMode> mode = chooseByFileName(screenFile).screenMode;
    const auto own = std::ranges::find_if(it->second, [&](std::size_t i) {
        return mode && screenModeOfLastCharacter(files_[i].name) == mode;
    });
    return files_[own != it->second.end() ? *own : it->second.front()].name;
}

} // namespace tessarin
