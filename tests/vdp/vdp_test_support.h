#pragma once

#include "tests/support/print_screen_mode.h"
#include "vdp/vdp_state.h"

#include <cstdint>
#include <memory>
#include <random>

namespace tessarin::test {

// VdpState is 128 KB: keep it off the test's stack.
inline std::unique_ptr<VdpState> makeVdp() {
    return std::make_unique<VdpState>();
}

inline void fillRandom(VdpState& vdp, std::uint32_t seed) {
    std::mt19937 rng(seed);
    for (auto& b : vdp.vramForLoading()) {
        b = static_cast<std::uint8_t>(rng());
    }
}

inline RgbTriple rgb(int red, int green, int blue) {
    return RgbTriple{static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>(green),
                     static_cast<std::uint8_t>(red)};
}

inline constexpr ScreenMode kModes[] = {ScreenMode::screen5,  ScreenMode::screen6,
                                        ScreenMode::screen7,  ScreenMode::screen8,
                                        ScreenMode::screen10, ScreenMode::screen12};

} // namespace tessarin::test
