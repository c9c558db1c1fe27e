#include "names/name_index.h"

#include "names/ascii_case.h"
#include "names/file_name_rule.h"
#include "names/natural_order.h"

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
        const auto [it, fresh] =
            paletteByBase_.try_emplace(asciiLower(baseNameWithoutExtension(name)), i);
        // Of palettes with one base name the first in natural order pairs.
        if (!fresh && compareNatural(fileNameOf(name), fileNameOf(files_[it->second].name)) < 0) {
            it->second = i;
        }
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
    const auto it = paletteByBase_.find(asciiLower(baseNameWithoutExtension(screenFile)));
    if (it == paletteByBase_.end()) {
        return std::nullopt;
    }
    return files_[it->second].name;
}

} // namespace tessarin
