#include "image/image_decoders.h"
#include "image/orientation.h"
#include "platform/file_error.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <libexif/exif-data.h>

namespace tessarin {

namespace {

constexpr int kMaxLevel = 255;
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;
// No camera or editor writes more scans than this (libjpeg-turbo's own tools bound them
// so); each scan is a pass over the whole picture, so a file of many tiny ones costs
// seconds.
constexpr int kMaxScans = 500;
constexpr int kExifMarker = JPEG_APP0 + 1;
constexpr unsigned kMaxMarkerBytes = 0xFFFF;

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

// A warning (a file cut short, corrupt data) refuses the picture as an error does: its
// pixels are not the file's. Traces (level 1 and up) are libjpeg's chatter.
void onMessage(j_common_ptr info, int level) {
    if (level < 0) {
        onError(info);
    }
}

// Called between the passes over the input: past kMaxScans scans the picture is refused.
void onProgress(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) {
        auto* errors = reinterpret_cast<ErrorManager*>(info->err);
        std::snprintf(errors->message.data(), errors->message.size(), "more than %d scans",
                      kMaxScans);
        std::longjmp(errors->jump, 1);
    }
}

// The EXIF orientation of the picture (1 when it has none), from its APP1 marker.
int exifOrientation(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr;
         marker = marker->next) {
        if (marker->marker != kExifMarker) {
            continue;
        }
        ExifData* exif = exif_data_new_from_data(marker->data, marker->data_length);
        if (exif == nullptr) {
            return 1;
        }
        int orientation = 1;
        if (ExifEntry* entry = exif_data_get_entry(exif, EXIF_TAG_ORIENTATION);
            entry != nullptr && entry->format == EXIF_FORMAT_SHORT && entry->components == 1) {
            orientation = exif_get_short(entry->data, exif_data_get_byte_order(exif));
        }
        exif_data_unref(exif);
        return orientation;
    }
    return 1;
}

// Adobe's CMYK JPEGs store the inks inverted: a byte is 255 - ink.
RgbTriple fromInvertedCmyk(const JSAMPLE* p) {
    const int k = p[3];
    return RgbTriple{static_cast<std::uint8_t>(p[2] * k / kMaxLevel),
                     static_cast<std::uint8_t>(p[1] * k / kMaxLevel),
                     static_cast<std::uint8_t>(p[0] * k / kMaxLevel)};
}

// The decode, kept free of objects with destructors: longjmp skips them.
bool decodeInto(jpeg_decompress_struct& info, ErrorManager& errors, jpeg_progress_mgr& progress,
                std::span<const std::uint8_t> bytes, const std::string& fileName,
                const ImageLimits& limits, SourceImage& source, std::vector<JSAMPLE>& row,
                int& orientation) {
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&info); // clears every field but the error manager
    info.progress = &progress;
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&info, kExifMarker, kMaxMarkerBytes);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    orientation = exifOrientation(info); // the markers are freed with the decode
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
    jpeg_progress_mgr progress{};
    progress.progress_monitor = onProgress;
    SourceImage source;
    std::vector<JSAMPLE> row;
    int orientation = 1;
    bool decoded = false;
    try {
        decoded =
            decodeInto(info, errors, progress, bytes, fileName, limits, source, row, orientation);
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
    source.picture = oriented(source.picture, orientation);
    return source;
}

} // namespace tessarin
