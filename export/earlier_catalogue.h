#pragma once

#include "export/batch_plan.h"
#include "export/catalogue_entry.h"
#include "export/printable.h"
#include "export/record_fields.h"
#include "export/scratch_text.h"
#include "export/sorted_runs.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace tessarin::exporter {

// What a rerun with --skip-existing keeps of the catalogue an earlier run left in OUT: the
// entries of the pictures whose sources are unchanged (catalogue.tsv and the state beside
// it), their pictures and thumbnails as they are, and the contact sheets of disks whose
// every picture is kept. It holds 8 bytes of each 256 earlier entries: the rest is in
// scratch files under OUT (.gallery-earlier-*), read as the walk asks.
class EarlierCatalogue {
public:
    // With --skip-existing, the earlier table and state in folders.root read (missing ones
    // keep nothing); else nothing kept. options and folders outlive it. Throws FileError
    // naming a scratch file that cannot be written.
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
    // Where an earlier entry's rows are in the table and the state.
    struct Row {
        std::uint64_t tableAt = 0;
        std::uint64_t stateAt = 0;
        std::uint32_t tableSize = 0;
        std::uint32_t stateSize = 0;
    };
    // Of location's rows, each table row with the first state row that makes an entry
    // into rows_ and pictures_.
    void index(std::uint64_t location, std::vector<Row>& states, std::vector<Row>& tables);
    // row as a record's next fields (the two sizes in one number), and back.
    static RecordWriter& withRow(RecordWriter& record, const Row& row);
    [[nodiscard]] static Row rowOf(RecordReader& fields);
    [[nodiscard]] std::optional<CatalogueEntry> entryAt(const Row& row);
    [[nodiscard]] std::optional<CatalogueEntry> earlierOf(const std::string& location);

    const ExportOptions& options_;
    const CatalogueFolders& folders_;
    std::ifstream table_; // the earlier files, still read once this run's replace them
    std::ifstream state_;
    // The rows by a hash of their location, kRowBytes each, and the hash of every
    // kIndexStep-th: a lookup reads one stretch of the file.
    std::optional<ScratchText> rows_;
    std::ifstream rowsIn_;
    std::vector<std::uint64_t> firstOfStretch_;
    std::uint64_t rowCount_ = 0;
    // Each earlier row by a hash of its picture, after the pictures this run names.
    std::optional<SortedRuns> pictures_;
    std::optional<SortedRuns> sheets_; // this run's sheets, then the files under sheets/
    std::size_t keptSheets_ = 0;
};

} // namespace tessarin::exporter
