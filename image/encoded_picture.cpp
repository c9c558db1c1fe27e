#include "image/encoded_picture.h"

#include "image/bmp_encoder.h"
#include "image/png_encoder.h"

namespace tessarin {

std::vector<std::uint8_t> EncodedPicture::bytes() const {
    std::vector<std::uint8_t> all;
    for (const ByteSpan piece : pieces_) {
        all.insert(all.end(), piece.begin(), piece.end());
    }
    return all;
}

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
