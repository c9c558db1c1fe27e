// Arbitrary bytes as an archive (the first byte chooses ZIP/LZH/7z or gzip), through our
// adapter: opening may fail with FileError, and so may reading each listed member, but
// nothing may crash or hang, every name stays inside the archive, a read gives at most the
// bytes asked for, and every error names the archive.
#include "platform/file_error.h"
#include "platform/name_locale.h"
#include "storage/archive_storage.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kLimit = 3000;
const std::string kArchive = "FUZZ.ZIP";

void expectNamed(const tessarin::FileError& error) {
    if (!error.fileName().starts_with(kArchive)) {
        std::abort();
    }
}

} // namespace

// libarchive sizes some of its buffers by numbers in the archive's header (gigabytes for a
// lying 7z) and reports a failed allocation as a broken archive. Here an allocation past
// 1 GB fails as it would on a machine without the memory, instead of stopping the run:
// below the run's 2 GB limit, which one allocation of exactly 2 GB would reach.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:max_allocation_size_mb=1024";
}

// Names beyond ASCII as the programs read them.
extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    tessarin::useUtf8Names();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto kind = (data[0] & 1) != 0 ? tessarin::ArchiveStorage::Kind::gzip
                                         : tessarin::ArchiveStorage::Kind::members;
    auto bytes = std::make_shared<const std::vector<std::uint8_t>>(data + 1, data + size);
    try {
        const tessarin::ArchiveStorage archive(kArchive, std::move(bytes), kind);
        for (const std::string& name : archive.names()) {
            if (name.empty() || name.starts_with('/') || name == ".." || name.starts_with("../") ||
                name.find("/../") != std::string::npos || name.ends_with("/..")) {
                std::abort();
            }
            try {
                const tessarin::InputBytes input =
                    archive.read(name, kLimit, kArchive + "/" + name);
                if (input.bytes.size() > kLimit || input.size > tessarin::kMaxMemberBytes) {
                    std::abort();
                }
            } catch (const tessarin::FileError& error) {
                expectNamed(error);
            }
        }
    } catch (const tessarin::FileError& error) {
        expectNamed(error);
    }
    return 0;
}
