#include "image/image_decoders.h"
#include "platform/file_error.h"

#include <png.h>

namespace tessarin {

namespace {

constexpr int kOpaque = 255;
constexpr int kHalfOpaque = 128;

// Frees the reader's state on every way out.
struct PngImage {
    png_image image{};
    PngImage() { image.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
};

[[noreturn]] void fail(const std::string& fileName, const png_image& image) {
    throw FileError(fileName, "Picture \"" + fileName + "\" is a damaged PNG: " + image.message,
                    Fault::notPicture);
}

} // namespace

// libpng's simplified reader turns every colour type and depth (16-bit, palette with
// transparency, grey) into 8-bit sRGB with alpha.
SourceImage decodePng(std::span<const std::uint8_t> bytes, const std::string& fileName,
                      const ImageLimits& limits) {
    PngImage png;
    if (png_image_begin_read_from_memory(&png.image, bytes.data(), bytes.size()) == 0) {
        fail(fileName, png.image);
    }
    checkImageSize(png.image.width, png.image.height, fileName, limits);
    png.image.format = PNG_FORMAT_RGBA;
    const auto width = static_cast<int>(png.image.width);
    const auto height = static_cast<int>(png.image.height);
    std::vector<png_byte> rgba(PNG_IMAGE_SIZE(png.image));
    if (png_image_finish_read(&png.image, nullptr, rgba.data(), 0, nullptr) == 0) {
        fail(fileName, png.image);
    }
    SourceImage source;
    source.picture.resize(width, height);
    const std::span<RgbTriple> pixels = source.picture.pixels();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const png_byte* p = &rgba[i * 4];
        const int alpha = p[3];
        // Composited on black.
        pixels[i] = RgbTriple{static_cast<std::uint8_t>(p[2] * alpha / kOpaque),
                              static_cast<std::uint8_t>(p[1] * alpha / kOpaque),
                              static_cast<std::uint8_t>(p[0] * alpha / kOpaque)};
        if (alpha < kHalfOpaque) {
            source.transparent.resize(pixels.size());
            source.transparent[i] = 1;
        }
    }
    return source;
}

} // namespace tessarin
