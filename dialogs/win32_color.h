#pragma once

#include <QColor>
#include <cstdint>

namespace tessarin {

// The colour of a Win32 colour value: red in bits 0-7, green 8-15, blue 16-23;
// the bits above are not looked at.
[[nodiscard]] QColor colorFromWin32(std::uint32_t value);

} // namespace tessarin
