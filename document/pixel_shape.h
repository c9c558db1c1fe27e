#pragma once

#include "document/view_geometry.h"
#include "document/vocabulary.h"

namespace tessarin {

// The shapes of PixelAspect, for a 256-wide picture of a page's lines.
inline constexpr double kNtscPixelAspect = 8.0 / 7.0;
inline constexpr double kPalPixelAspect = 1.38;

// How much wider one pixel of the view mode's image shows than it is tall: the TV's
// aspect for a 256-wide page, half for 512 pixels a line, twice for two image lines a
// page line (magnified, interlaced); turned left the image's width is the TV's height.
// 1 for an unknown view mode.
[[nodiscard]] double pixelAspectOf(ViewMode viewMode, PixelAspect aspect);

// The picture's size drawn at zoom with its width stretched by pixelAspect (rounded, at
// least 1).
[[nodiscard]] ImageSize zoomedSize(ImageSize picture, double pixelAspect, int zoom);

} // namespace tessarin
