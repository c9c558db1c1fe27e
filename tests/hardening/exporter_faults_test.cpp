// tessarin-export given files as found on old disks and archives, and a full disk:
// it never blocks, reads at most what a picture needs, and never reports a failure
// as success or leaves a half-written output.
#include "run_process.h"
#include "test_text.h"
#include "tests/hardening/hardening_support.h"
#include "tests/platform/scratch_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tessarin::testing {
namespace {

namespace fs = std::filesystem;

const std::string kExporter = TESSARIN_EXPORT;

// Kills the test program instead of letting a blocked exporter hang the run.
struct BlockingGuard {
    BlockingGuard() { ::alarm(60); }
    ~BlockingGuard() { ::alarm(0); }
};

TEST(ExporterFaults, FifoAndDevicesAreRefusedNamingThemWithoutBlocking) {
    const TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "PIPE.SC5").c_str(), 0600), 0);
    const BlockingGuard guard;
    for (const std::string& input :
         {dir / "PIPE.SC5", std::string("/dev/zero"), std::string("/dev/urandom")}) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"-o", "out.bmp", input},
              std::vector<std::string>{"-o", "out.bmp", "--vram1", input, sample("BARS.SC5")},
              std::vector<std::string>{"-o", "out.bmp", "--palette", input, sample("BARS.SC5")}}) {
            SCOPED_TRACE(::testing::PrintToString(args));
            const ProcessResult r = runProcess(kExporter, args, dir.path());
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_TRUE(contains(r.err, "\"" + input + "\": not a regular file")) << r.err;
            EXPECT_EQ(dir.entries(), std::vector<std::string>{"PIPE.SC5"});
        }
    }
}

TEST(ExporterFaults, SparseFileOver4GiBGivesThePictureOfItsFirst128K) {
    const TempDir dir;
    fs::copy_file(sample("YJKA.SCA"), dir.path() / "HUGE.SCA");
    fs::copy_file(sample("YJKA.SCA"), dir.path() / "SMALL.SCA");
    ASSERT_EQ(::truncate((dir / "HUGE.SCA").c_str(), static_cast<off_t>(5ULL << 30)), 0);
    for (const std::string input : {"HUGE.SCA", "SMALL.SCA"}) {
        const ProcessResult r = runProcess(
            kExporter, {"-q", "--size", "256x424joi", "-o", input + ".bmp", input}, dir.path());
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    EXPECT_TRUE(readBytes(dir / "HUGE.SCA.bmp") == readBytes(dir / "SMALL.SCA.bmp"));
}

TEST(ExporterFaults, HeaderLargerThanTheFileGivesThePictureOfEmptyVram) {
    const TempDir dir;
    writeBytes(dir / "SHORT.SC8", std::vector<unsigned char>(100, 0xFF));
    writeBytes(dir / "ZERO.SC8", std::vector<unsigned char>(100, 0x00));
    ASSERT_EQ(runProcess(kExporter, {"-q", "--header0", "32767", "-o", "short.bmp", "SHORT.SC8"},
                         dir.path())
                  .exitCode,
              0);
    ASSERT_EQ(runProcess(kExporter, {"-q", "-o", "zero.bmp", "ZERO.SC8"}, dir.path()).exitCode, 0);
    EXPECT_TRUE(readBytes(dir / "short.bmp") == readBytes(dir / "zero.bmp"));
}

TEST(ExporterFaults, NamesWithANewlineWork) {
    const TempDir dir;
    fs::copy_file(sample("BARS.SC5"), dir.path() / "two\nlines.SC5");
    fs::copy_file(sample("BARS.SC5"), dir.path() / "plain.SC5");
    ASSERT_EQ(
        runProcess(kExporter, {"-q", "-o", "out\n.bmp", "two\nlines.SC5"}, dir.path()).exitCode, 0);
    ASSERT_EQ(runProcess(kExporter, {"-q", "-o", "plain.bmp", "plain.SC5"}, dir.path()).exitCode,
              0);
    EXPECT_TRUE(readBytes(dir / "out\n.bmp") == readBytes(dir / "plain.bmp"));
}

TEST(ExporterFaults, ReadErrorIsAFailureNamingTheFileAndWritesNothing) {
    const std::string failing = test::failingRegularFile();
    if (failing.empty()) {
        GTEST_SKIP() << "no regular file with failing reads on this system";
    }
    const TempDir dir;
    writeBytes(dir / "out.png", {'o', 'l', 'd'});
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-o", "out.png", "--screen", "8", failing},
          std::vector<std::string>{"-o", "out.png", "--vram1", failing, sample("BARS7.SC7")},
          std::vector<std::string>{"-o", "out.png", "--palette", failing, sample("BARS.SC5")}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const ProcessResult r = runProcess(kExporter, args, dir.path());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(contains(r.err, "Cannot read file \"" + failing + "\"")) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_TRUE(readBytes(dir / "out.png") == (std::vector<unsigned char>{'o', 'l', 'd'}));
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.png"});
    }
}

// Exports onto a full disk: tmpfs of 200 KB when it can be mounted, else a file size
// limit of the same in a child that ignores SIGXFSZ (the exporter inherits both).
TEST(ExporterFaults, FullDiskFailsNamingTheOutputAndLeavesTheExistingOneIntact) {
    const TempDir dir;
    const test::SmallDisk disk(dir.path().string(), 200 * 1024);
    const std::string outDir = disk.mounted() ? disk.path() : (dir / "out");
    fs::create_directories(outDir);
    const std::vector<unsigned char> old{'o', 'l', 'd'};
    // Noise in both pages does not compress: the PNG too is larger than the disk.
    std::vector<unsigned char> noise(7 + 128 * 1024);
    std::minstd_rand random(1);
    std::generate(noise.begin(), noise.end(), [&] { return static_cast<unsigned char>(random()); });
    writeBytes(dir / "NOISE.SCC", noise);
    for (const std::string name : {"big.bmp", "big.png"}) {
        const std::string target = outDir + "/" + name;
        writeBytes(target, old);
        const std::vector<std::string> args{"--size", "512x424int", "-o", target,
                                            dir / "NOISE.SCC"};
        ProcessResult r;
        if (disk.mounted()) {
            r = runProcess(kExporter, args, dir.path());
        } else {
            const int code = test::runWithFileSizeLimit(200 * 1024, [&] {
                const ProcessResult child = runProcess(kExporter, args, dir.path());
                return child.exitCode == 1 && contains(child.err, "\"" + target + "\"") ? 1 : 0;
            });
            r.exitCode = code;
            r.err = code == 1 ? "\"" + target + "\"" : "";
        }
        SCOPED_TRACE(name);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_TRUE(contains(r.err, "\"" + target + "\"")) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_TRUE(readBytes(target) == old);
        fs::remove(target);
        EXPECT_TRUE(fs::is_empty(outDir));
    }
}

} // namespace
} // namespace tessarin::testing
