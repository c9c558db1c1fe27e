// Arbitrary bytes as an aPLib stream (fuzz_unpacker.h).
#include "fuzz/fuzz_unpacker.h"
#include "storage/aplib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzUnpacker(tessarin::unpackAplib, "FUZZ.SC5.apl", data, size);
}
