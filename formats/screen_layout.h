#pragma once

#include "formats/bsave.h"
#include "vdp/screen_modes.h"
#include "vdp/vdp_state.h"

#include <cstdint>
#include <span>
#include <string>

namespace tessarin {

// How a screen file holds its picture, recognised from its own bytes.
enum class LayoutKind : std::uint8_t { bsave, graphSaurus, copyRectangle, raw };

inline constexpr std::size_t kCopyHeaderSize = 4; // width, height
// The most of a file any layout lays: a raw dump of the whole VRAM.
inline constexpr std::size_t kMaxLaidBytes = kVramSize;

// Where a screen file's data lie in the file and in VRAM. VRAM addresses count from the
// page base the file is laid at.
struct ScreenLayout {
    LayoutKind kind = LayoutKind::raw;
    std::uint64_t fileSize = 0;
    std::uint64_t dataOffset = 0; // the data's first byte in the file
    std::uint32_t start = 0;      // VRAM address of the data's first byte
    std::uint32_t length = 0;     // bytes laid; for a COPY rectangle the packed bytes read
    std::uint32_t headerEnd = 0;  // a BSAVE header's end address (inclusive)
    int width = 0;                // a COPY rectangle's size in the mode's pixels
    int height = 0;

    friend bool operator==(const ScreenLayout&, const ScreenLayout&) = default;
};

// The layout of a file of fileSize bytes whose first bytes are head (7 are enough; a
// shorter head matches only what it holds), as the mode lays it. In this order:
//   1. BSAVE, exact: FEh, end >= start and end - start + 1 == fileSize - 7;
//   2. Graph Saurus: FDh and end - start == fileSize - 7;
//   3. COPY rectangle: width 1..line width, height 1..page lines, and fileSize 4 + packed
//      bytes or one more;
//   4. BSAVE, loose: FEh, end >= start and fileSize >= 8 (laid as far as both reach);
//   5. raw VRAM dump.
// So an exact header beats a COPY rectangle that also fits (width 254 or 510 begins with
// FEh, 253 or 509 with FDh), and a COPY rectangle beats a header that only loosely fits.
[[nodiscard]] ScreenLayout detectLayout(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                                        const ScreenModeFacts& mode);

// A short description for the user: "BSAVE 0000–769F", "BSAVE 0000–769F, 1,000 of 30,368
// bytes" for a short file, "Graph Saurus 0000–D3FF", "COPY 100×100", "raw 54,272 bytes".
[[nodiscard]] std::string describeLayout(const ScreenLayout& layout);

// VRAM addresses [first, end); empty when first == end.
struct VramRange {
    std::uint32_t first = 0;
    std::uint32_t end = 0;

    [[nodiscard]] bool holds(std::uint32_t from, std::uint32_t to) const {
        return first <= from && to <= end;
    }
    friend bool operator==(const VramRange&, const VramRange&) = default;
};

// Lays file (its bytes from the start, as far as read) into vram as layout says, from
// pageBase; a COPY rectangle goes to (0, 0) of that page, packed as the mode packs its
// lines, keeping the bits of other pixels in shared bytes. Nothing is written past the
// end of VRAM or read past the end of file. Returns the smallest range holding every
// byte written.
VramRange layScreenFile(const ScreenLayout& layout, std::span<const std::uint8_t> file,
                        std::span<std::uint8_t, kVramSize> vram, const ScreenModeFacts& mode,
                        std::uint32_t pageBase);

} // namespace tessarin
