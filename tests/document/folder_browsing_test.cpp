// Files opened as the machine would load them, in a folder and inside a disk image: each
// browsed file alone, its companion as page 1, the pictures of a disk the same as copied off.
#include "document/screen_document.h"
#include "platform/file_error.h"
#include "tests/platform/scratch_dir.h"
#include "tests/support/document_probe.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace tessarin {
namespace {

using test::ScratchDir;

// A BSAVE file of data laid from start.
std::vector<std::uint8_t> bsave(std::uint16_t start, std::size_t count, std::uint8_t value) {
    const auto end = static_cast<std::uint16_t>(start + count - 1);
    std::vector<std::uint8_t> file{0xFE,
                                   static_cast<std::uint8_t>(start & 0xFF),
                                   static_cast<std::uint8_t>(start >> 8),
                                   static_cast<std::uint8_t>(end & 0xFF),
                                   static_cast<std::uint8_t>(end >> 8),
                                   0,
                                   0};
    file.resize(file.size() + count, value);
    return file;
}

TEST(FolderBrowsing, EachFileShowsAloneWithItsCompanionAsPageOne) {
    const ScratchDir dir;
    test::writeBytes(dir.file("A.SC7"), bsave(0, 0xD400, 0x11));
    test::writeBytes(dir.file("B.SC7"), bsave(0, 100, 0x22));
    test::writeBytes(dir.file("B.S17"), bsave(0, 50, 0x33)); // page 1 of B, not browsed
    test::writeBytes(dir.file("C.PL7"), std::vector<std::uint8_t>(300, 0)); // no palette
    ScreenDocument doc;
    doc.openByName(dir.file("A.SC7"));
    EXPECT_FALSE(doc.hasVram1());
    EXPECT_EQ(doc.browsePosition(), (std::pair{1, 2}));

    ASSERT_EQ(doc.openNeighbour(1).opened, dir.file("B.SC7"));
    const auto& vram = doc.vdp().vram();
    EXPECT_EQ(vram[99], 0x22);
    EXPECT_EQ(vram[100], 0x00) << "A's bytes show through";
    EXPECT_EQ(doc.fileName(FileSlot::vram1), dir.file("B.S17"));
    EXPECT_EQ(vram[0x10000 + 49], 0x33);
    EXPECT_EQ(vram[0x10000 + 50], 0x00);
    EXPECT_EQ(doc.layoutDescription(), "BSAVE 0000\u201300"
                                       "63");

    // A palette's name is not browsed; larger than a palette file can be, it opens as a
    // screen file.
    EXPECT_EQ(doc.openNeighbour(1).opened, std::nullopt);
    EXPECT_EQ(doc.openByName(dir.file("C.PL7")), FileSlot::vram0);

    // A file that cannot be read (emptied since the listing) is stepped over and reported;
    // the file beyond it opens.
    test::writeBytes(dir.file("B.SC7"), {});
    const auto step = doc.openNeighbour(-1);
    EXPECT_EQ(step.opened, dir.file("A.SC7"));
    ASSERT_EQ(step.skipped.size(), 1U);
    EXPECT_EQ(step.skipped.front().fileName(), dir.file("B.SC7"));
    EXPECT_EQ(step.skipped.front().fault(), Fault::empty);
    // With nothing readable beyond, the document stays as it was.
    const auto atEnd = doc.openNeighbour(1);
    EXPECT_EQ(atEnd.opened, std::nullopt);
    EXPECT_EQ(atEnd.skipped.size(), 1U);
    EXPECT_EQ(doc.fileName(FileSlot::vram0), dir.file("A.SC7"));
}

// Browsing gives what opening alone gives: a name that names no mode shows in the mode its
// bytes give (a BSAVE of 0000h-D3FFh: screen 8), not in the mode of the file browsed from.
TEST(FolderBrowsing, AFileWithoutAModeShowsAsOpenedAloneWhateverCameBefore) {
    const ScratchDir dir;
    test::writeBytes(dir.file("A.SC2"), bsave(0, 0x3800, 0x5A));
    test::writeBytes(dir.file("B.PIC"), bsave(0, 0xD400, 0x4B));
    ScreenDocument alone;
    alone.openByName(dir.file("B.PIC"));
    ScreenDocument browsed;
    browsed.openByName(dir.file("A.SC2"));
    ASSERT_EQ(browsed.openNeighbour(1).opened, dir.file("B.PIC"));
    EXPECT_EQ(browsed.vdp().screenMode(), ScreenMode::screen8);

    EXPECT_EQ(browsed.render(), alone.render());
}

TEST(FolderBrowsing, ADiskImageIsAFolderOfItsPictures) {
    ASSERT_EQ(std::system("command -v mformat >/dev/null"), 0)
        << "mformat not found: install mtools (scripts/deps.sh test)";
    const ScratchDir dir;
    const std::string disk = dir.file("GAME.DSK");
    const std::string samples = std::string(TESSARIN_SOURCE_DIR) + "/samples/";
    const std::string mtools = " -i '" + disk + "' ";
    for (const std::string& command :
         {"mformat -C -f 720" + mtools + "::", "mmd" + mtools + "::/SUB",
          "mcopy" + mtools + samples + "LAND5.SC5 ::/SUB/LAND5.SC5",
          "mcopy" + mtools + samples + "BARS.SC5 ::/BARS.SC5",
          "mcopy" + mtools + samples + "BARS.PL5 ::/BARS.PL5"}) {
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    const auto pictureOf = [](const std::string& screen, const std::string& palette) {
        PictureRequest request;
        request.screenFile = Location::of(screen);
        request.paletteFile = Location::of(palette);
        request.screenMode = ScreenMode::screen5;
        return ScreenDocument::pictureOf(request);
    };

    ScreenDocument doc;
    doc.openByName(disk);
    EXPECT_EQ(doc.fileName(FileSlot::vram0), disk + "/BARS.SC5");
    ASSERT_EQ(doc.openNeighbour(1).opened, disk + "/SUB/LAND5.SC5");
    EXPECT_EQ(doc.render(), pictureOf(samples + "LAND5.SC5", ""));
    ASSERT_EQ(doc.openNeighbour(-1).opened, disk + "/BARS.SC5");
    EXPECT_EQ(doc.fileName(FileSlot::palette), disk + "/BARS.PL5");
    EXPECT_EQ(doc.render(), pictureOf(samples + "BARS.SC5", samples + "BARS.PL5"));
    EXPECT_EQ(doc.openNeighbour(-1).opened, std::nullopt);

    test::writeBytes(dir.file("NOT.DSK"), std::vector<std::uint8_t>(4096, 0x5A));
    try {
        doc.openByName(dir.file("NOT.DSK"));
        FAIL() << "no FileError";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), dir.file("NOT.DSK"));
    }
    EXPECT_EQ(doc.fileName(FileSlot::vram0), disk + "/BARS.SC5");

    // Step by step, browsing goes on into the next disk beside it, past one that is no
    // disk; a jump to an end stays in the disk.
    const std::string home = dir.file("HOME.DSK");
    std::filesystem::copy_file(disk, home);
    test::writeBytes(dir.file("HALF.DSK"), std::vector<std::uint8_t>(4096, 0x5A));
    ASSERT_EQ(doc.openNeighbour(1).opened, disk + "/SUB/LAND5.SC5");
    EXPECT_EQ(doc.openNeighbour(1).opened, home + "/BARS.SC5");
    EXPECT_EQ(doc.browsePosition(), (std::pair{1, 2}));
    EXPECT_EQ(doc.openNeighbour(-1).opened, disk + "/SUB/LAND5.SC5");
    EXPECT_EQ(doc.openNeighbour(-ScreenDocument::kFolderEnd).opened, disk + "/BARS.SC5");
    EXPECT_EQ(doc.openNeighbour(ScreenDocument::kFolderEnd).opened, disk + "/SUB/LAND5.SC5");
    EXPECT_EQ(doc.openNeighbour(1).opened, home + "/BARS.SC5");
    EXPECT_EQ(doc.openNeighbour(ScreenDocument::kFolderEnd).opened, home + "/SUB/LAND5.SC5");
    EXPECT_EQ(doc.openNeighbour(1).opened, std::nullopt); // NOT.DSK is no disk

    // And so inside an archive of disks.
    const std::string zip = "cd '" + dir.path() + "' && zip -q DISKS.ZIP GAME.DSK HOME.DSK";
    ASSERT_EQ(std::system(zip.c_str()), 0) << zip;
    const std::string disks = dir.file("DISKS.ZIP");
    doc.openByName(disks);
    EXPECT_EQ(doc.fileName(FileSlot::vram0), disks + "/GAME.DSK/BARS.SC5");
    EXPECT_EQ(doc.openNeighbour(2).opened, disks + "/GAME.DSK/SUB/LAND5.SC5");
    EXPECT_EQ(doc.openNeighbour(1).opened, disks + "/HOME.DSK/BARS.SC5");
    EXPECT_EQ(doc.openNeighbour(-1).opened, disks + "/GAME.DSK/SUB/LAND5.SC5");

    // And so from a folder into the folders and disks beside it, in the grid's order.
    std::filesystem::create_directory(dir.file("A"));
    std::filesystem::create_directory(dir.file("B"));
    std::filesystem::copy_file(samples + "LAND5.SC5", dir.file("A/LAND5.SC5"));
    std::filesystem::copy_file(samples + "BARS.SC5", dir.file("B/BARS.SC5"));
    doc.openByName(dir.file("A/LAND5.SC5"));
    EXPECT_EQ(doc.openNeighbour(1).opened, dir.file("B/BARS.SC5"));
    EXPECT_EQ(doc.openNeighbour(1).opened, disk + "/BARS.SC5"); // DISKS.ZIP holds disks only
    EXPECT_EQ(doc.openNeighbour(-1).opened, dir.file("B/BARS.SC5"));
    EXPECT_EQ(doc.openNeighbour(-1).opened, dir.file("A/LAND5.SC5"));
}

} // namespace
} // namespace tessarin
