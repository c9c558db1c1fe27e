#pragma once

// Test support: a greedy ZX0 packer (version 2), the way a game's build packs its pictures,
// so that the unpacker is checked against streams it did not make itself.

#include <algorithm>
#include <cstdint>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

namespace tessarin::test {

inline std::vector<std::uint8_t> packZx0(std::span<const std::uint8_t> in) {
    constexpr std::size_t kWindow = 512;
    std::vector<std::uint8_t> out;
    std::size_t bitByte = 0;
    std::uint8_t mask = 0;
    bool backtrack = false; // the next bit goes into bit 0 of the offset byte just written
    const auto bit = [&](bool set) {
        if (backtrack) {
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
    std::size_t literalsFrom = 0;
    std::size_t last = 1;
    bool afterLiterals = false;
    for (std::size_t i = 0; i <= in.size();) {
        std::size_t length = 0;
        std::size_t offset = 0;
        for (std::size_t back = 1; back <= std::min(i, kWindow); ++back) {
            std::size_t n = 0;
            while (i + n < in.size() && in[i + n] == in[i + n - back]) {
                ++n;
            }
            std::tie(length, offset) = std::max(std::pair{length, offset}, std::pair{n, back});
        }
        if (length < 2 && i < in.size()) {
            ++i; // one more literal
            continue;
        }
        if (i > literalsFrom) { // no flag before the first block, always literals
            if (literalsFrom != 0) {
                bit(false);
            }
            gamma(i - literalsFrom);
            out.insert(out.end(), in.begin() + literalsFrom, in.begin() + i);
            afterLiterals = true;
        }
        if (i == in.size()) {
            break;
        }
        bit(!(afterLiterals && offset == last));
        if (afterLiterals && offset == last) {
            gamma(length);
        } else {
            gamma((offset - 1) / 128 + 1, true);
            out.push_back(static_cast<std::uint8_t>((127 - (offset - 1) % 128) << 1));
            backtrack = true;
            gamma(length - 1);
        }
        last = offset;
        afterLiterals = false;
        i += length;
        literalsFrom = i;
    }
    bit(true);
    gamma(256, true); // the end mark
    return out;
}

} // namespace tessarin::test
