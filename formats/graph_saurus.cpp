#include "formats/graph_saurus.h"

#include <algorithm>

namespace tessarin {

std::size_t unpackGraphSaurus(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out) {
    std::size_t in = 0;
    std::size_t made = 0;
    while (made < out.size() && in < packed.size()) {
        const std::uint8_t code = packed[in++];
        if (code >= kShortRunLimit) {
            out[made++] = code;
            continue;
        }
        std::size_t count = code;
        if (code == kLongRunCode) {
            if (in == packed.size()) {
                break;
            }
            count = packed[in++];
            if (count == 0) {
                count = kLongRunMax;
            }
        }
        if (in == packed.size()) {
            break; // the run's value is missing
        }
        const std::uint8_t value = packed[in++];
        const std::size_t n = std::min(count, out.size() - made);
        std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(made), n, value);
        made += n;
    }
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(made), out.end(), std::uint8_t{0});
    return made;
}

} // namespace tessarin
