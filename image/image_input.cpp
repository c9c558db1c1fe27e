#include "image/image_input.h"

#include "image/image_decoders.h"
#include "names/ascii_case.h"
#include "platform/file_error.h"

#include <algorithm>
#include <array>

namespace tessarin {

namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::array<std::uint8_t, 3> kJpegSignature{0xFF, 0xD8, 0xFF}; // SOI, then a marker
constexpr std::array<std::string_view, 3> kInputExtensions{".png", ".jpg", ".jpeg"};

bool startsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> signature) {
    return bytes.size() >= signature.size() &&
           std::equal(signature.begin(), signature.end(), bytes.begin());
}

} // namespace

bool isImageInputName(std::string_view fileName) {
    return std::ranges::any_of(kInputExtensions, [&](std::string_view extension) {
        return fileName.size() > extension.size() &&
               equalIgnoringAsciiCase(fileName.substr(fileName.size() - extension.size()),
                                      extension);
    });
}

std::string_view imageFormatOfBytes(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, kPngSignature)) {
        return "PNG";
    }
    return startsWith(bytes, kJpegSignature) ? "JPEG" : "";
}

SourceImage decodeImage(std::span<const std::uint8_t> bytes, const std::string& fileName,
                        const ImageLimits& limits) {
    if (startsWith(bytes, kPngSignature)) {
        return decodePng(bytes, fileName, limits);
    }
    if (startsWith(bytes, kJpegSignature)) {
        return decodeJpeg(bytes, fileName, limits);
    }
    throw FileError(fileName, "\"" + fileName + "\" is neither a PNG nor a JPEG picture",
                    Fault::notPicture);
}

} // namespace tessarin
