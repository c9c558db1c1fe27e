#include "export/png_encoder.h"

#include <csetjmp>
#include <new>
#include <png.h>
#include <stdexcept>
#include <unordered_map>

namespace tessarin {

namespace {

constexpr int kRgbBitDepth = 8;
constexpr std::size_t kMaxPaletteSize = 256;
constexpr int kBitsPerByte = 8;

// The colours of an indexed picture, in order of first appearance, and every pixel's
// index packed at the smallest depth that holds them (1, 2, 4 or 8 bits).
struct Indexed {
    std::vector<png_color> palette;
    int bitDepth = 0;
    std::size_t rowBytes = 0;
    std::vector<png_byte> rows; // height x rowBytes
};

std::uint32_t keyOf(const RgbTriple& p) {
    return static_cast<std::uint32_t>(p.red) << 16U | static_cast<std::uint32_t>(p.green) << 8U |
           p.blue;
}

// The picture as indexed pixels, or false when it has more than 256 colours.
bool indexPicture(const Picture& picture, Indexed& indexed) {
    std::unordered_map<std::uint32_t, png_byte> indexOf;
    std::vector<png_byte> indices(picture.pixels().size());
    for (std::size_t i = 0; i < picture.pixels().size(); ++i) {
        const RgbTriple& p = picture.pixels()[i];
        const auto [it, added] =
            indexOf.try_emplace(keyOf(p), static_cast<png_byte>(indexed.palette.size()));
        if (added) {
            if (indexed.palette.size() == kMaxPaletteSize) {
                return false;
            }
            indexed.palette.push_back({p.red, p.green, p.blue});
        }
        indices[i] = it->second;
    }
    const std::size_t colours = indexed.palette.size();
    indexed.bitDepth = colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
    const auto perByte = static_cast<std::size_t>(kBitsPerByte / indexed.bitDepth);
    const auto width = static_cast<std::size_t>(picture.width());
    indexed.rowBytes = (width + perByte - 1) / perByte;
    indexed.rows.assign(indexed.rowBytes * static_cast<std::size_t>(picture.height()), 0);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const std::size_t y = i / width;
        const std::size_t x = i % width;
        // The leftmost pixel in the most significant bits.
        const auto shift = static_cast<unsigned>(
            kBitsPerByte - indexed.bitDepth * static_cast<int>(x % perByte + 1));
        indexed.rows[y * indexed.rowBytes + x / perByte] |=
            static_cast<png_byte>(indices[i] << shift);
    }
    return true;
}

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

void flushNothing(png_structp) {}

// libpng reports errors by longjmp: nothing with a destructor may live in here. indexed
// is null for an RGB picture.
bool encodeInto(const Picture& picture, const Indexed* indexed, std::vector<std::uint8_t>* out) {
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
    // zlib's default level: level 9 makes the samples' files 13% smaller but takes 60%
    // longer (README, Performance).
    const auto width = static_cast<png_uint_32>(picture.width());
    const auto height = static_cast<png_uint_32>(picture.height());
    if (indexed != nullptr) {
        png_set_IHDR(png, info, width, height, indexed->bitDepth, PNG_COLOR_TYPE_PALETTE,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_PLTE(png, info, indexed->palette.data(), static_cast<int>(indexed->palette.size()));
        // Filters predict neighbouring values, which indices are not.
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    } else {
        png_set_IHDR(png, info, width, height, kRgbBitDepth, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        // RgbTriple is stored blue, green, red.
        png_set_bgr(png);
    }
    png_write_info(png, info);
    for (int r = 0; r < picture.height(); ++r) {
        // libpng takes a non-const row pointer but only reads through it.
        const auto* row =
            indexed != nullptr
                ? indexed->rows.data() + static_cast<std::size_t>(r) * indexed->rowBytes
                : reinterpret_cast<const png_byte*>(picture.row(r).data());
        png_write_row(png, const_cast<png_bytep>(row));
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
    Indexed indexed;
    const bool fewColours = indexPicture(picture, indexed);
    std::vector<std::uint8_t> out;
    if (!encodeInto(picture, fewColours ? &indexed : nullptr, &out)) {
        throw std::bad_alloc();
    }
    return out;
}

} // namespace tessarin
