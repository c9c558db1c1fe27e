#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace tessarin {

// Gives the next bytes of a stream into out: how many, 0 at its end.
using ByteSource = std::function<std::size_t(std::span<std::uint8_t> out)>;

// Whether a gzip stream checks, as zlib reads it: each member's CRC-32 and length match
// what it unpacks to (libarchive's gzip reader never compares them), no member is cut
// short, and it unpacks to at most maxBytes. Bytes after the last member that start no
// other are ignored, as gzip does.
[[nodiscard]] bool gzipChecks(const ByteSource& next, std::uint64_t maxBytes);

} // namespace tessarin
