#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tessarin::samples {

// The run-length stream of data as a compressed screen file holds it: runs of 3 or more
// (and of any length for bytes below 10h, which cannot stand for themselves) as run codes,
// other bytes as themselves.
[[nodiscard]] std::vector<std::uint8_t> packGraphSaurus(std::span<const std::uint8_t> data);

// A compressed screen file of data (laid from VRAM address 0): FDh, start 0, end = the
// stream's size, execution address 0, all 16-bit LE, then the stream. Throws
// std::invalid_argument when the stream is longer than 64 KB.
[[nodiscard]] std::vector<std::uint8_t> graphSaurusFile(std::span<const std::uint8_t> data);

// A rectangle of a VRAM image whose lines are lineBytes apart.
struct Rectangle {
    int x;
    int y;
    int width;
    int height;
};

// The file BASIC's COPY (X1,Y1)-(X2,Y2) TO "FILE" writes: the width and height, 16-bit
// LE, then the rectangle's pixels, bitsPerPixel each, high bits first, row after row
// without padding; the last byte's unused bits are zero.
[[nodiscard]] std::vector<std::uint8_t> copyRectangleFile(std::span<const std::uint8_t> vram,
                                                          int lineBytes, int bitsPerPixel,
                                                          const Rectangle& r);

} // namespace tessarin::samples
