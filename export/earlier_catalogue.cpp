#include "export/earlier_catalogue.h"

#include "export/catalogue_table.h"
#include "export/printable.h"
#include "export/source_key.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tessarin::exporter {

namespace {

// The whole text of path; empty when it cannot be read (no earlier run).
std::string readText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Removes root/relative, a picture or thumbnail an earlier run made: only below those
// folders, so that a table edited by hand names nothing else.
void removeMade(const std::string& root, const std::string& relative) {
    if ((relative.starts_with("pictures/") || relative.starts_with("thumbs/")) &&
        relative.find("..") == std::string::npos) {
        std::error_code ignored; // gone already
        std::filesystem::remove(root + "/" + relative, ignored);
    }
}

} // namespace

EarlierCatalogue::EarlierCatalogue(const ExportOptions& options,
                                   const CatalogueFolders& folders)
    : options_(options), folders_(folders) {
    if (!options.skipExisting) {
        return;
    }
    earlier_ = earlierEntries(readText(folders.root + "/" + std::string(kTableFile)),
                              readText(folders.root + "/" + std::string(kStateFile)));
    for (const auto& [location, entry] : earlier_) {
        unnamed_.insert(entry.picture);
    }
}

EarlierCatalogue::Kept EarlierCatalogue::keptOf(const PlanPart& part,
                                                const std::string& sheetFile) {
    Kept kept{std::vector<const CatalogueEntry*>(part.items.size(), nullptr), false};
    bool every = true;
    for (std::size_t i = 0; i < part.items.size() && !earlier_.empty(); ++i) {
        const BatchItem& item = part.items[i];
        const auto at = earlier_.find(printable(item.screenFile.path()));
        if (at != earlier_.end() &&
            at->second.sourceKey == sourceKey(jobOf(options_, item), folders_.thumbnailSize) &&
            stillThere(item, folders_, at->second)) {
            kept.entries[i] = &at->second;
        }
        every = every && kept.entries[i] != nullptr;
    }
    if (!sheetFile.empty()) {
        sheetFiles_.insert(sheetFile);
        std::error_code error;
        kept.sheet = !earlier_.empty() && every && std::filesystem::is_regular_file(sheetFile, error);
        keptSheets_ += kept.sheet ? 1 : 0;
    }
    return kept;
}

void EarlierCatalogue::removeUnused() const {
    if (earlier_.empty()) {
        return;
    }
    for (const auto& [location, entry] : earlier_) {
        if (unnamed_.contains(entry.picture)) {
            removeMade(folders_.root, entry.picture);
            removeMade(folders_.root, entry.thumbnail);
        }
    }
    std::error_code error;
    for (auto file = std::filesystem::recursive_directory_iterator(folders_.sheets, error);
         !error && file != std::filesystem::recursive_directory_iterator();
         file.increment(error)) {
        if (file->path().extension() == ".png" && file->is_regular_file(error) &&
            !sheetFiles_.contains(file->path().string())) {
            std::error_code ignored;
            std::filesystem::remove(file->path(), ignored);
        }
    }
}

} // namespace tessarin::exporter
