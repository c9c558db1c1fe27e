#include "platform/file_stream.h"

#include "platform/file_error.h"
#include "platform/posix_io.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tessarin {

namespace {

[[noreturn]] void throwErrno(const char* verb, const std::string& fileName, int error) {
    throw FileError(fileName, posix::fileMessage(verb, fileName, posix::errnoText(error)), error);
}

int openOrThrow(const std::string& fileName, int accessFlags, struct stat* info) {
    int error = 0;
    const int fd = posix::openRegular(fileName, accessFlags, info, &error);
    if (fd < 0) {
        // kNotRegular and kReplacedWhileOpening are no errno values.
        throw FileError(fileName,
                        posix::fileMessage("open", fileName, posix::openFailureText(error)),
                        std::max(error, 0));
    }
    return fd;
}

} // namespace

InputFile::InputFile(const std::string& fileName) : fileName_(fileName) {
    struct stat info {};
    fd_ = openOrThrow(fileName, O_RDONLY, &info);
    size_ = static_cast<std::uint64_t>(info.st_size);
}

InputFile::InputFile(InputFile&& other) noexcept
    : fileName_(std::move(other.fileName_)), fd_(std::exchange(other.fd_, -1)), size_(other.size_) {
}

InputFile::~InputFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::size_t InputFile::read(std::span<std::uint8_t> out) {
    return readFrom(std::nullopt, out);
}

std::size_t InputFile::readAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    return readFrom(offset, out);
}

std::size_t InputFile::readFrom(std::optional<std::uint64_t> offset,
                                std::span<std::uint8_t> out) const {
    const std::int64_t n = posix::readFully(fd_, out, offset);
    if (n < 0) {
        throwErrno("read", fileName_, errno);
    }
    return static_cast<std::size_t>(n);
}

OutputFile::OutputFile(const std::string& fileName) : fileName_(fileName) {
    struct stat info {};
    fd_ = openOrThrow(fileName, O_WRONLY, &info);
    // Cut only after the file is known to be a regular file: O_TRUNC at open time
    // would act before that check.
    if (::ftruncate(fd_, 0) != 0) {
        const int error = errno;
        ::close(fd_);
        throwErrno("write", fileName_, error);
    }
}

OutputFile::~OutputFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void OutputFile::write(ByteSpan bytes) {
    write(std::span(&bytes, 1));
}

void OutputFile::write(std::span<const ByteSpan> pieces) {
    const int error = posix::writeFully(fd_, pieces);
    if (error != 0) {
        throwErrno("write", fileName_, error);
    }
}

void OutputFile::close() {
    if (fd_ < 0) {
        return;
    }
    const int result = ::close(fd_);
    fd_ = -1;
    // On Linux the descriptor is released even when close reports EINTR.
    if (result != 0 && errno != EINTR) {
        throwErrno("write", fileName_, errno);
    }
}

} // namespace tessarin
