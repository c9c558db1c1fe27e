#pragma once

#include "export/batch_plan.h"
#include "export/catalogue_entry.h"
#include "export/printable.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tessarin::exporter {

// What a rerun with --skip-existing keeps of the catalogue an earlier run left in OUT: the
// entries of the pictures whose sources are unchanged (catalogue.tsv and the state beside
// it), their pictures and thumbnails as they are, and the contact sheets of disks whose
// every picture is kept. Of each earlier entry it holds about 50 bytes, not the entry.
class EarlierCatalogue {
public:
    // With --skip-existing, the earlier table and state in folders.root read (missing ones
    // keep nothing); else nothing kept. options and folders outlive it.
    EarlierCatalogue(const ExportOptions& options, const CatalogueFolders& folders);

    // What of a part stays as the earlier run made it: each item's earlier entry while its
    // sources are unchanged (by sourceKey, its job by the options, stat'ing its files), else
    // null; and whether the contact sheet stays (every picture kept, the file there).
    struct Kept {
        std::vector<std::optional<CatalogueEntry>> entries;
        bool sheet = false;
    };
    // Of part, whose contact sheet is sheetFile (none when empty); that file stays.
    [[nodiscard]] Kept keptOf(const PlanPart& part, const std::string& sheetFile);

    [[nodiscard]] std::size_t keptSheets() const { return keptSheets_; }

    // Tells that this run names picture (relative to OUT), so that it stays.
    void named(const std::string& picture);
    // Removes what the earlier run made that this one does not name: the pictures and
    // thumbnails of earlier entries whose picture no entry was named with, and the PNG files
    // under folders.sheets that are no sheet of this run.
    void removeUnused();

private:
    // Where an earlier entry's rows are in the table and the state, by a hash of its
    // location: what is held of each is these few bytes, the rows are read when asked for.
    struct Row {
        std::uint64_t location = 0;
        std::uint64_t tableAt = 0;
        std::uint64_t stateAt = 0;
        std::uint32_t tableSize = 0;
        std::uint32_t stateSize = 0;
    };
    [[nodiscard]] std::optional<CatalogueEntry> entryAt(const Row& row);
    [[nodiscard]] std::optional<CatalogueEntry> earlierOf(const std::string& location);

    const ExportOptions& options_;
    const CatalogueFolders& folders_;
    std::ifstream table_; // the earlier files, still read once this run's replace them
    std::ifstream state_;
    std::vector<Row> rows_;                                    // by location
    std::vector<std::pair<std::uint64_t, std::size_t>> named_; // rows_ by picture, by hash
    std::vector<bool> pictureNamed_;                           // of each of rows_
    std::unordered_set<std::string> sheetFiles_;
    std::size_t keptSheets_ = 0;
};

} // namespace tessarin::exporter
