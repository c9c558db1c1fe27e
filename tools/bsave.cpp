#include "tools/bsave.h"

#include <algorithm>
#include <stdexcept>

namespace tessarin::samples {

namespace {
void put16(std::vector<std::uint8_t>& out, std::size_t offset, std::uint32_t value) {
    out[offset] = static_cast<std::uint8_t>(value & 0xFF);
    out[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
} // namespace

std::vector<std::uint8_t> bsaveFile(std::uint16_t start, std::span<const std::uint8_t> data) {
    const std::uint32_t end = start + static_cast<std::uint32_t>(data.size()) - 1;
    if (data.empty() || end > 0xFFFF) {
        throw std::invalid_argument("BSAVE data must lie within 64 KB");
    }
    std::vector<std::uint8_t> out(kBsaveHeaderSize + data.size());
    out[0] = kBsaveId;
    put16(out, 1, start); // start address
    put16(out, 3, end);   // end address
    put16(out, 5, start); // execution address: these files are data, not code
    std::copy(data.begin(), data.end(), out.begin() + kBsaveHeaderSize);
    return out;
}

} // namespace tessarin::samples
