// The viewer as a process on the offscreen platform: its options, a start-up without a
// window system, and a start-up error or a termination signal that ends it, leaving nothing
// in its temporary folder.
#include "tests/hardening/hardening_support.h"
#include "tests/platform/scratch_dir.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
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

// What the viewer left in its temporary folder, but the runtime directory Qt may make there.
std::vector<std::string> leftBehind(const ScratchDir& dir) {
    std::vector<std::string> found;
    for (const std::string& name : dir.names()) {
        if (name.rfind("runtime-", 0) != 0) {
            found.push_back(name);
        }
    }
    return found;
}

// Whether the process catches SIGINT, SIGTERM and SIGHUP: its handlers are in place.
bool catchesTerminationSignals(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    const auto bit = [](int signal) { return 1ULL << (signal - 1); };
    const unsigned long long wanted = bit(SIGINT) | bit(SIGTERM) | bit(SIGHUP);
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("SigCgt:")) {
            return (std::stoull(line.substr(line.find(':') + 1), nullptr, 16) & wanted) == wanted;
        }
    }
    return false;
}

TEST(ViewerProcess, OptionsPrintAndExitBeforeAnyWindow) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* out; // the start of standard output
        const char* err; // found in standard error
    } cases[] = {
        {{"--help"}, 0, "Usage: tessarin [FILE...]\n", ""},
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

TEST(ViewerProcess, NoDisplayStopsStartUpWithAMessageAndStatusOne) {
    ScratchDir dir;
    Viewer viewer(dir.path(), {sample("BARS.SC5")}, dir.file("err.txt"), "/dev/null",
                  {"QT_QPA_PLATFORM=xcb", "DISPLAY=:no-such-display", "WAYLAND_DISPLAY="});
    ASSERT_GT(viewer.pid(), 0);
    EXPECT_EQ(viewer.wait(), 1); // not an abort
    EXPECT_NE(contentsOf(dir.file("err.txt")).find("tessarin: cannot start: no window system"),
              std::string::npos);
}

TEST(ViewerProcess, StartUpErrorLeavesNothingInTheTemporaryFolder) {
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
    EXPECT_TRUE(leftBehind(tmp).empty());
}

TEST(ViewerProcess, TerminationSignalsCloseTheWindowAndLeaveNothingInTheTemporaryFolder) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        ScratchDir tmp;
        ScratchDir out;
        Viewer viewer(tmp.path(), {sample("BARS.SC5"), sample("BARS.PL5")}, out.file("err.txt"));
        ASSERT_GT(viewer.pid(), 0);
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!catchesTerminationSignals(viewer.pid()) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(20ms);
        }
        ASSERT_TRUE(catchesTerminationSignals(viewer.pid()));
        ASSERT_EQ(::kill(viewer.pid(), signal), 0);
        EXPECT_EQ(viewer.wait(), 128 + signal) << contentsOf(out.file("err.txt"));
        EXPECT_TRUE(leftBehind(tmp).empty());
    }
}

} // namespace
} // namespace tessarin
