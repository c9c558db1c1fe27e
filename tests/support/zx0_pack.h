#pragma once

// Test support: a greedy ZX0 packer (version 2), the way a game's build packs its pictures,
// so that the unpacker is checked against streams it did not make itself.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace tessarin::test {

inline std::vector<std::uint8_t> packZx0(std::span<const std::uint8_t> in) {
    constexpr std::size_t kWindow = 512;
    std::vector<std::uint8_t> out;
    std::size_t bitByte = 0;
    std::uint8_t mask = 0;
    bool backtrack = false;
    const auto bit = [&](bool set) {
        if (backtrack) { // bit 0 of the offset byte just written
            out.back() |= set ? 1 : 0;
            backtrack = false;
            return;
        }
        if (mask == 0) {
            mask = 0x80;
            bitByte = out.size();
            out.push_back(0);
        }
        out[bitByte] |= set ? mask : 0;
        mask >>= 1;
    };
    const auto gamma = [&](std::size_t value, bool inverted = false) {
        std::size_t top = 1;
        while (top * 2 <= value) {
            top *= 2;
        }
        for (top >>= 1; top != 0; top >>= 1) {
            bit(false);
            bit(((value & top) != 0) != inverted);
        }
        bit(true);
    };
    std::vector<std::uint8_t> literals;
    bool first = true;
    bool afterLiterals = false;
    std::size_t last = 1;
    const auto flush = [&] {
        if (literals.empty()) {
            return;
        }
        if (!first) {
            bit(false);
        }
        gamma(literals.size());
        out.insert(out.end(), literals.begin(), literals.end());
        literals.clear();
        first = false;
        afterLiterals = true;
    };
    for (std::size_t i = 0; i < in.size();) {
        std::size_t length = 0;
        std::size_t offset = 0;
        for (std::size_t back = 1; back <= std::min(i, kWindow); ++back) {
            std::size_t n = 0;
            while (i + n < in.size() && in[i + n] == in[i + n - back]) {
                ++n;
            }
            if (n > length) {
                length = n;
                offset = back;
            }
        }
        if (length < 2) {
            literals.push_back(in[i++]);
            continue;
        }
        flush();
        if (afterLiterals && offset == last) {
            bit(false);
            gamma(length);
        } else {
            bit(true);
            gamma((offset - 1) / 128 + 1, true);
            out.push_back(static_cast<std::uint8_t>((127 - (offset - 1) % 128) << 1));
            backtrack = true;
            gamma(length - 1);
        }
        last = offset;
        afterLiterals = false;
        i += length;
    }
    flush();
    bit(true);
    gamma(256, true); // the end mark
    return out;
}

} // namespace tessarin::test
