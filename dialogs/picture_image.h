#pragma once

#include "image/picture.h"

#include <QImage>

namespace tessarin {

// The picture as an image of its own, for Qt to paint, scale or put on the clipboard: the
// same pixels, its bytes copied, so that it outlives the picture.
[[nodiscard]] QImage imageOf(const Picture& picture);

} // namespace tessarin
