// Arbitrary bytes as a ZX0 stream: unpacking may fail with FileError naming the file, but
// nothing may crash, hang, read outside the bytes or write past the bound. What unpacks,
// packed again by the tests' packer, unpacks to the same bytes.
#include "platform/file_error.h"
#include "storage/zx0.h"
#include "tests/support/zx0_pack.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

// The tests' packer is greedy; larger outputs would only slow the run.
constexpr std::size_t kRepacked = 4096;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> unpacked;
    try {
        unpacked = tessarin::unpackZx0(std::span(data, size), "FUZZ.SC5.zx0");
    } catch (const tessarin::FileError& error) {
        if (error.fileName() != "FUZZ.SC5.zx0" || error.fault() != tessarin::Fault::packedBroken) {
            std::abort();
        }
        return 0;
    }
    if (unpacked.size() > tessarin::kMaxUnpackedBytes) {
        std::abort();
    }
    if (unpacked.size() <= kRepacked &&
        tessarin::unpackZx0(tessarin::test::packZx0(unpacked), "again") != unpacked) {
        std::abort();
    }
    return 0;
}
