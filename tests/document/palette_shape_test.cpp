#include "document/palette_shape.h"

#include <gtest/gtest.h>
#include <vector>

namespace tessarin {
namespace {

using Bytes = std::vector<std::uint8_t>;

PaletteRecord ramp() {
    PaletteRecord r{};
    for (std::size_t i = 0; i < kPaletteSize; i += 2) {
        r[i] = static_cast<std::uint8_t>((i / 2 % 8) << 4 | (7 - i / 2 % 8));
        r[i + 1] = static_cast<std::uint8_t>(i / 2 % 8);
    }
    return r;
}

TEST(PaletteShape, VramTableHoldsAPaletteOnlyWhenWholeNonZeroAndWithEntryBitsOnly) {
    const auto with = [](std::size_t at, std::uint8_t value) {
        PaletteRecord r = ramp();
        r[at] = value;
        return r;
    };
    const struct {
        const char* what;
        ScreenMode mode;
        PaletteRecord table;
        VramRange written;
        PaletteFinding finding;
    } cases[] = {
        {"whole ramp", 5, ramp(), {0, 0x76A0}, PaletteFinding::holds},
        {"screen 6 counts all 16 entries", 6, ramp(), {0, 0x7680 + 8}, PaletteFinding::notReached},
        {"last byte missing", 7, ramp(), {0xFA80, 0xFA9F}, PaletteFinding::notReached},
        {"begins inside the table", 10, ramp(), {0xFA81, 0x10000}, PaletteFinding::notReached},
        {"all zero", 7, PaletteRecord{}, {0, 0x10000}, PaletteFinding::allZero},
        {"bit 7 of byte 0", 5, with(30, 0x80), {0, 0x8000}, PaletteFinding::strayBits},
        {"bit 3 of byte 0", 5, with(0, 0x08), {0, 0x8000}, PaletteFinding::strayBits},
        {"bit 3 of byte 1", 5, with(31, 0x08), {0, 0x8000}, PaletteFinding::strayBits},
        {"direct colours", 8, ramp(), {0, 0x10000}, PaletteFinding::noPaletteMode},
    };
    std::vector<std::uint8_t> vram(kVramSize);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ScreenModeFacts& mode = *findScreenMode(c.mode);
        std::copy(c.table.begin(), c.table.end(), vram.begin() + mode.paletteTable);
        EXPECT_EQ(
            vramPaletteFinding(std::span<const std::uint8_t, kVramSize>(vram), mode, c.written),
            c.finding);
        EXPECT_EQ(reasonOf(c.finding).empty(), c.finding == PaletteFinding::holds);
    }
}

TEST(PaletteShape, FilesOfEachShapeGiveTheirTable) {
    const PaletteRecord r = ramp();
    const Bytes plain(r.begin(), r.end());
    Bytes bsave{0xFE, 0x80, 0xFA, 0x9F, 0xFA, 0, 0};
    bsave.insert(bsave.end(), r.begin(), r.end());
    Bytes copies;
    for (int page = 0; page < 8; ++page) {
        copies.insert(copies.end(), r.begin(), r.end());
    }
    Bytes unequal = copies;
    unequal[40] ^= 0x11;
    Bytes lying = bsave; // end - start + 1 is 33
    lying[3] = 0xA0;
    PaletteRecord shortRecord{};
    std::copy_n(r.begin(), 10, shortRecord.begin());
    PaletteRecord lyingRecord{};
    std::copy_n(lying.begin(), kPaletteSize, lyingRecord.begin());
    const struct {
        const char* what;
        Bytes file;
        PaletteShape shape;
        PaletteRecord record;
    } cases[] = {
        {"32 bytes", plain, PaletteShape::plain, r},
        {"short", Bytes(r.begin(), r.begin() + 10), PaletteShape::plain, shortRecord},
        {"39-byte BSAVE", bsave, PaletteShape::bsave, r},
        {"39 bytes, not a table's range", lying, PaletteShape::plain, lyingRecord},
        {"eight copies", copies, PaletteShape::eightCopies, r},
        {"eight unequal copies", unequal, PaletteShape::eightCopies, r},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(paletteShapeOf(c.file), c.shape);
        EXPECT_EQ(readPaletteFile(c.file), c.record);
        EXPECT_TRUE(isPaletteFileSize(c.file.size()));
    }
    EXPECT_FALSE(isPaletteFileSize(0));
    EXPECT_FALSE(isPaletteFileSize(257));
}

} // namespace
} // namespace tessarin
