#include "formats/palette_shape.h"

#include <gtest/gtest.h>
#include <vector>

namespace tessarin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Entry n: red n, blue 7 - n, green n (n = index mod 8); entry 0 is not zero.
PaletteRecord ramp(std::size_t at = 0, std::uint8_t value = 0x07) {
    PaletteRecord r{};
    for (std::size_t i = 0; i < kPaletteSize; i += 2) {
        r[i] = static_cast<std::uint8_t>((i / 2 % 8) << 4 | (7 - i / 2 % 8));
        r[i + 1] = static_cast<std::uint8_t>(i / 2 % 8);
    }
    r[at] = value;
    return r;
}

TEST(PaletteShape,
     VramTableHoldsAPaletteOnlyWhenItsShownEntriesAreWrittenNonZeroAndWithEntryBitsOnly) {
    const struct {
        const char* what;
        ScreenMode mode;
        PaletteRecord table;
        VramRange written;
        PaletteFinding finding;
    } cases[] = {
        {"whole ramp", ScreenMode::screen5, ramp(), {0, 0x76A0}, PaletteFinding::holds},
        {"screen 6 counts its 4 entries",
         ScreenMode::screen6,
         ramp(),
         {0, 0x7688},
         PaletteFinding::holds},
        {"last byte missing",
         ScreenMode::screen7,
         ramp(),
         {0xFA80, 0xFA9F},
         PaletteFinding::notReached},
        {"begins inside the table",
         ScreenMode::screen10,
         ramp(),
         {0xFA81, 0x10000},
         PaletteFinding::notReached},
        {"all zero", ScreenMode::screen7, PaletteRecord{}, {0, 0x10000}, PaletteFinding::allZero},
        {"bit 7 of byte 0",
         ScreenMode::screen5,
         ramp(30, 0x80),
         {0, 0x8000},
         PaletteFinding::strayBits},
        {"bit 3 of byte 1",
         ScreenMode::screen5,
         ramp(31, 0x08),
         {0, 0x8000},
         PaletteFinding::strayBits},
        {"direct colours",
         ScreenMode::screen8,
         ramp(),
         {0, 0x10000},
         PaletteFinding::noPaletteMode},
    };
    std::vector<std::uint8_t> vram(kVramSize);
    for (const auto& c : cases) {
        const ScreenModeFacts& mode = *findScreenMode(c.mode);
        std::copy(c.table.begin(), c.table.end(), vram.begin() + mode.paletteTable);
        EXPECT_EQ(
            vramPaletteFinding(std::span<const std::uint8_t, kVramSize>(vram), mode, c.written),
            c.finding)
            << c.what;
        EXPECT_EQ(reasonOf(c.finding).empty(), c.finding == PaletteFinding::holds) << c.what;
    }
}

TEST(PaletteShape, FilesOfEachShapeGiveTheirTable) {
    const PaletteRecord r = ramp();
    Bytes bsave{0xFE, 0x80, 0xFA, 0x9F, 0xFA, 0, 0}; // FA80h-FA9Fh
    bsave.insert(bsave.end(), r.begin(), r.end());
    Bytes copies;
    for (int page = 0; page < 8; ++page) {
        copies.insert(copies.end(), r.begin(), r.end());
    }
    Bytes unequal = copies;
    unequal[40] ^= 0x11;
    PaletteRecord shortRecord{};
    std::copy_n(r.begin(), 10, shortRecord.begin());
    const struct {
        const char* what;
        Bytes file;
        PaletteShape shape;
        PaletteRecord record;
    } cases[] = {
        {"32 bytes", Bytes(r.begin(), r.end()), PaletteShape::plain, r},
        {"short", Bytes(r.begin(), r.begin() + 10), PaletteShape::plain, shortRecord},
        {"39-byte BSAVE", bsave, PaletteShape::bsave, r},
        {"eight copies", copies, PaletteShape::eightCopies, r},
        {"eight unequal copies", unequal, PaletteShape::eightCopies, r},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(paletteShapeOf(c.file), c.shape) << c.what;
        EXPECT_EQ(readPaletteFile(c.file), c.record) << c.what;
    }
    EXPECT_TRUE(isPaletteFileSize(1) && isPaletteFileSize(256));
    EXPECT_FALSE(isPaletteFileSize(0) || isPaletteFileSize(257));
}

} // namespace
} // namespace tessarin
