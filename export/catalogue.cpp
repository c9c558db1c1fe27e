#include "export/catalogue.h"

#include "convert/encode.h"
#include "export/catalogue_entry.h"
#include "export/catalogue_table.h"
#include "export/contact_sheet.h"
#include "export/earlier_catalogue.h"
#include "export/exporter.h"
#include "export/gallery_pages.h"
#include "export/near_duplicates.h"
#include "export/output_names.h"
#include "export/parallel_exports.h"
#include "export/picture_hash.h"
#include "export/printable.h"
#include "export/progress_bar.h"
#include "export/source_key.h"
#include "export/streamed_file.h"
#include "platform/file_error.h"
#include "platform/target_file.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

namespace tessarin::exporter {

namespace {

constexpr const char* kProgram = "tessarin-export: ";
constexpr std::int16_t kThumbnailSize = 128;

void makeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw FileError(folder, "Cannot create folder \"" + folder + "\": " + error.message());
    }
}

// The disk or archive whose contact sheet shows the file; empty for a folder's file.
std::string sheetKeyOf(const BatchItem& item) {
    const Location& file = item.job.screenFile;
    return file.throughPlace() ? file.folder().path() : std::string();
}

// Each item's sheetKeyOf.
std::vector<std::string> sheetKeysOf(const BatchPlan& plan) {
    std::vector<std::string> keys;
    keys.reserve(plan.items.size());
    for (const BatchItem& item : plan.items) {
        keys.push_back(sheetKeyOf(item));
    }
    return keys;
}

// The file of each disk's and archive's sheet in folder, named as a batch names outputs.
std::map<std::string, std::string> sheetNames(const BatchPlan& plan, const std::string& folder) {
    std::vector<std::string> keys;
    for (const BatchItem& item : plan.items) {
        if (std::string key = sheetKeyOf(item);
            !key.empty() && std::ranges::find(keys, key) == keys.end()) {
            keys.push_back(std::move(key));
        }
    }
    std::vector<WantedName> wanted;
    for (const std::string& key : keys) {
        std::string longer = key;
        std::ranges::replace(longer, '/', '_');
        wanted.push_back({std::filesystem::path(key).filename().string(), longer, ".png"});
    }
    const std::vector<std::string> names = outputNames(wanted);
    std::map<std::string, std::string> files;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        files[keys[i]] = folder + "/" + names[i];
    }
    return files;
}

std::size_t threadCount(const ExportOptions& options, std::size_t items) {
    const std::size_t wanted = options.jobs ? static_cast<std::size_t>(*options.jobs)
                                            : std::max(1U, std::thread::hardware_concurrency());
    return std::clamp<std::size_t>(wanted, 1, std::max<std::size_t>(items, 1));
}

// Takes the results in the plan's order: the progress, the messages, each disk's sheet
// once its pictures are done, the entries for the pages.
class CatalogueRun {
public:
    CatalogueRun(const ExportOptions& options, const BatchPlan& plan, std::ostream& err,
                 bool progress)
        : options_(options), plan_(plan), err_(err),
          bar_(err, progress && !options.quiet, plan.items.size()),
          folders_{options.catalogueDir, options.outDir, options.catalogueDir + "/thumbs",
                   options.sheetsOnly, options.thumbnailSize.value_or(kThumbnailSize)},
          sheetFolder_(options.sheetsOnly ? options.catalogueDir
                                          : options.catalogueDir + "/sheets"),
          sheets_(sheetNames(plan, sheetFolder_)), sheetKeys_(sheetKeysOf(plan)),
          earlier_(plan, folders_, options.skipExisting, sheets_, sheetKeys_) {}

    void run(std::size_t threads) {
        for (const FileError& problem : plan_.damage) {
            problem_(printable(problem.what()));
        }
        for (const FileError& problem : plan_.unreadable) {
            problem_(printable(problem.what()));
        }
        for (const SkippedFile& skipped : plan_.skipped) {
            gallery_.leftOut.push_back(skipped.file + ": " + skipped.reason);
        }
        if (!options_.sheetsOnly) {
            table_.emplace(options_.catalogueDir + "/" + std::string(kTableFile)).add(kTableHeader);
            state_.emplace(options_.catalogueDir + "/" + std::string(kStateFile)).add(kStateHeader);
        }
        std::vector<std::unique_ptr<CatalogueEntry>> made(plan_.items.size());
        ParallelExports exports(
            plan_,
            [&](std::size_t i) {
                made[i] = std::make_unique<CatalogueEntry>(entryOf(i));
                return ItemResult{Outcome::written, {}, {}, {}};
            },
            threads);
        for (std::size_t i = 0; i < plan_.items.size(); ++i) {
            const BatchItem& item = plan_.items[i];
            bar_.show(i, item.job.screenFile.path());
            ItemResult result = exports.wait(i);
            if (result.unexpected) {
                std::rethrow_exception(result.unexpected);
            }
            if (result.outcome != Outcome::written) {
                ++failed_;
                const std::string& path = item.job.screenFile.path();
                problem_(result.failure.starts_with(path + ": ")
                             ? printable(result.failure)
                             : printable(path) + ": " + printable(result.failure));
                continue;
            }
            take(sheetKeys_[i], std::move(*made[i]));
            made[i].reset();
        }
        flushSheet();
        bar_.finish();
    }

    // The table and its state, then the pages, unless only the sheets are wanted; what an
    // earlier run made that this one does not name is removed. The groups are found.
    void writeCatalogue() {
        gallery_.groups = duplicateGroups(gallery_.entries);
        std::vector<std::uint64_t> nearHashes;
        nearHashes.reserve(gallery_.groups.size());
        for (const auto& group : gallery_.groups) {
            nearHashes.push_back(gallery_.entries[group.front()].nearHash);
        }
        gallery_.nearGroups = nearDuplicateGroups(nearHashes);
        if (options_.sheetsOnly) {
            return;
        }
        // The table first: a state older than its table only makes pictures read again.
        table_->finish();
        state_->finish();
        writeGallery(options_.catalogueDir, gallery_);
        earlier_.removeUnused(gallery_.entries, sheetFolder_);
    }

    // The summary, and the exit status.
    [[nodiscard]] int finish(std::ostream& out) {
        if (!options_.quiet) {
            const std::size_t duplicated = std::ranges::count_if(
                gallery_.groups, [](const auto& group) { return group.size() > 1; });
            err_ << kProgram << gallery_.entries.size() << " pictures catalogued ("
                 << gallery_.groups.size() << " distinct, " << duplicated << " duplicate groups), "
                 << gallery_.nearGroups.size() << " near-duplicate groups, " << sheetsWritten_
                 << " contact sheets written";
            if (options_.skipExisting) {
                err_ << ", " << kept_ << " pictures and " << earlier_.keptSheets()
                     << " contact sheets kept";
            }
            err_ << ", " << failed_ << " failed, " << (gallery_.problems.size() - failed_)
                 << " problems on disks" << '\n';
            if (!options_.sheetsOnly &&
                !writeChecked(out, err_, printable(options_.catalogueDir) + "/index.html\n")) {
                return kExitFileError;
            }
        }
        return gallery_.problems.empty() ? kExitSuccess : kExitFileError;
    }

private:
    // Item i's entry: the earlier run's while its sources are unchanged, else made anew.
    CatalogueEntry entryOf(std::size_t i) {
        const BatchItem& item = plan_.items[i];
        CatalogueEntry entry;
        const CatalogueEntry* earlier = earlier_.kept(i);
        // Before the files are read: one changed while it is read is read again next time.
        const std::string key =
            earlier ? earlier->sourceKey : sourceKey(item.job, folders_.thumbnailSize);
        if (earlier) {
            try {
                entry = keptEntry(item, folders_, *earlier,
                                  !sheetKeys_[i].empty() && !earlier_.sheetKept(sheetKeys_[i]));
                ++kept_;
            } catch (const FileError&) {
                entry = catalogueEntryOf(item, folders_); // its thumbnail spoilt: made anew
            }
        } else {
            entry = catalogueEntryOf(item, folders_);
        }
        entry.sourceKey = key;
        return entry;
    }

    void problem_(const std::string& message) {
        gallery_.problems.push_back(message);
        bar_.clear();
        err_ << kProgram << message << '\n';
    }

    // The entry for the pages; its thumbnail onto the sheet of its disk or archive.
    void take(const std::string& key, CatalogueEntry entry) {
        if (key != sheetKey_) {
            flushSheet();
            sheetKey_ = key;
        }
        if (!key.empty() && !entry.sheetThumbnail.empty()) { // none for a sheet that stays
            thumbnails_.push_back(std::move(entry.sheetThumbnail));
        }
        entry.sheetThumbnail = Picture();
        if (table_) {
            table_->add(tableRow(entry));
            state_->add(stateRow(entry));
        }
        // What only the rows tell, not kept for the pages.
        entry.layout = std::string();
        entry.palette = std::string();
        entry.sourceKey = std::string();
        gallery_.entries.push_back(std::move(entry));
    }

    void flushSheet() {
        if (thumbnails_.empty()) {
            return;
        }
        const std::string& target = sheets_.at(sheetKey_);
        try {
            makeFolder(std::filesystem::path(target).parent_path().string());
            writeTargetFile(
                target,
                encode(contactSheet(thumbnails_, folders_.thumbnailSize), ImageFormat::png)
                    .pieces(),
                ReplaceMode::replace);
            ++sheetsWritten_;
        } catch (const FileError& e) {
            problem_(printable(e.what()));
        }
        thumbnails_.clear();
    }

    const ExportOptions& options_;
    const BatchPlan& plan_;
    std::ostream& err_;
    ProgressBar bar_;
    CatalogueFolders folders_;
    std::string sheetFolder_;
    std::map<std::string, std::string> sheets_;
    std::vector<std::string> sheetKeys_; // of each item
    EarlierCatalogue earlier_;
    std::atomic<std::size_t> kept_ = 0;
    std::optional<StreamedFile> table_;
    std::optional<StreamedFile> state_;
    Gallery gallery_;
    std::size_t failed_ = 0;
    std::size_t sheetsWritten_ = 0;
    std::string sheetKey_;
    std::vector<Picture> thumbnails_;
};

} // namespace

int runCatalogue(const ExportOptions& options, const BatchPlan& plan, std::ostream& out,
                 std::ostream& err, bool progress) {
    try {
        makeFolder(options.catalogueDir);
        if (!options.sheetsOnly) {
            makeFolder(options.outDir);
            makeFolder(options.catalogueDir + "/thumbs");
            const CatalogueFolders folders{options.catalogueDir, options.outDir,
                                           options.catalogueDir + "/thumbs", false, 0};
            for (const std::string& folder : plan.folders) {
                makeFolder(folder);
                makeFolder(thumbnailPathOf(folders, folder));
            }
        }
        CatalogueRun run(options, plan, err, progress);
        run.run(threadCount(options, plan.items.size()));
        run.writeCatalogue();
        return run.finish(out);
    } catch (const FileError& e) {
        err << kProgram << printable(e.what()) << '\n';
        return kExitFileError;
    }
}

} // namespace tessarin::exporter
