#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

inline constexpr std::size_t kHexDumpMaxBytes = 256;   // the start of a file shown at most
inline constexpr std::size_t kHexDumpBytesPerLine = 8; // one group per line

// One line per whole group of 8 of the first 256 bytes: the offset as 4 hex digits,
// then each byte as a space and 2 hex digits, upper-case ("0010 10 11 12 13 14 15 16 17").
// A trailing group shorter than 8 bytes is left out.
[[nodiscard]] std::vector<std::string> hexDumpLines(std::span<const std::uint8_t> bytes);

} // namespace tessarin
