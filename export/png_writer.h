#pragma once

#include "export/bmp_reader.h"

#include <string>

namespace tessarin::exporter {

// Writes the image as an 8-bit RGB PNG without colour-space chunks (no gAMA, iCCP,
// sRGB), so viewers show the stored values unchanged. fileName must exist; it is
// cut to zero length first. Throws FileError naming the file.
void writePng(const RgbImage& image, const std::string& fileName);

// The PNG file as bytes.
[[nodiscard]] std::vector<std::uint8_t> encodePng(const RgbImage& image);

} // namespace tessarin::exporter
