#pragma once

#include <QPixmap>

namespace tessarin {

// The program's own icon, 32 x 32: window icon, about box and desktop icon alike.
[[nodiscard]] QPixmap programIcon();

} // namespace tessarin
