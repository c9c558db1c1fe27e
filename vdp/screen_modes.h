#pragma once

#include "vdp/rgb.h"
#include "vdp/vocabulary.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tessarin {

// How one screen mode lays its pictures into VRAM and what it shows of them.
struct ScreenModeFacts {
    ScreenMode mode;
    int lineWidth;              // the mode's own pixels a line, also the full "line pixels"
    int bitsPerPixel;           // 2, 4 or 8 (a YJK pixel counts its byte of the group)
    int bytesPerLine;           // from one line to the next in VRAM
    std::int32_t pageSize;      // from one display page to the next
    std::int32_t pageCount;     // display pages in the 128 KB
    std::uint32_t paletteTable; // where a screen file keeps its palette (absolute address)
    int paletteColours;         // palette entries the mode shows; 0 when its colours are direct
};

inline constexpr std::array<ScreenModeFacts, 6> kScreenModes{{
    {5, kNarrowWidth, 4, 128, 0x8000, 4, 0x7680, 16},
    {6, kWideWidth, 2, 128, 0x8000, 4, 0x7680, 4},
    {7, kWideWidth, 4, 256, 0x10000, 2, 0xFA80, 16},
    {8, kNarrowWidth, 8, 256, 0x10000, 2, 0xFA80, 0},
    {10, kNarrowWidth, 8, 256, 0x10000, 2, 0xFA80, 16},
    {12, kNarrowWidth, 8, 256, 0x10000, 2, 0xFA80, 0},
}};

// The facts of mode, or nullptr for a mode the VDP does not support.
[[nodiscard]] constexpr const ScreenModeFacts* findScreenMode(ScreenMode mode) {
    for (const ScreenModeFacts& facts : kScreenModes) {
        if (facts.mode == mode) {
            return &facts;
        }
    }
    return nullptr;
}

// The facts of a mode named at compile time; an unsupported mode does not compile.
template <ScreenMode Mode> inline constexpr ScreenModeFacts kModeFacts = *findScreenMode(Mode);

// The longest line of any mode, in pixels and in bytes.
inline constexpr int kMaxLineWidth =
    std::ranges::max(kScreenModes, {}, &ScreenModeFacts::lineWidth).lineWidth;
inline constexpr int kMaxLineBytes =
    std::ranges::max(kScreenModes, {}, &ScreenModeFacts::bytesPerLine).bytesPerLine;

} // namespace tessarin
