#include "formats/palette_shape.h"

#include <algorithm>

namespace tessarin {

namespace {
constexpr std::uint64_t kPaletteBsaveSize = kBsaveHeaderSize + kPaletteSize;
constexpr std::size_t kEntryBytes = 2;
constexpr std::size_t kPaletteCopies = 8; // a 256-byte file: one table per page

// The header of a 39-byte BSAVE of 32 bytes, if file is one.
std::optional<BinaryHeader> tableBsave(std::span<const std::uint8_t> file) {
    const std::optional<BinaryHeader> header = readBinaryHeader(file);
    if (file.size() == kPaletteBsaveSize && header && header->id == kBsaveId &&
        header->dataSize() == kPaletteSize) {
        return header;
    }
    return std::nullopt;
}

bool holds(std::span<const std::uint8_t> entries) {
    return holdsPalette(entries) == PaletteFinding::holds;
}

// The table read from bytes placed at entry `first` on; the rest zero.
PaletteRecord tableOf(std::span<const std::uint8_t> bytes, std::size_t first = 0) {
    PaletteRecord record{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), kPaletteSize - first * kEntryBytes),
                record.begin() + static_cast<std::ptrdiff_t>(first * kEntryBytes));
    return record;
}

} // namespace

PaletteFinding holdsPalette(std::span<const std::uint8_t> table) {
    if (std::all_of(table.begin(), table.end(), [](std::uint8_t b) { return b == 0; })) {
        return PaletteFinding::allZero;
    }
    for (std::size_t i = 0; i + 1 < table.size(); i += kEntryBytes) {
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
    const std::size_t shown = shownPaletteBytes(mode);
    if (!written.holds(table, table + static_cast<std::uint32_t>(shown))) {
        return PaletteFinding::notReached;
    }
    return holdsPalette(vram.subspan(table, shown));
}

std::optional<CarriedPalette> paletteBeyondData(const ScreenLayout& layout,
                                                std::span<const std::uint8_t> file,
                                                const ScreenModeFacts& mode) {
    if (layout.kind != LayoutKind::bsave || !mode.usesPalette() || file.size() < layout.fileSize) {
        return std::nullopt; // a file not read whole is not looked past
    }
    const std::uint64_t dataEnd = layout.dataOffset + layout.headerEnd - layout.start + 1;
    // The table at its own address past the end address, as the bytes go on.
    if (mode.paletteTable > layout.headerEnd && mode.paletteTable >= layout.start) {
        const std::uint64_t at = layout.dataOffset + (mode.paletteTable - layout.start);
        const std::size_t shown = shownPaletteBytes(mode);
        if (at + shown <= file.size()) {
            const auto table = file.subspan(static_cast<std::size_t>(at));
            if (holds(table.first(shown))) {
                return CarriedPalette{PalettePlace::pastEnd, tableOf(table)};
            }
        }
    }
    // Right after the data: exactly the 16 entries, or entries 1-15 (colour 0 is clear).
    if (dataEnd > file.size()) {
        return std::nullopt;
    }
    const auto tail = file.subspan(static_cast<std::size_t>(dataEnd));
    if ((tail.size() == kPaletteSize || tail.size() == kPaletteSize - kEntryBytes) && holds(tail)) {
        return CarriedPalette{PalettePlace::appended,
                              tableOf(tail, (kPaletteSize - tail.size()) / kEntryBytes)};
    }
    return std::nullopt;
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
    if (tableBsave(file)) {
        return PaletteShape::bsave;
    }
    return file.size() == kMaxPaletteFileSize ? PaletteShape::eightCopies : PaletteShape::plain;
}

bool isPaletteByContent(std::span<const std::uint8_t> head, std::uint64_t size) {
    if (size != head.size()) {
        return false; // only small files are palettes, and they are read whole
    }
    switch (size) {
    case kPaletteSize:
        return holds(head);
    case kPaletteBsaveSize: {
        const std::optional<BinaryHeader> header = tableBsave(head);
        return header &&
               std::ranges::any_of(kScreenModes,
                                   [&](const ScreenModeFacts& m) {
                                       return m.usesPalette() && m.paletteTable == header->start;
                                   }) &&
               holds(head.subspan(kBsaveHeaderSize));
    }
    case kMaxPaletteFileSize: {
        const auto first = head.first(kPaletteSize);
        for (std::size_t copy = 1; copy < kPaletteCopies; ++copy) {
            if (!std::ranges::equal(first, head.subspan(copy * kPaletteSize, kPaletteSize))) {
                return false;
            }
        }
        return holds(first);
    }
    default:
        return false;
    }
}

bool isPaletteFile(std::span<const std::uint8_t> head, std::uint64_t size) {
    if (size != head.size()) {
        return false;
    }
    switch (paletteShapeOf(head)) {
    case PaletteShape::bsave:
        return holds(head.subspan(kBsaveHeaderSize));
    case PaletteShape::eightCopies:
        return holds(head.first(kPaletteSize)) && holdsPalette(head) == PaletteFinding::holds;
    case PaletteShape::plain:
        return size == kPaletteSize && holds(head);
    }
    return false;
}

PaletteRecord readPaletteFile(std::span<const std::uint8_t> file) {
    const std::size_t from = paletteShapeOf(file) == PaletteShape::bsave ? kBsaveHeaderSize : 0;
    const std::span<const std::uint8_t> table = file.subspan(from);
    PaletteRecord record{};
    std::copy_n(table.begin(), std::min(table.size(), kPaletteSize), record.begin());
    return record;
}

} // namespace tessarin
