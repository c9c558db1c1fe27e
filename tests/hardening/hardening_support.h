#pragma once

// Test support for the bad-input and fault tests: a small file system that fills up,
// a regular file whose reads fail, and the bytes a process has read so far.

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessarin::test {

// A tmpfs of a few hundred KB mounted on a fresh directory inside parent, so that
// writing past it fails with ENOSPC like a full disk. Needs the right to mount (root);
// mounted() says whether it worked.
class SmallDisk {
public:
    SmallDisk(const std::string& parent, std::size_t bytes) : path_(parent + "/disk") {
        ::mkdir(path_.c_str(), 0755);
        const std::string options = "size=" + std::to_string(bytes);
        mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) {
            ::umount2(path_.c_str(), MNT_DETACH);
        }
        ::rmdir(path_.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    [[nodiscard]] bool mounted() const { return mounted_; }
    [[nodiscard]] std::string file(const std::string& name) const { return path_ + "/" + name; }
    [[nodiscard]] const std::string& path() const { return path_; }

private:
    std::string path_;
    bool mounted_ = false;
};

// A regular file of non-zero size whose every read fails (EINVAL): the speed of the
// loopback network device. Empty when this system has no such file.
inline std::string failingRegularFile() {
    const std::string name = "/sys/class/net/lo/speed";
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0) {
        return {};
    }
    std::ifstream in(name);
    char c = 0;
    if (in.get(c)) {
        return {}; // reads here succeed: no fault to test with
    }
    return name;
}

// Bytes this process has read through read(2) and its kin ("rchar" of /proc/self/io).
inline std::uint64_t bytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return 0;
}

} // namespace tessarin::test
