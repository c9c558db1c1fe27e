// Arbitrary bytes as a cassette image: opening may fail with FileError naming the tape, and
// so may reading an empty file, but nothing may crash, hang or read outside the bytes. Each
// listed file reads as its size says, no name repeats or reaches out of the tape, and every
// problem names the tape.
#include "platform/file_error.h"
#include "storage/cassette_storage.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

namespace {

// Less than most files: a bounded read must stop there.
constexpr std::size_t kLimit = 3000;
const std::string kTape = "FUZZ.CAS";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const tessarin::CassetteStorage tape(kTape, std::span(data, size));
        std::vector<std::string> names = tape.names();
        if (names.size() + tape.problems().size() > tessarin::kMaxCassetteFiles) {
            std::abort();
        }
        for (const tessarin::FileError& problem : tape.problems()) {
            if (!problem.fileName().starts_with(kTape)) {
                std::abort();
            }
        }
        std::uint64_t total = 0;
        for (const std::string& name : names) {
            if (name.empty() || name.find('/') != std::string::npos || name == "." ||
                name == "..") {
                std::abort();
            }
            const std::uint64_t fileSize = tape.sizeOf(name).value();
            total += fileSize;
            try {
                const tessarin::InputBytes input = tape.read(name, kLimit, kTape + "/" + name);
                if (input.size != fileSize ||
                    input.bytes.size() != std::min<std::uint64_t>(fileSize, kLimit)) {
                    std::abort();
                }
            } catch (const tessarin::FileError& error) {
                if (fileSize != 0 || error.fault() != tessarin::Fault::empty) {
                    std::abort();
                }
            }
        }
        // Each file is its blocks' bytes and at most one id byte more.
        if (total > size + names.size()) {
            std::abort();
        }
        std::ranges::sort(names);
        if (std::ranges::adjacent_find(names) != names.end()) {
            std::abort();
        }
    } catch (const tessarin::FileError& error) {
        if (error.fileName() != kTape || error.fault() != tessarin::Fault::notCassette) {
            std::abort();
        }
    }
    return 0;
}
