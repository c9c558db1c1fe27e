#include "vdp/layout.h"
#include "vdp/vdp_state.h"

#include <algorithm>

namespace tessarin {

namespace {

struct RemapShape {
    int lineWidth;    // W, pixels
    int bitsPerPixel; // 2, 4 or 8
    int bytesPerLine; // B
};

bool shapeOf(std::uint32_t mode, RemapShape& shape) {
    switch (mode) {
    case 5:
        shape = {kNarrowWidth, 4, layout::kShortLineBytes};
        return true;
    case 6:
        shape = {kWideWidth, 2, layout::kShortLineBytes};
        return true;
    case 7:
        shape = {kWideWidth, 4, layout::kLongLineBytes};
        return true;
    case 8:
    case 10:
    case 12:
        shape = {kNarrowWidth, 8, layout::kLongLineBytes};
        return true;
    default:
        return false;
    }
}

} // namespace

// Walks the packed stream backwards so that no source byte is overwritten before it
// has been read: with n < W, the source of lines 0..y lies below the end of line y.
void VdpState::remapLinePixels(int n) {
    RemapShape shape{};
    if (!shapeOf(screenMode, shape) || n >= shape.lineWidth) {
        return;
    }
    std::array<std::uint8_t, layout::kLongLineBytes> line{};
    const int pixelsPerByte = 8 / shape.bitsPerPixel;
    for (int y = kPictureLines - 1; y >= 0; --y) {
        for (int x = n - 1; x >= 0; --x) {
            const int p = y * n + x;
            const std::uint8_t src = vram[p / pixelsPerByte];
            const int place = p % pixelsPerByte;
            const int column = x % pixelsPerByte;
            switch (shape.bitsPerPixel) {
            case 4: {
                const std::uint8_t v = splitPixels4bpp(src)[place];
                line[x / 2] |= static_cast<std::uint8_t>(v << (column == 0 ? 4 : 0));
                break;
            }
            case 2: {
                const std::uint8_t v = splitPixels2bpp(src)[place];
                line[x / 4] |= static_cast<std::uint8_t>(v << (6 - 2 * column));
                break;
            }
            default:
                line[x] = src;
                break;
            }
        }
        const auto first = line.begin();
        std::copy_backward(first, first + shape.bytesPerLine,
                           vram.begin() + (y + 1) * shape.bytesPerLine);
        if (shape.bitsPerPixel != 8) {
            std::fill(first, first + shape.bytesPerLine, std::uint8_t{0});
        }
    }
}

} // namespace tessarin
