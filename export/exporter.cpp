#include "export/exporter.h"

#include "export/batch_plan.h"
#include "export/conversion_gate.h"
#include "export/picture_job.h"
#include "export/progress_bar.h"
#include "platform/file_error.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace tessarin::exporter {

namespace {

constexpr const char* kProgram = "tessarin-export: ";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kUtf8C1Lead = 0xC2; // U+0080..U+009F are 0xC2 0x80..0x9F
constexpr unsigned char kC1First = 0x80;
constexpr unsigned char kC1Last = 0x9F;

void appendHex(std::string& out, unsigned char c) {
    constexpr std::array<char, 16> kDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                           '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    out += "\\x";
    out += kDigits[c >> 4];
    out += kDigits[c & 0xF];
}

std::string escapedControl(unsigned char c) {
    switch (c) {
    case '\a':
        return "\\a";
    case '\b':
        return "\\b";
    case '\t':
        return "\\t";
    case '\n':
        return "\\n";
    case '\v':
        return "\\v";
    case '\f':
        return "\\f";
    case '\r':
        return "\\r";
    case 0x1B:
        return "\\e";
    default: {
        std::string hex;
        appendHex(hex, c);
        return hex;
    }
    }
}

// The line of the listing for one written output; false once standard output failed.
bool list(std::ostream& out, std::ostream& err, const std::string& output) {
    return writeChecked(out, err, printable(output) + '\n');
}

// OUTDIR and its parents, made when missing; false after one message saying why not.
bool makeOutDir(const std::string& outDir, std::ostream& err) {
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (!error && std::filesystem::is_directory(outDir, error)) {
        return true;
    }
    err << kProgram << "Cannot create output directory \"" << printable(outDir)
        << "\": " << (error ? error.message() : std::string("it is not a directory")) << '\n';
    return false;
}

// What became of one file of a batch, kept until its turn in the listing.
struct ItemResult {
    bool done = false;
    std::optional<std::string> failure; // the FileError's message
    std::exception_ptr unexpected;      // anything else, rethrown in its turn
};

// Converts the items of a batch on worker threads, each taking the next item by index;
// every export has its own document, and the documents share nothing.
class ParallelExports {
public:
    ParallelExports(const BatchPlan& plan, ImageFormat format, std::size_t threads)
        : plan_(plan), format_(format), results_(plan.items.size()) {
        threads_.reserve(threads);
        for (std::size_t t = 0; t < threads; ++t) {
            try {
                threads_.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                // Fewer threads still convert every file; none at all is an error.
                if (threads_.empty()) {
                    throw;
                }
                break;
            }
        }
    }
    ParallelExports(const ParallelExports&) = delete;
    ParallelExports& operator=(const ParallelExports&) = delete;
    // Takes no more items and waits for those under way.
    ~ParallelExports() { next_.store(plan_.items.size()); }

    // The result of item i once it is done.
    [[nodiscard]] const ItemResult& wait(std::size_t i) {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return results_[i].done; });
        return results_[i];
    }

private:
    void work() {
        blockTerminationSignals();
        for (std::size_t i = next_++; i < plan_.items.size(); i = next_++) {
            if (!enterConversion()) {
                return;
            }
            ItemResult result;
            try {
                const BatchItem& item = plan_.items[i];
                exportPicture(item.job, item.output, format_, Overwrite::refuse);
            } catch (const FileError& e) {
                result.failure = e.what();
            } catch (...) {
                result.unexpected = std::current_exception();
            }
            leaveConversion();
            result.done = true;
            {
                const std::lock_guard lock(mutex_);
                results_[i] = std::move(result);
            }
            ready_.notify_all();
        }
    }

    const BatchPlan& plan_;
    ImageFormat format_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<ItemResult> results_;
    std::atomic<std::size_t> next_{0};
    std::vector<std::jthread> threads_; // last: joined before the rest goes
};

// -j, else one thread per processor; never more threads than files.
std::size_t threadCount(const ExportOptions& options, std::size_t items) {
    const std::size_t wanted = options.jobs ? static_cast<std::size_t>(*options.jobs)
                                            : std::max(1U, std::thread::hardware_concurrency());
    return std::clamp<std::size_t>(wanted, 1, std::max<std::size_t>(items, 1));
}

int runSingle(const ExportOptions& options, std::ostream& out, std::ostream& err) {
    try {
        exportPicture(jobFor(options, options.screenFile, options.paletteFile), options.output,
                      *options.format, Overwrite::replace);
    } catch (const FileError& e) {
        err << kProgram << printable(e.what()) << '\n';
        return kExitFileError;
    }
    if (!options.quiet && !list(out, err, options.output)) {
        return kExitFileError;
    }
    return kExitSuccess;
}

int runBatch(const ExportOptions& options, std::ostream& out, std::ostream& err, bool progress) {
    auto planned = planBatch(options);
    if (const auto* usage = std::get_if<UsageError>(&planned)) {
        err << kProgram << printable(usage->message) << '\n';
        return kExitUsage;
    }
    const BatchPlan& plan = std::get<BatchPlan>(planned);
    if (!makeOutDir(options.outDir, err)) {
        return kExitFileError;
    }
    if (!options.quiet) {
        for (const std::string& palette : plan.unusedPalettes) {
            err << kProgram << "note: palette file \"" << printable(palette)
                << "\" has no screen file of the same base name\n";
        }
    }
    ProgressBar bar(err, progress && !options.quiet, plan.items.size());
    std::size_t failed = 0;
    bool listing = !options.quiet;
    // Printed in the plan's order as the results come: the output of one thread.
    ParallelExports exports(plan, *options.format, threadCount(options, plan.items.size()));
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const BatchItem& item = plan.items[i];
        bar.show(i, item.job.screenFile);
        const ItemResult& result = exports.wait(i);
        if (result.unexpected) {
            std::rethrow_exception(result.unexpected);
        }
        if (result.failure) {
            bar.clear();
            err << kProgram << printable(item.job.screenFile) << ": " << printable(*result.failure)
                << '\n';
            ++failed;
        } else if (listing) {
            bar.clear();
            // The rest is still converted; the exit status tells of the lost listing.
            listing = list(out, err, item.output);
        }
    }
    bar.finish();
    if (failed > 0) {
        err << kProgram << failed << " of " << plan.items.size() << " files failed\n";
        return kExitFileError;
    }
    return listing || options.quiet ? kExitSuccess : kExitFileError;
}

} // namespace

std::string printable(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < kFirstPrintable || c == kDelete) {
            result += escapedControl(c);
        } else if (c == kUtf8C1Lead && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= kC1First &&
                   static_cast<unsigned char>(text[i + 1]) <= kC1Last) {
            appendHex(result, c);
            appendHex(result, static_cast<unsigned char>(text[++i]));
        } else {
            result += static_cast<char>(c);
        }
    }
    return result;
}

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
    return options.batch() ? runBatch(options, out, err, progress) : runSingle(options, out, err);
}

} // namespace tessarin::exporter
