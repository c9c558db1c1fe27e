#pragma once

// The character font of the machine's reset state, which BASIC's SCREEN 0 and SCREEN 1 copy
// into the pattern table: taken from the free C-BIOS's MSX2 main ROM, where the BIOS word
// CGTABL at 0004h (little-endian) gives the font's address, 256 patterns of 8 bytes.

#include "vdp/pattern_layout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tessarin {

using Font = std::array<std::uint8_t, kFontBytes>;

// The ROM C-BIOS installs (Debian's cbios package).
inline constexpr const char* kResetFontRom = "/usr/share/cbios/cbios_main_msx2.rom";

// The font of a main ROM's bytes; nothing when the ROM ends before its CGTABL's font does.
[[nodiscard]] std::optional<Font> fontOfRom(std::span<const std::uint8_t> rom);

// The font of the installed ROM, read once; all zero (every character blank) when the ROM
// is missing or unreadable.
[[nodiscard]] const Font& resetFont();

// Whether resetFont() found its ROM.
[[nodiscard]] bool resetFontFound();

} // namespace tessarin
