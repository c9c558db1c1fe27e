#pragma once

#include "vdp/vocabulary.h"

#include <ostream>

namespace tessarin {

// Test messages name a mode by its BASIC number.
inline std::ostream& operator<<(std::ostream& out, ScreenMode mode) {
    return out << static_cast<int>(mode);
}

} // namespace tessarin
