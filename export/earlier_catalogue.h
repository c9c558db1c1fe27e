#pragma once

#include "export/batch_plan.h"
#include "export/catalogue_entry.h"
#include "export/printable.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tessarin::exporter {

// What a rerun with --skip-existing keeps of the catalogue an earlier run left in OUT: the
// entries of the pictures whose sources are unchanged (catalogue.tsv and the state beside
// it), their pictures and thumbnails as they are, and the contact sheets of disks whose
// every picture is kept.
class EarlierCatalogue {
public:
    // With --skip-existing, the earlier table and state in folders.root read (missing ones
    // keep nothing); else nothing kept. options and folders outlive it.
    EarlierCatalogue(const ExportOptions& options, const CatalogueFolders& folders);

    // What of a part stays as the earlier run made it: each item's earlier entry while its
    // sources are unchanged (by sourceKey, its job by the options, stat'ing its files), else
    // null; and whether the contact sheet stays (every picture kept, the file there).
    struct Kept {
        std::vector<const CatalogueEntry*> entries;
        bool sheet = false;
    };
    // Of part, whose contact sheet is sheetFile (none when empty); that file stays.
    [[nodiscard]] Kept keptOf(const PlanPart& part, const std::string& sheetFile);
    [[nodiscard]] std::size_t keptSheets() const { return keptSheets_; }

    // Tells that this run names picture (relative to OUT), so that it stays.
    void named(const std::string& picture) { unnamed_.erase(printable(picture)); }
    // Removes what the earlier run made that this one does not name: the pictures and
    // thumbnails of earlier entries whose picture no entry was named with, and the PNG files
    // under folders.sheets that are no sheet of this run.
    void removeUnused() const;

private:
    const ExportOptions& options_;
    const CatalogueFolders& folders_;
    std::unordered_map<std::string, CatalogueEntry> earlier_;
    std::unordered_set<std::string> unnamed_; // earlier pictures not named yet
    std::unordered_set<std::string> sheetFiles_;
    std::size_t keptSheets_ = 0;
};

} // namespace tessarin::exporter
