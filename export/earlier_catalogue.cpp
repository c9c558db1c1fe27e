#include "export/earlier_catalogue.h"

#include "export/catalogue_table.h"
#include "export/printable.h"
#include "export/record_fields.h"
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

// Of the earlier lines in sorted runs: a state's row sorts before a table's.
constexpr std::uint64_t kStateRow = 0;
constexpr std::uint64_t kTableRow = 1;
// Of the pictures and sheets: one this run names sorts before one an earlier run made.
constexpr std::uint64_t kNamed = 0;
constexpr std::uint64_t kMade = 1;

constexpr std::size_t kRowBytes = 4 * 8; // location hash, table at, state at, both sizes
constexpr std::size_t kIndexStep = 256;

// Each row of an earlier file after its header into lines, under kind; none when the
// file is missing or its header is another.
void addLines(std::ifstream& file, std::string_view header, std::uint64_t kind, SortedRuns& lines) {
    std::string line;
    if (!std::getline(file, line) || line != header.substr(0, header.size() - 1)) {
        return;
    }
    for (auto at = static_cast<std::uint64_t>(file.tellg()); std::getline(file, line);
         at = static_cast<std::uint64_t>(file.tellg())) {
        if (line.size() <= std::numeric_limits<std::uint32_t>::max()) {
            lines.add(RecordWriter()
                          .number(hashOf(locationOf(line)))
                          .number(kind)
                          .number(at)
                          .number(line.size())
                          .take());
        }
        if (file.eof()) {
            break; // no tellg after the last line
        }
    }
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

} // namespace

EarlierCatalogue::EarlierCatalogue(const ExportOptions& options, const CatalogueFolders& folders)
    : options_(options), folders_(folders) {
    if (!options.skipExisting) {
        return;
    }
    const std::string scratch = folders.root + "/.gallery-earlier-";
    sheets_.emplace(scratch + "sheets");
    table_.open(folders.root + "/" + std::string(kTableFile), std::ios::binary);
    state_.open(folders.root + "/" + std::string(kStateFile), std::ios::binary);
    rows_.emplace(scratch + "rows");
    pictures_.emplace(scratch + "pictures");
    SortedRuns lines(scratch + "lines");
    addLines(state_, kStateHeader, kStateRow, lines);
    addLines(table_, kTableHeader, kTableRow, lines);
    // The rows of one location hash come together, the state's first.
    std::uint64_t location = 0;
    std::vector<Row> states;
    std::vector<Row> tables;
    lines.drain([&](std::string_view record) {
        RecordReader fields(record);
        const std::uint64_t hash = fields.number();
        if (hash != location) {
            index(location, states, tables);
            location = hash;
        }
        const std::uint64_t kind = fields.number();
        const std::uint64_t at = fields.number();
        const auto size = static_cast<std::uint32_t>(fields.number());
        (kind == kStateRow ? states : tables).push_back(Row{at, at, size, size});
    });
    index(location, states, tables);
    rows_->close();
    rowsIn_ = rows_->reopened();
}

void EarlierCatalogue::index(std::uint64_t location, std::vector<Row>& states,
                             std::vector<Row>& tables) {
    // Each table row with the first state row of its location that makes an entry.
    for (const Row& table : tables) {
        for (const Row& state : states) {
            const Row row{table.tableAt, state.stateAt, table.tableSize, state.stateSize};
            if (const auto entry = entryAt(row); entry && hashOf(entry->location) == location) {
                if (rowCount_ % kIndexStep == 0) {
                    firstOfStretch_.push_back(location);
                }
                RecordWriter rowRecord;
                rows_->add(withRow(rowRecord.number(location), row).take());
                ++rowCount_;
                RecordWriter picture;
                pictures_->add(
                    withRow(picture.number(hashOf(entry->picture)).number(kMade), row).take());
                break;
            }
        }
    }
    states.clear();
    tables.clear();
}

RecordWriter& EarlierCatalogue::withRow(RecordWriter& record, const Row& row) {
    return record.number(row.tableAt)
        .number(row.stateAt)
        .number(std::uint64_t{row.tableSize} << 32 | row.stateSize);
}

EarlierCatalogue::Row EarlierCatalogue::rowOf(RecordReader& fields) {
    Row row;
    row.tableAt = fields.number();
    row.stateAt = fields.number();
    const std::uint64_t sizes = fields.number();
    row.tableSize = static_cast<std::uint32_t>(sizes >> 32);
    row.stateSize = static_cast<std::uint32_t>(sizes);
    return row;
}

std::optional<CatalogueEntry> EarlierCatalogue::entryAt(const Row& row) {
    return earlierEntryOf(lineAt(table_, row.tableAt, row.tableSize),
                          lineAt(state_, row.stateAt, row.stateSize));
}

std::optional<CatalogueEntry> EarlierCatalogue::earlierOf(const std::string& location) {
    const std::uint64_t hash = hashOf(location);
    // From the stretch before the first that begins at hash or after: rows of one hash may
    // end the one before.
    const auto next = std::lower_bound(firstOfStretch_.begin(), firstOfStretch_.end(), hash);
    for (auto stretch = static_cast<std::uint64_t>(
             std::max<std::ptrdiff_t>(next - firstOfStretch_.begin() - 1, 0));
         stretch * kIndexStep < rowCount_; ++stretch) {
        const std::uint64_t first = stretch * kIndexStep;
        const std::uint64_t count = std::min<std::uint64_t>(kIndexStep, rowCount_ - first);
        const std::string rows = rows_->slice(rowsIn_, first * kRowBytes, count * kRowBytes);
        RecordReader fields(rows);
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t key = fields.number();
            const Row row = rowOf(fields);
            if (key > hash) {
                return std::nullopt;
            }
            if (key == hash) {
                if (auto entry = entryAt(row); entry && entry->location == location) {
                    return entry;
                }
            }
        }
    }
    return std::nullopt;
}

EarlierCatalogue::Kept EarlierCatalogue::keptOf(const PlanPart& part,
                                                const std::string& sheetFile) {
    Kept kept{std::vector<std::optional<CatalogueEntry>>(part.items.size()), false};
    bool every = true;
    for (std::size_t i = 0; i < part.items.size() && rowCount_ > 0; ++i) {
        const BatchItem& item = part.items[i];
        std::optional<CatalogueEntry> earlier = earlierOf(printable(item.screenFile.path()));
        if (earlier &&
            earlier->sourceKey == sourceKey(jobOf(options_, item), folders_.thumbnailSize) &&
            stillThere(item, folders_, *earlier)) {
            kept.entries[i] = std::move(earlier);
        }
        every = every && kept.entries[i].has_value();
    }
    if (!sheetFile.empty() && sheets_) {
        sheets_->add(RecordWriter().text(sheetFile).number(kNamed).take());
        std::error_code error;
        kept.sheet = rowCount_ > 0 && every && std::filesystem::is_regular_file(sheetFile, error);
        keptSheets_ += kept.sheet ? 1 : 0;
    }
    return kept;
}

void EarlierCatalogue::named(const std::string& picture) {
    // A picture of another name with the same hash stays too: a file kept, never one lost.
    if (pictures_) {
        pictures_->add(RecordWriter().number(hashOf(printable(picture))).number(kNamed).take());
    }
}

void EarlierCatalogue::removeUnused() {
    if (rowCount_ == 0) {
        return;
    }
    std::optional<std::uint64_t> named;
    pictures_->drain([&](std::string_view record) {
        RecordReader fields(record);
        const std::uint64_t hash = fields.number();
        if (fields.number() == kNamed) {
            named = hash;
            return;
        }
        if (named == hash) {
            return;
        }
        if (const auto entry = entryAt(rowOf(fields))) {
            removeMade(folders_.root, entry->picture);
            removeMade(folders_.root, entry->thumbnail);
        }
    });
    std::error_code error;
    for (auto file = std::filesystem::recursive_directory_iterator(folders_.sheets, error);
         !error && file != std::filesystem::recursive_directory_iterator(); file.increment(error)) {
        if (file->path().extension() == ".png" && file->is_regular_file(error)) {
            sheets_->add(RecordWriter().text(file->path().string()).number(kMade).take());
        }
    }
    std::string sheet;
    sheets_->drain([&](std::string_view record) {
        RecordReader fields(record);
        const std::string_view path = fields.text();
        if (fields.number() == kNamed) {
            sheet = path;
        } else if (path != sheet) {
            std::error_code ignored;
            std::filesystem::remove(std::string(path), ignored);
        }
    });
}

} // namespace tessarin::exporter
