#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessarin::exporter {

// A picture in memory: rows top first, three bytes a pixel in the order red, green, blue.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Reads a 24-bit uncompressed BMP (bottom-up or top-down rows, padded to 4 bytes).
// Throws FileError naming the file when it cannot be read or is not such a BMP.
[[nodiscard]] RgbImage readBmp24(const std::string& fileName);

} // namespace tessarin::exporter
