#pragma once

#include "image/picture.h"

namespace tessarin {

// How a camera's picture is to be turned to stand upright: EXIF's orientation tag, 1 (as
// stored) to 8; any other value is 1.
[[nodiscard]] Picture oriented(const Picture& stored, int orientation);

} // namespace tessarin
