#include "storage/aplib.h"

namespace tessarin {

namespace {

// A stream is its first byte, as it is, then blocks each chosen by a prefix of bits:
//   0    a literal byte
//   111  4 bits: the byte that many back, 0 a zero byte
//   110  one byte: bits 7-1 the offset, bit 0 the length - 2; offset 0 ends the stream
//   10   gamma(high): right after a literal or a 111 byte, high 2 copies gamma(length)
//        from the last offset; else offset = (high - 3 there, high - 2 elsewhere) * 256
//        + one byte, and gamma(length) is that many bytes but 1 more from offset 1280,
//        1 more again from 32000, and 2 more below 128
// gamma: 1, then for each pair of bits the first is one more bit of the value, the second
// 1 while more follow. A copy (110 or 10) sets the last offset.
constexpr std::uint32_t kRepeatOffset = 2;
constexpr std::uint32_t kOffsetNear = 128;
constexpr std::uint32_t kOffsetFar = 1280;
constexpr std::uint32_t kOffsetFarther = 32000;
constexpr int kNearOffsetBits = 4;
constexpr int kByteBits = 8;

std::uint32_t gamma(packed::Stream& in) {
    std::uint32_t value = 1;
    do {
        value = packed::longer(value, in.bit());
    } while (in.bit());
    return value;
}

std::uint32_t lengthOver(std::uint32_t offset) {
    return (offset >= kOffsetFar ? 1 : 0) + (offset >= kOffsetFarther ? 1 : 0) +
           (offset < kOffsetNear ? 2 : 0);
}

} // namespace

std::vector<std::uint8_t> unpackAplib(std::span<const std::uint8_t> packed,
                                      const std::string& file) {
    packed::Stream in(packed);
    packed::Output out;
    std::uint32_t last = 0;
    bool afterLiteral = true;
    try {
        out.literal(in.byte());
        for (;;) {
            if (!in.bit()) {
                out.literal(in.byte());
                afterLiteral = true;
            } else if (!in.bit()) {
                const std::uint32_t high = gamma(in);
                if (afterLiteral && high == kRepeatOffset) {
                    out.copy(last, gamma(in));
                } else {
                    last = ((high - (afterLiteral ? 3 : 2)) << kByteBits) | in.byte();
                    out.copy(last, gamma(in) + lengthOver(last));
                }
                afterLiteral = false;
            } else if (!in.bit()) {
                const std::uint8_t code = in.byte();
                if (code >> 1 == 0) {
                    return out.take();
                }
                last = code >> 1U;
                out.copy(last, 2U + (code & 1U));
                afterLiteral = false;
            } else {
                const std::uint32_t back = in.bits(kNearOffsetBits);
                if (back == 0) {
                    out.literal(0);
                } else {
                    out.copy(back, 1);
                }
                afterLiteral = true;
            }
        }
    } catch (const packed::Broken& broken) {
        packed::fail(file, broken);
    }
}

} // namespace tessarin
