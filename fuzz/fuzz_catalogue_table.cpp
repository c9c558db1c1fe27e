// An earlier catalogue's row of the table and row of the state as a rerun reads them from
// OUT: the bytes before the first NUL are the table's row, those after it the state's. An
// entry read has sizes above zero, and written back as rows is read again as the same entry.
#include "export/catalogue_table.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using tessarin::exporter::CatalogueEntry;

void check(const CatalogueEntry& e) {
    if (e.width <= 0 || e.height <= 0 || e.thumbWidth <= 0 || e.thumbHeight <= 0) {
        std::abort();
    }
}

// The entry's rows, without their newlines, read again.
std::optional<CatalogueEntry> writtenBack(const CatalogueEntry& e) {
    const std::string table = tessarin::exporter::tableRow(e);
    const std::string state = tessarin::exporter::stateRow(e);
    return tessarin::exporter::earlierEntryOf(std::string_view(table).substr(0, table.size() - 1),
                                              std::string_view(state).substr(0, state.size() - 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = std::min(bytes.find('\0'), bytes.size());
    const auto first = tessarin::exporter::earlierEntryOf(
        bytes.substr(0, nul), bytes.substr(std::min(nul + 1, bytes.size())));
    if (!first) {
        return 0;
    }
    check(*first);
    // Fields are printable once written: from then on each round trip keeps the entry.
    const auto second = writtenBack(*first);
    if (!second) {
        return 0; // a field that was not printable: written escaped, it may no longer parse
    }
    const auto third = writtenBack(*second);
    check(*second);
    if (!third || third->hash != second->hash || third->nearHash != second->nearHash ||
        third->sourceKey != second->sourceKey || third->picture != second->picture ||
        third->location != second->location || third->width != second->width ||
        third->thumbHeight != second->thumbHeight) {
        std::abort();
    }
    return 0;
}
