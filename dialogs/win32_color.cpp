#include "dialogs/win32_color.h"

namespace tessarin {

QColor colorFromWin32(std::uint32_t value) {
    constexpr std::uint32_t kByte = 0xFF;
    return QColor(static_cast<int>(value & kByte), static_cast<int>((value >> 8) & kByte),
                  static_cast<int>((value >> 16) & kByte));
}

} // namespace tessarin
