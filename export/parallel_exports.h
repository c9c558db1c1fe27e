#pragma once

#include "convert/eye_error.h"
#include "convert/msx_screen.h"
#include "export/batch_plan.h"
#include "export/options.h"
#include "platform/sized_thread.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tessarin::exporter {

// The failure of a file whose conversion ran out of memory (the file names itself).
inline constexpr const char* kOutOfMemory = "not enough memory to convert it";

// -j, else one thread per processor.
[[nodiscard]] std::size_t threadCount(const ExportOptions& options);

// What became of one file of a batch.
enum class Outcome { written, skipped, failed, notTried };

struct ItemResult {
    Outcome outcome = Outcome::notTried;
    std::string failure;           // why it failed: a FileError's message, or "out of memory"
    std::exception_ptr unexpected; // anything else, rethrown in its turn
    std::optional<ColourErrorFigures> colourError; // of a screen file written
};

// Converts the items of a batch on worker threads as they are added, each worker taking
// the next item in order; every export has its own document, and the documents share
// nothing. Running out of file descriptors or memory while others convert is no failure of
// a file: the worker waits for another conversion to end and tries the file again, and from
// then on fewer conversions run at a time. A file that runs out alone fails (kOutOfMemory,
// or the FileError's message). At most kAhead items are added and not yet taken by wait.
// The conversions under way share one memory budget, by the peak each picture's header
// claims: a conversion waits while the others hold it, so -j does not multiply the memory.
class ParallelExports {
public:
    // How many items may be added and their results not yet taken: what the batch holds at
    // once stays bounded however slow the reader and however many items.
    static constexpr std::size_t kAhead = 64;

    // What a worker makes of item number i (outcome and colour error); a FileError or
    // bad_alloc it throws fails the item as an export's does.
    using Work = std::function<ItemResult(const BatchItem& item, std::size_t i)>;

    // Starts up to threads workers (at least one, else std::system_error), each exporting
    // its items as the options say (their format, --skip-existing, each item's job);
    // options outlive it.
    ParallelExports(const ExportOptions& options, std::size_t threads);
    // The same with work done for each item instead of its export.
    ParallelExports(Work work, std::size_t threads);
    // Takes no more items and waits for those under way.
    ~ParallelExports();
    ParallelExports(const ParallelExports&) = delete;
    ParallelExports& operator=(const ParallelExports&) = delete;

    // Whether another item may be added now: fewer than kAhead wait to be taken.
    [[nodiscard]] bool room() const;
    // Adds item, which outlives its result being taken, as the next number (0, 1, 2, ...);
    // only while there is room.
    void add(const BatchItem& item);
    // The result of item i once it is done; notTried for an item that no worker took before
    // stop. Each item's is taken once, in item order.
    [[nodiscard]] ItemResult wait(std::size_t i);
    // Takes no more items; those under way are finished.
    void stop();

private:
    void work();
    [[nodiscard]] bool take(std::size_t& i);
    [[nodiscard]] ItemResult convert(std::size_t i);

    Work work_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    // Item i and its result wait in slot i % kAhead.
    std::array<const BatchItem*, kAhead> items_{};
    std::array<ItemResult, kAhead> results_;
    // Of each slot, whether its item is done and its result not yet taken.
    std::array<bool, kAhead> done_{};
    std::size_t added_ = 0;      // the items added
    std::size_t next_ = 0;       // the next item to take
    std::size_t read_ = 0;       // the results taken by wait, in order
    bool stopped_ = false;       // no more items are taken
    std::size_t busy_ = 0;       // conversions under way
    std::size_t allowed_;        // at most this many at a time
    std::size_t ended_ = 0;      // conversions ended, each releasing its descriptors
    std::uint64_t reserved_ = 0; // the peak memory of the conversions under way
    std::vector<std::unique_ptr<SizedThread>> threads_; // last: joined before the rest goes
};

} // namespace tessarin::exporter
