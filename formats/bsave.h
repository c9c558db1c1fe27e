#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tessarin {

// The 7-byte header of a BSAVE file, which Graph Saurus files share with another id:
//   offset 0  id (FEh BSAVE, FDh Graph Saurus)
//   offset 1  start address, 16-bit little-endian
//   offset 3  end address (inclusive), 16-bit little-endian
//   offset 5  execution address, 16-bit little-endian
// then the data.
inline constexpr std::size_t kBsaveHeaderSize = 7;
inline constexpr std::uint8_t kBsaveId = 0xFE;

struct BinaryHeader {
    std::uint8_t id = 0;
    std::uint16_t start = 0;
    std::uint16_t end = 0;
    std::uint16_t execution = 0;

    // The bytes the header says follow it (end - start + 1), none when end < start.
    [[nodiscard]] std::uint32_t dataSize() const {
        return end >= start ? static_cast<std::uint32_t>(end - start) + 1 : 0;
    }
};

// The header at the start of head, when head holds its 7 bytes; any id.
[[nodiscard]] std::optional<BinaryHeader> readBinaryHeader(std::span<const std::uint8_t> head);

// A BSAVE file of data saved from address start, its execution address execution; data
// must hold 1 to 65536 bytes that end at or below FFFFh.
[[nodiscard]] std::vector<std::uint8_t>
bsaveFile(std::uint16_t start, std::span<const std::uint8_t> data, std::uint16_t execution = 0);

} // namespace tessarin
