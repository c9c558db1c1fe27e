#include "tools/screen_files.h"

#include "formats/graph_saurus.h"

#include <algorithm>
#include <stdexcept>

namespace tessarin::samples {

namespace {

constexpr std::size_t kShortRunMax = kShortRunLimit - 1;
constexpr std::size_t kLiteralRunMax = 2; // longer runs of a literal byte are codes
constexpr std::uint32_t kMaxStream = 0xFFFF;
constexpr int kByteBits = 8;

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

} // namespace

std::vector<std::uint8_t> packGraphSaurus(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out;
    for (std::size_t at = 0; at < data.size();) {
        const std::uint8_t value = data[at];
        const auto end = std::find_if(data.begin() + static_cast<std::ptrdiff_t>(at), data.end(),
                                      [value](std::uint8_t b) { return b != value; });
        const std::size_t run =
            std::min<std::size_t>(static_cast<std::size_t>(end - data.begin()) - at, kLongRunMax);
        if (value >= kShortRunLimit && run <= kLiteralRunMax) {
            out.insert(out.end(), run, value);
        } else if (run <= kShortRunMax) {
            out.insert(out.end(), {static_cast<std::uint8_t>(run), value});
        } else {
            // a count of 0 stands for 256
            out.insert(out.end(), {kLongRunCode, static_cast<std::uint8_t>(run), value});
        }
        at += run;
    }
    return out;
}

std::vector<std::uint8_t> graphSaurusFile(std::span<const std::uint8_t> data) {
    const std::vector<std::uint8_t> stream = packGraphSaurus(data);
    if (stream.size() > kMaxStream) {
        throw std::invalid_argument("the compressed stream must lie within 64 KB");
    }
    std::vector<std::uint8_t> out{kGraphSaurusId};
    put16(out, 0);                                         // start address
    put16(out, static_cast<std::uint32_t>(stream.size())); // end: end - start = stream size
    put16(out, 0);                                         // execution address
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

std::vector<std::uint8_t> copyRectangleFile(std::span<const std::uint8_t> vram, int lineBytes,
                                            int bitsPerPixel, const Rectangle& r) {
    std::vector<std::uint8_t> out;
    put16(out, static_cast<std::uint32_t>(r.width));
    put16(out, static_cast<std::uint32_t>(r.height));
    const int mask = (1 << bitsPerPixel) - 1;
    int bits = 0; // bits of the byte being packed
    for (int y = r.y; y < r.y + r.height; ++y) {
        for (int x = r.x; x < r.x + r.width; ++x) {
            const int bit = x * bitsPerPixel;
            const std::uint8_t source =
                vram[static_cast<std::size_t>(y * lineBytes + bit / kByteBits)];
            const int pixel = source >> (kByteBits - bitsPerPixel - bit % kByteBits) & mask;
            if (bits == 0) {
                out.push_back(0);
            }
            out.back() =
                static_cast<std::uint8_t>(out.back() | pixel << (kByteBits - bitsPerPixel - bits));
            bits = (bits + bitsPerPixel) % kByteBits;
        }
    }
    return out;
}

} // namespace tessarin::samples
