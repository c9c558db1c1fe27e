#pragma once

// Test support: what the greedy packers of ZX7 and aPLib share: bit bytes placed in the
// stream where their first bit is written, most significant bit first, and the longest
// earlier match.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace tessarin::test {

class LzWriter {
public:
    void byte(std::uint8_t value) { out_.push_back(value); }
    void bit(bool set) {
        if (mask_ == 0) {
            mask_ = 0x80;
            bitByte_ = out_.size();
            out_.push_back(0);
        }
        out_[bitByte_] |= set ? mask_ : 0;
        mask_ >>= 1;
    }
    void bits(std::size_t value, int count) {
        while (count-- > 0) {
            bit(((value >> count) & 1) != 0);
        }
    }
    [[nodiscard]] std::vector<std::uint8_t> take() { return std::move(out_); }

private:
    std::vector<std::uint8_t> out_;
    std::size_t bitByte_ = 0;
    std::uint8_t mask_ = 0;
};

// {length, offset} of the longest match at in[at] from at most window back, at most
// longest bytes; the nearest of equals.
inline std::pair<std::size_t, std::size_t> longestMatch(std::span<const std::uint8_t> in,
                                                        std::size_t at, std::size_t window,
                                                        std::size_t longest) {
    std::pair<std::size_t, std::size_t> best{0, 0};
    for (std::size_t back = 1; back <= std::min(at, window); ++back) {
        std::size_t n = 0;
        while (at + n < in.size() && n < longest && in[at + n] == in[at + n - back]) {
            ++n;
        }
        if (n > best.first) {
            best = {n, back};
        }
    }
    return best;
}

} // namespace tessarin::test
