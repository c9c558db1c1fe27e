#include "storage/zx7.h"

namespace tessarin {

namespace {

// A stream is its first byte, as it is, then blocks each chosen by one flag bit:
//   literal: 0, one byte
//   copy:    1, gamma(length - 1), offset byte; bit 7 of it set: 4 more bits of the offset
// gamma: n 0 bits, a 1, then n bits after the leading 1 of the value; 16 or more 0 bits
// are the end mark. The offset byte's low 7 bits are offset - 1 (1 to 128); bit 7 set,
// they and the 4 bits above them are offset - 129 (129 to 2176).
constexpr int kEndZeros = 16;
constexpr std::uint8_t kLongOffset = 0x80;
constexpr std::uint8_t kOffsetLow = 0x7F;
constexpr int kLongOffsetBits = 4;
constexpr std::uint32_t kShortOffsets = 128;

// The gamma value, 0 for the end mark.
std::uint32_t gamma(packed::Stream& in) {
    int zeros = 0;
    while (!in.bit()) {
        ++zeros;
    }
    if (zeros >= kEndZeros) {
        return 0;
    }
    std::uint32_t value = 1;
    for (int i = 0; i < zeros; ++i) {
        value = value << 1 | static_cast<std::uint32_t>(in.bit());
    }
    return value;
}

std::uint32_t offset(packed::Stream& in) {
    const std::uint8_t low = in.byte();
    if ((low & kLongOffset) == 0) {
        return low + 1U;
    }
    const std::uint32_t high = in.bits(kLongOffsetBits);
    return ((high << 7) | (low & kOffsetLow)) + kShortOffsets + 1;
}

} // namespace

std::vector<std::uint8_t> unpackZx7(std::span<const std::uint8_t> packed, const std::string& file) {
    packed::Stream in(packed);
    packed::Output out;
    try {
        out.literal(in.byte());
        for (;;) {
            if (!in.bit()) {
                out.literal(in.byte());
                continue;
            }
            const std::uint32_t length = gamma(in);
            if (length == 0) {
                return out.take();
            }
            const std::uint32_t from = offset(in);
            out.copy(from, length + 1);
        }
    } catch (const packed::Broken& broken) {
        packed::fail(file, broken);
    }
}

} // namespace tessarin
