#include "image/encoded_picture.h"

namespace tessarin {

std::vector<std::uint8_t> EncodedPicture::bytes() const {
    std::vector<std::uint8_t> all;
    for (const ByteSpan piece : pieces_) {
        all.insert(all.end(), piece.begin(), piece.end());
    }
    return all;
}

} // namespace tessarin
