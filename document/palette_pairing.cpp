#include "document/palette_pairing.h"

#include "document/file_browsing.h"
#include "document/file_name_rule.h"
#include "platform/file_system.h"

#include <algorithm>

namespace tessarin {

std::string lowerAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return s;
}

std::string baseNameWithoutExtension(const std::string& path) {
    const std::string name = baseNameOf(path);
    const auto dot = name.rfind('.');
    return (dot == std::string::npos || dot == 0) ? name : name.substr(0, dot);
}

std::optional<std::string> pairedPalette(const std::string& screenFile,
                                         std::span<const std::string> candidates) {
    const std::string base = lowerAscii(baseNameWithoutExtension(screenFile));
    const std::string* best = nullptr;
    for (const std::string& candidate : candidates) {
        if (lowerAscii(baseNameWithoutExtension(candidate)) != base ||
            chooseByFileName(baseNameOf(candidate)).slot != FileSlot::palette) {
            continue;
        }
        if (best == nullptr || compareNatural(baseNameOf(candidate), baseNameOf(*best)) < 0) {
            best = &candidate;
        }
    }
    return best == nullptr ? std::nullopt : std::optional<std::string>(*best);
}

} // namespace tessarin
