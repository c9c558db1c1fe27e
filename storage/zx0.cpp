#include "storage/zx0.h"

namespace tessarin {

namespace {

// A stream is a first run of literals, then blocks each chosen by one flag bit:
//   literals:             0, gamma(length), length bytes (never after literals)
//   copy from last offset: 0, gamma(length)                (only after literals)
//   copy from new offset:  1, inverted gamma(high), one byte (127 - low) << 1 whose bit 0
//                          is the first bit of gamma(length - 1); high 256 ends the stream
// A gamma code is interlaced: while a 0 is read, the next bit is one more bit of the
// value, which starts at 1.
constexpr std::uint32_t kFirstOffset = 1;
constexpr std::uint32_t kEndMark = 256;
constexpr std::uint32_t kOffsetStep = 128;

std::uint32_t gamma(packed::Stream& in, bool inverted = false) {
    std::uint32_t value = 1;
    while (!in.bit()) {
        value = packed::longer(value, in.bit() != inverted);
    }
    return value;
}

void literals(packed::Stream& in, std::uint32_t length, packed::Output& out) {
    for (std::uint32_t i = 0; i < length; ++i) {
        out.literal(in.byte());
    }
}

} // namespace

std::vector<std::uint8_t> unpackZx0(std::span<const std::uint8_t> packed, const std::string& file) {
    packed::Stream in(packed);
    packed::Output out;
    std::uint32_t offset = kFirstOffset;
    try {
        enum class Next { literals, lastOffset, newOffset } next = Next::literals;
        for (;;) {
            switch (next) {
            case Next::literals:
                literals(in, gamma(in), out);
                next = in.bit() ? Next::newOffset : Next::lastOffset;
                break;
            case Next::lastOffset:
                out.copy(offset, gamma(in));
                next = in.bit() ? Next::newOffset : Next::literals;
                break;
            case Next::newOffset: {
                const std::uint32_t high = gamma(in, true);
                if (high == kEndMark) {
                    return out.take();
                }
                offset = high * kOffsetStep - (in.byte() >> 1);
                in.backtrack();
                out.copy(offset, gamma(in) + 1);
                next = in.bit() ? Next::newOffset : Next::literals;
                break;
            }
            }
        }
    } catch (const packed::Broken& broken) {
        packed::fail(file, broken);
    }
}

} // namespace tessarin
