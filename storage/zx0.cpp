#include "storage/zx0.h"

#include "platform/file_error.h"

#include <string>

namespace tessarin {

namespace {

// A stream is a first run of literals, then blocks each chosen by one flag bit:
//   literals:             0, gamma(length), length bytes (never after literals)
//   copy from last offset: 0, gamma(length)                (only after literals)
//   copy from new offset:  1, inverted gamma(high), one byte (127 - low) << 1 whose bit 0
//                          is the first bit of gamma(length - 1); high 256 ends the stream
// Flag and gamma bits come from bit bytes read most significant bit first, placed in the
// stream where their first bit is needed. A gamma code is interlaced: while a 0 is read,
// the next bit is one more bit of the value, which starts at 1.
constexpr std::uint32_t kFirstOffset = 1;
constexpr std::uint32_t kEndMark = 256;
constexpr std::uint32_t kOffsetStep = 128;
// No length or offset part can exceed the output; a longer code is no real stream.
constexpr std::uint32_t kLargestCode = 2 * kMaxUnpackedBytes;

struct Broken {
    std::string reason;
};

Broken tooLong() {
    return {"it unpacks to more than " + std::to_string(kMaxUnpackedBytes) + " bytes"};
}

class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> in) : in_(in) {}

    std::uint8_t byte() {
        if (at_ == in_.size()) {
            throw Broken{"its stream ends before its end mark"};
        }
        last_ = in_[at_++];
        return last_;
    }

    bool bit() {
        if (backtrack_) {
            backtrack_ = false;
            return (last_ & 1) != 0;
        }
        mask_ >>= 1;
        if (mask_ == 0) {
            mask_ = 0x80;
            bits_ = byte();
        }
        return (bits_ & mask_) != 0;
    }

    std::uint32_t gamma(bool inverted = false) {
        std::uint32_t value = 1;
        while (!bit()) {
            value = value << 1 | static_cast<std::uint32_t>(bit() != inverted);
            if (value > kLargestCode) {
                throw Broken{"its stream holds a length longer than any picture"};
            }
        }
        return value;
    }

    // The next bit is bit 0 of the byte just read.
    void backtrack() { backtrack_ = true; }

private:
    std::span<const std::uint8_t> in_;
    std::size_t at_ = 0;
    std::uint8_t last_ = 0;
    std::uint8_t bits_ = 0;
    std::uint8_t mask_ = 0;
    bool backtrack_ = false;
};

void literals(BitReader& in, std::uint32_t length, std::vector<std::uint8_t>& out) {
    if (length > kMaxUnpackedBytes - out.size()) {
        throw tooLong();
    }
    for (std::uint32_t i = 0; i < length; ++i) {
        out.push_back(in.byte());
    }
}

void copy(std::uint32_t offset, std::uint32_t length, std::vector<std::uint8_t>& out) {
    if (offset > out.size()) {
        throw Broken{"its stream copies from before its start"};
    }
    if (length > kMaxUnpackedBytes - out.size()) {
        throw tooLong();
    }
    // Byte by byte: a copy may overlap what it writes (offset 1 repeats one byte).
    const std::size_t at = out.size();
    out.resize(at + length);
    for (std::size_t i = at; i < at + length; ++i) {
        out[i] = out[i - offset];
    }
}

} // namespace

std::vector<std::uint8_t> unpackZx0(std::span<const std::uint8_t> packed, const std::string& file) {
    BitReader in(packed);
    std::vector<std::uint8_t> out;
    std::uint32_t offset = kFirstOffset;
    try {
        enum class Next { literals, lastOffset, newOffset } next = Next::literals;
        for (;;) {
            switch (next) {
            case Next::literals:
                literals(in, in.gamma(), out);
                next = in.bit() ? Next::newOffset : Next::lastOffset;
                break;
            case Next::lastOffset:
                copy(offset, in.gamma(), out);
                next = in.bit() ? Next::newOffset : Next::literals;
                break;
            case Next::newOffset: {
                const std::uint32_t high = in.gamma(true);
                if (high == kEndMark) {
                    return out;
                }
                offset = high * kOffsetStep - (in.byte() >> 1);
                in.backtrack();
                copy(offset, in.gamma() + 1, out);
                next = in.bit() ? Next::newOffset : Next::literals;
                break;
            }
            }
        }
    } catch (const Broken& broken) {
        throw FileError(file, "Cannot unpack \"" + file + "\": " + broken.reason,
                        Fault::packedBroken);
    }
}

} // namespace tessarin
