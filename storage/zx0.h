#pragma once

#include "storage/packed_stream.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

// The bytes a ZX0 stream (version 2, forward) unpacks to, at most kMaxUnpackedBytes.
// FileError(file, ..., Fault::packedBroken) naming file when the stream runs past its
// input before its end mark, past that many bytes of output, or copies from before the
// start of its output.
[[nodiscard]] std::vector<std::uint8_t> unpackZx0(std::span<const std::uint8_t> packed,
                                                  const std::string& file);

} // namespace tessarin
