#include "export/bmp_reader.h"

#include "document/bmp_format.h"
#include "platform/file_error.h"
#include "platform/file_stream.h"

#include <cstdlib>
#include <span>

namespace tessarin::exporter {

namespace {

constexpr std::uint64_t kMaxBmpFileSize = 64 * 1024 * 1024; // far above any view
constexpr int kMaxDimension = 16384;
constexpr std::size_t kRowAlignment = 4;

std::uint32_t get16(std::span<const std::uint8_t> in, std::size_t offset) {
    return static_cast<std::uint32_t>(in[offset]) | static_cast<std::uint32_t>(in[offset + 1]) << 8;
}

std::uint32_t get32(std::span<const std::uint8_t> in, std::size_t offset) {
    return get16(in, offset) | get16(in, offset + 2) << 16;
}

[[noreturn]] void notABmp(const std::string& fileName, const std::string& why) {
    throw FileError(fileName, "File \"" + fileName + "\" is not a 24-bit uncompressed BMP: " + why);
}

} // namespace

RgbImage readBmp24(const std::string& fileName) {
    InputFile in(fileName);
    const std::uint64_t size = in.size();
    if (size < bmp::kPixelDataOffset || size > kMaxBmpFileSize) {
        notABmp(fileName, "bad file size");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (in.read(bytes) != bytes.size()) {
        notABmp(fileName, "file shorter than its size");
    }
    const std::span<const std::uint8_t> file(bytes);
    const std::span<const std::uint8_t> info = file.subspan(bmp::kFileHeaderSize);

    if (get16(file, bmp::kOffType) != bmp::kFileType) {
        notABmp(fileName, "no \"BM\" signature");
    }
    if (get32(info, bmp::kOffInfoSize) < bmp::kInfoHeaderSize ||
        get16(info, bmp::kOffPlanes) != bmp::kPlanes ||
        get16(info, bmp::kOffBitCount) != bmp::kBitsPerPixel ||
        get32(info, bmp::kOffCompression) != bmp::kCompressionRgb) {
        notABmp(fileName, "unsupported pixel format");
    }
    const auto width = static_cast<std::int32_t>(get32(info, bmp::kOffWidth));
    const auto rawHeight = static_cast<std::int32_t>(get32(info, bmp::kOffHeight));
    const bool bottomUp = rawHeight > 0; // a negative height stores the top row first
    const std::int64_t height = bottomUp ? rawHeight : -static_cast<std::int64_t>(rawHeight);
    if (width <= 0 || width > kMaxDimension || height <= 0 || height > kMaxDimension) {
        notABmp(fileName, "bad dimensions");
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bmp::kBytesPerPixel;
    const std::size_t stride = (rowBytes + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    const std::uint64_t pixelOffset = get32(file, bmp::kOffPixelData);
    if (pixelOffset < bmp::kPixelDataOffset ||
        pixelOffset + stride * static_cast<std::uint64_t>(height) > size) {
        notABmp(fileName, "pixel rows past the end of the file");
    }

    RgbImage image{width, static_cast<int>(height), std::vector<std::uint8_t>(rowBytes * height)};
    for (std::int64_t r = 0; r < height; ++r) {
        const std::int64_t stored = bottomUp ? height - 1 - r : r;
        const auto src = file.subspan(pixelOffset + stride * stored, rowBytes);
        std::uint8_t* dst = image.rgb.data() + rowBytes * r;
        for (std::size_t x = 0; x < rowBytes; x += bmp::kBytesPerPixel) {
            dst[x] = src[x + 2];     // red
            dst[x + 1] = src[x + 1]; // green
            dst[x + 2] = src[x];     // blue
        }
    }
    return image;
}

} // namespace tessarin::exporter
