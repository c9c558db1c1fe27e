#pragma once

#include "image/picture.h"

namespace tessarin {

// The size of picture scaled to fit a side x side square with its shape kept: the
// longer edge becomes side, the shorter one is rounded, at least 1.
[[nodiscard]] std::pair<int, int> fittedSize(int width, int height, int side);

// picture resampled smoothly to width x height: each output pixel is the area average
// of the pixels it covers along an edge that shrinks, a linear blend of the two nearest
// along one that grows. An empty picture stays empty.
[[nodiscard]] Picture scalePicture(const Picture& picture, int width, int height);

} // namespace tessarin
