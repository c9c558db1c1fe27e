// Where outputs go: odd targets for -o and Save As, signals and a file size limit in
// the middle of a batch, two batches racing into one directory.
#include "platform/file_error.h"
#include "platform/target_file.h"
#include "run_process.h"
#include "test_text.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

namespace tessarin::testing {
namespace {

namespace fs = std::filesystem;

const std::string kExporter = TESSARIN_EXPORT;
constexpr std::uintmax_t kBmp256x212 = 162870;
constexpr std::uintmax_t kBmp512x424 = 651318;

// The exporter started in dir, stdout in out, stderr in dir/err.
pid_t startExporter(const std::vector<std::string>& args, const TempDir& dir,
                    const std::string& out, rlim_t fileLimit = RLIM_INFINITY) {
    return startProcess(kExporter, args, dir.path(), out, dir / "err", fileLimit);
}

// The status a shell would show: the exit code, or 128 plus the signal that ended it.
int statusOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// count screen files in dir, each a copy of the sample (links to one file are one input);
// their names.
std::vector<std::string> inputs(const TempDir& dir, int count, const std::string& sampleName) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back("P" + std::to_string(i) + fs::path(sampleName).extension().string());
        fs::copy_file(sample(sampleName), dir / names.back());
    }
    return names;
}

// The two writers of a file the user names: their error text, "" on success.
std::string exportOnto(const std::string&, const std::string& target) {
    const ProcessResult r =
        runProcess(kExporter, {"--format", "bmp", "-o", target, sample("BARS.SC5")}, "/");
    return r.exitCode == 0 ? r.err : r.err + " exit " + std::to_string(r.exitCode);
}

std::string copyOnto(const std::string& source, const std::string& target) {
    try {
        copyFile(source, target);
    } catch (const FileError& e) {
        return e.what();
    }
    return {};
}

// -o and Save As (copyFile) onto each kind of target, with BARS.SC5's picture: written
// (through a link), or refused naming the target and left as it was; no scratch file.
TEST(OutputTargets, OnlyRegularFilesAreReplacedLinksFollowedAndLongNamesTaken) {
    const std::string kNotRegular = "not a regular file";
    const struct {
        std::string name;
        mode_t type;         // 0: nothing there
        const char* linkTo;  // of a symbolic link
        std::string refusal; // empty: written
    } cases[] = {
        {"fifo", S_IFIFO, "", kNotRegular},
        {"socket", S_IFSOCK, "", kNotRegular},
        {"null", S_IFCHR, "", kNotRegular}, // /dev/null's twin, where mknod is allowed
        {"dir", S_IFDIR, "", kNotRegular},
        {"link", S_IFLNK, "real", ""},
        {"dangling", S_IFLNK, "gone", "symbolic link to a missing file"},
        {std::string(251, 'n') + ".bmp", 0, "", ""},
    };
    const TempDir dir;
    ASSERT_EQ(runProcess(kExporter, {"-o", "ref.bmp", sample("BARS.SC5")}, dir.path()).exitCode, 0);
    for (const auto write : {exportOnto, copyOnto}) {
        for (const auto& c : cases) {
            const TempDir out;
            const std::string t = out / c.name;
            writeBytes(out / "real", {});
            const bool made = c.type == S_IFDIR   ? ::mkdir(t.c_str(), 0755) == 0
                              : c.type == S_IFLNK ? ::symlink(c.linkTo, t.c_str()) == 0
                                                  : c.type == 0 || ::mknod(t.c_str(), c.type | 0600,
                                                                           makedev(1, 3)) == 0;
            if (!made) {
                continue;
            }
            SCOPED_TRACE(c.name.substr(0, 8));
            struct stat before {
            }, after{};
            const bool existed = ::lstat(t.c_str(), &before) == 0;
            const std::size_t entries = out.entries().size() + (existed ? 0 : 1);
            const std::string error = write(dir / "ref.bmp", t);
            if (c.refusal.empty()) {
                EXPECT_EQ(error, "");
                EXPECT_TRUE(readBytes(t) == readBytes(dir / "ref.bmp"));
            } else {
                EXPECT_TRUE(contains(error, "\"" + t + "\": " + c.refusal)) << error;
            }
            ASSERT_EQ(::lstat(t.c_str(), &after), 0);
            EXPECT_TRUE(!existed ||
                        (before.st_ino == after.st_ino && before.st_mode == after.st_mode));
            EXPECT_EQ(out.entries().size(), entries);
        }
    }
}

// Each signal sent as soon as the first scratch file appears: none is left, status 128+n.
TEST(OutputTargets, SignalsEndABatchWithoutScratchFiles) {
    const TempDir in;
    std::vector<std::string> args{"--size", "512x424int", "--format", "bmp", "-d", "out"};
    const std::vector<std::string> files = inputs(in, 100, "RGB.SC8");
    args.insert(args.end(), files.begin(), files.end());
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        fs::create_directory(in.path() / "out");
        const pid_t pid = startExporter(args, in, in / "out.txt");
        for (long spins = 0; fs::is_empty(in.path() / "out") && spins < 10'000'000; ++spins) {
            ::sched_yield();
        }
        ::kill(pid, signal);
        EXPECT_EQ(statusOf(pid), 128 + signal);
        for (const auto& entry : fs::directory_iterator(in.path() / "out")) {
            EXPECT_EQ(entry.path().extension(), ".bmp") << entry.path();
        }
        fs::remove_all(in.path() / "out");
    }
}

TEST(OutputTargets, FileSizeLimitAndFullStandardOutputAreErrors) {
    const TempDir dir;
    EXPECT_EQ(statusOf(startExporter({"-o", "big.bmp", sample("BARS.SC5")}, dir, dir / "out",
                                     100 * 1024)),
              1);
    EXPECT_TRUE(contains(readText(dir / "err"), "\"big.bmp\": File too large"));
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"err", "out"}));
    EXPECT_EQ(statusOf(startExporter({"-o", "x.bmp", sample("BARS.SC5")}, dir, "/dev/full")), 1);
    EXPECT_TRUE(contains(readText(dir / "err"), "standard output: No space left on device"));
}

// Run 0 writes 256x212 pictures, run 1 512x424: each output is listed by exactly one
// run and holds that run's picture.
TEST(OutputTargets, TwoBatchesIntoOneDirectoryNeverClaimTheSameOutput) {
    const TempDir in;
    const std::vector<std::string> files = inputs(in, 300, "BARS.SC5");
    fs::create_directory(in.path() / "out");
    const std::string sizes[] = {"256x212", "512x424mag"};
    std::vector<pid_t> runs;
    for (const std::string& size : sizes) {
        std::vector<std::string> args{"--format", "bmp", "--size", size, "-d", "out"};
        args.insert(args.end(), files.begin(), files.end());
        runs.push_back(startExporter(args, in, in / size));
    }
    std::set<std::string> listed;
    for (std::size_t run = 0; run < runs.size(); ++run) {
        EXPECT_LE(statusOf(runs[run]), 1);
        std::istringstream listing(readText(in / sizes[run]));
        for (std::string output; std::getline(listing, output);) {
            EXPECT_TRUE(listed.insert(output).second) << output << " listed twice";
            EXPECT_EQ(fs::file_size(in / output), run == 0 ? kBmp256x212 : kBmp512x424);
        }
    }
    EXPECT_EQ(listed.size(), files.size());
    EXPECT_EQ(std::distance(fs::directory_iterator(in.path() / "out"), {}), 300);
}

} // namespace
} // namespace tessarin::testing
