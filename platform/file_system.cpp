#include "platform/file_system.h"

#include "platform/file_error.h"
#include "platform/file_stream.h"
#include "platform/posix_io.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tessarin {

namespace {

constexpr std::size_t kCopyChunk = 64 * 1024;
constexpr mode_t kNewFileMode = 0666; // before the umask, as for any new file

std::string tempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    return (dir != nullptr && *dir != '\0') ? std::string(dir) : std::string("/tmp");
}

// The mode a file written in target's place should get: that of the existing target,
// or that of any new file (mkstemp alone would leave it private, 0600).
mode_t modeInPlaceOf(const struct stat* existing) {
    if (existing != nullptr) {
        return existing->st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return kNewFileMode & ~mask;
}

// Appended piece by piece: GCC 12 at -O3 takes "." + a temporary string for an
// overlapping copy and warns (-Wrestrict).
std::string scratchPrefixFor(const std::string& target) {
    constexpr char kDot = '.';
    const std::string base = baseNameOf(target);
    std::string prefix;
    prefix.reserve(base.size() + 2);
    prefix.push_back(kDot);
    prefix.append(base);
    prefix.push_back(kDot);
    return prefix;
}

// Where the copy really goes, and the mode it should end up with. A symbolic link
// keeps pointing at the replaced file.
struct CopyTarget {
    std::string path;
    mode_t mode;
};

std::optional<CopyTarget> resolveTarget(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        return CopyTarget{target, modeInPlaceOf(nullptr)};
    }
    // Renaming over a device or FIFO would replace the node itself.
    if (!S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    char* real = ::realpath(target.c_str(), nullptr);
    CopyTarget result{real != nullptr ? std::string(real) : target, modeInPlaceOf(&info)};
    std::free(real);
    return result;
}

[[noreturn]] void throwWriteError(const std::string& target, int error) {
    throw FileError(target, posix::fileMessage("write", target, posix::errnoText(error)));
}

// Streams source into the open scratch descriptor and makes it durable; returns 0 or
// the errno value of the failed write. Read errors throw, naming the source.
int fillScratch(InputFile& in, int fd, mode_t mode) {
    std::array<std::uint8_t, kCopyChunk> buffer{};
    for (;;) {
        const std::size_t n = in.read(buffer);
        if (n == 0) {
            break;
        }
        if (const int error = posix::writeFully(fd, std::span(buffer).first(n)); error != 0) {
            return error;
        }
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
        return errno;
    }
    return 0;
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

std::uint64_t probeFileSize(const std::string& fileName) noexcept {
    // stat first, so that devices are never opened (opening some has side effects).
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return 0;
    }
    int error = 0;
    const int fd = posix::openRegular(fileName, O_RDONLY, &error);
    if (fd < 0) {
        return 0;
    }
    const bool ok = ::fstat(fd, &info) == 0;
    ::close(fd);
    return ok ? static_cast<std::uint64_t>(info.st_size) : 0;
}

std::string makeTempFile(const std::string& prefix) {
    return makeTempFileIn(tempDirectory(), prefix);
}

std::string makeTempFileIn(const std::string& directory, const std::string& prefix) {
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

void copyFile(const std::string& source, const std::string& target) {
    InputFile in(source);
    const auto resolved = resolveTarget(target);
    if (!resolved) {
        throw FileError(target, posix::fileMessage("write", target, "not a regular file"));
    }
    std::string scratch;
    const int fd = posix::createUnique(directoryOf(resolved->path),
                                       scratchPrefixFor(resolved->path), &scratch);
    if (fd < 0) {
        throwWriteError(target, errno);
    }
    int error = 0;
    try {
        error = fillScratch(in, fd, resolved->mode);
    } catch (...) {
        ::close(fd);
        deleteFile(scratch);
        throw;
    }
    if (::close(fd) != 0 && error == 0 && errno != EINTR) {
        error = errno;
    }
    if (error == 0 && ::rename(scratch.c_str(), resolved->path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        deleteFile(scratch);
        throwWriteError(target, error);
    }
}

std::string makeScratchFileBeside(const std::string& target) {
    return makeTempFileIn(directoryOf(target), scratchPrefixFor(target));
}

void placeScratchFile(const std::string& scratch, const std::string& target) {
    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (::chmod(scratch.c_str(), modeInPlaceOf(exists ? &info : nullptr)) != 0) {
        throwWriteError(target, errno);
    }
    renameFile(scratch, target);
}

void renameFile(const std::string& source, const std::string& target) {
    if (::rename(source.c_str(), target.c_str()) != 0) {
        const int error = errno;
        throw FileError(source, "Cannot rename file \"" + source + "\" to \"" + target +
                                    "\": " + posix::errnoText(error));
    }
}

bool deleteFile(const std::string& fileName) noexcept {
    return ::unlink(fileName.c_str()) == 0;
}

} // namespace tessarin
