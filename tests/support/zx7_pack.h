#pragma once

// Test support: a greedy ZX7 packer, so that the unpacker is checked against streams it
// did not make itself.

#include "tests/support/lz_pack.h"

namespace tessarin::test {

inline std::vector<std::uint8_t> packZx7(std::span<const std::uint8_t> in) {
    LzWriter out;
    const auto gamma = [&](std::size_t value) {
        const int n = static_cast<int>(std::bit_width(value)) - 1;
        out.bits(1, n + 1); // n 0 bits, then the leading 1
        out.bits(value, n);
    };
    out.byte(in[0]);
    for (std::size_t i = 1; i < in.size();) {
        const auto [length, offset] = longestMatch(in, i, 2176, 65536);
        if (length < 2) {
            out.bit(false);
            out.byte(in[i++]);
            continue;
        }
        out.bit(true);
        gamma(length - 1);
        if (offset <= 128) {
            out.byte(static_cast<std::uint8_t>(offset - 1));
        } else {
            out.byte(static_cast<std::uint8_t>(0x80 | ((offset - 129) & 0x7F)));
            out.bits((offset - 129) >> 7, 4);
        }
        i += length;
    }
    out.bit(true);
    out.bits(1, 17); // the end mark: 16 0 bits, a 1
    return out.take();
}

} // namespace tessarin::test
