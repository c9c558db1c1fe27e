#include "export/parallel_exports.h"

#include "catalog/file_source.h"
#include "export/conversion_gate.h"
#include "image/image_input.h"
#include "platform/file_error.h"

#include <algorithm>
#include <cerrno>
#include <malloc.h>
#include <new>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <utility>

namespace tessarin::exporter {

namespace {

// Four times the stack every sample needed in every view and a 4096-pixel thumbnail (64 KiB
// was enough); the system's default of 8 MiB a thread would be most of the address space of
// 256 workers under a memory limit.
constexpr std::size_t kWorkerStackBytes = 256 << 10;

// What the conversions under way may hold at once, whatever -j: a picture at the largest
// size converted (64 Mpixels) takes about half of it.
constexpr std::uint64_t kBatchMemory = std::uint64_t{1} << 30;
// A screen file's buffers (VRAM, the picture, its encoding), and each pixel of a PNG or
// JPEG picture in the decoder's rows, the picture and the fitted picture (about 7 bytes,
// measured on the largest PNG).
constexpr std::uint64_t kScreenFileBytes = 4 << 20;
constexpr std::uint64_t kBytesPerPixel = 8;
// Enough of a JPEG to pass its EXIF marker to the frame header.
constexpr std::size_t kHeaderBytes = 128 << 10;

// What converting item holds at its peak, by its picture's header.
std::uint64_t peakBytesOf(const BatchItem& item) {
    if (!isImageInputName(item.screenFile.path())) {
        return kScreenFileBytes;
    }
    try {
        const InputBytes header = fileSource().read(item.screenFile, kHeaderBytes);
        // A picture claiming more is refused before its pixels are stored.
        const std::uint64_t pixels = std::min<std::uint64_t>(
            claimedPixels(header.bytes).value_or(0), ImageLimits{}.maxPixels);
        return kScreenFileBytes + kBytesPerPixel * pixels;
    } catch (const FileError&) {
        return kScreenFileBytes; // fails when converted, naming the file
    }
}

bool outOfDescriptors(const FileError& e) {
    return e.systemError() == EMFILE || e.systemError() == ENFILE;
}

// glibc gives each thread of its own a malloc arena of 64 MiB of address space, up to eight
// per processor. No more arenas than workers that run at once keeps the address space
// close to what the batch uses.
void limitMallocArenas(std::size_t threads) {
    const std::size_t processors = std::max(1U, std::thread::hardware_concurrency());
    ::mallopt(M_ARENA_MAX, static_cast<int>(std::min(threads, processors)));
}

// An item's export into its output: skipped where that exists and the options say so.
ItemResult exportItem(const BatchItem& item, const ExportOptions& options) {
    ItemResult result;
    struct stat existing {};
    if (options.skipExisting && ::lstat(item.output.c_str(), &existing) == 0) {
        result.outcome = Outcome::skipped;
        return result;
    }
    try {
        result.colourError =
            exportPicture(jobOf(options, item), item.output,
                          options.format.value_or(ImageFormat::png), Overwrite::refuse);
    } catch (const FileError& e) {
        // Made by another program since the look above: as existing as before.
        if (options.skipExisting && e.systemError() == EEXIST) {
            result.outcome = Outcome::skipped;
            return result;
        }
        throw;
    }
    result.outcome = Outcome::written;
    return result;
}

} // namespace

std::size_t threadCount(const ExportOptions& options) {
    return options.jobs ? static_cast<std::size_t>(std::max<int>(1, *options.jobs))
                        : std::max(1U, std::thread::hardware_concurrency());
}

ParallelExports::ParallelExports(const ExportOptions& options, std::size_t threads)
    : ParallelExports(
          [&options](const BatchItem& item, std::size_t) { return exportItem(item, options); },
          threads) {}

ParallelExports::ParallelExports(Work job, std::size_t threads)
    : work_(std::move(job)), allowed_(threads) {
    limitMallocArenas(threads);
    threads_.reserve(threads);
    for (std::size_t t = 0; t < threads; ++t) {
        try {
            threads_.push_back(
                std::make_unique<SizedThread>([this] { work(); }, kWorkerStackBytes));
        } catch (const std::system_error&) {
            // Fewer threads still convert every file; none at all is an error.
            if (threads_.empty()) {
                throw;
            }
            break;
        }
    }
}

ParallelExports::~ParallelExports() {
    stop();
    threads_.clear();
}

bool ParallelExports::room() const {
    const std::lock_guard lock(mutex_);
    return added_ < read_ + kAhead;
}

void ParallelExports::add(const BatchItem& item) {
    {
        const std::lock_guard lock(mutex_);
        items_[added_ % kAhead] = &item;
        ++added_;
    }
    changed_.notify_all();
}

ItemResult ParallelExports::wait(std::size_t i) {
    std::unique_lock lock(mutex_);
    const std::size_t slot = i % kAhead;
    changed_.wait(lock, [&] { return done_[slot] || (stopped_ && i >= next_); });
    read_ = std::max(read_, i + 1);
    ItemResult result;
    if (done_[slot]) {
        result = std::move(results_[slot]);
        results_[slot] = ItemResult{};
        done_[slot] = false; // free for item i + kAhead
    }
    changed_.notify_all();
    return result;
}

void ParallelExports::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
}

bool ParallelExports::take(std::size_t& i) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopped_ || next_ < added_; });
    if (stopped_) {
        return false;
    }
    i = next_++;
    return true;
}

void ParallelExports::work() {
    blockTerminationSignals();
    std::size_t i = 0;
    while (take(i)) {
        ItemResult result = convert(i);
        {
            const std::lock_guard lock(mutex_);
            results_[i % kAhead] = std::move(result);
            done_[i % kAhead] = true;
        }
        changed_.notify_all();
    }
}

ItemResult ParallelExports::convert(std::size_t i) {
    const BatchItem& item = *items_[i % kAhead]; // not replaced before its result is taken
    const std::uint64_t peak = peakBytesOf(item);
    while (true) {
        std::size_t endedBefore = 0;
        {
            // One conversion at a time may pass the budget, alone.
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] {
                return busy_ < allowed_ && (busy_ == 0 || reserved_ + peak <= kBatchMemory);
            });
            ++busy_;
            reserved_ += peak;
            endedBefore = ended_;
        }
        if (!enterConversion()) {
            const std::lock_guard lock(mutex_);
            --busy_;
            reserved_ -= peak;
            ++ended_;
            return {};
        }
        ItemResult result;
        bool shortage = false;
        try {
            result = work_(item, i);
        } catch (const FileError& e) {
            shortage = outOfDescriptors(e);
            result.outcome = Outcome::failed;
            result.failure = e.what();
        } catch (const std::bad_alloc&) {
            shortage = true;
            result.outcome = Outcome::failed;
            result.failure = kOutOfMemory;
        } catch (...) {
            result.outcome = Outcome::failed;
            result.unexpected = std::current_exception();
        }
        leaveConversion();
        bool again = false;
        {
            const std::lock_guard lock(mutex_);
            --busy_;
            reserved_ -= peak;
            // The others hold the descriptors or the memory there is: fewer at a time from now
            // on, and this file again once one of them is done (or one ended since this
            // began). Alone, with none ended meanwhile, nothing would free any.
            again = shortage && (busy_ > 0 || ended_ != endedBefore);
            if (again) {
                allowed_ = std::min(allowed_, std::max<std::size_t>(busy_, 1));
            }
            ++ended_;
        }
        changed_.notify_all();
        if (!again) {
            return result;
        }
    }
}

} // namespace tessarin::exporter
