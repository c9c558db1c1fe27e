#include "export/palette_index.h"

#include "document/file_browsing.h"
#include "document/file_name_rule.h"
#include "document/palette_pairing.h"
#include "platform/file_system.h"

#include <algorithm>

namespace tessarin::exporter {

PaletteIndex::PaletteIndex(std::span<const std::string> candidates) {
    for (const std::string& candidate : candidates) {
        if (chooseByFileName(baseNameOf(candidate)).slot != FileSlot::palette) {
            continue;
        }
        const auto [it, fresh] =
            first_.try_emplace(lowerAscii(baseNameWithoutExtension(candidate)), &candidate);
        // Of equals in natural order the earlier candidate stays, as in pairedPalette.
        if (!fresh && compareNatural(baseNameOf(candidate), baseNameOf(*it->second)) < 0) {
            it->second = &candidate;
        }
    }
}

const std::string* PaletteIndex::pairedPalette(const std::string& screenFile) const {
    const auto it = first_.find(lowerAscii(baseNameWithoutExtension(screenFile)));
    return it == first_.end() ? nullptr : it->second;
}

} // namespace tessarin::exporter
