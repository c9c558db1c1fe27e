#include "image_files.h"

#include <png.h>
#include <stdexcept>

namespace tessarin::testing {

namespace {

std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 |
           static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

std::uint32_t be32(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b.at(at)) << 24 | b.at(at + 1) << 16 | b.at(at + 2) << 8 |
           b.at(at + 3);
}

constexpr std::size_t kBmpHeader = 54;
constexpr std::size_t kPngSignature = 8;

} // namespace

Pixels bmpPixels(const std::vector<unsigned char>& bytes) {
    Pixels p;
    p.width = static_cast<int>(le32(bytes, 18));
    p.height = static_cast<int>(le32(bytes, 22));
    const std::size_t pixelBytes = 3 * static_cast<std::size_t>(p.width);
    const std::size_t row = (pixelBytes + 3) / 4 * 4; // padded to 4 bytes
    if (bytes.size() != kBmpHeader + row * p.height) {
        throw std::runtime_error("unexpected BMP size");
    }
    for (int r = p.height - 1; r >= 0; --r) {
        const std::size_t start = kBmpHeader + row * r;
        for (std::size_t x = 0; x < pixelBytes; x += 3) {
            p.rgb.push_back(bytes[start + x + 2]);
            p.rgb.push_back(bytes[start + x + 1]);
            p.rgb.push_back(bytes[start + x]);
        }
    }
    return p;
}

Pixels pngPixels(const std::filesystem::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, file.c_str()) == 0) {
        throw std::runtime_error("cannot read PNG " + file.string());
    }
    image.format = PNG_FORMAT_RGB;
    Pixels p;
    p.width = static_cast<int>(image.width);
    p.height = static_cast<int>(image.height);
    p.rgb.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        throw std::runtime_error("cannot decode PNG " + file.string());
    }
    return p;
}

PngLayout pngLayout(const std::vector<unsigned char>& bytes) {
    PngLayout layout;
    std::size_t at = kPngSignature;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t length = be32(bytes, at);
        const std::string type(bytes.begin() + static_cast<long>(at) + 4,
                               bytes.begin() + static_cast<long>(at) + 8);
        if (type == "IHDR") {
            layout.bitDepth = bytes.at(at + 8 + 8);
            layout.colourType = bytes.at(at + 8 + 9);
        }
        layout.chunkTypes.push_back(type);
        at += 12 + length; // length, type, data, CRC
    }
    return layout;
}

} // namespace tessarin::testing
