// The viewer as a process on the offscreen platform: an unusable temporary directory
// stops it at start-up with a message naming the directory, and no temporary picture
// file survives a start-up error or a termination signal.
#include "tests/hardening/hardening_support.h"
#include "tests/platform/scratch_dir.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tessarin {
namespace {

using namespace std::chrono_literals;
using test::ScratchDir;

const std::string kViewer = TESSARIN_VIEWER;
constexpr auto kPatience = 60s; // start-up under the sanitizers is slow

std::string sample(const std::string& name) {
    return std::string(TESSARIN_SOURCE_DIR) + "/samples/" + name;
}

// A running viewer with TMPDIR and the variables of setEnv set, stderr (and stdout) going
// to a file.
class Viewer {
public:
    Viewer(const std::string& tmpDir, const std::vector<std::string>& args,
           const std::string& errFile, const std::string& outFile = "/dev/null",
           std::vector<std::string> setEnv = {"QT_QPA_PLATFORM=offscreen"}) {
        setEnv.push_back("TMPDIR=" + tmpDir);
        std::vector<std::string> env = setEnv;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (std::ranges::none_of(setEnv, [&entry](const std::string& set) {
                    return entry.starts_with(set.substr(0, set.find('=') + 1));
                })) {
                env.push_back(entry);
            }
        }
        std::vector<std::string> argv{kViewer};
        argv.insert(argv.end(), args.begin(), args.end());

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char*> cargv;
        for (std::string& a : argv) {
            cargv.push_back(a.data());
        }
        cargv.push_back(nullptr);
        std::vector<char*> cenv;
        for (std::string& e : env) {
            cenv.push_back(e.data());
        }
        cenv.push_back(nullptr);
        if (::posix_spawn(&pid_, kViewer.c_str(), &actions, nullptr, cargv.data(), cenv.data()) !=
            0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Viewer() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    [[nodiscard]] pid_t pid() const { return pid_; }
    // The exit code, -1 when it died of a signal or did not end in time (then killed).
    int wait() {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        int status = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            const pid_t done = ::waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
};

std::string contentsOf(const std::string& file) {
    const auto bytes = test::readBytes(file);
    return {bytes.begin(), bytes.end()};
}

// The viewer's own temporary files; Qt may leave its runtime directory beside them.
std::vector<std::string> tempPictures(const ScratchDir& dir) {
    std::vector<std::string> found;
    for (const std::string& name : dir.names()) {
        if (name.rfind("msx", 0) == 0) {
            found.push_back(name);
        }
    }
    return found;
}

TEST(ViewerProcess, OptionsPrintAndExitBeforeAnyWindow) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* out; // the start of standard output
        const char* err; // found in standard error
    } cases[] = {
        {{"--help"}, 0, "Usage: tessarin [FILE [FILE]]\n", ""},
        {{"A.SC5", "--version"}, 0, "tessarin 0.32\n", ""},
        {{"-x"}, 2, "", "tessarin: unknown option -x\n"},
        {{"-reverse", "B.SC5"}, 2, "", "tessarin: unknown option -reverse\n"},
    };
    ScratchDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front());
        Viewer viewer(dir.path(), c.args, dir.file("err.txt"), dir.file("out.txt"));
        ASSERT_GT(viewer.pid(), 0);
        EXPECT_EQ(viewer.wait(), c.status);
        EXPECT_EQ(contentsOf(dir.file("out.txt")).rfind(c.out, 0), 0U);
        EXPECT_NE(contentsOf(dir.file("err.txt")).find(c.err), std::string::npos);
    }
}

TEST(ViewerProcess, UnusableTempDirectoryStopsStartUpNamingIt) {
    ScratchDir dir;
    const std::string err = dir.file("err.txt");
    test::writeBytes(dir.file("plain-file"), {});
    std::vector<std::string> tmpDirs{dir.file("missing"), dir.file("plain-file")};
    // Root may write anywhere on a writable file system; a read-only one stops it too.
    const std::string readOnly = dir.file("read-only");
    ::mkdir(readOnly.c_str(), 0755);
    const bool mounted = ::mount("tmpfs", readOnly.c_str(), "tmpfs", MS_RDONLY, "size=64k") == 0;
    if (mounted) {
        tmpDirs.push_back(readOnly);
    }
    for (const std::string& tmpDir : tmpDirs) {
        SCOPED_TRACE(tmpDir);
        Viewer viewer(tmpDir, {sample("BARS.SC5")}, err);
        ASSERT_GT(viewer.pid(), 0);
        EXPECT_EQ(viewer.wait(), 1);
        const std::string message = contentsOf(err);
        EXPECT_NE(message.find("\"" + tmpDir + "\""), std::string::npos) << message;
    }
    if (mounted) {
        ::umount2(readOnly.c_str(), MNT_DETACH);
    }
}

TEST(ViewerProcess, NoDisplayStopsStartUpWithAMessageAndStatusOne) {
    ScratchDir dir;
    Viewer viewer(dir.path(), {sample("BARS.SC5")}, dir.file("err.txt"), "/dev/null",
                  {"QT_QPA_PLATFORM=xcb", "DISPLAY=:no-such-display", "WAYLAND_DISPLAY="});
    ASSERT_GT(viewer.pid(), 0);
    EXPECT_EQ(viewer.wait(), 1); // not an abort
    EXPECT_NE(contentsOf(dir.file("err.txt")).find("tessarin: cannot start: no window system"),
              std::string::npos);
}

TEST(ViewerProcess, StartUpErrorLeavesNoTempFile) {
    const std::string failing = test::failingRegularFile();
    if (failing.empty()) {
        GTEST_SKIP() << "no regular file with failing reads on this system";
    }
    ScratchDir tmp;
    ScratchDir out;
    Viewer viewer(tmp.path(), {failing}, out.file("err.txt"));
    ASSERT_GT(viewer.pid(), 0);
    // The window stays up with the error reported; SIGTERM then closes it.
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (contentsOf(out.file("err.txt")).find(failing) == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    const std::string message = contentsOf(out.file("err.txt"));
    EXPECT_NE(message.find("\"" + failing + "\""), std::string::npos) << message;
    ASSERT_EQ(::kill(viewer.pid(), SIGTERM), 0);
    EXPECT_EQ(viewer.wait(), 128 + SIGTERM);
    EXPECT_TRUE(tempPictures(tmp).empty());
}

TEST(ViewerProcess, TerminationSignalsCloseTheWindowAndLeaveNoTempFile) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        ScratchDir tmp;
        ScratchDir out;
        Viewer viewer(tmp.path(), {sample("BARS.SC5"), sample("BARS.PL5")}, out.file("err.txt"));
        ASSERT_GT(viewer.pid(), 0);
        // The handlers are in place before the temporary file is made.
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (tempPictures(tmp).empty() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(20ms);
        }
        ASSERT_EQ(tempPictures(tmp).size(), 1U);
        ASSERT_EQ(::kill(viewer.pid(), signal), 0);
        EXPECT_EQ(viewer.wait(), 128 + signal) << contentsOf(out.file("err.txt"));
        EXPECT_TRUE(tempPictures(tmp).empty());
    }
}

} // namespace
} // namespace tessarin
