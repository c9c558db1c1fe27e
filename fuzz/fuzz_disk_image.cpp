// Arbitrary bytes as a disk image: opening may fail with FileError, and so may reading
// each listed file, but nothing may crash, hang or read outside the bytes, and a file
// read whole has exactly its listed size.
#include "storage/disk_image.h"
#include "platform/file_error.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes =
        std::make_shared<const tessarin::MemoryDiskReader>(std::vector(data, data + size));
    const bool looksLike = tessarin::looksLikeDiskImage(*bytes);
    try {
        const tessarin::DiskImage image("FUZZ.DSK", bytes);
        if (!looksLike) {
            std::abort(); // the quick check must agree with the reader both ways
        }
        for (const tessarin::DiskImage::File& file : image.files()) {
            try {
                if (image.read(file).size() != file.size()) {
                    std::abort();
                }
            } catch (const tessarin::FileError&) {
                // A broken chain: the file is refused, the rest of the disk still reads.
            }
        }
    } catch (const tessarin::FileError&) {
        if (looksLike) {
            std::abort();
        }
    }
    return 0;
}
