// Arbitrary bytes as a main ROM: the font its CGTABL word points to is read within the
// bytes or not at all, and is exactly the bytes it points to.
#include "vdp/reset_font.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> rom(data, size);
    if (const auto font = tessarin::fontOfRom(rom)) {
        const std::size_t start = rom[4] | static_cast<std::size_t>(rom[5]) << 8;
        if (!std::ranges::equal(*font, rom.subspan(start, font->size()))) {
            std::abort();
        }
    }
    return 0;
}
