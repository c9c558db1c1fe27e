#include "document/bmp_format.h"
#include "document/screen_document.h"
#include "document/view_geometry.h"
#include "platform/file_stream.h"

#include <memory>
#include <span>

namespace tessarin {

namespace {

constexpr int kPage0 = 0;
constexpr int kPage1 = 1;
constexpr int kLastLine = kPictureLines - 1;

void writeHeaders(OutputFile& out, ImageSize size) {
    const auto width = static_cast<std::uint32_t>(size.width);
    const auto height = static_cast<std::uint32_t>(size.height);
    const auto fileSize =
        static_cast<std::uint32_t>(bmp::kPixelDataOffset + bmp::kBytesPerPixel * width * height);

    std::array<std::uint8_t, bmp::kFileHeaderSize> file{};
    bmp::put16(file, bmp::kOffType, bmp::kFileType);             // bfType "BM"
    bmp::put32(file, bmp::kOffFileSize, fileSize);               // bfSize
    bmp::put16(file, bmp::kOffReserved1, 0);                     // bfReserved1
    bmp::put16(file, bmp::kOffReserved2, 0);                     // bfReserved2
    bmp::put32(file, bmp::kOffPixelData, bmp::kPixelDataOffset); // bfOffBits

    std::array<std::uint8_t, bmp::kInfoHeaderSize> info{};
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

    out.write(file);
    out.write(info);
}

// The first count pixels of a row as the bytes of a BMP row (RgbTriple is stored
// blue, green, red with no padding).
template <std::size_t N>
void writeRow(OutputFile& out, const std::array<RgbTriple, N>& row, std::size_t count) {
    out.write(
        std::span(reinterpret_cast<const std::uint8_t*>(row.data()), count * sizeof(RgbTriple)));
}

// Rows are written bottom-up, so the page meant to be on top (or on the even rows)
// comes last in each pair.

void writePlain(VdpState& vdp, OutputFile& out) {
    RgbLine256 row{};
    vdp.selectPage(kPage0);
    for (int y = kLastLine; y >= 0; --y) {
        vdp.renderLine256(y, row);
        writeRow(out, row, row.size());
    }
}

void writeMagnified(VdpState& vdp, OutputFile& out) {
    RgbLine512 row{};
    vdp.selectPage(kPage0);
    for (int y = kLastLine; y >= 0; --y) {
        vdp.renderLine512(y, row);
        writeRow(out, row, row.size());
        writeRow(out, row, row.size());
    }
}

void writeInterlaced(VdpState& vdp, OutputFile& out) {
    RgbLine512 row{};
    for (int y = kLastLine; y >= 0; --y) {
        vdp.selectPage(kPage1);
        vdp.renderLine512(y, row);
        writeRow(out, row, row.size());
        vdp.selectPage(kPage0);
        vdp.renderLine512(y, row);
        writeRow(out, row, row.size());
    }
}

void writeJoined(VdpState& vdp, OutputFile& out) {
    RgbLine256 row{};
    for (const int page : {kPage1, kPage0}) {
        vdp.selectPage(page);
        for (int y = kLastLine; y >= 0; --y) {
            vdp.renderLine256(y, row);
            writeRow(out, row, row.size());
        }
    }
}

// Rotated views: image row x (from the bottom) is column x of the picture, line 0
// on the left. Each page is decoded once, line by line as the plain views do, and then
// read column by column: a pixel at a time would decode each byte again for every pixel.

template <typename Line> using Page = std::array<Line, kPictureLines>;

void renderLine(const VdpState& vdp, int y, RgbLine256& line) {
    vdp.renderLine256(y, line);
}
void renderLine(const VdpState& vdp, int y, RgbLine512& line) {
    vdp.renderLine512(y, line);
}

// Selects the page and decodes its 212 lines into a buffer of the heap (up to 318 KB).
template <typename Line> std::unique_ptr<Page<Line>> decodePage(VdpState& vdp, int page) {
    auto lines = std::make_unique<Page<Line>>();
    vdp.selectPage(page);
    for (int y = 0; y < kPictureLines; ++y) {
        renderLine(vdp, y, (*lines)[static_cast<std::size_t>(y)]);
    }
    return lines;
}

// Column x of a decoded page, line 0 first, into row from position at, every step-th.
template <typename Line>
void copyColumn(const Page<Line>& lines, int x, RgbLine512& row, int at, int step) {
    for (int y = 0; y < kPictureLines; ++y) {
        row[static_cast<std::size_t>(at + step * y)] =
            lines[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    }
}

void writePlainRotated(VdpState& vdp, OutputFile& out) {
    const auto page0 = decodePage<RgbLine256>(vdp, kPage0);
    RgbLine512 row{};
    for (int x = 0; x < kNarrowWidth; ++x) {
        copyColumn(*page0, x, row, 0, 1);
        writeRow(out, row, kPictureLines);
    }
}

void writeMagnifiedRotated(VdpState& vdp, OutputFile& out) {
    const auto page0 = decodePage<RgbLine512>(vdp, kPage0);
    RgbLine512 row{};
    for (int x = 0; x < kWideWidth; ++x) {
        copyColumn(*page0, x, row, 0, 2);
        copyColumn(*page0, x, row, 1, 2);
        writeRow(out, row, 2 * kPictureLines);
    }
}

// Both pages: page 0 on the even rows of the picture, which come first in each image row.
void writeInterlacedRotated(VdpState& vdp, OutputFile& out) {
    const auto page0 = decodePage<RgbLine512>(vdp, kPage0);
    const auto page1 = decodePage<RgbLine512>(vdp, kPage1);
    RgbLine512 row{};
    for (int x = 0; x < kWideWidth; ++x) {
        copyColumn(*page0, x, row, 0, 2);
        copyColumn(*page1, x, row, 1, 2);
        writeRow(out, row, 2 * kPictureLines);
    }
}

// Page 0 on the left, page 1 on the right.
void writeJoinedRotated(VdpState& vdp, OutputFile& out) {
    const auto page0 = decodePage<RgbLine256>(vdp, kPage0);
    const auto page1 = decodePage<RgbLine256>(vdp, kPage1);
    RgbLine512 row{};
    for (int x = 0; x < kNarrowWidth; ++x) {
        copyColumn(*page0, x, row, 0, 1);
        copyColumn(*page1, x, row, kPictureLines, 1);
        writeRow(out, row, 2 * kPictureLines);
    }
}

using ViewWriter = void (*)(VdpState&, OutputFile&);

// Indexed by ViewMode, like the image sizes of view_geometry.
constexpr std::array<ViewWriter, kViewModeCount> kViewWriters{
    writePlain,        writeMagnified,        writeInterlaced,        writeJoined,
    writePlainRotated, writeMagnifiedRotated, writeInterlacedRotated, writeJoinedRotated,
};

} // namespace

void ScreenDocument::writeBitmap(const std::string& fileName) {
    OutputFile out(fileName);
    if (const auto size = imageSizeOf(viewMode)) {
        writeHeaders(out, *size);
        kViewWriters.at(static_cast<std::size_t>(viewMode))(*vdp, out);
    }
    out.close();
}

} // namespace tessarin
