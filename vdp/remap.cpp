#include "vdp/vdp_state.h"

#include <algorithm>

namespace tessarin {

namespace {

// Pixel place of a packed byte, the leftmost (the high bits) first.
std::uint8_t packedPixel(std::uint8_t b, int bits, int place) {
    const int shift = 8 - bits * (place + 1);
    return static_cast<std::uint8_t>((b >> shift) & ((1 << bits) - 1));
}

} // namespace

// Walks the packed stream backwards so that no source byte is overwritten before it
// has been read: with n < W, the source of lines 0..y lies below the end of line y.
void VdpState::remapLinePixels(int n) {
    const ScreenModeFacts* facts = findScreenMode(screenMode_);
    // A pattern mode's picture is not made of lines laid one after the other.
    if (facts == nullptr || facts->kind == ModeKind::pattern || n >= facts->lineWidth) {
        return;
    }
    std::array<std::uint8_t, kMaxLineBytes> line{};
    const int pixelsPerByte = 8 / facts->bitsPerPixel;
    for (int y = kPictureLines - 1; y >= 0; --y) {
        for (int x = n - 1; x >= 0; --x) {
            const int p = y * n + x;
            const std::uint8_t src = vram_[p / pixelsPerByte];
            const int place = p % pixelsPerByte;
            const int column = x % pixelsPerByte;
            switch (facts->bitsPerPixel) {
            case 4: {
                const std::uint8_t v = packedPixel(src, 4, place);
                line[x / 2] |= static_cast<std::uint8_t>(v << (column == 0 ? 4 : 0));
                break;
            }
            case 2: {
                const std::uint8_t v = packedPixel(src, 2, place);
                line[x / 4] |= static_cast<std::uint8_t>(v << (6 - 2 * column));
                break;
            }
            default:
                line[x] = src;
                break;
            }
        }
        const auto first = line.begin();
        std::copy_backward(first, first + facts->bytesPerLine,
                           vram_.begin() + (y + 1) * facts->bytesPerLine);
        if (facts->bitsPerPixel != 8) {
            std::fill(first, first + facts->bytesPerLine, std::uint8_t{0});
        }
    }
}

} // namespace tessarin
