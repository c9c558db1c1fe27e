#include "image/image_decoders.h"
#include "platform/file_error.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace tessarin {

namespace {

constexpr int kMaxLevel = 255;
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps
// back to decodeJpeg with the message kept, and the C++ exception is thrown from there.
struct ErrorManager {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
    std::array<char, JMSG_LENGTH_MAX> message{};
};

void onError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message.data());
    std::longjmp(errors->jump, 1);
}

// Warnings (a file cut short, corrupt data) leave the picture as decoded.
void onMessage(j_common_ptr, int) {}

// Adobe's CMYK JPEGs store the inks inverted: a byte is 255 - ink.
RgbTriple fromInvertedCmyk(const JSAMPLE* p) {
    const int k = p[3];
    return RgbTriple{static_cast<std::uint8_t>(p[2] * k / kMaxLevel),
                     static_cast<std::uint8_t>(p[1] * k / kMaxLevel),
                     static_cast<std::uint8_t>(p[0] * k / kMaxLevel)};
}

// The decode, kept free of objects with destructors: longjmp skips them.
bool decodeInto(jpeg_decompress_struct& info, ErrorManager& errors,
                std::span<const std::uint8_t> bytes, const std::string& fileName,
                const ImageLimits& limits, SourceImage& source, std::vector<JSAMPLE>& row) {
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    checkImageSize(info.image_width, info.image_height, fileName, limits);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR; // BGR is RgbTriple's order
    jpeg_start_decompress(&info);
    source.picture.resize(static_cast<int>(info.output_width),
                          static_cast<int>(info.output_height));
    row.resize(static_cast<std::size_t>(info.output_width) *
               static_cast<std::size_t>(info.output_components));
    while (info.output_scanline < info.output_height) {
        const auto y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        const std::span<RgbTriple> out = source.picture.row(y);
        for (std::size_t x = 0; x < out.size(); ++x) {
            out[x] = cmyk ? fromInvertedCmyk(&row[x * 4])
                          : RgbTriple{row[x * 3], row[x * 3 + 1], row[x * 3 + 2]};
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

SourceImage decodeJpeg(std::span<const std::uint8_t> bytes, const std::string& fileName,
                       const ImageLimits& limits) {
    jpeg_decompress_struct info{};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onError;
    errors.manager.emit_message = onMessage;
    SourceImage source;
    std::vector<JSAMPLE> row;
    bool decoded = false;
    try {
        decoded = decodeInto(info, errors, bytes, fileName, limits, source, row);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        throw;
    }
    jpeg_destroy_decompress(&info);
    if (!decoded) {
        throw FileError(fileName,
                        "Picture \"" + fileName +
                            "\" is a damaged JPEG: " + std::string(errors.message.data()),
                        Fault::notPicture);
    }
    return source;
}

} // namespace tessarin
