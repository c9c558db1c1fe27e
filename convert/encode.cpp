#include "convert/encode.h"

#include "convert/msx_screen.h"
#include "image/bmp_encoder.h"
#include "image/png_encoder.h"

namespace tessarin {

EncodedPicture encode(const Picture& picture, ImageFormat format) {
    if (format == ImageFormat::bmp) {
        return encodeBmp(picture);
    }
    if (const std::optional<MsxScreen> screen = msxScreenOf(format)) {
        SourceImage source;
        source.picture = picture;
        if (source.picture.empty()) {
            source.picture.resize(1, 1);
            source.picture.pixels()[0] = RgbTriple{0, 0, 0};
        }
        std::vector<std::uint8_t> file = encodeMsx(source, *screen, {}).file;
        const ByteSpan whole(file);
        return {std::move(file), {whole}};
    }
    std::vector<std::uint8_t> png = encodePng(picture);
    const ByteSpan whole(png);
    return {std::move(png), {whole}};
}

} // namespace tessarin
