#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tessarin::samples {

inline constexpr std::uint8_t kBsaveId = 0xFE;
inline constexpr std::size_t kBsaveHeaderSize = 7;

// A BSAVE file of data saved from VRAM address start: FEh, then the start, end
// (last address, inclusive) and execution addresses, each 16-bit little-endian,
// then the bytes. data must be 1..65536 bytes and end at or below 0xFFFF.
[[nodiscard]] std::vector<std::uint8_t> bsaveFile(std::uint16_t start,
                                                  std::span<const std::uint8_t> data);

} // namespace tessarin::samples
