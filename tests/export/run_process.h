#pragma once

// Test support: runs a program as a child process and collects what it printed.

#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>
#include <vector>

namespace tessarin::testing {

struct ProcessResult {
    int exitCode = -1; // -1 when killed by a signal
    std::string out;
    std::string err;
};

// Runs program with args in directory cwd; stdin is /dev/null, stdout and stderr
// go to files (so they are not terminals).
[[nodiscard]] ProcessResult runProcess(const std::string& program,
                                       const std::vector<std::string>& args,
                                       const std::filesystem::path& cwd);

// Starts program with args in cwd, stdin /dev/null, stdout and stderr into the files
// (cut first), its files limited to fileLimit bytes; its process id.
[[nodiscard]] pid_t startProcess(const std::string& program, const std::vector<std::string>& args,
                                 const std::filesystem::path& cwd, const std::string& outFile,
                                 const std::string& errFile, rlim_t fileLimit = RLIM_INFINITY);

// A fresh directory under the temporary directory, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] std::string operator/(const std::string& name) const {
        return (path_ / name).string();
    }
    // The names of the entries, sorted.
    [[nodiscard]] std::vector<std::string> entries() const;

private:
    std::filesystem::path path_;
};

[[nodiscard]] std::string readText(const std::filesystem::path& file);
[[nodiscard]] std::vector<unsigned char> readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes);

} // namespace tessarin::testing
