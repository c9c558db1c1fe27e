#pragma once

// The small types the document, its callers and the file-name rule share; nothing heavy.

#include "vdp/vocabulary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace tessarin {

// The three kinds of file the document loads.
enum class FileSlot : int { vram0 = 0, vram1 = 1, palette = 2 };
inline constexpr std::array<FileSlot, 3> kFileSlots{FileSlot::vram0, FileSlot::vram1,
                                                    FileSlot::palette};

// Position of a slot in per-slot arrays.
[[nodiscard]] constexpr std::size_t indexOf(FileSlot slot) {
    return static_cast<std::size_t>(slot);
}

// Bytes skipped before a file's VRAM data: signed 16 bits, as the mapping stores them.
using HeaderSize = std::int16_t;
inline constexpr HeaderSize kMaxHeaderSize = std::numeric_limits<HeaderSize>::max();
inline constexpr HeaderSize kDefaultHeaderSize = 7; // FEh, start, end, execution address

// How files are laid into VRAM: each by its own layout, or past a fixed header.
// The shape a TV gives the pixels of a 256-wide picture of a page's lines.
enum class PixelAspect : std::uint8_t { square, ntsc, pal };

enum class LayoutChoice : std::uint8_t { automatic, fixed };

// Output geometry: four sizes, each plain or rotated left.
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
