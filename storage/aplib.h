#pragma once

#include "storage/packed_stream.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

// The bytes an aPLib stream unpacks to (the raw stream, without the "AP32" header a
// safe-packed file starts with), at most kMaxUnpackedBytes. FileError(file, ...,
// Fault::packedBroken) naming file when the stream runs past its input before its end
// mark, past that many bytes of output, or copies from before the start of its output.
[[nodiscard]] std::vector<std::uint8_t> unpackAplib(std::span<const std::uint8_t> packed,
                                                    const std::string& file);

} // namespace tessarin
