#pragma once

// Descriptor-level helpers shared by the file streams and the file-system functions.
// They report errno values instead of throwing, so each caller names the file the
// user knows (a scratch file's errors are reported against its target).

#include "platform/byte_span.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <sys/stat.h>

namespace tessarin::posix {

// "Cannot <verb> file "NAME": <reason>".
[[nodiscard]] std::string fileMessage(const char* verb, const std::string& fileName,
                                      const std::string& reason);
[[nodiscard]] std::string errnoText(int error);

// What openRegular reports besides errno values.
inline constexpr int kNotRegular = 0;
inline constexpr int kReplacedWhileOpening = -1;

// Opens a regular file: refuses anything else by its stat before any open, opens
// without blocking and without taking a terminal, checks that the open file is the one
// stat saw, then restores blocking I/O. Returns the descriptor and fills *opened with the
// open file's status, or returns -1 with *error set: an errno value, kNotRegular or
// kReplacedWhileOpening.
[[nodiscard]] int openRegular(const std::string& fileName, int accessFlags, struct stat* opened,
                              int* error);
[[nodiscard]] std::string openFailureText(int error);

// Reads until out is full or the end of the file, from the file's position or, when
// offset is given, from there without moving the position (safe from several threads);
// retries EINTR. Returns the byte count, or -1 with errno set.
[[nodiscard]] std::int64_t readFully(int fd, std::span<std::uint8_t> out,
                                     std::optional<std::uint64_t> offset = std::nullopt);
// Writes the pieces one after the other, gathered into as few system calls as they
// fit, retrying EINTR and partial writes; 0 on success, else an errno value (ENOSPC also
// for a write that stores nothing).
[[nodiscard]] int writeFully(int fd, std::span<const ByteSpan> pieces);
[[nodiscard]] inline int writeFully(int fd, ByteSpan bytes) {
    return writeFully(fd, std::span(&bytes, 1));
}

// mkstemp of "<directory>/<prefix>XXXXXX": the open descriptor, or -1 with errno set.
[[nodiscard]] int createUnique(const std::string& directory, const std::string& prefix,
                               std::string* fileName);

} // namespace tessarin::posix
