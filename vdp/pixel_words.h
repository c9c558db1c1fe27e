#pragma once

// Pixels as words, for the loops that write rows of RgbTriple: four pixels go out as
// three 4-byte stores instead of twelve byte stores (each of them a checked store in
// instrumented builds).

#include "vdp/rgb.h"

#include <array>
#include <bit>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tessarin {

// blue | green << 8 | red << 16: the bytes of an RgbTriple in a little-endian word (stored
// byte-swapped on big-endian machines).
using PixelWord = std::uint32_t;
inline constexpr int kGreenShift = 8;
inline constexpr int kRedShift = 16;
inline constexpr int kQuadPixels = 4;
inline constexpr int kQuadBytes = kQuadPixels * static_cast<int>(sizeof(RgbTriple));
using Quad = std::array<PixelWord, kQuadPixels>;

[[gnu::always_inline]] constexpr PixelWord wordOf(const RgbTriple& c) {
    return PixelWord{c.blue} | PixelWord{c.green} << kGreenShift | PixelWord{c.red} << kRedShift;
}

// The words of a table of colours, such as a palette.
template <std::size_t N>
[[nodiscard]] constexpr std::array<PixelWord, N> wordsOf(const std::array<RgbTriple, N>& colours) {
    std::array<PixelWord, N> words{};
    for (std::size_t i = 0; i < N; ++i) {
        words[i] = wordOf(colours[i]);
    }
    return words;
}

// The 12 bytes of four pixels as three little-endian words.
using QuadWords = std::array<PixelWord, 3>;

[[gnu::always_inline]] constexpr QuadWords quadWords(PixelWord a, PixelWord b, PixelWord c,
                                                     PixelWord d) {
    constexpr int kWordBits = 32;
    return {a | b << (kWordBits - kGreenShift), b >> kGreenShift | c << kRedShift,
            c >> kRedShift | d << kGreenShift};
}

// Stores the words at at, 12 bytes in three 4-byte stores (a 12-byte copy is a call under
// AddressSanitizer).
[[gnu::always_inline]] inline void putWords(std::uint8_t* at, const QuadWords& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        PixelWord w = words[i];
        if constexpr (std::endian::native == std::endian::big) {
            constexpr PixelWord kByte = 0xFF;
            constexpr int kBytes = sizeof(PixelWord);
            PixelWord swapped = 0;
            for (int n = 0; n < kBytes; ++n) {
                swapped |= (w >> (CHAR_BIT * n) & kByte) << (CHAR_BIT * (kBytes - 1 - n));
            }
            w = swapped;
        }
        std::memcpy(at + i * sizeof(PixelWord), &w, sizeof(PixelWord));
    }
}

// Four pixels as the 12 bytes of four RgbTriples at at.
[[gnu::always_inline]] inline void putFour(std::uint8_t* at, PixelWord a, PixelWord b, PixelWord c,
                                           PixelWord d) {
    putWords(at, quadWords(a, b, c, d));
}

} // namespace tessarin
