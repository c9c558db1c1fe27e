#include "export/catalogue.h"

#include "convert/encode.h"
#include "export/catalogue_entry.h"
#include "export/catalogue_table.h"
#include "export/contact_sheet.h"
#include "export/earlier_catalogue.h"
#include "export/exporter.h"
#include "export/gallery_pages.h"
#include "export/ordered_parts.h"
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
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
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

// Takes the results in the walk's order: the progress, the messages, each disk's sheet
// once its pictures are done, the entries for the pages.
class CatalogueRun : public PartReader {
public:
    CatalogueRun(const ExportOptions& options, std::ostream& err, bool progress, std::size_t total)
        : options_(options), err_(err),
          bar_(err, progress, total), folders_{options.catalogueDir,
                                               options.outDir,
                                               options.catalogueDir + "/thumbs",
                                               options.sheetsOnly
                                                   ? options.catalogueDir
                                                   : options.catalogueDir + "/sheets",
                                               options.sheetsOnly,
                                               options.thumbnailSize.value_or(kThumbnailSize)},
          gallery_(options.catalogueDir), earlier_(options, folders_) {
        if (!options_.sheetsOnly) {
            table_.emplace(options_.catalogueDir + "/" + std::string(kTableFile)).add(kTableHeader);
            state_.emplace(options_.catalogueDir + "/" + std::string(kStateFile)).add(kStateHeader);
        }
    }

    [[nodiscard]] const CatalogueFolders& folders() const { return folders_; }

    // Before part's items are converted: what of them stays as an earlier run made it.
    void arrive(const PlanPart& part) {
        const std::string sheet =
            part.sheetFolder.empty() ? std::string() : sheetPathOf(folders_, part.sheetFolder);
        EarlierCatalogue::Kept kept = earlier_.keptOf(part, sheet);
        const std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < part.items.size(); ++i) {
            plans_[&part.items[i]] = {std::move(kept.entries[i]), !sheet.empty() && !kept.sheet};
        }
    }

    // A worker's entry of item: the earlier run's while its sources are unchanged, else made
    // anew; held until it is taken.
    ItemResult work(const BatchItem& item) {
        Plan plan;
        {
            const std::lock_guard lock(mutex_);
            plan = plans_.at(&item); // a copy: a conversion short of memory is tried again
        }
        CatalogueEntry entry = entryOf(item, plan);
        const std::lock_guard lock(mutex_);
        made_.insert_or_assign(&item, std::move(entry));
        return ItemResult{Outcome::written, {}, {}, {}};
    }

    void begin(const PlanPart& part) override {
        for (const FileError& problem : part.damage) {
            problem_(printable(problem.what()));
        }
        for (const FileError& problem : part.unreadable) {
            problem_(printable(problem.what()));
        }
        for (const SkippedFile& skipped : part.skipped) {
            gallery_.addLeftOut(skipped.file + ": " + skipped.reason);
        }
    }

    bool take(const PlanPart& part, std::size_t i, ItemResult result) override {
        const BatchItem& item = part.items[i];
        if (result.unexpected) {
            std::rethrow_exception(result.unexpected);
        }
        bar_.show(++taken_, item.screenFile.path());
        std::optional<CatalogueEntry> entry;
        {
            const std::lock_guard lock(mutex_);
            plans_.erase(&item);
            if (const auto at = made_.find(&item); at != made_.end()) {
                entry = std::move(at->second);
                made_.erase(at);
            }
        }
        if (result.outcome != Outcome::written) {
            ++failed_;
            const std::string& path = item.screenFile.path();
            problem_(result.failure.starts_with(path + ": ")
                         ? printable(result.failure)
                         : printable(path) + ": " + printable(result.failure));
            return true;
        }
        if (!part.sheetFolder.empty() && !entry->sheetThumbnail.empty()) {
            thumbnails_.push_back(std::move(entry->sheetThumbnail)); // none for a sheet that stays
        }
        entry->sheetThumbnail = Picture();
        if (table_) {
            table_->add(tableRow(*entry));
            state_->add(stateRow(*entry));
        }
        earlier_.named(entry->picture);
        gallery_.add(*entry);
        return true;
    }

    // The part's contact sheet, once all its pictures are in.
    void end(const PlanPart& part) override {
        if (thumbnails_.empty()) {
            return;
        }
        const std::string target = sheetPathOf(folders_, part.sheetFolder);
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

    // The table and its state, then the pages, unless only the sheets are wanted; what an
    // earlier run made that this one does not name is removed. The groups are found.
    void writeCatalogue() {
        bar_.finish();
        if (options_.sheetsOnly) {
            groups_ = gallery_.finish(false);
            return;
        }
        // The table first: a state older than its table only makes pictures read again.
        table_->finish();
        state_->finish();
        groups_ = gallery_.finish(true);
        earlier_.removeUnused();
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
    // What arrive decided of an item: its earlier entry, and whether its thumbnail goes onto
    // a contact sheet made anew.
    struct Plan {
        std::optional<CatalogueEntry> earlier;
        bool forSheet = false;
    };

    CatalogueEntry entryOf(const BatchItem& item, const Plan& plan) {
        CatalogueEntry entry;
        if (plan.earlier) {
            try {
                entry = keptEntry(item, folders_, *plan.earlier, plan.forSheet);
                ++kept_;
            } catch (const FileError&) {
                // Its thumbnail spoilt: made anew.
                entry = catalogueEntryOf(item, jobOf(options_, item), folders_);
            }
            entry.sourceKey = plan.earlier->sourceKey;
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

    const ExportOptions& options_;
    std::ostream& err_;
    ProgressBar bar_;
    CatalogueFolders folders_;
    Gallery gallery_; // first: it clears the scratch files an interrupted run left
    EarlierCatalogue earlier_;
    std::atomic<std::size_t> kept_ = 0;
    std::optional<StreamedFile> table_;
    std::optional<StreamedFile> state_;
    Gallery::Groups groups_;
    std::size_t taken_ = 0;
    std::size_t failed_ = 0;
    std::size_t sheetsWritten_ = 0;
    std::vector<Picture> thumbnails_;
    // The items added and not yet taken: a bounded few, as the workers run ahead.
    std::mutex mutex_;
    std::unordered_map<const BatchItem*, Plan> plans_;
    std::unordered_map<const BatchItem*, CatalogueEntry> made_;
};

// The catalogue of the walk, made once a part holds a picture or a file left out: a batch
// that is a usage error leaves nothing behind.
class Catalogue {
public:
    Catalogue(const ExportOptions& options, std::ostream& err, bool progress, std::size_t total)
        : options_(options), err_(err), progress_(progress), total_(total) {}

    // Makes the part's folders and adds its items; false once no more are wanted.
    bool add(PlanPart&& part) {
        if (!run_) {
            makeFolder(options_.catalogueDir);
            if (!options_.sheetsOnly) {
                makeFolder(options_.outDir);
                makeFolder(options_.catalogueDir + "/thumbs");
            }
            run_.emplace(options_, err_, progress_, total_);
            exports_.emplace(
                [this](const BatchItem& item, std::size_t) { return run_->work(item); },
                threadCount(options_));
            parts_.emplace(*exports_, *run_);
        }
        if (!options_.sheetsOnly) {
            for (const std::string& folder : part.folders) {
                makeFolder(folder);
                makeFolder(thumbnailPathOf(run_->folders(), folder));
            }
        }
        auto shared = std::make_shared<const PlanPart>(std::move(part));
        run_->arrive(*shared);
        return parts_->add(std::move(shared));
    }

    // Takes what is left, writes the catalogue and tells of it; the exit status.
    [[nodiscard]] int finish(std::ostream& out) {
        parts_->finish();
        parts_.reset();
        exports_.reset();
        run_->writeCatalogue();
        return run_->finish(out);
    }

private:
    const ExportOptions& options_;
    std::ostream& err_;
    bool progress_;
    std::size_t total_;
    std::optional<CatalogueRun> run_;
    std::optional<ParallelExports> exports_; // after run_: gone before it
    std::optional<OrderedParts> parts_;
};

} // namespace

int runCatalogue(const ExportOptions& options, std::size_t total, std::ostream& out,
                 std::ostream& err, bool progress) {
    Catalogue catalogue(options, err, progress, total);
    if (const auto usage = planBatch(
            options, [&catalogue](PlanPart&& part) { return catalogue.add(std::move(part)); })) {
        err << kProgram << printable(usage->message) << '\n';
        return kExitUsage;
    }
    return catalogue.finish(out);
}

} // namespace tessarin::exporter
