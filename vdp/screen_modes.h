#pragma once

// Provisional: replaced by the full table of per-mode facts.
#include "vdp/rgb.h"
#include "vdp/vdp_state.h"

#include <array>

namespace tessarin {

struct ScreenModeFacts {
    ScreenMode mode;
    int lineWidth;
};

inline constexpr std::array<ScreenModeFacts, 6> kScreenModes{{{5, kNarrowWidth},
                                                              {6, kWideWidth},
                                                              {7, kWideWidth},
                                                              {8, kNarrowWidth},
                                                              {10, kNarrowWidth},
                                                              {12, kNarrowWidth}}};

[[nodiscard]] constexpr const ScreenModeFacts* findScreenMode(ScreenMode mode) {
    for (const ScreenModeFacts& facts : kScreenModes) {
        if (facts.mode == mode) {
            return &facts;
        }
    }
    return nullptr;
}

} // namespace tessarin
