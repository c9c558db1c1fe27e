#include "export/parallel_exports.h"

#include "export/conversion_gate.h"
#include "platform/file_error.h"

#include <algorithm>
#include <cerrno>
#include <malloc.h>
#include <new>
#include <sys/stat.h>
#include <system_error>
#include <thread>

namespace tessarin::exporter {

namespace {

// Four times the stack every sample needed in every view and a 4096-pixel thumbnail (64 KiB
// was enough); the system's default of 8 MiB a thread would be most of the address space of
// 256 workers under a memory limit.
constexpr std::size_t kWorkerStackBytes = 256 << 10;

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

} // namespace

ParallelExports::ParallelExports(const BatchPlan& plan, const ExportSettings& settings,
                                 std::size_t threads)
    : plan_(plan), settings_(settings), results_(plan.items.size()),
      done_(plan.items.size(), false), allowed_(threads) {
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

ItemResult ParallelExports::wait(std::size_t i) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return done_[i] || (stopped_ && i >= next_); });
    return done_[i] ? std::move(results_[i]) : ItemResult{};
}

void ParallelExports::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
}

bool ParallelExports::take(std::size_t& i) {
    const std::lock_guard lock(mutex_);
    if (stopped_ || next_ >= plan_.items.size()) {
        return false;
    }
    i = next_++;
    return true;
}

void ParallelExports::work() {
    blockTerminationSignals();
    std::size_t i = 0;
    while (take(i)) {
        ItemResult result = convert(plan_.items[i]);
        {
            const std::lock_guard lock(mutex_);
            results_[i] = std::move(result);
            done_[i] = true;
        }
        changed_.notify_all();
    }
}

ItemResult ParallelExports::convert(const BatchItem& item) {
    while (true) {
        std::size_t endedBefore = 0;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return busy_ < allowed_; });
            ++busy_;
            endedBefore = ended_;
        }
        if (!enterConversion()) {
            const std::lock_guard lock(mutex_);
            --busy_;
            ++ended_;
            return {};
        }
        ItemResult result;
        bool shortage = false;
        try {
            struct stat existing {};
            if (settings_.skipExisting && ::lstat(item.output.c_str(), &existing) == 0) {
                result.outcome = Outcome::skipped;
            } else {
                result.colourError =
                    exportPicture(item.job, item.output, settings_.format, Overwrite::refuse);
                result.outcome = Outcome::written;
            }
        } catch (const FileError& e) {
            shortage = outOfDescriptors(e);
            // Made by another program since the look above: as existing as before.
            const bool appeared = settings_.skipExisting && e.systemError() == EEXIST;
            result.outcome = appeared ? Outcome::skipped : Outcome::failed;
            result.failure = appeared ? std::string() : e.what();
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
