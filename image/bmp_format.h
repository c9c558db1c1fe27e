#pragma once

// The 24-bit uncompressed BMP as written: a file header, an information header and
// bottom-up pixel rows of blue-green-red triples, each padded to 4 bytes, no colour table.
// Little-endian.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tessarin::bmp {

inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kInfoHeaderSize = 40;
inline constexpr std::size_t kPixelDataOffset = kFileHeaderSize + kInfoHeaderSize;
inline constexpr std::size_t kBytesPerPixel = 3;
// Every pixel row is padded with zero bytes to a multiple of this many bytes.
inline constexpr std::size_t kRowAlignment = 4;

inline constexpr std::uint16_t kFileType = 0x4D42; // "BM"
inline constexpr std::uint16_t kPlanes = 1;
inline constexpr std::uint16_t kBitsPerPixel = 24;
inline constexpr std::uint32_t kCompressionRgb = 0;

// File header field offsets.
inline constexpr std::size_t kOffType = 0;       // bfType
inline constexpr std::size_t kOffFileSize = 2;   // bfSize
inline constexpr std::size_t kOffReserved1 = 6;  // bfReserved1
inline constexpr std::size_t kOffReserved2 = 8;  // bfReserved2
inline constexpr std::size_t kOffPixelData = 10; // bfOffBits

// Information header field offsets, counted from the start of that header.
inline constexpr std::size_t kOffInfoSize = 0;          // biSize
inline constexpr std::size_t kOffWidth = 4;             // biWidth
inline constexpr std::size_t kOffHeight = 8;            // biHeight, positive: bottom-up
inline constexpr std::size_t kOffPlanes = 12;           // biPlanes
inline constexpr std::size_t kOffBitCount = 14;         // biBitCount
inline constexpr std::size_t kOffCompression = 16;      // biCompression
inline constexpr std::size_t kOffImageSize = 20;        // biSizeImage
inline constexpr std::size_t kOffXPelsPerMeter = 24;    // biXPelsPerMeter
inline constexpr std::size_t kOffYPelsPerMeter = 28;    // biYPelsPerMeter
inline constexpr std::size_t kOffColoursUsed = 32;      // biClrUsed
inline constexpr std::size_t kOffColoursImportant = 36; // biClrImportant

// Little-endian fields into a header of N bytes.
template <std::size_t N>
void put16(std::span<std::uint8_t, N> out, std::size_t offset, std::uint16_t value) {
    static_assert(N >= 2);
    out[offset] = static_cast<std::uint8_t>(value);
    out[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

template <std::size_t N>
void put32(std::span<std::uint8_t, N> out, std::size_t offset, std::uint32_t value) {
    static_assert(N >= 4);
    for (std::size_t i = 0; i < 4; ++i) {
        out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

} // namespace tessarin::bmp
