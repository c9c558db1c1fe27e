#include "storage/packings.h"

#include "names/ascii_case.h"
#include "platform/file_error.h"

namespace tessarin {

Unpacker unpackerOf(std::string_view name) {
    for (const Packing& packing : kPackings) {
        if (name.size() >= packing.extension.size() &&
            equalIgnoringAsciiCase(name.substr(name.size() - packing.extension.size()),
                                   packing.extension)) {
            return packing.unpack;
        }
    }
    return nullptr;
}

const Packing* packingByTrial(std::span<const std::uint8_t> packed, const std::string& file,
                              const std::function<bool(std::span<const std::uint8_t>)>& accepts) {
    for (const Packing& packing : kPackings) {
        try {
            if (accepts(packing.unpack(packed, file))) {
                return &packing;
            }
        } catch (const FileError&) {
            // Not of this packing: the next may be its own.
        }
    }
    return nullptr;
}

} // namespace tessarin
