// An earlier catalogue's table and state as a rerun reads them from OUT: the bytes before
// the first NUL are catalogue.tsv, those after it catalogue-state.tsv. Every entry read
// has its location as its key, sizes above zero, and written back as rows is read again
// as the same entries.
#include "export/catalogue_table.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using tessarin::exporter::CatalogueEntry;
using Entries = std::unordered_map<std::string, CatalogueEntry>;

void check(const Entries& entries) {
    for (const auto& [location, e] : entries) {
        if (location != e.location || e.width <= 0 || e.height <= 0 || e.thumbWidth <= 0 ||
            e.thumbHeight <= 0) {
            std::abort();
        }
    }
}

Entries writtenBack(const Entries& entries) {
    std::string table(tessarin::exporter::kTableHeader);
    std::string state(tessarin::exporter::kStateHeader);
    for (const auto& [location, e] : entries) {
        table += tessarin::exporter::tableRow(e);
        state += tessarin::exporter::stateRow(e);
    }
    return tessarin::exporter::earlierEntries(table, state);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = std::min(bytes.find('\0'), bytes.size());
    const Entries first = tessarin::exporter::earlierEntries(
        bytes.substr(0, nul), bytes.substr(std::min(nul + 1, bytes.size())));
    check(first);
    // Fields are printable once written: from then on each round trip keeps every entry.
    const Entries second = writtenBack(first);
    const Entries third = writtenBack(second);
    check(second);
    if (second.size() > first.size() || third.size() != second.size()) {
        std::abort();
    }
    for (const auto& [location, e] : second) {
        const auto at = third.find(location);
        if (at == third.end() || at->second.hash != e.hash || at->second.nearHash != e.nearHash ||
            at->second.sourceKey != e.sourceKey || at->second.picture != e.picture ||
            at->second.width != e.width || at->second.thumbHeight != e.thumbHeight) {
            std::abort();
        }
    }
    return 0;
}
