#pragma once

#include <array>
#include <cstddef>

namespace tessarin {

// The three kinds of file the document loads, as the name rule assigns them.
enum class FileSlot : int { vram0 = 0, vram1 = 1, palette = 2 };
inline constexpr std::array<FileSlot, 3> kFileSlots{FileSlot::vram0, FileSlot::vram1,
                                                    FileSlot::palette};

// Position of a slot in per-slot arrays.
[[nodiscard]] constexpr std::size_t indexOf(FileSlot slot) {
    return static_cast<std::size_t>(slot);
}

} // namespace tessarin
