#include "image/image_decoders.h"

#include "platform/file_error.h"

namespace tessarin {

void checkImageSize(std::int64_t width, std::int64_t height, const std::string& fileName,
                    const ImageLimits& limits) {
    if (width <= 0 || height <= 0) {
        throw FileError(fileName, "Picture \"" + fileName + "\" has no pixels", Fault::notPicture);
    }
    if (width > limits.maxSide || height > limits.maxSide || width * height > limits.maxPixels) {
        throw FileError(
            fileName,
            "Picture \"" + fileName + "\" is too large to convert: " + std::to_string(width) + "x" +
                std::to_string(height) + " (at most " + std::to_string(limits.maxSide) +
                " a side and " + std::to_string(limits.maxPixels / (1024 * 1024)) + " Mpixels)",
            Fault::pictureTooLarge);
    }
}

} // namespace tessarin
