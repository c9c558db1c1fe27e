#include "document/file_name_rule.h"

namespace tessarin {

namespace {

// Position from the end of the character that marks a palette (".PL?").
constexpr std::size_t kPaletteMarkFromEnd = 3;

std::optional<ScreenMode> screenModeOfLastChar(char last) {
    switch (last) {
    case '5':
        return 5;
    case '6':
        return 6;
    case '7':
        return 7;
    case '8':
        return 8;
    case 'A':
    case 'a':
    case 'B':
    case 'b':
        return 10; // screens 10 and 11 decode alike
    case 'C':
    case 'c':
    case 'S':
    case 's':
        return 12;
    default:
        return std::nullopt;
    }
}

} // namespace

FileNameChoice chooseByFileName(std::string_view fileName) {
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

} // namespace tessarin
