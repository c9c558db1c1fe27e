#include "document/file_name_rule.h"

#include <algorithm>

namespace tessarin {

namespace {

// Position from the end of the character that marks a palette (".PL?").
constexpr std::size_t kPaletteMarkFromEnd = 3;

std::optional<ScreenMode> screenModeOfLastChar(char last) {
    switch (last) {
    case '5':
        return ScreenMode::screen5;
    case '6':
        return ScreenMode::screen6;
    case '7':
        return ScreenMode::screen7;
    case '8':
        return ScreenMode::screen8;
    case 'A':
    case 'a':
    case 'B':
    case 'b':
        return ScreenMode::screen10; // screens 10 and 11 decode alike
    case 'C':
    case 'c':
    case 'S':
    case 's':
        return ScreenMode::screen12;
    default:
        return std::nullopt;
    }
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return upper(x) == upper(y); });
}

// A name without its directory, split at its last dot.
struct NameParts {
    std::string_view base;
    std::string_view extension; // empty without a dot
};

NameParts partsOf(std::string_view name) {
    if (const std::size_t slash = name.rfind('/'); slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return {name, {}};
    }
    return {name.substr(0, dot), name.substr(dot + 1)};
}

const ScreenExtension* findExtension(std::string_view extension) {
    const auto* found = std::find_if(
        kScreenExtensions.begin(), kScreenExtensions.end(),
        [extension](const ScreenExtension& e) { return equalNoCase(e.extension, extension); });
    return found == kScreenExtensions.end() ? nullptr : found;
}

// The first of names with base and extension, in any case.
std::optional<std::string> findName(std::string_view base, std::string_view extension,
                                    std::span<const std::string> names) {
    for (const std::string& candidate : names) {
        const NameParts parts = partsOf(candidate);
        if (equalNoCase(parts.base, base) && equalNoCase(parts.extension, extension)) {
            return candidate;
        }
    }
    return std::nullopt;
}

} // namespace

FileNameChoice chooseByFileName(std::string_view fileName) {
    if (const ScreenExtension* known = findExtension(partsOf(fileName).extension)) {
        return {FileSlot::vram0, known->screenMode, !known->pageOneOf.empty()};
    }
    if (fileName.size() >= kPaletteMarkFromEnd) {
        const char mark = fileName[fileName.size() - kPaletteMarkFromEnd];
        if (mark == 'P' || mark == 'p') {
            return {FileSlot::palette, std::nullopt};
        }
    }
    if (fileName.empty()) {
        return {FileSlot::vram0, std::nullopt};
    }
    return {FileSlot::vram0, screenModeOfLastChar(fileName.back())};
}

std::optional<std::string> companionOf(std::string_view screenName,
                                       std::span<const std::string> names) {
    const NameParts screen = partsOf(screenName);
    if (screen.extension.empty()) {
        return std::nullopt;
    }
    for (const ScreenExtension& e : kScreenExtensions) {
        if (!e.pageOneOf.empty() && equalNoCase(e.pageOneOf, screen.extension)) {
            return findName(screen.base, e.extension, names);
        }
    }
    return std::nullopt;
}

bool isCompanion(std::string_view name, std::span<const std::string> names) {
    const NameParts parts = partsOf(name);
    const ScreenExtension* known = findExtension(parts.extension);
    return known != nullptr && !known->pageOneOf.empty() &&
           findName(parts.base, known->pageOneOf, names).has_value();
}

} // namespace tessarin
