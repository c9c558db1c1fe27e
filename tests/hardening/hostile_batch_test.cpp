// Batches over disk images and names that would lead outputs astray: every output lands in
// OUTDIR under a name of its own, and whatever a disk's reader found wrong is reported.
#include "run_process.h"
#include "test_text.h"
#include "tests/platform/scratch_dir.h"
#include "tools/disk_writer.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace tessarin::testing {
namespace {

namespace fs = std::filesystem;
using samples::DiskWriter;
using namespace std::string_literals;

const std::string kExporter = TESSARIN_EXPORT;

// A screen-5 BSAVE file of 512 bytes of its own.
std::vector<std::uint8_t> picture(std::uint8_t seed) {
    std::vector<std::uint8_t> file{0xFE, 0, 0, 0xFF, 0x01, 0, 0};
    const std::vector<std::uint8_t> data = test::patternBytes(512, seed);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

void writeDisk(const TempDir& dir, const std::string& name,
               const std::vector<std::pair<std::string, std::uint8_t>>& files) {
    DiskWriter disk(40);
    for (const auto& [file, seed] : files) {
        disk.addFile(DiskWriter::kRoot, file, picture(seed));
    }
    fs::create_directories((dir.path() / name).parent_path());
    test::writeBytes(dir / name, disk.bytes());
}

// Every file under dir, as paths from it.
std::set<std::string> tree(const fs::path& dir) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files.insert(fs::relative(entry.path(), dir).string());
        }
    }
    return files;
}

TEST(HostileBatch, EveryOutputLandsInOutdirUnderANameOfItsOwn) {
    const TempDir dir;
    writeDisk(dir, "...dsk", {{"PIC.SC5", 1}});
    writeDisk(dir, "..dsk", {{"PIC.SC5", 2}});
    writeDisk(dir, "a/GAME.DSK", {{"PIC.SC5", 3}});
    writeDisk(dir, "b/GAME.DSK", {{"PIC.SC5", 4}});
    writeDisk(dir, "PIC.png.DSK", {{"Q.SC5", 5}});
    writeDisk(dir, "CASE.DSK", {{"PIC.SC5", 6}, {"pic.sc5", 7}});
    writeDisk(dir, "NUL.DSK", {{"X\0Y.SC5"s, 8}});
    test::writeBytes(dir / "PIC.SC5", picture(9));
    test::writeBytes(dir / "P00.SC5", picture(10));
    // Two names of one file are two pictures; one path twice, however spelled, is one.
    std::filesystem::create_hard_link(dir / "P00.SC5", dir / "P01.SC5");
    const std::vector<std::string> args{"-d",           "out",        "...dsk",      "..dsk",
                                        "a/GAME.DSK",   "b/GAME.DSK", "PIC.png.DSK", "PIC.SC5",
                                        "CASE.DSK",     "NUL.DSK",    "P00.SC5",     "./P00.SC5",
                                        "a/../P00.SC5", ".//P00.SC5", "P01.SC5"};
    const ProcessResult r = runProcess(kExporter, args, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::set<std::string> outputs{"__/PIC.png",     "_/PIC.png",     "GAME/PIC.png",
                                        "GAME-2/PIC.png", "PIC.png/Q.png", "PIC.SC5.png",
                                        "CASE/PIC.png",   "CASE/pic.png",  "NUL/X_Y.png",
                                        "P00.png",        "P01.png"};
    EXPECT_EQ(tree(dir.path() / "out"), outputs);
    // Nothing beside OUTDIR.
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{"...dsk", "..dsk", "CASE.DSK", "NUL.DSK", "P00.SC5",
                                        "P01.SC5", "PIC.SC5", "PIC.png.DSK", "a", "b", "out"}));
    // Different pictures stay different, whatever their names; the links' are one.
    std::set<std::vector<unsigned char>> pictures;
    for (const std::string& output : outputs) {
        pictures.insert(readBytes(dir.path() / "out" / output));
    }
    EXPECT_EQ(pictures.size(), outputs.size() - 1);

    // Run again, skipping what exists: every output is found where it was, none hidden.
    std::vector<std::string> again{"--skip-existing"};
    again.insert(again.end(), args.begin(), args.end());
    const ProcessResult skipped = runProcess(kExporter, again, dir.path());
    EXPECT_EQ(skipped.exitCode, 0) << skipped.err;
    EXPECT_TRUE(contains(skipped.err, "0 written, 11 skipped, 0 failed")) << skipped.err;
}

// A damaged file converts as far as its chain holds: the picture of its first bytes alone.
TEST(HostileBatch, DamageOnDisksAndEndlessListsFailNamingThePlace) {
    const TempDir dir;
    DiskWriter disk(40);
    const std::uint16_t sub = disk.addDirectory(DiskWriter::kRoot, "SUB");
    disk.addFile(sub, "A.SC5", picture(1));
    disk.add(sub, "LOOP", 0x10, sub, 0);
    const std::uint16_t looped =
        disk.addFile(DiskWriter::kRoot, "L.SC5", test::patternBytes(2000, 2));
    disk.link(looped + 1, looped);
    test::writeBytes(dir / "D.DSK", disk.bytes());
    const ProcessResult r = runProcess(kExporter, {"-d", "out", "D.DSK"}, dir.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "out/D/L.png\nout/D/A.png\n");
    const std::string loop = "D.DSK/SUB/LOOP: directory loops back to cluster 2";
    EXPECT_EQ(r.err.find(loop), r.err.rfind(loop)) << r.err;
    EXPECT_TRUE(contains(r.err, loop)) << r.err;
    EXPECT_TRUE(contains(r.err, "\ntessarin-export: D.DSK/L.SC5: cluster chain loops at cluster " +
                                    std::to_string(looped) +
                                    "; only its first 1024 of 2000 bytes are read\n"))
        << r.err;
    EXPECT_TRUE(contains(r.err, "2 written, 0 skipped, 0 failed, 2 problems on disks")) << r.err;
    const std::vector<std::uint8_t> whole = test::patternBytes(2000, 2);
    test::writeBytes(dir / "L.SC5", std::vector<std::uint8_t>(whole.begin(), whole.begin() + 1024));
    ASSERT_EQ(runProcess(kExporter, {"-q", "-o", "cut.png", "L.SC5"}, dir.path()).exitCode, 0);
    EXPECT_EQ(readBytes(dir.path() / "out/D/L.png"), readBytes(dir.path() / "cut.png"));

    for (const std::vector<std::string>& list :
         {std::vector<std::string>{"-0", "--files-from", "/dev/zero"},
          std::vector<std::string>{"--files-from", "/dev/zero"}}) {
        std::vector<std::string> args{"-d", "out"};
        args.insert(args.end(), list.begin(), list.end());
        const ProcessResult endless = runProcess(kExporter, args, dir.path());
        EXPECT_EQ(endless.exitCode, 1);
        EXPECT_TRUE(contains(endless.err, "File list \"/dev/zero\": ")) << endless.err;
    }
}

} // namespace
} // namespace tessarin::testing
