#pragma once

// Test support: a greedy aPLib packer using each of the stream's blocks, so that the
// unpacker is checked against streams it did not make itself.

#include "tests/support/lz_pack.h"

#include <tuple>

namespace tessarin::test {

inline std::vector<std::uint8_t> packAplib(std::span<const std::uint8_t> in) {
    LzWriter out;
    const auto gamma = [&](std::size_t value) { // value >= 2
        for (int n = static_cast<int>(std::bit_width(value)) - 2; n >= 0; --n) {
            out.bit(((value >> n) & 1) != 0);
            out.bit(n != 0);
        }
    };
    const auto over = [](std::size_t offset) {
        return (offset >= 1280 ? 1U : 0U) + (offset >= 32000 ? 1U : 0U) + (offset < 128 ? 2U : 0U);
    };
    std::size_t last = 0;
    bool afterLiteral = true;
    out.byte(in[0]);
    for (std::size_t i = 1; i < in.size();) {
        auto [length, offset] = longestMatch(in, i, 2048, 65535);
        std::size_t repeat = 0; // the match at the last offset, coded shortest
        while (afterLiteral && last != 0 && i + repeat < in.size() && repeat < 65535 &&
               in[i + repeat] == in[i + repeat - last]) {
            ++repeat;
        }
        if (repeat >= 2 && repeat + 1 >= length) {
            std::tie(length, offset) = std::pair{repeat, last};
            out.bits(0b10, 2);
            gamma(2);
            gamma(length);
        } else if (length >= 2 && length <= 3 && offset < 128) {
            out.bits(0b110, 3);
            out.byte(static_cast<std::uint8_t>(offset << 1 | (length - 2)));
        } else if (length >= 2 + over(offset)) {
            out.bits(0b10, 2);
            gamma((offset >> 8) + (afterLiteral ? 3 : 2));
            out.byte(static_cast<std::uint8_t>(offset));
            gamma(length - over(offset));
        } else {
            std::size_t back = 1; // the byte that many back, 0 for a zero byte
            while (back <= std::min<std::size_t>(i, 15) && in[i - back] != in[i]) {
                ++back;
            }
            if (in[i] == 0 || back <= std::min<std::size_t>(i, 15)) {
                out.bits(0b111, 3);
                out.bits(in[i] == 0 ? 0 : back, 4);
            } else {
                out.bit(false);
                out.byte(in[i]);
            }
            ++i;
            afterLiteral = true;
            continue;
        }
        last = offset;
        afterLiteral = false;
        i += length;
    }
    out.bits(0b110, 3);
    out.byte(0); // the end mark
    return out.take();
}

} // namespace tessarin::test
