#include "platform/posix_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tessarin::posix {

std::string fileMessage(const char* verb, const std::string& fileName, const std::string& reason) {
    return std::string("Cannot ") + verb + " file \"" + fileName + "\": " + reason;
}

std::string errnoText(int error) {
    return std::strerror(error);
}

int openRegular(const std::string& fileName, int accessFlags, int* error) {
    const int fd = ::open(fileName.c_str(), accessFlags | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd < 0) {
        // Writing opens of directories and reader-less FIFOs fail before fstat
        // could tell; report them alike.
        *error = errno;
        if (::stat(fileName.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            *error = 0;
        }
        return -1;
    }
    if (::fstat(fd, &info) != 0) {
        *error = errno;
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        *error = 0;
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        *error = errno;
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string openFailureText(int error) {
    return error == 0 ? std::string("not a regular file") : errnoText(error);
}

std::int64_t readFully(int fd, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
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

int writeFully(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return ENOSPC;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
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
