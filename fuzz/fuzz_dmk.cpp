// Arbitrary bytes as a DMK track image: reading its sectors may fail with FileError naming
// the file as no DMK image, but nothing may crash, hang or read outside the bytes. The disk
// made of them is never larger than its tracks can hold, and opens as any disk image does:
// listed and read, or refused naming the file.
#include "platform/file_error.h"
#include "storage/disk_storage.h"
#include "storage/dmk_tracks.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

namespace {

const std::string kFile = "FUZZ.DMK";
// Each track of at least 129 bytes yields at most 18 sectors of 512.
constexpr std::size_t kMostSectorBytesPerTrackByte = 18 * 512 / 129 + 1;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> disk;
    try {
        disk = tessarin::sectorsOfDmk(std::span(data, size), kFile);
    } catch (const tessarin::FileError& error) {
        if (error.fileName() != kFile || error.fault() != tessarin::Fault::notDiskImage) {
            std::abort();
        }
        return 0;
    }
    if (disk.empty() || disk.size() % 512 != 0 ||
        disk.size() > size * kMostSectorBytesPerTrackByte) {
        std::abort();
    }
    try {
        const tessarin::DiskStorage storage(kFile, std::move(disk));
        for (const std::string& name : storage.names()) {
            try {
                (void)storage.read(name, 4096, kFile + "/" + name);
            } catch (const tessarin::FileError& error) {
                if (!error.fileName().starts_with(kFile)) {
                    std::abort();
                }
            }
        }
    } catch (const tessarin::FileError& error) {
        if (!error.fileName().starts_with(kFile)) {
            std::abort();
        }
    }
    return 0;
}
