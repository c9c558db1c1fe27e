#include "export/picture_hash.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

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

constexpr int kGridColumns = kNearColumns + 1;
constexpr std::uint32_t kRedWeight = 299;
constexpr std::uint32_t kGreenWeight = 587;
constexpr std::uint32_t kBlueWeight = 114;

// The first of the size pixels that cell `cell` of `cells` covers, and one past its last:
// at least one pixel, also where the picture is narrower than the grid.
std::pair<int, int> cellSpan(int cell, int cells, int size) {
    const int first = cell * size / cells;
    return {first, std::max((cell + 1) * size / cells, first + 1)};
}

} // namespace

std::uint64_t nearHash(const Picture& picture) {
    if (picture.empty()) {
        return 0;
    }
    // Each cell's sum of luminance, and each column's width (a row's cells are as high).
    std::array<std::array<std::uint64_t, kGridColumns>, kNearRows> sums{};
    std::array<std::uint64_t, kGridColumns> widths{};
    for (int r = 0; r < kNearRows; ++r) {
        const auto [top, bottom] = cellSpan(r, kNearRows, picture.height());
        for (int c = 0; c < kGridColumns; ++c) {
            const auto [left, right] = cellSpan(c, kGridColumns, picture.width());
            widths[static_cast<std::size_t>(c)] = static_cast<std::uint64_t>(right - left);
            std::uint64_t& sum = sums[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            for (int y = top; y < bottom; ++y) {
                for (const RgbTriple& p : picture.row(y).subspan(
                         static_cast<std::size_t>(left), static_cast<std::size_t>(right - left))) {
                    sum += kRedWeight * p.red + kGreenWeight * p.green + kBlueWeight * p.blue;
                }
            }
        }
    }
    std::uint64_t hash = 0;
    for (std::size_t r = 0; r < kNearRows; ++r) {
        for (std::size_t c = 0; c < kNearColumns; ++c) {
            // Mean against mean, without dividing: sum(c) / width(c) > sum(c+1) / width(c+1).
            if (sums[r][c] * widths[c + 1] > sums[r][c + 1] * widths[c]) {
                hash |= 1ULL << (r * kNearColumns + c);
            }
        }
    }
    return hash;
}

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
