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

// PNG: the IHDR chunk first (its type at 12), its width and height big-endian at 16 and 20.
constexpr std::array<std::uint8_t, 4> kPngHeader{'I', 'H', 'D', 'R'};
constexpr std::size_t kPngHeaderAt = 12;
constexpr std::size_t kPngWidthAt = 16;
constexpr std::size_t kPngHeightAt = 20;
// JPEG: markers FFh, code, 16-bit big-endian length (counting itself); a frame header
// (SOF0-SOF15 but DHT C4h, JPG C8h, DAC CCh) holds precision, height and width after it.
constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kFirstFrame = 0xC0;
constexpr std::uint8_t kLastFrame = 0xCF;
constexpr std::array<std::uint8_t, 3> kNoFrames{0xC4, 0xC8, 0xCC};
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::size_t kFrameHeightAt = 5;
constexpr std::size_t kFrameWidthAt = 7;

std::uint32_t bigEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

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

std::optional<std::uint64_t> claimedPixels(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, kPngSignature) && bytes.size() >= kPngHeightAt + 4 &&
        startsWith(bytes.subspan(kPngHeaderAt), kPngHeader)) {
        return std::uint64_t{bigEndian(bytes, kPngWidthAt, 4)} * bigEndian(bytes, kPngHeightAt, 4);
    }
    if (!startsWith(bytes, kJpegSignature)) {
        return std::nullopt;
    }
    for (std::size_t at = 2; at + 4 <= bytes.size() && bytes[at] == kMarker;) {
        const std::uint8_t code = bytes[at + 1];
        if (code == kMarker) {
            ++at; // fill bytes before a marker
            continue;
        }
        if (code >= kFirstFrame && code <= kLastFrame && !std::ranges::count(kNoFrames, code)) {
            if (at + kFrameWidthAt + 2 > bytes.size()) {
                break;
            }
            return std::uint64_t{bigEndian(bytes, at + kFrameHeightAt, 2)} *
                   bigEndian(bytes, at + kFrameWidthAt, 2);
        }
        if (code == kStartOfScan) {
            break;
        }
        at += 2 + bigEndian(bytes, at + 2, 2);
    }
    return std::nullopt;
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
