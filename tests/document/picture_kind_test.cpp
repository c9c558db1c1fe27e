// Which files are pictures, in which mode: each kind a disk holds, and broken headers.
#include "document/picture_kind.h"

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

TEST(PictureKind, ByNameOrByTheFirstBytes) {
    const auto picture = [](std::optional<ScreenMode> mode) { return PictureKind{true, mode, {}}; };
    const auto no = [](std::string_view reason) { return PictureKind{false, {}, reason}; };
    const Made basic{{0xFF, 0x0D, 0x80, 0x0A, 0x00}, 758};
    const std::vector<std::tuple<const char*, Made, PictureKind>> cases{
        // Names decide: the table (bytes unread), palettes, MSX-DOS programs.
        {"PIC.SC5", basic, picture(ScreenMode::screen5)},
        {"TILESET.S02", basic, picture(ScreenMode::screen2)},
        {"a.s03", {}, picture(ScreenMode::screen3)},
        {"PIC.PL5", header(0xFE, 0, 0x69FF, 0x6A00), no("palette file, not a picture")},
        {"MSXDOS.SYS", header(0xFE, 0, 0x69FF, 0x6A00), no("MSX-DOS program, not a picture")},
        // The bytes decide the rest.
        {"AUTOEXEC.BAS", basic, no("tokenised BASIC program, not a picture")},
        {"LIST.BAS",
         {{'1', '0', ' ', 'C', 'L', 'S', '\r', '\n', 0x1A}, 9},
         no("text, not a picture")},
        {"EMPTY.DAT", {{}, 0}, no("empty file, not a picture")},
        {"GAME.BIN", header(0xFE, 0x9000, 0x9FFF, 0x1000), no("BSAVE of memory, not a picture")},
        {"PART.BIN", header(0xFE, 0x1800, 0x1AFF, 0x300),
         no("BSAVE of part of VRAM, not a picture")},
        {"LEVEL.DAT", {{0x00, 0x12, 0x7F, 0x80, 0x01}, 2048}, no("data, not a picture")},
        {"HEAD.BIN", header(0xFE, 0, 0x69FF, 0), no("data, not a picture")},
        // BSAVEs of VRAM from 0: the end address gives the mode, else the last character.
        {"TILES.BIN", header(0xFE, 0, 0x37FF, 0x3800), picture(ScreenMode::screen2)},
        {"TITLE.BIN", header(0xFE, 0, 0x69FF, 0x6A00), picture(ScreenMode::screen5)},
        {"TITLE.BAS", header(0xFE, 0, 0x6A00, 0x6A01), picture(ScreenMode::screen5)},
        {"FULL.BIN", header(0xFE, 0, 0x769F, 100), picture(ScreenMode::screen5)},
        {"PAGE.BIN", header(0xFE, 0, 0x7FFF, 0x8000), picture(ScreenMode::screen5)},
        {"WIDE.BIN", header(0xFE, 0, 0xD3FF, 0xD400), picture(std::nullopt)},
        {"WIDE.S", header(0xFE, 0, 0xD3FF, 0xD400), picture(ScreenMode::screen12)},
        // Graph Saurus: its end - start is the file's size past the header.
        {"GS.BIN", header(0xFD, 0, 0x1000, 0x1000), picture(std::nullopt)},
        {"GS.SR", header(0xFD, 0, 0x1000, 0x0FFF), no("data, not a picture")},
    };
    for (const auto& [name, file, kind] : cases) {
        EXPECT_EQ(pictureKind(name, file.head, file.size), kind) << name;
    }
}

} // namespace
} // namespace tessarin
