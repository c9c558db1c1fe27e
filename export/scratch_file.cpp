#include "export/scratch_file.h"

#include "platform/file_error.h"
#include "platform/file_system.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace tessarin::exporter {

namespace {

constexpr mode_t kNewFileMode = 0666; // before the umask, as for any new file
constexpr mode_t kPermissionBits = 07777;

// mkstemp makes scratch files private (0600); the finished picture should not be.
mode_t modeForTarget(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        return info.st_mode & kPermissionBits;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return kNewFileMode & ~mask;
}

} // namespace

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

ScratchFile::ScratchFile(const std::string& target)
    : name_(makeTempFileIn(directoryOf(target), "." + baseNameOf(target) + ".")) {}

ScratchFile::~ScratchFile() {
    if (!moved_) {
        deleteFile(name_);
    }
}

void ScratchFile::moveOnto(const std::string& target) {
    if (::chmod(name_.c_str(), modeForTarget(target)) != 0) {
        const int error = errno;
        throw FileError(target, "Cannot write file \"" + target + "\": " + std::strerror(error));
    }
    renameFile(name_, target);
    moved_ = true;
}

} // namespace tessarin::exporter
