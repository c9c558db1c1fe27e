#include "export/record_fields.h"

#include <stdexcept>

namespace tessarin::exporter {

namespace {

constexpr std::size_t kNumberBytes = 8;
constexpr std::size_t kLengthBytes = 4;
constexpr int kByteBits = 8;

void appendBigEndian(std::string& to, std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = bytes; i-- > 0;) {
        to += static_cast<char>((value >> (i * kByteBits)) & 0xFF);
    }
}

} // namespace

RecordWriter& RecordWriter::number(std::uint64_t value) {
    appendBigEndian(record_, value, kNumberBytes);
    return *this;
}

RecordWriter& RecordWriter::text(std::string_view value) {
    appendBigEndian(record_, value.size(), kLengthBytes);
    record_ += value;
    return *this;
}

std::uint64_t RecordReader::bigEndian(std::size_t bytes) {
    if (rest_.size() < bytes) {
        throw std::out_of_range("record shorter than its fields");
    }
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        value = (value << kByteBits) | static_cast<unsigned char>(rest_[i]);
    }
    rest_.remove_prefix(bytes);
    return value;
}

std::uint64_t RecordReader::number() {
    return bigEndian(kNumberBytes);
}

std::string_view RecordReader::text() {
    const std::size_t size = bigEndian(kLengthBytes);
    if (rest_.size() < size) {
        throw std::out_of_range("record shorter than its fields");
    }
    const std::string_view value = rest_.substr(0, size);
    rest_.remove_prefix(size);
    return value;
}

} // namespace tessarin::exporter
