#include "image/orientation.h"

namespace tessarin {

namespace {

// EXIF's values beyond 1: mirrored left to right, turned half round, mirrored top to
// bottom, mirrored on the diagonal, turned a quarter clockwise, mirrored on the other
// diagonal, turned a quarter anticlockwise.
constexpr int kMirrored = 2;
constexpr int kHalfTurn = 3;
constexpr int kFlipped = 4;
constexpr int kTransposed = 5;
constexpr int kClockwise = 6;
constexpr int kTransversed = 7;
constexpr int kAnticlockwise = 8;

} // namespace

Picture oriented(const Picture& stored, int orientation) {
    if (orientation < kMirrored || orientation > kAnticlockwise) {
        return stored;
    }
    const int w = stored.width();
    const int h = stored.height();
    const bool turned = orientation >= kTransposed;
    Picture upright;
    upright.resize(turned ? h : w, turned ? w : h);
    for (int y = 0; y < h; ++y) {
        const std::span<const RgbTriple> row = stored.row(y);
        for (int x = 0; x < w; ++x) {
            int toX = x;
            int toY = y;
            switch (orientation) {
            case kMirrored:
                toX = w - 1 - x;
                break;
            case kHalfTurn:
                toX = w - 1 - x;
                toY = h - 1 - y;
                break;
            case kFlipped:
                toY = h - 1 - y;
                break;
            case kTransposed:
                toX = y;
                toY = x;
                break;
            case kClockwise:
                toX = h - 1 - y;
                toY = x;
                break;
            case kTransversed:
                toX = h - 1 - y;
                toY = w - 1 - x;
                break;
            default: // kAnticlockwise
                toX = y;
                toY = w - 1 - x;
                break;
            }
            upright.row(toY)[static_cast<std::size_t>(toX)] = row[static_cast<std::size_t>(x)];
        }
    }
    return upright;
}

} // namespace tessarin
