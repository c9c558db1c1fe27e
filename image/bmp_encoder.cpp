#include "image/bmp_encoder.h"

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

BmpFile::BmpFile(const Picture& picture) {
    if (picture.empty()) {
        return;
    }
    // Every view's row length is a multiple of 4, so rows carry no padding.
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width()) * sizeof(RgbTriple);
    const std::size_t fileSize =
        bmp::kPixelDataOffset + rowBytes * static_cast<std::size_t>(picture.height());
    putHeaders(headers_, static_cast<std::uint32_t>(picture.width()),
               static_cast<std::uint32_t>(picture.height()), static_cast<std::uint32_t>(fileSize));
    pieces_.reserve(static_cast<std::size_t>(picture.height()) + 1);
    pieces_.emplace_back(headers_);
    // RgbTriple is stored blue, green, red: a row of them is a BMP pixel row.
    for (int r = picture.height() - 1; r >= 0; --r) {
        pieces_.emplace_back(reinterpret_cast<const std::uint8_t*>(picture.row(r).data()),
                             rowBytes);
    }
}

void writeBmpFile(const Picture& picture, const std::string& fileName) {
    const BmpFile bmp(picture);
    OutputFile out(fileName);
    out.write(bmp.pieces());
    out.close();
}

} // namespace tessarin
