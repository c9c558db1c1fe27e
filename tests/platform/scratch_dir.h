#pragma once

// Test support: a private directory per test, removed with everything in it, and
// small helpers for files of known bytes.

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tessarin::test {

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessarin-test-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        // One level down: browsing past a folder's last picture goes on into the folders
        // beside it, which must not be other tests' folders.
        parent_ = pattern;
        path_ = parent_ + "/files";
        std::filesystem::create_directory(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(parent_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    [[nodiscard]] std::string file(const std::string& name) const { return path_ + "/" + name; }
    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            result.push_back(entry.path().filename().string());
        }
        return result;
    }

private:
    std::string parent_;
    std::string path_;
};

// Bytes that differ from their neighbours and do not repeat within 128 KB.
inline std::vector<std::uint8_t> patternBytes(std::size_t count, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7) ^ (i >> 8) ^ ((i >> 16) * 53) ^ seed);
    }
    return bytes;
}

inline void writeBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + fileName);
    }
}

inline std::vector<std::uint8_t> readBytes(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs body in a child process whose files may not grow beyond limit bytes, with
// SIGXFSZ ignored so that an oversized write fails with EFBIG as on a full disk.
// Returns the child's exit code (body's result), or -1 when it died.
template <typename Body> int runWithFileSizeLimit(rlim_t limit, Body body) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0) {
            ::_exit(100);
        }
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

} // namespace tessarin::test
