#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tessarin {

inline constexpr std::uint8_t kGraphSaurusId = 0xFD;
// A compressed file unpacks to 212 lines of 256 bytes, laid from VRAM address 0.
inline constexpr std::size_t kGraphSaurusSize = 54272;

// Whether a Graph Saurus header's start and end addresses fit the body (the file's bytes
// past its 7-byte header): end - start is the body, or one byte less, as most files carry
// a trailing byte the machine's loader reads past.
[[nodiscard]] constexpr bool graphSaurusBodyFits(std::uint32_t start, std::uint32_t end,
                                                 std::uint64_t body) {
    return end >= start && (end - start == body || end - start + 1 == body);
}

// The run-length codes of the compressed data, one code at a time:
//   00h COUNT VALUE     COUNT copies of VALUE, a COUNT of 0 meaning 256
//   01h..0Fh VALUE      that many copies of VALUE
//   10h..FFh            the byte itself
inline constexpr std::uint8_t kLongRunCode = 0x00;
inline constexpr std::uint8_t kShortRunLimit = 0x10; // codes below are short runs
inline constexpr std::size_t kLongRunMax = 256;

// Unpacks packed into out, stopping when out is full; a stream that ends early, even in the
// middle of a code, leaves the rest of out zero. Returns the bytes the stream produced.
std::size_t unpackGraphSaurus(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out);

} // namespace tessarin
