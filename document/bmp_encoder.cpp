#include "document/bmp_encoder.h"

#include "document/bmp_format.h"
#include "platform/file_stream.h"

namespace tessarin {

namespace {

void putHeaders(std::span<std::uint8_t, bmp::kPixelDataOffset> out, std::uint32_t width,
                std::uint32_t height, std::uint32_t fileSize) {
    auto file = out.first<bmp::kFileHeaderSize>();
    bmp::put16(file, bmp::kOffType, bmp::kFileType);             // bfType "BM"
    bmp::put32(file, bmp::kOffFileSize, fileSize);               // bfSize
    bmp::put16(file, bmp::kOffReserved1, 0);                     // bfReserved1
    bmp::put16(file, bmp::kOffReserved2, 0);                     // bfReserved2
    bmp::put32(file, bmp::kOffPixelData, bmp::kPixelDataOffset); // bfOffBits

    auto info = out.last<bmp::kInfoHeaderSize>();
    bmp::put32(info, bmp::kOffInfoSize, bmp::kInfoHeaderSize);    // biSize
    bmp::put32(info, bmp::kOffWidth, width);                      // biWidth
    bmp::put32(info, bmp::kOffHeight, height);                    // biHeight
    bmp::put16(info, bmp::kOffPlanes, bmp::kPlanes);              // biPlanes
    bmp::put16(info, bmp::kOffBitCount, bmp::kBitsPerPixel);      // biBitCount
    bmp::put32(info, bmp::kOffCompression, bmp::kCompressionRgb); // biCompression
    bmp::put32(info, bmp::kOffImageSize, 0);                      // biSizeImage
    bmp::put32(info, bmp::kOffXPelsPerMeter, 0);                  // biXPelsPerMeter
    bmp::put32(info, bmp::kOffYPelsPerMeter, 0);                  // biYPelsPerMeter
    bmp::put32(info, bmp::kOffColoursUsed, 0);                    // biClrUsed
    bmp::put32(info, bmp::kOffColoursImportant, 0);               // biClrImportant
}

} // namespace

std::vector<std::uint8_t> encodeBmp(const Picture& picture) {
    if (picture.empty()) {
        return {};
    }
    // Every view's row length is a multiple of 4, so rows carry no padding.
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width()) * sizeof(RgbTriple);
    const std::size_t pixelBytes = rowBytes * static_cast<std::size_t>(picture.height());
    const std::size_t fileSize = bmp::kPixelDataOffset + pixelBytes;
    // Rows appended, not copied over a zeroed buffer: clearing 650 KB first costs about
    // as much as the copy.
    std::vector<std::uint8_t> out;
    out.reserve(fileSize);
    out.resize(bmp::kPixelDataOffset);
    putHeaders(std::span(out).first<bmp::kPixelDataOffset>(),
               static_cast<std::uint32_t>(picture.width()),
               static_cast<std::uint32_t>(picture.height()), static_cast<std::uint32_t>(fileSize));
    // RgbTriple is stored blue, green, red: a row of them is a BMP pixel row.
    for (int r = picture.height() - 1; r >= 0; --r) {
        const auto* row = reinterpret_cast<const std::uint8_t*>(picture.row(r).data());
        out.insert(out.end(), row, row + rowBytes);
    }
    return out;
}

void writeBmpFile(const Picture& picture, const std::string& fileName) {
    OutputFile out(fileName);
    out.write(encodeBmp(picture));
    out.close();
}

} // namespace tessarin
