#include "storage/stamp.h"

namespace tessarin {

std::optional<Entry> entryAt(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    const Stamp stamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
    if (S_ISREG(info.st_mode)) {
        return Entry{EntryType::regularFile, stamp};
    }
    if (S_ISDIR(info.st_mode)) {
        return Entry{EntryType::directory, stamp};
    }
    return std::nullopt;
}

std::optional<Stamp> stampOf(const std::string& path, EntryType type) {
    const std::optional<Entry> entry = entryAt(path);
    if (!entry || entry->type != type) {
        return std::nullopt;
    }
    return entry->stamp;
}

} // namespace tessarin
