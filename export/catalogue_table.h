#pragma once

#include "export/catalogue_entry.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace tessarin::exporter {

// The table and the state, in OUT.
inline constexpr std::string_view kTableFile = "catalogue.tsv";
inline constexpr std::string_view kStateFile = "catalogue-state.tsv";

// OUT/catalogue.tsv: this header, then one row per picture.
inline constexpr std::string_view kTableHeader =
    "location\tmode\tlayout\tpalette\tsize\thash\tnear-hash\tpicture\tthumbnail\n";
// OUT/catalogue-state.tsv, what a rerun with --skip-existing compares: this header, then one
// row per picture of the table.
inline constexpr std::string_view kStateHeader = "location\tsources\tthumbnail-size\n";

// The entry's row of the table, each field printable (no tab, no newline in it).
[[nodiscard]] std::string tableRow(const CatalogueEntry& entry);
// The entry's row of the state: its location, its sourceKey, its thumbnail's size.
[[nodiscard]] std::string stateRow(const CatalogueEntry& entry);

// The entries of an earlier run's table and state (their text), by their printable
// location: each row of the table that has a row in the state, with every column well
// formed (sizes as WxH, hashes of 16 hexadecimal digits), its fields as the table has them
// and its sourceKey from the state. Anything else is left out, to be read again; a table or
// state without its header gives no entry.
[[nodiscard]] std::unordered_map<std::string, CatalogueEntry>
earlierEntries(std::string_view table, std::string_view state);

} // namespace tessarin::exporter
