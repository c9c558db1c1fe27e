#pragma once

#include "vdp/rgb.h"
#include "vdp/vocabulary.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tessarin {

// Bitmap modes keep each line's pixels in VRAM; pattern modes build the picture from a
// name table of 8x8 cells and their patterns (and colours), at fixed addresses.
enum class ModeKind : std::uint8_t { bitmap, pattern };

inline constexpr int kBitmapLines = 212;
inline constexpr int kPatternLines = 192;         // 24 rows of 8-line cells
inline constexpr std::int32_t kOnePage = 0x20000; // a one-page mode's page spans all VRAM

// How one screen mode lays its pictures into VRAM and what it shows of them. A pattern
// mode's line width, bits and bytes are those of a pattern line (8 pixels a byte, 32 a
// row of names); its lines are not laid out one after the other.
struct ScreenModeFacts {
    ScreenMode mode;
    int lineWidth;              // the mode's own pixels a line, also the full "line pixels"
    int bitsPerPixel;           // 1, 2, 4 or 8 (a YJK pixel counts its byte of the group)
    int bytesPerLine;           // from one line to the next in VRAM (bitmap modes)
    std::int32_t pageSize;      // from one display page to the next
    std::int32_t pageCount;     // display pages in the 128 KB
    std::uint32_t paletteTable; // where a screen file keeps its palette (absolute address)
    int paletteColours;         // palette entries the mode shows; 0 when its colours are direct
    int lines;                  // lines of a display page
    ModeKind kind;
};

inline constexpr std::array<ScreenModeFacts, 9> kScreenModes{{
    {2, kNarrowWidth, 1, 32, kOnePage, 1, 0x1B80, 16, kPatternLines, ModeKind::pattern},
    {3, kNarrowWidth, 1, 32, kOnePage, 1, 0x2020, 16, kPatternLines, ModeKind::pattern},
    {4, kNarrowWidth, 1, 32, kOnePage, 1, 0x1B80, 16, kPatternLines, ModeKind::pattern},
    {5, kNarrowWidth, 4, 128, 0x8000, 4, 0x7680, 16, kBitmapLines, ModeKind::bitmap},
    {6, kWideWidth, 2, 128, 0x8000, 4, 0x7680, 4, kBitmapLines, ModeKind::bitmap},
    {7, kWideWidth, 4, 256, 0x10000, 2, 0xFA80, 16, kBitmapLines, ModeKind::bitmap},
    {8, kNarrowWidth, 8, 256, 0x10000, 2, 0xFA80, 0, kBitmapLines, ModeKind::bitmap},
    {10, kNarrowWidth, 8, 256, 0x10000, 2, 0xFA80, 16, kBitmapLines, ModeKind::bitmap},
    {12, kNarrowWidth, 8, 256, 0x10000, 2, 0xFA80, 0, kBitmapLines, ModeKind::bitmap},
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

// The lines of a display page of mode; a bitmap page's for a mode the VDP does not support.
[[nodiscard]] constexpr int pictureLinesOf(ScreenMode mode) {
    const ScreenModeFacts* facts = findScreenMode(mode);
    return facts == nullptr ? kBitmapLines : facts->lines;
}

// The facts of a mode named at compile time; an unsupported mode does not compile.
template <ScreenMode Mode> inline constexpr ScreenModeFacts kModeFacts = *findScreenMode(Mode);

// The longest line of any mode, in pixels and in bytes.
inline constexpr int kMaxLineWidth =
    std::ranges::max(kScreenModes, {}, &ScreenModeFacts::lineWidth).lineWidth;
inline constexpr int kMaxLineBytes =
    std::ranges::max(kScreenModes, {}, &ScreenModeFacts::bytesPerLine).bytesPerLine;

} // namespace tessarin
