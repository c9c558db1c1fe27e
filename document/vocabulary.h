#pragma once

// The small types the document and its callers share (the slots are the name rule's);
// nothing heavy.

#include "names/file_slot.h"
#include "vdp/vocabulary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace tessarin {

// Bytes skipped before a file's VRAM data: signed 16 bits, as the mapping stores them.
using HeaderSize = std::int16_t;
inline constexpr HeaderSize kMaxHeaderSize = std::numeric_limits<HeaderSize>::max();
inline constexpr HeaderSize kDefaultHeaderSize = 7; // FEh, start, end, execution address

// The shape a TV gives the pixels of a 256-wide picture of a page's lines.
enum class PixelAspect : std::uint8_t { square, ntsc, pal };

// How files are laid into VRAM: each by its own layout, or past a fixed header.
enum class LayoutChoice : std::uint8_t { automatic, fixed };

// Output geometry: four sizes, each plain or rotated left. The names count the 212 lines
// of a bitmap page; screens 2-4 show 192 (plain256x212 is 256x192 there, 512x424 is
// 512x384).
enum class ViewMode : std::int8_t {
    plain256x212 = 0,
    magnify512x424 = 1,
    interlace512x424 = 2,
    joint256x424 = 3,
    plain256x212Rotated = 4,
    magnify512x424Rotated = 5,
    interlace512x424Rotated = 6,
    joint256x424Rotated = 7,
};

// The four sizes of the Size menu.
enum class ViewSize : int {
    plain256x212 = 0,
    magnify512x424 = 1,
    interlace512x424 = 2,
    joint256x424 = 3
};

} // namespace tessarin
