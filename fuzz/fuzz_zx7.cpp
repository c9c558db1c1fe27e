// Arbitrary bytes as a ZX7 stream (fuzz_unpacker.h).
#include "fuzz/fuzz_unpacker.h"
#include "storage/zx7.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzUnpacker(tessarin::unpackZx7, "FUZZ.SC5.zx7", data, size);
}
