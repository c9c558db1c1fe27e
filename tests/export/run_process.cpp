#include "run_process.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace tessarin::testing {

pid_t startProcess(const std::string& program, const std::vector<std::string>& args,
                   const std::filesystem::path& cwd, const std::string& outFile,
                   const std::string& errFile, rlim_t fileLimit) {
    std::vector<std::string> argvStrings{program};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : argvStrings) {
        argv.push_back(s.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    // The child inherits the limit; the hard limit stays, so the old one can come back.
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const rlimit limited{std::min(fileLimit, old.rlim_max), old.rlim_max};
    if (fileLimit != RLIM_INFINITY) {
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    ::setrlimit(RLIMIT_FSIZE, &old);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        throw std::runtime_error("cannot start " + program);
    }
    return pid;
}

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& cwd) {
    const TempDir capture;
    const std::string outFile = capture / "stdout";
    const std::string errFile = capture / "stderr";
    int status = 0;
    ::waitpid(startProcess(program, args, cwd, outFile, errFile), &status, 0);
    ProcessResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readText(outFile);
    result.err = readText(errFile);
    return result;
}

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tessarin-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary directory");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<unsigned char> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

void writeBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace tessarin::testing
