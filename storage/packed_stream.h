#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

// The most bytes a packed picture unpacks to: the whole VRAM of an MSX2 is 128 KB.
inline constexpr std::size_t kMaxUnpackedBytes = 128 * 1024;

namespace packed {

// No length or offset part can exceed the output; a longer code is no real stream.
inline constexpr std::uint32_t kLargestCode = 2 * kMaxUnpackedBytes;

// Why a stream does not unpack, said of the stream ("its stream ends before ...").
struct Broken {
    std::string reason;
};

// The packed bytes as the LZ packers here lay them: bytes, and among them bit bytes read
// most significant bit first, each placed where its first bit is needed. Broken past the
// last byte.
class Stream {
public:
    explicit Stream(std::span<const std::uint8_t> in) : in_(in) {}

    std::uint8_t byte();
    bool bit();
    // count bits, the first the most significant.
    std::uint32_t bits(int count);
    // The next bit is bit 0 of the byte just read (ZX0 hides a length bit there).
    void backtrack() { backtrack_ = true; }

private:
    std::span<const std::uint8_t> in_;
    std::size_t at_ = 0;
    std::uint8_t last_ = 0;
    std::uint8_t bits_ = 0;
    std::uint8_t mask_ = 0;
    bool backtrack_ = false;
};

// value with one more bit at its end, as a gamma code grows; Broken past kLargestCode.
[[nodiscard]] std::uint32_t longer(std::uint32_t value, bool bit);

// What a stream unpacks to, never more than kMaxUnpackedBytes (Broken beyond).
class Output {
public:
    void literal(std::uint8_t byte);
    // length bytes from offset back (1 is the last byte written); Broken for an offset
    // before the start.
    void copy(std::size_t offset, std::size_t length);
    [[nodiscard]] std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

// The FileError(file, ..., Fault::packedBroken) that names file and says why.
[[noreturn]] void fail(const std::string& file, const Broken& broken);

} // namespace packed
} // namespace tessarin
