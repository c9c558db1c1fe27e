#pragma once

#include "document/vocabulary.h"
#include "vdp/screen_modes.h"

#include <optional>

namespace tessarin {

// The names give a bitmap mode's sizes (212 lines a page); a pattern mode's page of 192
// lines makes them 192 and 384 high. A one-page mode shows its page in the two-page views
// too: interlaced it is the magnified view, joined the page twice, one above the other.
inline constexpr int kViewSizeCount = 4;
inline constexpr int kViewModeCount = 2 * kViewSizeCount; // each size plain and rotated

struct ImageSize {
    int width;
    int height;
    friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

// The view mode of a size, plain or rotated left.
[[nodiscard]] constexpr ViewMode viewModeOf(ViewSize size, bool rotated) {
    return static_cast<ViewMode>(static_cast<int>(size) + (rotated ? kViewSizeCount : 0));
}

// The size of a view mode and whether it is turned left.
struct ViewShape {
    ViewSize size;
    bool rotated;
};

// The shape of a view mode; nothing for a value outside 0..7.
[[nodiscard]] constexpr std::optional<ViewShape> shapeOf(ViewMode viewMode) {
    const int index = static_cast<int>(viewMode);
    if (index < 0 || index >= kViewModeCount) {
        return std::nullopt;
    }
    return ViewShape{static_cast<ViewSize>(index % kViewSizeCount), index >= kViewSizeCount};
}

// Width and height of the image (and of the window's client area) of a view mode for
// pages of `lines` lines (pictureLinesOf the screen mode); nothing for a value outside 0..7.
[[nodiscard]] std::optional<ImageSize> imageSizeOf(ViewMode viewMode, int lines = kBitmapLines);

// The Automatic size: the one that shows every pixel of the picture. Two pages (a VRAM1
// file open) are interlaced, a 512-wide mode is magnified (every column, lines doubled),
// any other mode is plain; a mode outside the VDP's table is plain.
[[nodiscard]] ViewSize automaticSizeOf(ScreenMode mode, bool interlaced);

} // namespace tessarin
