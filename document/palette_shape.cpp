#include "document/palette_shape.h"

#include <algorithm>

namespace tessarin {

namespace {
constexpr std::uint64_t kPaletteBsaveSize = kBsaveHeaderSize + kPaletteSize;
} // namespace

PaletteFinding holdsPalette(std::span<const std::uint8_t, kPaletteSize> table) {
    if (std::all_of(table.begin(), table.end(), [](std::uint8_t b) { return b == 0; })) {
        return PaletteFinding::allZero;
    }
    for (std::size_t i = 0; i < kPaletteSize; i += 2) {
        if ((table[i] & ~kRedBlueBits) != 0 || (table[i + 1] & ~kGreenBits) != 0) {
            return PaletteFinding::strayBits;
        }
    }
    return PaletteFinding::holds;
}

PaletteFinding vramPaletteFinding(std::span<const std::uint8_t, kVramSize> vram,
                                  const ScreenModeFacts& mode, VramRange written) {
    if (mode.paletteColours == 0) {
        return PaletteFinding::noPaletteMode;
    }
    const std::uint32_t table = mode.paletteTable;
    if (!written.holds(table, table + kPaletteSize)) {
        return PaletteFinding::notReached;
    }
    return holdsPalette(vram.subspan(table).first<kPaletteSize>());
}

std::string_view reasonOf(PaletteFinding finding) {
    switch (finding) {
    case PaletteFinding::holds:
        return "";
    case PaletteFinding::noPaletteMode:
        return "the mode has no palette";
    case PaletteFinding::notReached:
        return "the file does not reach the table";
    case PaletteFinding::allZero:
        return "the table holds no palette";
    case PaletteFinding::strayBits:
        return "the table holds other data than a palette";
    }
    return "";
}

PaletteShape paletteShapeOf(std::span<const std::uint8_t> file) {
    if (file.size() == kPaletteBsaveSize && file[0] == kBsaveId) {
        // start offset 1, end offset 3, both 16-bit LE; the range is the table's 32 bytes
        const unsigned start = file[1] | static_cast<unsigned>(file[2]) << 8;
        const unsigned end = file[3] | static_cast<unsigned>(file[4]) << 8;
        if (end >= start && end - start + 1 == kPaletteSize) {
            return PaletteShape::bsave;
        }
    }
    return file.size() == kMaxPaletteFileSize ? PaletteShape::eightCopies : PaletteShape::plain;
}

PaletteRecord readPaletteFile(std::span<const std::uint8_t> file) {
    const std::size_t from = paletteShapeOf(file) == PaletteShape::bsave ? kBsaveHeaderSize : 0;
    const std::span<const std::uint8_t> table = file.subspan(from);
    PaletteRecord record{};
    std::copy_n(table.begin(), std::min(table.size(), kPaletteSize), record.begin());
    return record;
}

} // namespace tessarin
