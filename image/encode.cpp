#include "image/encode.h"

#include "image/bmp_encoder.h"
#include "image/png_encoder.h"

namespace tessarin {

EncodedPicture encode(const Picture& picture, ImageFormat format) {
    switch (format) {
    case ImageFormat::bmp:
        return encodeBmp(picture);
    case ImageFormat::png:
        break;
    }
    std::vector<std::uint8_t> png = encodePng(picture);
    const ByteSpan whole(png);
    return {std::move(png), {whole}};
}

} // namespace tessarin
