#include "export/exporter.h"

#include "catalog/file_source.h"
#include "export/batch_plan.h"
#include "export/catalogue.h"
#include "export/name_list.h"
#include "export/ordered_parts.h"
#include "export/parallel_exports.h"
#include "export/picture_job.h"
#include "export/progress_bar.h"
#include "image/image_input.h"
#include "platform/file_error.h"
#include "vdp/screen_modes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iterator>
#include <new>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <thread>

namespace tessarin::exporter {

namespace {

constexpr const char* kProgram = "tessarin-export: ";

// The line of the listing for one written output; false once standard output failed.
bool list(std::ostream& out, std::ostream& err, const std::string& line) {
    return writeChecked(out, err, printable(line) + '\n');
}

// The listing's line of an output: its name, and with -v the colour error of a screen file.
std::string listed(const ExportOptions& options, const std::string& output,
                   const std::optional<ColourErrorFigures>& error) {
    if (!options.verbose || !error) {
        return output;
    }
    std::array<char, 96> figures{};
    std::snprintf(figures.data(), figures.size(),
                  " (colour difference: %.2f pixel by pixel, %.2f seen from a distance)",
                  error->pixel, error->blurred);
    return output + figures.data();
}

// A message on standard error; false once that failed, when the batch cannot tell of more.
bool report(std::ostream& err, const std::string& message) {
    err << kProgram << message << '\n';
    return static_cast<bool>(err);
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Why OUTDIR, which create_directories could not make, is not one: a symbolic link to
// nothing is told as such, not as the "File exists" of mkdir.
std::string outDirProblem(const std::string& outDir, const std::error_code& error) {
    struct stat link {};
    std::error_code ignored;
    if (::lstat(outDir.c_str(), &link) == 0 && S_ISLNK(link.st_mode) &&
        !std::filesystem::exists(outDir, ignored)) {
        return "it is a symbolic link to \"" +
               std::filesystem::read_symlink(outDir, ignored).string() + "\", which does not exist";
    }
    return error ? error.message() : std::string("it is not a directory");
}

// OUTDIR and its parents, made when missing; false after one message saying why not.
bool makeOutDir(const std::string& outDir, std::ostream& err) {
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (!error && isDirectory(outDir)) {
        return true;
    }
    err << kProgram << "Cannot create output directory \"" << printable(outDir)
        << "\": " << printable(outDirProblem(outDir, error)) << '\n';
    return false;
}

// Why no thumbnail is made of the FILE: only a picture file has one, so that a file
// manager keeps its own icon for anything else. A disk image stands for its first picture
// and fails when it holds none.
std::optional<std::string_view> noThumbnail(const ExportOptions& options, const Location& file) {
    if (!options.thumbnailSize || file.holdsFiles()) {
        return std::nullopt;
    }
    const PictureKind kind = fileSource().pictureKindOf(file);
    return kind.picture ? std::nullopt : std::optional(reasonText(kind.reason));
}

int runSingle(const ExportOptions& options, std::ostream& out, std::ostream& err) {
    const Location screenFile = Location::of(options.screenFile);
    if (const auto why = noThumbnail(options, screenFile)) {
        err << kProgram << printable(options.screenFile) << ": " << *why << "; no thumbnail made\n";
        return kExitFileError;
    }
    std::optional<ColourErrorFigures> error;
    try {
        const PictureJob job = jobFor(options, screenFile, options.paletteFile);
        // A PNG or JPEG picture has no screen mode of its own to tell.
        if (options.verbose && !isImageInputName(screenFile.path())) {
            err << kProgram << "note: screen " << screenTitle(job.screenMode) << '\n';
        }
        if (options.verbose && !job.note.empty()) {
            err << kProgram << "note: " << printable(job.note) << '\n';
        }
        error = exportPicture(job, options.output, *options.format, Overwrite::replace);
    } catch (const FileError& e) {
        err << kProgram << printable(e.what()) << '\n';
        return kExitFileError;
    } catch (const std::bad_alloc&) {
        err << kProgram << printable(options.screenFile) << ": " << kOutOfMemory << '\n';
        return kExitFileError;
    }
    if ((!options.quiet || (options.verbose && error)) &&
        !list(out, err, listed(options, options.output, error))) {
        return kExitFileError;
    }
    return kExitSuccess;
}

// How many files of a batch came to what.
struct Counts {
    std::size_t items = 0; // results taken
    std::size_t written = 0;
    std::size_t skipped = 0;
    std::size_t failed = 0;
    std::size_t notTried = 0;
    std::size_t damaged = 0;    // problems the disk images' reader found
    std::size_t unreadable = 0; // folders that could not be listed
};

// Takes the results in the walk's order and tells of each: the output of one thread.
class BatchReport : public PartReader {
public:
    BatchReport(const ExportOptions& options, std::ostream& out, std::ostream& err, bool progress,
                std::size_t total)
        : options_(options), out_(out), err_(err), bar_(err, progress, total),
          listing_(!options.quiet) {}

    // The part's notes, unless quiet, and the problems its walk found.
    void begin(const PlanPart& part) override {
        if (!options_.quiet) {
            for (const std::string& palette : part.unusedPalettes) {
                say("note: palette file \"" + printable(palette) +
                    "\" has no screen file of the same base name");
            }
            for (const SkippedFile& skipped : part.skipped) {
                say("note: left out \"" + printable(skipped.file) + "\": " + skipped.reason);
            }
        }
        for (const FileError& damage : part.damage) {
            ++counts_.damaged;
            say(printable(damage.what()));
        }
        for (const FileError& folder : part.unreadable) {
            ++counts_.unreadable;
            say(printable(folder.what()));
        }
    }

    // Counts and tells of one result; false once nothing more can come of the batch:
    // standard output or error failed, or OUTDIR is gone.
    bool take(const PlanPart& part, std::size_t i, ItemResult result) override {
        const BatchItem& item = part.items[i];
        if (result.unexpected) {
            std::rethrow_exception(result.unexpected);
        }
        bar_.show(++counts_.items, item.screenFile.path());
        Outcome outcome = result.outcome;
        if (outcome == Outcome::failed && (outDirGone_ || !isDirectory(options_.outDir))) {
            if (!outDirGone_) {
                say("Output directory \"" + printable(options_.outDir) +
                    "\" is gone: the files left are not tried");
            }
            outDirGone_ = true;
            outcome = Outcome::notTried;
        }
        switch (outcome) {
        case Outcome::written:
            ++counts_.written;
            show(listed(options_, item.output, result.colourError) +
                 (item.renamed ? " (from " + item.screenFile.path() + ")" : ""));
            break;
        case Outcome::skipped:
            ++counts_.skipped;
            show(item.output + " (skipped: it exists)");
            break;
        case Outcome::failed:
            ++counts_.failed;
            // A fault inside a disk image names the file already.
            say(result.failure.starts_with(item.screenFile.path() + ": ")
                    ? printable(result.failure)
                    : printable(item.screenFile.path()) + ": " + printable(result.failure));
            break;
        case Outcome::notTried:
            ++counts_.notTried;
            break;
        }
        return errorsShown_ && !outDirGone_ && (listing_ || options_.quiet);
    }

    void end(const PlanPart&) override {}

    // The summary on err ("N of M files failed" when some did, then the counts), and the
    // exit status.
    [[nodiscard]] int finish() {
        bar_.finish();
        if (counts_.items == 0 && counts_.damaged == 0 && counts_.unreadable == 0) {
            // Every file left out (a folder of PNGs without a screen file): nothing was done.
            say("nothing to convert: no screen file among the FILEs");
            return kExitFileError;
        }
        if (counts_.failed > 0 && errorsShown_) {
            errorsShown_ = report(err_, std::to_string(counts_.failed) + " of " +
                                            std::to_string(counts_.items) + " files failed");
        }
        if (!options_.quiet && errorsShown_) {
            std::string line = std::to_string(counts_.written) + " written, " +
                               std::to_string(counts_.skipped) + " skipped, " +
                               std::to_string(counts_.failed) + " failed";
            if (counts_.notTried > 0) {
                line += ", " + std::to_string(counts_.notTried) + " not tried";
            }
            if (counts_.damaged > 0) {
                line += ", " + std::to_string(counts_.damaged) + " problems on disks";
            }
            if (counts_.unreadable > 0) {
                line += ", " + std::to_string(counts_.unreadable) + " folders not read";
            }
            errorsShown_ = report(err_, line);
        }
        const bool complete = counts_.failed == 0 && counts_.notTried == 0 &&
                              counts_.damaged == 0 && counts_.unreadable == 0;
        return complete && errorsShown_ && (listing_ || options_.quiet) ? kExitSuccess
                                                                        : kExitFileError;
    }

private:
    // A line of the listing; the first failure to write it ends the listing.
    void show(const std::string& line) {
        if (listing_) {
            bar_.clear();
            listing_ = list(out_, err_, line);
        }
    }

    // A message on err; the first failure to write it ends the messages.
    void say(const std::string& message) {
        if (errorsShown_) {
            bar_.clear();
            errorsShown_ = report(err_, message);
        }
    }

    const ExportOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    ProgressBar bar_;
    Counts counts_;
    bool listing_;
    bool errorsShown_ = true;
    bool outDirGone_ = false;
};

// The FILEs of the command line and those of --files-from.
ExportOptions withListedFiles(const ExportOptions& options) {
    ExportOptions all = options;
    if (!options.filesFrom.empty()) {
        std::vector<std::string> listed =
            readNameList(options.filesFrom, options.filesFromSeparator);
        all.files.insert(all.files.end(), std::make_move_iterator(listed.begin()),
                         std::make_move_iterator(listed.end()));
    }
    return all;
}

// Tells of a usage error; its exit status.
int usageFailed(std::ostream& err, const UsageError& usage) {
    err << kProgram << printable(usage.message) << '\n';
    return kExitUsage;
}

int runBatch(const ExportOptions& given, std::ostream& out, std::ostream& err, bool progress) {
    const bool bar = progress && !given.quiet;
    try {
        ExportOptions options = withListedFiles(given);
        if (options.catalogue()) {
            // The catalogue's pictures are the batch's outputs, named as it names them.
            options.outDir = options.catalogueDir + "/pictures";
        }
        std::size_t total = 0;
        if (bar) {
            // A walk that only counts, so that the bar knows its end.
            if (const auto usage = planBatch(options, [&total](PlanPart&& part) {
                    total += part.items.size();
                    return true;
                })) {
                return usageFailed(err, *usage);
            }
        }
        if (options.catalogue()) {
            return runCatalogue(options, total, out, err, bar);
        }
        BatchReport report(options, out, err, bar, total);
        bool outDirMade = false;
        std::optional<UsageError> usage;
        {
            ParallelExports exports(options, threadCount(options));
            OrderedParts parts(exports, report);
            usage = planBatch(options, [&](PlanPart&& part) {
                if (!outDirMade && !makeOutDir(options.outDir, err)) {
                    return false;
                }
                outDirMade = true;
                for (const std::string& folder : part.folders) {
                    // One that cannot be made (a name past the system's limit) fails its
                    // files, each named, and the batch goes on.
                    makeOutDir(folder, err);
                }
                return parts.add(std::make_shared<const PlanPart>(std::move(part)));
            });
            parts.finish();
        }
        if (usage) {
            return usageFailed(err, *usage);
        }
        return outDirMade ? report.finish() : kExitFileError;
    } catch (const FileError& e) {
        err << kProgram << printable(e.what()) << '\n';
        return kExitFileError;
    } catch (const std::bad_alloc&) {
        err << kProgram << "not enough memory to plan the batch"
            << (given.filesFrom.empty() ? "" : " of \"" + printable(given.filesFrom) + "\"")
            << '\n';
        return kExitFileError;
    }
}

} // namespace

bool writeChecked(std::ostream& out, std::ostream& err, std::string_view text) {
    if (!out) {
        return false;
    }
    errno = 0;
    out << text << std::flush;
    if (out) {
        return true;
    }
    const int error = errno;
    err << kProgram << "Cannot write to standard output"
        << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
    return false;
}

int runExport(const ExportOptions& options, std::ostream& out, std::ostream& err, bool progress) {
    return options.batch() || options.catalogue() ? runBatch(options, out, err, progress)
                                                  : runSingle(options, out, err);
}

} // namespace tessarin::exporter
