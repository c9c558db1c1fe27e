#pragma once

#include "export/catalogue_entry.h"

#include <optional>
#include <string>
#include <string_view>

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

// The location a row of the table or the state names: its first field.
[[nodiscard]] std::string_view locationOf(std::string_view row);

// The entry an earlier run's row of the table and row of the state (lines without their
// newline) tell of: both of one location, every column well formed (sizes as WxH, hashes
// of 16 hexadecimal digits), its fields as the table has them and its sourceKey from the
// state. Anything else is none, to be read again.
[[nodiscard]] std::optional<CatalogueEntry> earlierEntryOf(std::string_view tableRow,
                                                           std::string_view stateRow);

} // namespace tessarin::exporter
