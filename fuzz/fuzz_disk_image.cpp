// Arbitrary bytes as a disk image: opening may fail with FileError, and so may reading
// each listed file, but nothing may crash, hang or read outside the bytes. Each listed file
// is found by its path, a read takes exactly the bytes asked for, and every problem names
// a place on the disk.
#include "platform/file_error.h"
#include "storage/disk_image.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// Less than most files: a bounded read must stop there, whatever the entry says.
constexpr std::size_t kLimit = 3000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes =
        std::make_shared<const tessarin::MemoryDiskReader>(std::vector(data, data + size));
    const bool looksLike = tessarin::looksLikeDiskImage(*bytes);
    try {
        const tessarin::DiskImage image("FUZZ.DSK", bytes);
        if (!looksLike || image.files().size() > tessarin::DiskImage::kMaxEntries) {
            std::abort(); // the quick check must agree with the reader both ways
        }
        for (const tessarin::FileError& problem : image.problems()) {
            if (!problem.fileName().starts_with("FUZZ.DSK")) {
                std::abort();
            }
        }
        for (const tessarin::DiskImage::File& file : image.files()) {
            if (image.find(file.path()) != &file) {
                std::abort();
            }
            // A file reads whole, or its damage is among the problems, naming it.
            const std::string named = "FUZZ.DSK/" + file.path();
            const bool damaged =
                std::ranges::any_of(image.problems(), [&](const tessarin::FileError& problem) {
                    return problem.fileName() == named;
                });
            try {
                const std::size_t got = image.read(file, kLimit).size();
                if (got > std::min<std::size_t>(file.size(), kLimit) ||
                    (got < std::min<std::size_t>(file.size(), kLimit) && !damaged)) {
                    std::abort();
                }
            } catch (const tessarin::FileError&) {
                if (!damaged) {
                    std::abort(); // nothing of it can be read: the listing said so
                }
            }
        }
    } catch (const tessarin::FileError&) {
        if (looksLike) {
            std::abort();
        }
    }
    return 0;
}
