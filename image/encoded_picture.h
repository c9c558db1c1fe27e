#pragma once

#include "platform/byte_span.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessarin {

// A picture as the bytes of an image file, given as pieces to write in order: what the
// encoder made (headers, a whole PNG) and, where they need no change, the picture's own
// rows, not a copy. Such a piece points into the picture, which must then outlive this and
// stay unchanged. Moving keeps every piece valid.
class EncodedPicture {
public:
    // pieces may point into made's storage, which the move into this keeps in place.
    EncodedPicture(std::vector<std::uint8_t> made, std::vector<ByteSpan> pieces)
        : made_(std::move(made)), pieces_(std::move(pieces)) {}
    EncodedPicture(const EncodedPicture&) = delete;
    EncodedPicture& operator=(const EncodedPicture&) = delete;
    EncodedPicture(EncodedPicture&&) noexcept = default;
    EncodedPicture& operator=(EncodedPicture&&) noexcept = default;

    [[nodiscard]] std::span<const ByteSpan> pieces() const { return pieces_; }
    // The pieces joined: the whole file.
    [[nodiscard]] std::vector<std::uint8_t> bytes() const;

private:
    std::vector<std::uint8_t> made_;
    std::vector<ByteSpan> pieces_;
};

} // namespace tessarin
