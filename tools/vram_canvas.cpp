#include "tools/vram_canvas.h"

namespace tessarin::samples {

namespace {
constexpr int kYShift = 3;      // Y field in bits 7-3 of a YJK byte
constexpr int kLowBitsMask = 7; // the three J/K bits below it
constexpr int kSixBitMask = 63; // J and K are 6-bit two's complement
} // namespace

PaletteRecord paletteRecord(const PaletteColours& colours) {
    PaletteRecord record{};
    for (int i = 0; i < kPaletteColours; ++i) {
        std::ranges::copy(entryBytesOf(colours[i]), record.begin() + 2 * i);
    }
    return record;
}

VramCanvas::VramCanvas(int lineBytes) : lineBytes_(lineBytes), bytes_(kVramHalfSize, 0) {}

std::uint8_t& VramCanvas::at(int byteX, int y) {
    return bytes_.at(static_cast<std::size_t>(y) * lineBytes_ + byteX);
}

void VramCanvas::put4bpp(int x, int y, int colour) {
    std::uint8_t& b = at(x / 2, y);
    const int shift = (x % 2 == 0) ? 4 : 0;
    b = static_cast<std::uint8_t>((b & ~(0xF << shift)) | ((colour & 0xF) << shift));
}

void VramCanvas::put2bpp(int x, int y, int colour) {
    std::uint8_t& b = at(x / 4, y);
    const int shift = 6 - 2 * (x % 4);
    b = static_cast<std::uint8_t>((b & ~(3 << shift)) | ((colour & 3) << shift));
}

void VramCanvas::put8bpp(int x, int y, std::uint8_t value) {
    at(x, y) = value;
}

void VramCanvas::putGroup(int x, int y, const std::array<std::uint8_t, 4>& bytes) {
    for (int i = 0; i < 4; ++i) {
        at(x + i, y) = bytes[i];
    }
}

void VramCanvas::putPalette(std::uint32_t address, const PaletteRecord& palette) {
    for (std::size_t i = 0; i < palette.size(); ++i) {
        bytes_.at(address + i) = palette[i];
    }
}

std::span<const std::uint8_t> VramCanvas::prefix(std::size_t size) const {
    return std::span<const std::uint8_t>(bytes_).first(size);
}

std::array<std::uint8_t, 4> yjkGroupBytes(const std::array<int, 4>& y, int j, int k) {
    const int rawJ = j & kSixBitMask;
    const int rawK = k & kSixBitMask;
    const std::array<int, 4> low{rawK & kLowBitsMask, rawK >> 3, rawJ & kLowBitsMask, rawJ >> 3};
    std::array<std::uint8_t, 4> out{};
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>((y[i] << kYShift) | low[i]);
    }
    return out;
}

} // namespace tessarin::samples
