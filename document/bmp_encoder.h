#pragma once

#include "document/picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessarin {

// The picture as a 24-bit uncompressed BMP file: 54 bytes of headers, then the rows
// bottom first. An empty picture gives no bytes at all.
[[nodiscard]] std::vector<std::uint8_t> encodeBmp(const Picture& picture);

// Writes encodeBmp(picture) into the existing file fileName, cut to zero length first,
// in one write. Throws FileError naming the file.
void writeBmpFile(const Picture& picture, const std::string& fileName);

} // namespace tessarin
