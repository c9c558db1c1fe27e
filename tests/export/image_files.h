#pragma once

// Test support: the pixels of a BMP and a PNG file, decoded independently of the
// exporter's own reader.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tessarin::testing {

// Rows top first, red, green, blue.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    friend bool operator==(const Pixels&, const Pixels&) = default;
};

// A 24-bit bottom-up BMP with a 54-byte header and rows padded to 4 bytes, as the viewer writes.
[[nodiscard]] Pixels bmpPixels(const std::vector<unsigned char>& bytes);
// Any PNG, through libpng, converted to 8-bit RGB.
[[nodiscard]] Pixels pngPixels(const std::filesystem::path& file);

struct PngLayout {
    int bitDepth = 0;
    int colourType = 0;
    std::vector<std::string> chunkTypes; // in file order
};
[[nodiscard]] PngLayout pngLayout(const std::vector<unsigned char>& bytes);

} // namespace tessarin::testing
