#include "names/file_name_rule.h"

#include "names/ascii_case.h"
#include "names/name_parts.h"

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

// The whole extension of a name without its directory; empty without a dot.
std::string_view extensionPart(std::string_view name) {
    name = fileNameOf(name);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

const ScreenExtension* findExtension(std::string_view extension) {
    const auto* found =
        std::ranges::find_if(kScreenExtensions, [extension](const ScreenExtension& e) {
            return equalIgnoringAsciiCase(e.extension, extension);
        });
    return found == kScreenExtensions.end() ? nullptr : found;
}

} // namespace

FileNameChoice chooseByFileName(std::string_view fileName) {
    if (const ScreenExtension* known = findExtension(extensionPart(fileName))) {
        return {FileSlot::vram0, known->screenMode, !known->pageOneOf.empty()};
    }
    // A PNG picture, converted to a screen, is no palette for its "p".
    if (fileName.size() >= kPaletteMarkFromEnd &&
        !equalIgnoringAsciiCase(extensionPart(fileName), "png")) {
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

std::optional<std::string> companionNameOf(std::string_view screenFile) {
    const ScreenExtension* own = findExtension(extensionPart(screenFile));
    if (own == nullptr) {
        return std::nullopt;
    }
    const auto* companion = std::ranges::find(kScreenExtensions, own->extension,
                                              &ScreenExtension::pageOneOf);
    if (companion == kScreenExtensions.end()) {
        return std::nullopt;
    }
    const bool lower = std::ranges::any_of(extensionPart(screenFile),
                                           [](char c) { return c >= 'a' && c <= 'z'; });
    return std::string(withoutExtension(screenFile)) + "." +
           (lower ? asciiLower(companion->extension) : std::string(companion->extension));
}

FileNameChoice chooseByNameAndSize(std::string_view fileName, std::uint64_t size) {
    const FileNameChoice choice = chooseByFileName(fileName);
    if (choice.slot == FileSlot::palette && size > kMaxPaletteFileSize) {
        return {FileSlot::vram0, std::nullopt};
    }
    return choice;
}

const ScreenExtension* screenExtensionOf(std::string_view fileName) {
    return findExtension(extensionPart(fileName));
}

std::optional<ScreenMode> screenModeOfLastCharacter(std::string_view fileName) {
    return fileName.empty() ? std::nullopt : screenModeOfLastChar(fileName.back());
}

} // namespace tessarin
