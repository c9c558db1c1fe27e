#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

// The most bytes a packed picture unpacks to: the whole VRAM of an MSX2 is 128 KB.
inline constexpr std::size_t kMaxUnpackedBytes = 128 * 1024;

// The bytes a ZX0 stream (version 2, forward) unpacks to, at most kMaxUnpackedBytes.
// FileError(file, ..., Fault::packedBroken) naming file when the stream runs past its
// input before its end mark, past that many bytes of output, or copies from before the
// start of its output.
[[nodiscard]] std::vector<std::uint8_t> unpackZx0(std::span<const std::uint8_t> packed,
                                                  const std::string& file);

} // namespace tessarin
