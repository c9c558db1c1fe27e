#pragma once

#include "image/encoded_picture.h"
#include "image/picture.h"

#include <string>

namespace tessarin {

// The picture as a 24-bit uncompressed BMP file: 54 bytes of headers, then the rows bottom
// first, each padded with zero bytes to a multiple of 4 bytes. The rows are the picture's
// own bytes (see EncodedPicture). An empty picture gives no bytes at all.
[[nodiscard]] EncodedPicture encodeBmp(const Picture& picture);

// Writes the BMP of picture into the existing file fileName, cut to zero length first.
// Throws FileError naming the file.
void writeBmpFile(const Picture& picture, const std::string& fileName);

} // namespace tessarin
