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

EarlierCatalogue::EarlierCatalogue(const BatchPlan& plan, const ExportOptions& options,
                                   const CatalogueFolders& folders,
                                   const std::map<std::string, std::string>& sheets)
    : root_(folders.root), kept_(plan.items.size(), nullptr) {
    for (const auto& [key, file] : sheets) {
        sheetFiles_.insert(file);
    }
    if (!options.skipExisting) {
        return;
    }
    earlier_ = earlierEntries(readText(root_ + "/" + std::string(kTableFile)),
                              readText(root_ + "/" + std::string(kStateFile)));
    for (const auto& [location, entry] : earlier_) {
        unnamed_.insert(entry.picture);
    }
    std::map<std::string, bool> allKept; // of each disk and archive
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const BatchItem& item = plan.items[i];
        const auto at = earlier_.find(printable(item.screenFile.path()));
        if (at != earlier_.end() &&
            at->second.sourceKey == sourceKey(jobOf(options, item), folders.thumbnailSize) &&
            stillThere(item, folders, at->second)) {
            kept_[i] = &at->second;
        }
        if (std::string key = sheetKeyOf(item); !key.empty()) {
            allKept.try_emplace(std::move(key), true).first->second &= kept_[i] != nullptr;
        }
    }
    for (const auto& [key, every] : allKept) {
        std::error_code error;
        if (every && std::filesystem::is_regular_file(sheets.at(key), error)) {
            keptSheets_.insert(key);
        }
    }
}

void EarlierCatalogue::removeUnused(const std::string& sheetFolder) const {
    if (earlier_.empty()) {
        return;
    }
    for (const auto& [location, entry] : earlier_) {
        if (unnamed_.contains(entry.picture)) {
            removeMade(root_, entry.picture);
            removeMade(root_, entry.thumbnail);
        }
    }
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(sheetFolder, error)) {
        if (file.path().extension() == ".png" && !sheetFiles_.contains(file.path().string())) {
            std::filesystem::remove(file.path(), error);
        }
    }
}

} // namespace tessarin::exporter
