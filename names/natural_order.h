#pragma once

#include <string_view>

namespace tessarin {

// File-manager order of two names: letters without regard to ASCII case, runs of digits by
// their value ("PIC2" before "pic10"); names equal so are ordered by their bytes.
// Negative, zero or positive as a is before, the same as or after b.
[[nodiscard]] int compareNatural(std::string_view a, std::string_view b);

} // namespace tessarin
