#include "formats/bsave.h"

#include <algorithm>
#include <stdexcept>

namespace tessarin {

namespace {

constexpr std::size_t kStartOffset = 1;
constexpr std::size_t kEndOffset = 3;
constexpr std::size_t kExecutionOffset = 5;
constexpr std::uint32_t kLastAddress = 0xFFFF;

std::uint16_t get16(std::span<const std::uint8_t> b, std::size_t offset) {
    return static_cast<std::uint16_t>(b[offset] | b[offset + 1] << 8);
}

void put16(std::vector<std::uint8_t>& out, std::size_t offset, std::uint32_t value) {
    out[offset] = static_cast<std::uint8_t>(value & 0xFF);
    out[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

} // namespace

std::optional<BinaryHeader> readBinaryHeader(std::span<const std::uint8_t> head) {
    if (head.size() < kBsaveHeaderSize) {
        return std::nullopt;
    }
    return BinaryHeader{head[0], get16(head, kStartOffset), get16(head, kEndOffset),
                        get16(head, kExecutionOffset)};
}

std::vector<std::uint8_t> bsaveFile(std::uint16_t start, std::span<const std::uint8_t> data,
                                    std::uint16_t execution) {
    const std::uint32_t end = start + static_cast<std::uint32_t>(data.size()) - 1;
    if (data.empty() || end > kLastAddress) {
        throw std::invalid_argument("BSAVE data must lie within 64 KB");
    }
    std::vector<std::uint8_t> out(kBsaveHeaderSize + data.size());
    out[0] = kBsaveId;
    put16(out, kStartOffset, start);
    put16(out, kEndOffset, end);
    put16(out, kExecutionOffset, execution);
    std::copy(data.begin(), data.end(), out.begin() + kBsaveHeaderSize);
    return out;
}

} // namespace tessarin
