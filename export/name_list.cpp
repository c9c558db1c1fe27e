#include "export/name_list.h"

#include "platform/file_error.h"
#include "platform/posix_io.h"

#include <array>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace tessarin::exporter {

namespace {

constexpr const char* kStandardInput = "-";
constexpr std::size_t kChunk = 64 * 1024;
// A list longer than any real one (a runaway pipe, /dev/zero) is refused, not read until
// memory or patience runs out. Empty names count: -0 on /dev/zero is all separators.
constexpr std::size_t kMaxNames = 1'000'000;
constexpr std::size_t kMaxNameBytes = PATH_MAX;

[[nodiscard]] std::string shownName(const std::string& source) {
    return source == kStandardInput ? "standard input" : "\"" + source + "\"";
}

[[noreturn]] void refuse(const std::string& source, const std::string& why) {
    throw FileError(source, "File list " + shownName(source) + ": " + why, Fault::listTooLong);
}

[[noreturn]] void fail(const char* verb, const std::string& source, int error) {
    const std::string shown = source == kStandardInput ? "standard input" : source;
    throw FileError(source, posix::fileMessage(verb, shown, posix::errnoText(error)), error);
}

// Closes what it opened; standard input stays open.
class ListSource {
public:
    explicit ListSource(const std::string& source)
        : fd_(source == kStandardInput ? STDIN_FILENO
                                       : ::open(source.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0) {
            fail("open", source, errno);
        }
    }
    ~ListSource() {
        if (fd_ != STDIN_FILENO) {
            ::close(fd_);
        }
    }
    ListSource(const ListSource&) = delete;
    ListSource& operator=(const ListSource&) = delete;

    [[nodiscard]] int fd() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::vector<std::string> readNameList(const std::string& source, char separator) {
    const ListSource list(source);
    std::vector<std::string> names;
    std::string name;
    std::size_t count = 0; // names and empty names
    std::array<std::uint8_t, kChunk> buffer{};
    while (true) {
        const std::int64_t n = posix::readFully(list.fd(), buffer);
        if (n < 0) {
            fail("read", source, errno);
        }
        for (std::int64_t i = 0; i < n; ++i) {
            const auto c = static_cast<char>(buffer[static_cast<std::size_t>(i)]);
            if (c != separator) {
                if (name.size() == kMaxNameBytes) {
                    refuse(source, "a name longer than " + std::to_string(kMaxNameBytes) +
                                       " bytes, the longest path the system takes");
                }
                name.push_back(c);
                continue;
            }
            if (++count > kMaxNames) {
                refuse(source, "more than " + std::to_string(kMaxNames) + " names");
            }
            if (!name.empty()) {
                names.push_back(std::move(name));
                name.clear();
            }
        }
        if (static_cast<std::size_t>(n) < buffer.size()) {
            break;
        }
    }
    if (!name.empty()) {
        names.push_back(std::move(name));
    }
    return names;
}

} // namespace tessarin::exporter
