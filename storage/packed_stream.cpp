#include "storage/packed_stream.h"

#include "platform/file_error.h"

namespace tessarin::packed {

namespace {

Broken tooLong() {
    return {"it unpacks to more than " + std::to_string(kMaxUnpackedBytes) + " bytes"};
}

} // namespace

std::uint8_t Stream::byte() {
    if (at_ == in_.size()) {
        throw Broken{"its stream ends before its end mark"};
    }
    last_ = in_[at_++];
    return last_;
}

bool Stream::bit() {
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

std::uint32_t Stream::bits(int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = value << 1 | static_cast<std::uint32_t>(bit());
    }
    return value;
}

std::uint32_t longer(std::uint32_t value, bool bit) {
    value = value << 1 | static_cast<std::uint32_t>(bit);
    if (value > kLargestCode) {
        throw Broken{"its stream holds a length longer than any picture"};
    }
    return value;
}

void Output::literal(std::uint8_t byte) {
    if (bytes_.size() == kMaxUnpackedBytes) {
        throw tooLong();
    }
    bytes_.push_back(byte);
}

void Output::copy(std::size_t offset, std::size_t length) {
    if (offset == 0 || offset > bytes_.size()) {
        throw Broken{"its stream copies from before its start"};
    }
    if (length > kMaxUnpackedBytes - bytes_.size()) {
        throw tooLong();
    }
    // Byte by byte: a copy may overlap what it writes (offset 1 repeats one byte).
    const std::size_t at = bytes_.size();
    bytes_.resize(at + length);
    for (std::size_t i = at; i < at + length; ++i) {
        bytes_[i] = bytes_[i - offset];
    }
}

void fail(const std::string& file, const Broken& broken) {
    throw FileError(file, "Cannot unpack \"" + file + "\": " + broken.reason, Fault::packedBroken);
}

} // namespace tessarin::packed
