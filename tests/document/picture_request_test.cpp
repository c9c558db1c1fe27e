// The one way a name becomes a picture's request: each storage, each source of the mode.
#include "document/resolve.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/zx0_pack.h"
#include "tools/disk_writer.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace tessarin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A BSAVE of VRAM from 0000h to end, its data 11h.
Bytes bsave(std::uint16_t end) {
    Bytes b{0xFE, 0, 0, static_cast<std::uint8_t>(end), static_cast<std::uint8_t>(end >> 8), 0, 0};
    b.resize(b.size() + end + 1U, 0x11);
    return b;
}

Bytes text(std::size_t size) {
    return Bytes(size, 'a');
}

TEST(PictureRequest, EachStorageAndEachSourceOfTheMode) {
    const test::ScratchDir dir;
    const std::string d = dir.path() + "/";
    const auto write = [&](const std::string& name, const Bytes& bytes) {
        std::filesystem::create_directories(std::filesystem::path(d + name).parent_path());
        test::writeBytes(d + name, bytes);
    };
    write("PIC.SC5", bsave(0x69FF));
    write("PIC.BIN", bsave(0xD3FF));
    write("X.SC7", bsave(0xD3FF));
    write("X.S17", bsave(0xD3FF));
    write("X.PL7", Bytes(32, 0x01));
    write("Y.SC5", bsave(0x69FF));
    write("Y.pal", text(184));
    write("DATA.BI5", text(3000));
    write("NOTES.TXT", text(3000));
    write("DIR/A.SC2", bsave(0x37FF));
    samples::DiskWriter disk(200);
    disk.addFile(samples::DiskWriter::kRoot, "PIC.BIN", bsave(0xD3FF));
    write("GAME.DSK", disk.bytes());
    write("L.SR8.zx0", test::packZx0(bsave(0xD3FF)));

    using enum ModeWhy;
    const struct {
        std::string name;
        std::optional<ScreenMode> chosen;
        std::string screenFile, vram1File, paletteFile, leftOut;
        ScreenMode mode;
        ModeWhy why;
    } cases[] = {
        {"PIC.SC5", {}, "PIC.SC5", "", "", "", ScreenMode::screen5, name}, // the extension
        {"PIC.SC5", ScreenMode::screen2, "PIC.SC5", "", "", "", ScreenMode::screen2, chosen},
        {"PIC.BIN", {}, "PIC.BIN", "", "", "", ScreenMode::screen8, bytes},      // the end address
        {"X.SC7", {}, "X.SC7", "X.S17", "X.PL7", "", ScreenMode::screen7, name}, // page 1, palette
        {"Y.SC5", {}, "Y.SC5", "", "", "Y.pal", ScreenMode::screen5, name},  // text is no palette
        {"DATA.BI5", {}, "DATA.BI5", "", "", "", ScreenMode::screen5, name}, // the last character
        {"NOTES.TXT", {}, "NOTES.TXT", "", "", "", kDefaultScreenMode, standard}, // a new viewer's
        {"DIR", {}, "DIR/A.SC2", "", "", "", ScreenMode::screen2, name}, // a folder's first
        {"GAME.DSK", {}, "GAME.DSK/PIC.BIN", "", "", "", ScreenMode::screen8, bytes}, // a disk's
        {"L.SR8.zx0", {}, "L.SR8.zx0/L.SR8", "", "", "", ScreenMode::screen8, name},  // packed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureRequest request = resolve(fileSource(), Location::of(d + c.name), c.chosen);
        EXPECT_EQ(request.screenFile.path(), d + c.screenFile);
        EXPECT_EQ(request.vram1File.path(), c.vram1File.empty() ? "" : d + c.vram1File);
        EXPECT_EQ(request.paletteFile.path(), c.paletteFile.empty() ? "" : d + c.paletteFile);
        EXPECT_EQ(request.paletteLeftOut.path(), c.leftOut.empty() ? "" : d + c.leftOut);
        EXPECT_EQ(request.screenMode, c.mode);
        EXPECT_EQ(request.screenModeWhy, c.why);
        const auto line = static_cast<std::int16_t>(findScreenMode(c.mode)->lineWidth);
        EXPECT_EQ(request.mapping.linePixels, (std::array{line, line}));
    }
}

} // namespace
} // namespace tessarin
