#include "platform/posix_io.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace tessarin::posix {

std::string fileMessage(const char* verb, const std::string& fileName, const std::string& reason) {
    return std::string("Cannot ") + verb + " file \"" + fileName + "\": " + reason;
}

std::string errnoText(int error) {
    return std::strerror(error);
}

int openRegular(const std::string& fileName, int accessFlags, struct stat* opened, int* error) {
    // The type is known before any open: opening a FIFO releases a writer waiting on
    // it, and opening some devices has effects of its own.
    struct stat named {};
    if (::stat(fileName.c_str(), &named) != 0) {
        *error = errno;
        return -1;
    }
    if (!S_ISREG(named.st_mode)) {
        *error = kNotRegular;
        return -1;
    }
    // Non-blocking, should the name have become a FIFO since the stat.
    const int fd = ::open(fileName.c_str(), accessFlags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    int failure = 0;
    if (::fstat(fd, opened) != 0) {
        failure = errno;
    } else if (!S_ISREG(opened->st_mode)) {
        failure = kNotRegular;
    } else if (opened->st_dev != named.st_dev || opened->st_ino != named.st_ino) {
        failure = kReplacedWhileOpening;
    } else if (::fcntl(fd, F_SETFL, accessFlags) != 0) {
        // F_SETFL ignores the access mode: this clears O_NONBLOCK and leaves the rest as opened.
        failure = errno;
    }
    if (failure != 0) {
        *error = failure;
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string openFailureText(int error) {
    switch (error) {
    case kNotRegular:
        return "not a regular file";
    case kReplacedWhileOpening:
        return "replaced while being opened";
    default:
        return errnoText(error);
    }
}

std::int64_t readFully(int fd, std::span<std::uint8_t> out, std::optional<std::uint64_t> offset) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = offset ? ::pread(fd, out.data() + done, out.size() - done,
                                           static_cast<off_t>(*offset + done))
                                 : ::read(fd, out.data() + done, out.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
}

int writeFully(int fd, std::span<const ByteSpan> pieces) {
    // Up to this many pieces a call: a BMP of 424 rows takes two.
    constexpr std::size_t kPiecesPerCall = 256;
    std::size_t piece = 0;
    std::size_t offset = 0; // bytes of pieces[piece] already written
    while (true) {
        std::array<iovec, kPiecesPerCall> iov; // the first count are set
        std::size_t count = 0;
        std::size_t bytes = 0;
        for (std::size_t p = piece; p < pieces.size() && count < iov.size(); ++p) {
            const ByteSpan rest = pieces[p].subspan(p == piece ? offset : 0);
            // iovec takes a non-const pointer; writev only reads through it.
            iov[count++] = {const_cast<std::uint8_t*>(rest.data()), rest.size()};
            bytes += rest.size();
        }
        if (bytes == 0) {
            return 0;
        }
        const ssize_t n = ::writev(fd, iov.data(), static_cast<int>(count));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return ENOSPC;
        }
        // Past the pieces written whole, into the one written in part.
        auto left = static_cast<std::size_t>(n);
        while (left > 0 && left >= pieces[piece].size() - offset) {
            left -= pieces[piece].size() - offset;
            ++piece;
            offset = 0;
        }
        offset += left;
    }
}

int createUnique(const std::string& directory, const std::string& prefix, std::string* fileName) {
    const std::string pattern = directory + "/" + prefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd >= 0) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        *fileName = name.data();
    }
    return fd;
}

} // namespace tessarin::posix
