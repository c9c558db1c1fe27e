#include "storage/stamp.h"

namespace tessarin {

std::optional<Stamp> stampOf(const std::string& path, EntryType type) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    const bool fits = type == EntryType::directory ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode);
    if (!fits) {
        return std::nullopt;
    }
    return Stamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

} // namespace tessarin
