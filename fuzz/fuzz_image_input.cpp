// Any bytes as a PNG or JPEG file to convert: decoding must end in a picture of the size
// the header gave (as many pixels as claimedPixels reads there, however the EXIF
// orientation turns it) or in a FileError naming the file, never a crash or an allocation
// beyond the limits. A decoded picture is also fitted to a screen's frame.
#include "convert/fit_frame.h"
#include "image/image_input.h"
#include "platform/file_error.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

namespace {

// Smaller than the programs' limits, so that each execution stays short; the checks are
// the same.
constexpr tessarin::ImageLimits kLimits{1024, 256L * 1024};
constexpr int kFrameWidth = 64;
constexpr int kFrameHeight = 53;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name = "fuzz.png";
    const std::optional<std::uint64_t> claimed =
        tessarin::claimedPixels(std::span<const std::uint8_t>(data, size));
    try {
        const tessarin::SourceImage image =
            tessarin::decodeImage(std::span<const std::uint8_t>(data, size), name, kLimits);
        const tessarin::Picture& picture = image.picture;
        if (picture.empty() || picture.width() > kLimits.maxSide ||
            picture.height() > kLimits.maxSide ||
            (!image.transparent.empty() && image.transparent.size() != picture.pixels().size()) ||
            (claimed && *claimed != std::uint64_t(picture.pixels().size()))) {
            std::abort();
        }
        const tessarin::FittedFrame frame = tessarin::fitFrame(
            image, kFrameWidth, kFrameHeight, static_cast<tessarin::FitMode>(size % 3), 1.0, true);
        if (frame.picture.width() != kFrameWidth ||
            frame.zero.size() != kFrameWidth * kFrameHeight) {
            std::abort();
        }
    } catch (const tessarin::FileError& e) {
        if (e.fileName() != name) {
            std::abort();
        }
    }
    return 0;
}
