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
using namespace std::string_literals;

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

// Runs script in bash with the exporter as $0 and args as $@: a pipe or a resource limit
// (ulimit, setrlimit in that child) around the real process.
ProcessResult runInShell(const std::string& script, std::vector<std::string> args,
                         const TempDir& dir) {
    args.insert(args.begin(), {"-c", script, kExporter});
    return runProcess("/bin/bash", args, dir.path());
}

// n copies of a sample as in/P1.SCC ...; the batch's arguments after OPTIONS.
std::vector<std::string> copies(const TempDir& dir, int n, std::vector<std::string> options) {
    fs::create_directory(dir.path() / "in");
    for (int i = 1; i <= n; ++i) {
        const std::string name = "in/P" + std::to_string(i) + ".SCC";
        fs::copy_file(sample("YJK.SCC"), dir.path() / name);
        options.push_back(name);
    }
    return options;
}

// Whether out holds exactly the pictures P1.png .. Pn.png and nothing else (no scratch).
bool holdsPictures(const TempDir& dir, int n) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path() / "out")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> wanted;
    for (int i = 1; i <= n; ++i) {
        wanted.push_back("P" + std::to_string(i) + ".png");
    }
    std::sort(wanted.begin(), wanted.end());
    return names == wanted;
}

TEST(ExporterFaults, ClosedPipeEndsTheBatchWithAnErrorAndNoScratchFiles) {
    const TempDir dir;
    // The reader has gone before the first line is written, so the fault is certain,
    // not a race with a reader that may still be draining the pipe.
    const ProcessResult r =
        runInShell("mkfifo pipe; (exec 3<pipe) & exec 4>pipe; wait; exec \"$0\" \"$@\" >&4",
                   copies(dir, 20, {"-j", "4", "-d", "out"}), dir);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_TRUE(contains(r.err, "Cannot write to standard output: Broken pipe")) << r.err;
    for (const auto& entry : fs::directory_iterator(dir.path() / "out")) {
        EXPECT_EQ(entry.path().extension(), ".png") << entry.path();
    }
}

TEST(ExporterFaults, OutOfMemoryFailsEachFileNamingItAndTheBatchGoesOn) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit an address space limit";
#endif
    const TempDir dir;
    // A 4096-pixel thumbnail needs far more than 60 MB; the program itself far less.
    const ProcessResult r = runInShell(
        "ulimit -v 60000; exec \"$0\" \"$@\"",
        copies(dir, 3, {"-j", "1", "--size", "512x424int", "--thumbnail", "4096", "-d", "out"}),
        dir);
    EXPECT_EQ(r.exitCode, 1);
    for (const std::string name : {"P1", "P2", "P3"}) {
        EXPECT_TRUE(contains(r.err, "in/" + name + ".SCC: not enough memory to convert it\n"))
            << r.err;
    }
    EXPECT_TRUE(
        contains(r.err, "3 of 3 files failed\ntessarin-export: 0 written, 0 skipped, 3 failed"))
        << r.err;
    EXPECT_TRUE(holdsPictures(dir, 0));
}

TEST(ExporterFaults, TooFewDescriptorsMakeTheBatchWaitNotFail) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers' runtime needs descriptors of its own beside the five";
#endif
    const TempDir dir;
    // Two descriptors beside standard input, output and error, for 16 threads.
    const ProcessResult r = runInShell("ulimit -n 5; exec \"$0\" \"$@\"",
                                       copies(dir, 20, {"-q", "-j", "16", "-d", "out"}), dir);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_TRUE(holdsPictures(dir, 20));
}

TEST(ExporterFaults, RerunSkipsExistingOutputsOnlyWhenAsked) {
    const TempDir dir;
    const std::vector<std::string> args = copies(dir, 2, {"-d", "out"});
    ASSERT_EQ(runProcess(kExporter, args, dir.path()).exitCode, 0);
    const std::vector<unsigned char> first = readBytes(dir / "out/P1.png");
    const ProcessResult again = runProcess(kExporter, args, dir.path());
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(
        contains(again.err, "2 of 2 files failed\ntessarin-export: 0 written, 0 skipped, 2 failed"))
        << again.err;
    std::vector<std::string> skipping{"--skip-existing"};
    skipping.insert(skipping.end(), args.begin(), args.end());
    const ProcessResult skipped = runProcess(kExporter, skipping, dir.path());
    EXPECT_EQ(skipped.exitCode, 0) << skipped.err;
    EXPECT_EQ(skipped.out, "out/P1.png (skipped: it exists)\nout/P2.png (skipped: it exists)\n");
    EXPECT_TRUE(contains(skipped.err, "0 written, 2 skipped, 0 failed")) << skipped.err;
    EXPECT_TRUE(readBytes(dir / "out/P1.png") == first);
    EXPECT_TRUE(holdsPictures(dir, 2));
}

TEST(ExporterFaults, CollidingNamesAreAllConvertedAndTheListingSaysFromWhat) {
    const TempDir dir;
    for (const std::string name : {"X.SC5", "X.SR5", "a/PIC.SC5", "b/PIC.SC5"}) {
        fs::create_directories((dir.path() / name).parent_path());
        fs::copy_file(sample("BARS.SC5"), dir.path() / name);
    }
    const std::string list = "a/PIC.SC5\0b/PIC.SC5\0"s;
    writeBytes(dir / "list", {list.begin(), list.end()});
    const ProcessResult r = runProcess(
        kExporter, {"-d", "out", "X.SC5", "X.SR5", "-0", "--files-from", "list"}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "out/X.SC5.png (from X.SC5)\nout/X.SR5.png (from X.SR5)\n"
                     "out/PIC.SC5.png (from a/PIC.SC5)\nout/PIC.SC5-2.png (from b/PIC.SC5)\n");
    const std::vector<unsigned char> picture = readBytes(dir / "out/X.SC5.png");
    for (const std::string name : {"X.SR5.png", "PIC.SC5.png", "PIC.SC5-2.png"}) {
        EXPECT_TRUE(readBytes(dir / ("out/" + name)) == picture) << name;
    }
}

} // namespace
} // namespace tessarin::testing
