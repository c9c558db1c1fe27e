#pragma once

#include "export/batch_plan.h"
#include "export/catalogue_entry.h"
#include "export/printable.h"

#include <map>
#include <set>
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
    // keep nothing) and matched with the plan by each item's sourceKey (its job by options,
    // stat'ing its files); else nothing kept. sheets: each disk's and archive's sheet file,
    // by sheetKeyOf.
    EarlierCatalogue(const BatchPlan& plan, const ExportOptions& options,
                     const CatalogueFolders& folders,
                     const std::map<std::string, std::string>& sheets);

    // Item i's earlier entry, when it still holds; else null.
    [[nodiscard]] const CatalogueEntry* kept(std::size_t i) const { return kept_[i]; }
    // Whether the sheet of the disk or archive sheetKey stays as it is.
    [[nodiscard]] bool sheetKept(const std::string& sheetKey) const {
        return keptSheets_.contains(sheetKey);
    }
    [[nodiscard]] std::size_t keptSheets() const { return keptSheets_.size(); }

    // Tells that this run names picture (relative to OUT), so that it stays.
    void named(const std::string& picture) { unnamed_.erase(printable(picture)); }
    // Removes what the earlier run made that this one does not name: the pictures and
    // thumbnails of earlier entries whose picture no entry was named with, and the files in
    // sheetFolder that are none of the sheets.
    void removeUnused(const std::string& sheetFolder) const;

private:
    std::string root_;
    std::unordered_map<std::string, CatalogueEntry> earlier_;
    std::unordered_set<std::string> unnamed_; // earlier pictures not named yet
    std::vector<const CatalogueEntry*> kept_;
    std::set<std::string> keptSheets_;
    std::set<std::string> sheetFiles_;
};

} // namespace tessarin::exporter
