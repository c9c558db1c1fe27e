#include "image/png_encoder.h"

#include <csetjmp>
#include <new>
#include <png.h>
#include <span>
#include <stdexcept>
#include <unordered_map>
#include <utility>

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
    const std::span<const RgbTriple> pixels = picture.pixels();
    std::unordered_map<std::uint32_t, png_byte> indexOf;
    std::vector<png_byte> indices(pixels.size());
    // Flat areas repeat the pixel before: those need no look-up.
    std::uint32_t previousKey = keyOf(pixels.front());
    png_byte previousIndex = 0;
    indexOf.emplace(previousKey, previousIndex);
    indexed.palette.push_back({pixels.front().red, pixels.front().green, pixels.front().blue});
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const RgbTriple& p = pixels[i];
        const std::uint32_t key = keyOf(p);
        if (key != previousKey) {
            const auto [it, added] =
                indexOf.try_emplace(key, static_cast<png_byte>(indexed.palette.size()));
            if (added) {
                if (indexed.palette.size() == kMaxPaletteSize) {
                    return false;
                }
                indexed.palette.push_back({p.red, p.green, p.blue});
            }
            previousKey = key;
            previousIndex = it->second;
        }
        indices[i] = previousIndex;
    }
    const std::size_t colours = indexed.palette.size();
    indexed.bitDepth = colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
    const auto width = static_cast<std::size_t>(picture.width());
    if (indexed.bitDepth == kBitsPerByte) {
        indexed.rowBytes = width;
        indexed.rows = std::move(indices);
        return true;
    }
    const auto perByte = static_cast<std::size_t>(kBitsPerByte / indexed.bitDepth);
    const auto depth = static_cast<unsigned>(indexed.bitDepth);
    indexed.rowBytes = (width + perByte - 1) / perByte;
    indexed.rows.assign(indexed.rowBytes * static_cast<std::size_t>(picture.height()), 0);
    const png_byte* in = indices.data();
    for (std::size_t y = 0; y < static_cast<std::size_t>(picture.height()); ++y) {
        png_byte* out = indexed.rows.data() + y * indexed.rowBytes;
        // The leftmost pixel in the most significant bits.
        unsigned shift = kBitsPerByte;
        for (std::size_t x = 0; x < width; ++x, ++in) {
            shift -= depth;
            *out |= static_cast<png_byte>(*in << shift);
            if (shift == 0) {
                shift = kBitsPerByte;
                ++out;
            }
        }
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
    // zlib's default level: level 9 makes the samples' files 12% smaller but takes 60%
    // longer (docs/performance.md).
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
