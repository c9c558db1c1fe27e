#include "image/bmp_encoder.h"

#include "image/bmp_format.h"
#include "platform/file_stream.h"

#include <array>

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

EncodedPicture encodeBmp(const Picture& picture) {
    if (picture.empty()) {
        return {{}, {}};
    }
    // Each row is padded to a multiple of 4 bytes; the padding is a piece of its own, so
    // the rows still go straight from the picture.
    const std::size_t pixelBytes = static_cast<std::size_t>(picture.width()) * sizeof(RgbTriple);
    const std::size_t padding =
        (bmp::kRowAlignment - pixelBytes % bmp::kRowAlignment) % bmp::kRowAlignment;
    const std::size_t fileSize =
        bmp::kPixelDataOffset + (pixelBytes + padding) * static_cast<std::size_t>(picture.height());
    std::vector<std::uint8_t> headers(bmp::kPixelDataOffset);
    putHeaders(std::span<std::uint8_t, bmp::kPixelDataOffset>(headers),
               static_cast<std::uint32_t>(picture.width()),
               static_cast<std::uint32_t>(picture.height()), static_cast<std::uint32_t>(fileSize));
    std::vector<ByteSpan> pieces;
    pieces.reserve(static_cast<std::size_t>(picture.height()) * (padding > 0 ? 2 : 1) + 1);
    pieces.emplace_back(headers);
    static constexpr std::array<std::uint8_t, bmp::kRowAlignment> kZeros{};
    // RgbTriple is stored blue, green, red: a row of them is a BMP pixel row.
    for (int r = picture.height() - 1; r >= 0; --r) {
        pieces.emplace_back(reinterpret_cast<const std::uint8_t*>(picture.row(r).data()),
                            pixelBytes);
        if (padding > 0) {
            pieces.emplace_back(kZeros.data(), padding);
        }
    }
    return {std::move(headers), std::move(pieces)};
}

void writeBmpFile(const Picture& picture, const std::string& fileName) {
    const EncodedPicture bmp = encodeBmp(picture);
    OutputFile out(fileName);
    out.write(bmp.pieces());
    out.close();
}

} // namespace tessarin
