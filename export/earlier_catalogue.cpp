#include "export/earlier_catalogue.h"

#include "export/catalogue_table.h"
#include "export/printable.h"
#include "export/source_key.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>
#include <string_view>

namespace tessarin::exporter {

namespace {

std::uint64_t hashOf(std::string_view text) {
    return std::hash<std::string_view>{}(text);
}

// Where each row of an earlier file after its header is, and its length; none when the file
// is missing or its header is another.
struct Line {
    std::uint64_t at = 0;
    std::uint32_t size = 0;
    std::uint64_t location = 0;
};
std::vector<Line> linesOf(std::ifstream& file, std::string_view header) {
    std::vector<Line> lines;
    std::string line;
    if (!std::getline(file, line) || line != header.substr(0, header.size() - 1)) {
        return lines;
    }
    for (auto at = static_cast<std::uint64_t>(file.tellg()); std::getline(file, line);
         at = static_cast<std::uint64_t>(file.tellg())) {
        if (line.size() <= std::numeric_limits<std::uint32_t>::max()) {
            lines.push_back(
                {at, static_cast<std::uint32_t>(line.size()), hashOf(locationOf(line))});
        }
        if (file.eof()) {
            break; // no tellg after the last line
        }
    }
    return lines;
}

std::string lineAt(std::ifstream& file, std::uint64_t at, std::uint32_t size) {
    std::string line(size, '\0');
    file.clear();
    file.seekg(static_cast<std::streamoff>(at));
    file.read(line.data(), size);
    return file ? line : std::string();
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

bool byLocation(const auto& a, const auto& b) {
    return a.location < b.location;
}

} // namespace

EarlierCatalogue::EarlierCatalogue(const ExportOptions& options, const CatalogueFolders& folders)
    : options_(options), folders_(folders) {
    if (!options.skipExisting) {
        return;
    }
    table_.open(folders.root + "/" + std::string(kTableFile), std::ios::binary);
    state_.open(folders.root + "/" + std::string(kStateFile), std::ios::binary);
    std::vector<Line> states = linesOf(state_, kStateHeader);
    std::ranges::stable_sort(states, byLocation<Line, Line>);
    std::vector<Line> tables = linesOf(table_, kTableHeader);
    std::ranges::stable_sort(tables, byLocation<Line, Line>);
    // Each table row with the first state row of its location that makes an entry: the rows
    // come sorted by location.
    for (const Line& table : tables) {
        const auto [first, last] =
            std::equal_range(states.begin(), states.end(), table, byLocation<Line, Line>);
        for (auto state = first; state != last; ++state) {
            const Row row{table.location, table.at, state->at, table.size, state->size};
            if (const auto entry = entryAt(row)) {
                named_.emplace_back(hashOf(entry->picture), rows_.size());
                rows_.push_back(row);
                break;
            }
        }
    }
    std::ranges::sort(named_);
    pictureNamed_.assign(rows_.size(), false);
}

std::optional<CatalogueEntry> EarlierCatalogue::entryAt(const Row& row) {
    return earlierEntryOf(lineAt(table_, row.tableAt, row.tableSize),
                          lineAt(state_, row.stateAt, row.stateSize));
}

std::optional<CatalogueEntry> EarlierCatalogue::earlierOf(const std::string& location) {
    const Row key{hashOf(location)};
    const auto [first, last] =
        std::equal_range(rows_.begin(), rows_.end(), key, byLocation<Row, Row>);
    for (auto row = first; row != last; ++row) {
        if (auto entry = entryAt(*row); entry && entry->location == location) {
            return entry;
        }
    }
    return std::nullopt;
}

EarlierCatalogue::Kept EarlierCatalogue::keptOf(const PlanPart& part,
                                                const std::string& sheetFile) {
    Kept kept{std::vector<std::optional<CatalogueEntry>>(part.items.size()), false};
    bool every = true;
    for (std::size_t i = 0; i < part.items.size() && !rows_.empty(); ++i) {
        const BatchItem& item = part.items[i];
        std::optional<CatalogueEntry> earlier = earlierOf(printable(item.screenFile.path()));
        if (earlier &&
            earlier->sourceKey == sourceKey(jobOf(options_, item), folders_.thumbnailSize) &&
            stillThere(item, folders_, *earlier)) {
            kept.entries[i] = std::move(earlier);
        }
        every = every && kept.entries[i].has_value();
    }
    if (!sheetFile.empty()) {
        sheetFiles_.insert(sheetFile);
        std::error_code error;
        kept.sheet = !rows_.empty() && every && std::filesystem::is_regular_file(sheetFile, error);
        keptSheets_ += kept.sheet ? 1 : 0;
    }
    return kept;
}

void EarlierCatalogue::named(const std::string& picture) {
    const std::uint64_t hash = hashOf(printable(picture));
    // A picture of another name with the same hash stays too: a file kept, never one lost.
    for (auto at = std::lower_bound(named_.begin(), named_.end(), std::pair{hash, std::size_t{0}});
         at != named_.end() && at->first == hash; ++at) {
        pictureNamed_[at->second] = true;
    }
}

void EarlierCatalogue::removeUnused() {
    if (rows_.empty()) {
        return;
    }
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (const auto entry = pictureNamed_[i] ? std::nullopt : entryAt(rows_[i])) {
            removeMade(folders_.root, entry->picture);
            removeMade(folders_.root, entry->thumbnail);
        }
    }
    std::error_code error;
    for (auto file = std::filesystem::recursive_directory_iterator(folders_.sheets, error);
         !error && file != std::filesystem::recursive_directory_iterator(); file.increment(error)) {
        if (file->path().extension() == ".png" && file->is_regular_file(error) &&
            !sheetFiles_.contains(file->path().string())) {
            std::error_code ignored;
            std::filesystem::remove(file->path(), ignored);
        }
    }
}

} // namespace tessarin::exporter
