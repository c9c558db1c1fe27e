#include "export/png_encoder.h"

#include <csetjmp>
#include <new>
#include <png.h>
#include <stdexcept>

namespace tessarin {

namespace {

constexpr int kBitDepth = 8;

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

void flushNothing(png_structp) {}

// libpng reports errors by longjmp: nothing with a destructor may live in here.
bool encodeInto(const Picture& picture, std::vector<std::uint8_t>* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()),
                 static_cast<png_uint_32>(picture.height()), kBitDepth, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // RgbTriple is stored blue, green, red.
    png_set_bgr(png);
    for (int r = 0; r < picture.height(); ++r) {
        // libpng takes a non-const row pointer but only reads through it.
        png_write_row(
            png, const_cast<png_bytep>(reinterpret_cast<const png_byte*>(picture.row(r).data())));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::vector<std::uint8_t> encodePng(const Picture& picture) {
    if (picture.empty()) {
        throw std::invalid_argument("encodePng: the picture is empty");
    }
    std::vector<std::uint8_t> out;
    if (!encodeInto(picture, &out)) {
        throw std::bad_alloc();
    }
    return out;
}

} // namespace tessarin
