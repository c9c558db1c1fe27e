#include "storage/packings.h"

#include "names/ascii_case.h"

namespace tessarin {

Unpacker unpackerOf(std::string_view name) {
    for (const Packing& packing : kPackings) {
        if (name.size() > packing.extension.size() &&
            equalIgnoringAsciiCase(name.substr(name.size() - packing.extension.size()),
                                   packing.extension)) {
            return packing.unpack;
        }
    }
    return nullptr;
}

} // namespace tessarin
