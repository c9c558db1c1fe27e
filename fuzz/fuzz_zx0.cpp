// Arbitrary bytes as a ZX0 stream: unpacking may fail with FileError naming the file, but
// nothing may crash, hang, read outside the bytes or write past the bound.
#include "platform/file_error.h"
#include "storage/zx0.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        if (tessarin::unpackZx0(std::span(data, size), "FUZZ.SC5.zx0").size() >
            tessarin::kMaxUnpackedBytes) {
            std::abort();
        }
    } catch (const tessarin::FileError& error) {
        if (error.fileName() != "FUZZ.SC5.zx0" || error.fault() != tessarin::Fault::packedBroken) {
            std::abort();
        }
    }
    return 0;
}
