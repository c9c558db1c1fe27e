// The gallery in a real browser: headless Chromium driven over its DevTools pipe.
#include "run_process.h"
#include "test_text.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessarin::testing {
namespace {

namespace fs = std::filesystem;

const std::string kExporter = TESSARIN_EXPORT;
constexpr const char* kChromium = "/usr/bin/chromium";
constexpr int kReplyWaitMs = 60'000; // a hung browser fails the test instead of stalling it
constexpr int kTries = 200;          // of a condition, a tenth of a second apart

// Chromium with commands going in on its fd 3 and replies out of its fd 4, each a JSON
// message ended by NUL.
class Browser {
public:
    explicit Browser(const fs::path& profile) {
        int in[2];
        int out[2];
        EXPECT_EQ(::pipe(in), 0);
        EXPECT_EQ(::pipe(out), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], 3);
            ::dup2(out[1], 4);
            ::dup2(::open("/dev/null", O_WRONLY), 2); // its complaints about D-Bus
            const std::string dataDir = "--user-data-dir=" + profile.string();
            ::execl(kChromium, kChromium, "--headless", "--no-sandbox", "--disable-gpu",
                    "--remote-debugging-pipe", dataDir.c_str(), "about:blank", nullptr);
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        to_ = in[1];
        from_ = out[0];
    }
    ~Browser() {
        ::close(to_);
        ::close(from_);
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }

    // Sends a command (to the page once attached) and returns its reply, events skipped.
    std::string call(const std::string& method, const std::string& params = "{}") {
        const std::string id = std::to_string(++lastId_);
        const std::string message =
            R"({"id":)" + id + R"(,"method":")" + method + R"(","params":)" + params +
            (session_.empty() ? "" : R"(,"sessionId":")" + session_ + "\"") + "}";
        EXPECT_EQ(::write(to_, message.c_str(), message.size() + 1),
                  static_cast<ssize_t>(message.size() + 1));
        for (std::string reply = next(); !reply.empty(); reply = next()) {
            if (reply.starts_with(R"({"id":)" + id + ",")) {
                return reply;
            }
        }
        return {};
    }
    // A page of url, attached to.
    void open(const std::string& url) {
        const std::string target =
            field(call("Target.createTarget", R"({"url":")" + url + "\"}"), "targetId");
        session_ = field(
            call("Target.attachToTarget", R"({"targetId":")" + target + R"(","flatten":true})"),
            "sessionId");
    }
    // The value of a JavaScript expression on the page, as a string.
    std::string evaluate(const std::string& expression) {
        return field(call("Runtime.evaluate",
                          R"({"returnByValue":true,"expression":"String()" + expression + ")\"}"),
                     "value");
    }
    // Whether the expression comes true within kTries.
    bool becomes(const std::string& expression) {
        for (int i = 0; i < kTries; ++i) {
            if (evaluate(expression) == "true") {
                return true;
            }
            ::usleep(100'000);
        }
        return false;
    }
    void press(const std::string& key, int code) {
        for (const char* type : {"keyDown", "keyUp"}) {
            call("Input.dispatchKeyEvent",
                 std::string(R"({"type":")") + type + R"(","key":")" + key + R"(","code":")" + key +
                     R"(","windowsVirtualKeyCode":)" + std::to_string(code) + "}");
        }
    }

private:
    static std::string field(const std::string& reply, const std::string& name) {
        const std::string key = "\"" + name + "\":\"";
        const std::size_t at = reply.find(key);
        return at == std::string::npos
                   ? std::string()
                   : reply.substr(at + key.size(),
                                  reply.find('"', at + key.size()) - at - key.size());
    }
    std::string next() {
        std::string message;
        for (char c = 1; c != '\0';) {
            pollfd ready{from_, POLLIN, 0};
            if (::poll(&ready, 1, kReplyWaitMs) != 1 || ::read(from_, &c, 1) != 1) {
                ADD_FAILURE() << "no reply from Chromium";
                return {};
            }
            message += c == '\0' ? "" : std::string(1, c);
        }
        return message;
    }

    pid_t pid_ = -1;
    int to_ = -1;
    int from_ = -1;
    int lastId_ = 0;
    std::string session_;
};

TEST(GalleryInBrowser, ThumbnailsShowAFilterHidesAndAPictureOpens) {
    if (!fs::exists(kChromium)) {
        GTEST_SKIP() << "chromium is not installed (scripts/deps.sh test)";
    }
    const TempDir dir;
    fs::create_directories(dir.path() / "coll");
    fs::copy_file(sample("BARS.SC5"), dir.path() / "coll" / "BARS.SC5");
    fs::copy_file(sample("RGB.SC8"), dir.path() / "coll" / "RGB.SC8");
    fs::copy_file(sample("YJK.SCC"), dir.path() / "coll" / "YJK.SCC");
    ASSERT_EQ(runProcess(kExporter, {"-q", "--catalogue", "out", "coll"}, dir.path()).exitCode, 0);

    Browser browser(dir.path() / "profile");
    browser.open("file://" + (dir.path() / "out" / "index.html").string());
    // The page as loaded, not the blank one before it.
    EXPECT_TRUE(browser.becomes("document.images.length === 3 && [...document.images].every(i "
                                "=> i.complete && i.naturalWidth > 0)"));

    browser.evaluate("document.getElementById('q').focus()");
    browser.call("Input.insertText", R"({"text":"screen 8"})");
    EXPECT_TRUE(browser.becomes("[...document.querySelectorAll('#g > li.e')].filter(e => "
                                "!e.hidden).map(e => e.querySelector('b').textContent).join() "
                                "=== 'RGB.SC8'"));

    browser.press("ArrowDown", 40);
    browser.press("Enter", 13);
    EXPECT_TRUE(browser.becomes("location.href.endsWith('/pictures/coll/RGB.png') && "
                                "document.images.length === 1 && document.images[0].complete && "
                                "document.images[0].naturalWidth === 256"));
}

} // namespace
} // namespace tessarin::testing
