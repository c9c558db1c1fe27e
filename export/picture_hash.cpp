#include "export/picture_hash.h"

#include <string_view>

namespace tessarin::exporter {

namespace {

constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ULL;
constexpr int kByteBits = 8;
constexpr int kSizeBytes = 4;

constexpr std::uint64_t mixed(std::uint64_t hash, std::uint8_t byte) {
    return (hash ^ byte) * kFnvPrime;
}

std::uint64_t mixedSize(std::uint64_t hash, int size) {
    const auto value = static_cast<std::uint32_t>(size);
    for (int i = 0; i < kSizeBytes; ++i) {
        hash = mixed(hash, static_cast<std::uint8_t>(value >> (kByteBits * i)));
    }
    return hash;
}

} // namespace

std::uint64_t pictureHash(const Picture& picture) {
    std::uint64_t hash = mixedSize(mixedSize(kFnvOffset, picture.width()), picture.height());
    for (const RgbTriple& pixel : picture.pixels()) {
        hash = mixed(mixed(mixed(hash, pixel.red), pixel.green), pixel.blue);
    }
    return hash;
}

std::string hashText(std::uint64_t hash) {
    constexpr int kDigits = 16;
    constexpr int kDigitBits = 4;
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string text(kDigits, '0');
    for (int i = kDigits - 1; i >= 0; --i, hash >>= kDigitBits) {
        text[static_cast<std::size_t>(i)] = kHex[hash & 0xF];
    }
    return text;
}

} // namespace tessarin::exporter
