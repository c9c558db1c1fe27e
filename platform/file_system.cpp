#include "platform/file_system.h"

#include "platform/file_error.h"
#include "platform/posix_io.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>

namespace tessarin {

namespace {

std::string tempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    return (dir != nullptr && *dir != '\0') ? std::string(dir) : std::string("/tmp");
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

std::string makeTempFile(const std::string& prefix) {
    const std::string directory = tempDirectory();
    std::string name;
    const int fd = posix::createUnique(directory, prefix, &name);
    if (fd < 0) {
        const int error = errno;
        throw FileError(directory, "Cannot create a temporary file in \"" + directory +
                                       "\": " + posix::errnoText(error));
    }
    ::close(fd);
    return name;
}

bool deleteFile(const std::string& fileName) noexcept {
    return ::unlink(fileName.c_str()) == 0;
}

} // namespace tessarin
