#pragma once

#include <cstdint>

namespace tessarin {

// One 24-bit colour in the byte order of a BMP pixel row: blue, green, red.
struct RgbTriple {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;

    friend bool operator==(const RgbTriple&, const RgbTriple&) = default;
};
static_assert(sizeof(RgbTriple) == 3, "a row of RgbTriple must be a BMP pixel row");

// Copies a colour byte by byte. A three-byte struct copy is a memcpy call under
// AddressSanitizer; plain builds store the same bytes either way.
inline void setColour(RgbTriple& to, const RgbTriple& from) {
    to.blue = from.blue;
    to.green = from.green;
    to.red = from.red;
}

} // namespace tessarin
