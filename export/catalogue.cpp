#include "export/catalogue.h"

#include "convert/encode.h"
#include "export/catalogue_entry.h"
#include "export/catalogue_table.h"
#include "export/contact_sheet.h"
#include "export/earlier_catalogue.h"
#include "export/exporter.h"
#include "export/gallery_pages.h"
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
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_set>
#include <unordered_map>

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

// The file of each disk's and archive's sheet in folder, named as a batch names outputs.
std::map<std::string, std::string> sheetNames(const BatchPlan& plan, const std::string& folder) {
    // In the order first met; a set keeps the walk linear in the pictures.
    std::vector<std::string> keys;
    std::unordered_set<std::string> seen;
    for (const BatchItem& item : plan.items) {
        if (std::string key = sheetKeyOf(item); !key.empty() && seen.insert(key).second) {
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
          sheets_(sheetNames(plan, sheetFolder_)), earlier_(plan, options, folders_, sheets_),
          gallery_(options.catalogueDir) {}

    void run(std::size_t threads) {
        for (const FileError& problem : plan_.damage) {
            problem_(printable(problem.what()));
        }
        for (const FileError& problem : plan_.unreadable) {
            problem_(printable(problem.what()));
        }
        for (const SkippedFile& skipped : plan_.skipped) {
            gallery_.addLeftOut(skipped.file + ": " + skipped.reason);
        }
        if (!options_.sheetsOnly) {
            table_.emplace(options_.catalogueDir + "/" + std::string(kTableFile)).add(kTableHeader);
            state_.emplace(options_.catalogueDir + "/" + std::string(kStateFile)).add(kStateHeader);
        }
        // The entries made and not yet taken: a bounded few, as the workers run ahead.
        std::mutex madeMutex;
        std::unordered_map<std::size_t, CatalogueEntry> made;
        ParallelExports exports(
            plan_,
            [&](std::size_t i) {
                CatalogueEntry entry = entryOf(i);
                const std::lock_guard lock(madeMutex);
                made.insert_or_assign(i, std::move(entry));
                return ItemResult{Outcome::written, {}, {}, {}};
            },
            threads);
        for (std::size_t i = 0; i < plan_.items.size(); ++i) {
            const BatchItem& item = plan_.items[i];
            bar_.show(i, item.screenFile.path());
            ItemResult result = exports.wait(i);
            if (result.unexpected) {
                std::rethrow_exception(result.unexpected);
            }
            if (result.outcome != Outcome::written) {
                ++failed_;
                const std::string& path = item.screenFile.path();
                problem_(result.failure.starts_with(path + ": ")
                             ? printable(result.failure)
                             : printable(path) + ": " + printable(result.failure));
                continue;
            }
            CatalogueEntry entry;
            {
                const std::lock_guard lock(madeMutex);
                const auto at = made.find(i);
                entry = std::move(at->second);
                made.erase(at);
            }
            take(sheetKeyOf(item), std::move(entry));
        }
        flushSheet();
        bar_.finish();
    }

    // The table and its state, then the pages, unless only the sheets are wanted; what an
    // earlier run made that this one does not name is removed. The groups are found.
    void writeCatalogue() {
        if (options_.sheetsOnly) {
            groups_ = gallery_.finish(false);
            return;
        }
        // The table first: a state older than its table only makes pictures read again.
        table_->finish();
        state_->finish();
        groups_ = gallery_.finish(true);
        earlier_.removeUnused(sheetFolder_);
    }

    // The summary, and the exit status.
    [[nodiscard]] int finish(std::ostream& out) {
        if (!options_.quiet) {
            err_ << kProgram << gallery_.pictures() << " pictures catalogued (" << groups_.distinct
                 << " distinct, " << groups_.duplicated << " duplicate groups), " << groups_.near
                 << " near-duplicate groups, " << sheetsWritten_ << " contact sheets written";
            if (options_.skipExisting) {
                err_ << ", " << kept_ << " pictures and " << earlier_.keptSheets()
                     << " contact sheets kept";
            }
            err_ << ", " << failed_ << " failed, " << (gallery_.problems() - failed_)
                 << " problems on disks" << '\n';
            if (!options_.sheetsOnly &&
                !writeChecked(out, err_, printable(options_.catalogueDir) + "/index.html\n")) {
                return kExitFileError;
            }
        }
        return gallery_.problems() == 0 ? kExitSuccess : kExitFileError;
    }

private:
    // Item i's entry: the earlier run's while its sources are unchanged, else made anew.
    CatalogueEntry entryOf(std::size_t i) {
        const BatchItem& item = plan_.items[i];
        CatalogueEntry entry;
        if (const CatalogueEntry* earlier = earlier_.kept(i)) {
            try {
                entry =
                    keptEntry(item, folders_, *earlier,
                              !sheetKeyOf(item).empty() && !earlier_.sheetKept(sheetKeyOf(item)));
                ++kept_;
            } catch (const FileError&) {
                // Its thumbnail spoilt: made anew.
                entry = catalogueEntryOf(item, jobOf(options_, item), folders_);
            }
            entry.sourceKey = earlier->sourceKey;
            return entry;
        }
        const PictureJob job = jobOf(options_, item);
        // Before the files are read: one changed while it is read is read again next time.
        const std::string key = sourceKey(job, folders_.thumbnailSize);
        entry = catalogueEntryOf(item, job, folders_);
        entry.sourceKey = key;
        return entry;
    }

    void problem_(const std::string& message) {
        gallery_.addProblem(message);
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
        earlier_.named(entry.picture);
        gallery_.add(entry);
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
    EarlierCatalogue earlier_;
    std::atomic<std::size_t> kept_ = 0;
    std::optional<StreamedFile> table_;
    std::optional<StreamedFile> state_;
    Gallery gallery_;
    Gallery::Groups groups_;
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
