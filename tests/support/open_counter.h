#pragma once

// Test support: counts the opens of one file by any process while it lives (inotify).

#include <array>
#include <stdexcept>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>

namespace tessarin::test {

class OpenCounter {
public:
    explicit OpenCounter(const std::string& file) : fd_(::inotify_init1(IN_NONBLOCK)) {
        if (fd_ < 0 || ::inotify_add_watch(fd_, file.c_str(), IN_OPEN) < 0) {
            throw std::runtime_error("cannot watch " + file);
        }
    }
    ~OpenCounter() { ::close(fd_); }
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;

    // The opens since the last call (or since it was made).
    [[nodiscard]] int opens() {
        int count = 0;
        alignas(inotify_event) std::array<char, 4096> events{};
        for (ssize_t got = 0; (got = ::read(fd_, events.data(), events.size())) > 0;) {
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events.data() + at);
                count += (event->mask & IN_OPEN) != 0 ? 1 : 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return count;
    }

private:
    int fd_;
};

} // namespace tessarin::test
