#pragma once

#include "image/bmp_format.h"
#include "image/picture.h"
#include "platform/byte_span.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tessarin {

// The picture as a 24-bit uncompressed BMP file: 54 bytes of headers, then the rows
// bottom first, given as pieces to write in order. The rows are the picture's own
// bytes, not a copy: the picture must outlive this and stay unchanged. An empty picture
// gives no bytes at all.
class BmpFile {
public:
    explicit BmpFile(const Picture& picture);
    BmpFile(const BmpFile&) = delete;
    BmpFile& operator=(const BmpFile&) = delete;

    [[nodiscard]] std::span<const ByteSpan> pieces() const { return pieces_; }

private:
    std::array<std::uint8_t, bmp::kPixelDataOffset> headers_{};
    std::vector<ByteSpan> pieces_;
};

// Writes the BmpFile of picture into the existing file fileName, cut to zero length first.
// Throws FileError naming the file.
void writeBmpFile(const Picture& picture, const std::string& fileName);

} // namespace tessarin
