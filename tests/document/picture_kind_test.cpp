// Which files are pictures, in which mode: each kind a disk holds, and broken headers.
#include "catalog/picture_kind.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace tessarin {
namespace {

// A 7-byte header (id, start, end, execution address 0), then the data's size in bytes.
struct Made {
    std::vector<std::uint8_t> head;
    std::uint64_t size;
};

Made header(std::uint8_t id, std::uint16_t start, std::uint16_t end, std::uint64_t body) {
    return {{id, static_cast<std::uint8_t>(start), static_cast<std::uint8_t>(start >> 8),
             static_cast<std::uint8_t>(end), static_cast<std::uint8_t>(end >> 8), 0, 0},
            7 + body};
}

// A file of size bytes that begins with text.
Made text(std::string_view begins, std::uint64_t size) {
    return {std::vector<std::uint8_t>(begins.begin(), begins.end()), size};
}

// A BSAVE of the palette table at table: entry 0 black, the others 0RRR0BBB 00000GGG.
Made paletteTable(std::uint16_t table) {
    Made made = header(0xFE, table, table + 31, 32);
    for (int entry = 0; entry < 16; ++entry) {
        made.head.push_back(static_cast<std::uint8_t>(entry & 0x77));
        made.head.push_back(static_cast<std::uint8_t>(entry & 0x07));
    }
    return made;
}

TEST(PictureKind, ByNameOrByTheFirstBytes) {
    const auto picture = [](std::optional<ScreenMode> mode) { return PictureKind{true, mode, {}}; };
    const auto no = [](NotPicture reason) { return PictureKind{false, {}, reason}; };
    const PictureKind palette{false, {}, NotPicture::paletteFile, true};
    const Made basic{{0xFF, 0x0D, 0x80, 0x0A, 0x00}, 758};
    const Made table = paletteTable(0x7680);
    const Made plainTable{std::vector(table.head.begin() + 7, table.head.end()), 32};
    std::vector<std::uint8_t> binary(16, 0x00);
    binary[0] = 0x11;
    const std::vector<std::tuple<const char*, Made, PictureKind>> cases{
        // Names decide: the table (bytes unread), palettes, MSX-DOS programs.
        {"PIC.SC5", basic, picture(ScreenMode::screen5)},
        {"TILESET.S02", basic, picture(ScreenMode::screen2)},
        {"a.s03", {{}, 6144}, picture(ScreenMode::screen3)},
        {"TILES.SR2", {{}, 14343}, picture(ScreenMode::screen2)},
        {"MSX1.SR4", {{}, 14343}, picture(ScreenMode::screen4)},
        {"PHOTO.YJK", header(0xFE, 0, 0xD3FF, 0xD400), picture(ScreenMode::screen12)},
        // Whatever the name: empty is no picture, a palette by its bytes is a palette.
        {"PALETTE.S12", {{}, 0}, no(NotPicture::emptyFile)},
        {"GAMEPAL.SC5", table, palette},
        {"COLORS.SC7", plainTable, palette},
        // A palette's name is one by its bytes only; a larger file is a screen file.
        {"PIC.PL5", plainTable, palette},
        {"X.pal", text("PALETTE\r\n0,0,0\r\n", 184), no(NotPicture::textPalette)},
        {"PIC.PL5", header(0xFE, 0, 0x69FF, 0x6A00), picture(ScreenMode::screen5)},
        {"SONG1.PT3", text("ProTracker 3.7 compilation of ", 4918), no(NotPicture::text)},
        {"MSXDOS.SYS", header(0xFE, 0, 0x69FF, 0x6A00), no(NotPicture::program)},
        // The bytes decide the rest.
        {"AUTOEXEC.BAS", basic, no(NotPicture::tokenisedBasic)},
        {"LIST.BAS", {{'1', '0', ' ', 'C', 'L', 'S', '\r', '\n', 0x1A}, 9}, no(NotPicture::text)},
        {"EMPTY.DAT", {{}, 0}, no(NotPicture::emptyFile)},
        {"GAME.BIN", header(0xFE, 0x9000, 0x9FFF, 0x1000), no(NotPicture::bsaveOfMemory)},
        {"PART.BIN", header(0xFE, 0x1800, 0x1AFF, 0x300), no(NotPicture::bsaveOfPartOfVram)},
        {"LEVEL.DAT", {{0x00, 0x12, 0x7F, 0x80, 0x01}, 2048}, no(NotPicture::data)},
        {"HEAD.BIN", header(0xFE, 0, 0x69FF, 0), no(NotPicture::data)},
        // BSAVEs of VRAM from 0: the end address gives the mode, else the last character.
        {"TILES.BIN", header(0xFE, 0, 0x37FF, 0x3800), picture(ScreenMode::screen2)},
        {"TITLE.BIN", header(0xFE, 0, 0x69FF, 0x6A00), picture(ScreenMode::screen5)},
        {"TITLE.BAS", header(0xFE, 0, 0x6A00, 0x6A01), picture(ScreenMode::screen5)},
        {"FULL.BIN", header(0xFE, 0, 0x769F, 100), picture(ScreenMode::screen5)},
        {"PAGE.BIN", header(0xFE, 0, 0x7FFF, 0x8000), picture(ScreenMode::screen5)},
        {"WIDE.BIN", header(0xFE, 0, 0xD3FF, 0xD400), picture(ScreenMode::screen8)},
        {"WIDE.PIC", header(0xFE, 0, 0xD3FF, 0xD400), picture(ScreenMode::screen8)},
        {"WIDE.SRI", header(0xFE, 0, 0xD3FF, 0xD400), picture(ScreenMode::screen8)},
        {"WIDE.S", header(0xFE, 0, 0xD3FF, 0xD400), picture(ScreenMode::screen12)},
        {"WITHPAL.PIC", header(0xFE, 0, 0xFA9F, 0xFAA0), picture(ScreenMode::screen7)},
        {"ODD.BIN", header(0xFE, 0, 0x1234, 0x1235), picture(std::nullopt)},
        // No header: a raw dump of exactly a screen's bytes, or a COPY rectangle (16x16
        // at 4 bits); text of that size stays text.
        {"RAW.DAT", {binary, 54272}, picture(ScreenMode::screen8)},
        {"RAW.DA5", {binary, 27136}, picture(ScreenMode::screen5)},
        {"README", text("Read me first, ", 54272), no(NotPicture::text)},
        {"SPRITE.CPY", {{16, 0, 16, 0, 0x12}, 4 + 128}, picture(ScreenMode::screen5)},
        // Graph Saurus: its end - start is the file's size past the header.
        {"GS.BIN", header(0xFD, 0, 0x1000, 0x1000), picture(std::nullopt)},
        {"GS.SR", header(0xFD, 0, 0x1000, 0x0FFF), no(NotPicture::data)},
    };
    for (const auto& [name, file, kind] : cases) {
        EXPECT_EQ(pictureKind(name, file.head, file.size), kind) << name;
    }
}

} // namespace
} // namespace tessarin
