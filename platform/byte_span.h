#pragma once

#include <cstdint>
#include <span>

namespace tessarin {

// Bytes to be written. A file given as several of them (a header, then rows straight from
// a picture) is written without first being copied into one buffer.
using ByteSpan = std::span<const std::uint8_t>;

} // namespace tessarin
