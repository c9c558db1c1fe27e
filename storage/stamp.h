#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace tessarin {

// What tells a changed file or directory from the one read before.
struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    friend bool operator==(const Stamp& a, const Stamp& b) {
        return a.device == b.device && a.inode == b.inode && a.size == b.size &&
               a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec;
    }
};

enum class EntryType : std::uint8_t { regularFile, directory };

// A regular file or directory of the file system and its stamp.
struct Entry {
    EntryType type;
    Stamp stamp;
};

// What path is, with one stat (a symbolic link followed); nothing when it is neither a
// regular file nor a directory.
[[nodiscard]] std::optional<Entry> entryAt(const std::string& path);

// The stamp of path when it is of the type (a symbolic link followed); else nothing.
[[nodiscard]] std::optional<Stamp> stampOf(const std::string& path, EntryType type);

} // namespace tessarin
