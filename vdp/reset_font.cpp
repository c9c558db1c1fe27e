#include "vdp/reset_font.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <vector>

namespace tessarin {

namespace {

constexpr std::size_t kCgtabl = 0x0004; // the font's address, low byte first
constexpr std::size_t kMainRomSize = 0x8000;

struct LoadedFont {
    Font font{};
    bool found = false;
};

const LoadedFont& loaded() {
    static const LoadedFont font = [] {
        LoadedFont f;
        std::ifstream in(kResetFontRom, std::ios::binary);
        std::vector<std::uint8_t> rom;
        rom.reserve(kMainRomSize);
        rom.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (const std::optional<Font> read = fontOfRom(rom)) {
            f.font = *read;
            f.found = true;
        }
        return f;
    }();
    return font;
}

} // namespace

std::optional<Font> fontOfRom(std::span<const std::uint8_t> rom) {
    if (rom.size() < kCgtabl + 2) {
        return std::nullopt;
    }
    const std::size_t start = rom[kCgtabl] | static_cast<std::size_t>(rom[kCgtabl + 1]) << CHAR_BIT;
    if (start + kFontBytes > rom.size()) {
        return std::nullopt;
    }
    Font font{};
    std::copy_n(rom.begin() + static_cast<std::ptrdiff_t>(start), kFontBytes, font.begin());
    return font;
}

const Font& resetFont() {
    return loaded().font;
}

bool resetFontFound() {
    return loaded().found;
}

} // namespace tessarin
