// Arbitrary bytes as a ZX0 stream (fuzz_unpacker.h).
#include "fuzz/fuzz_unpacker.h"
#include "storage/zx0.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzUnpacker(tessarin::unpackZx0, "FUZZ.SC5.zx0", data, size);
}
