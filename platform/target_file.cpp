#include "platform/target_file.h"

#include "platform/file_error.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "platform/posix_io.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace tessarin {

namespace {

constexpr std::size_t kCopyChunk = 64 * 1024;
constexpr mode_t kNewFileMode = 0666;            // before the umask, as for any new file
constexpr mode_t kKeptModeBits = 07777 & ~06000; // never setuid or setgid on a new content
// Fixed and short, so that a target name of NAME_MAX bytes still has a scratch beside it.
constexpr const char* kScratchPattern = "/.tessarin-XXXXXX";
constexpr unsigned kRenameNoReplace = 1; // RENAME_NOREPLACE of <linux/fs.h>

// Scratch names in use, where a signal handler can reach them without allocating: a
// slot is claimed, filled, then marked ready; the handler unlinks only ready slots.
enum SlotState : int { kSlotFree, kSlotClaimed, kSlotReady };
// One per thread writing at the same time: as many as a batch's most jobs.
constexpr std::size_t kScratchSlots = 256;
constexpr std::size_t kNoSlot = kScratchSlots;

struct ScratchSlot {
    std::atomic<int> state{kSlotFree};
    std::array<char, PATH_MAX> name{};
};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slots");

std::array<ScratchSlot, kScratchSlots> scratchSlots;

// A name that fits no slot is not registered: only a signal can then leave it behind.
std::size_t registerScratch(const std::string& name) noexcept {
    if (name.size() >= PATH_MAX) {
        return kNoSlot;
    }
    for (std::size_t i = 0; i < kScratchSlots; ++i) {
        int expected = kSlotFree;
        if (scratchSlots[i].state.compare_exchange_strong(expected, kSlotClaimed)) {
            std::memcpy(scratchSlots[i].name.data(), name.c_str(), name.size() + 1);
            scratchSlots[i].state.store(kSlotReady, std::memory_order_release);
            return i;
        }
    }
    return kNoSlot;
}

void unregisterScratch(std::size_t slot) noexcept {
    if (slot != kNoSlot) {
        scratchSlots[slot].state.store(kSlotFree, std::memory_order_release);
    }
}

// Holds off every signal of this thread, so that a handler never sees a scratch file
// that exists but is not registered, or a registered name that was renamed away.
class SignalsHeld {
public:
    SignalsHeld() noexcept {
        sigset_t all;
        ::sigfillset(&all);
        ::pthread_sigmask(SIG_BLOCK, &all, &old_);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t old_{};
};

[[noreturn]] void fail(const std::string& target, const std::string& reason) {
    throw FileError(target, posix::fileMessage("write", target, reason));
}

[[noreturn]] void failExists(const std::string& target) {
    throw FileError(target, "File \"" + target + "\" already exists");
}

// The rename of keepExisting: fails with EEXIST, atomically, when to exists. Returns 0 or
// an errno value.
int renameNoReplace(const char* from, const char* to) {
#if defined(RENAME_NOREPLACE)
    const int result = ::renameat2(AT_FDCWD, from, AT_FDCWD, to, kRenameNoReplace);
#else
    const int result =
        static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, kRenameNoReplace));
#endif
    if (result == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system without the flag: link is as atomic, then the scratch name goes.
    if (::link(from, to) != 0) {
        return errno;
    }
    ::unlink(from);
    return 0;
}

// Where the scratch file is renamed to, and what the replaced file was.
struct Destination {
    std::string path;
    std::optional<struct stat> replaced;
};

Destination resolve(const std::string& target, ReplaceMode mode) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            fail(target, posix::errnoText(errno));
        }
        return {target, std::nullopt};
    }
    if (mode == ReplaceMode::keepExisting) {
        failExists(target);
    }
    std::string path = target;
    if (S_ISLNK(info.st_mode)) {
        // Replace what the link points at; the link itself stays.
        if (::stat(target.c_str(), &info) != 0) {
            fail(target, errno == ENOENT ? std::string("symbolic link to a missing file")
                                         : posix::errnoText(errno));
        }
        char* real = ::realpath(target.c_str(), nullptr);
        if (real == nullptr) {
            fail(target, posix::errnoText(errno));
        }
        path = real;
        std::free(real);
    }
    // Renaming over a device, FIFO, socket or directory would replace the node itself.
    if (!S_ISREG(info.st_mode)) {
        fail(target, "not a regular file");
    }
    return {path, info};
}

// Read once: reading the umask sets it, and threads writing at the same time must not
// see each other's zero. Neither program changes its umask.
mode_t newFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return kNewFileMode & ~mask;
    }();
    return mode;
}

// The scratch file beside a target: removed on destruction unless placed.
class ScratchBeside {
public:
    ScratchBeside(const std::string& target, ReplaceMode mode)
        : target_(target), mode_(mode), destination_(resolve(target, mode)) {
        const std::string directory = directoryOf(destination_.path);
        std::vector<char> name(directory.begin(), directory.end());
        name.insert(name.end(), kScratchPattern,
                    kScratchPattern + std::strlen(kScratchPattern) + 1);
        const SignalsHeld held;
        fd_ = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd_ < 0) {
            fail(target,
                 "cannot create a file in \"" + directory + "\": " + posix::errnoText(errno));
        }
        scratch_ = name.data();
        slot_ = registerScratch(scratch_);
    }
    ~ScratchBeside() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!placed_) {
            const SignalsHeld held;
            ::unlink(scratch_.c_str());
            unregisterScratch(slot_);
        }
    }
    ScratchBeside(const ScratchBeside&) = delete;
    ScratchBeside& operator=(const ScratchBeside&) = delete;

    void write(std::span<const std::uint8_t> bytes) {
        if (const int error = posix::writeFully(fd_, bytes); error != 0) {
            fail(target_, posix::errnoText(error));
        }
    }

    // Gives the content the replaced file's owner (where allowed) and mode, or those of
    // a new file, and renames it into place.
    void place() {
        const auto& old = destination_.replaced;
        if (old) {
            [[maybe_unused]] const int owned = ::fchown(fd_, old->st_uid, old->st_gid);
        }
        if (::fchmod(fd_, old ? old->st_mode & kKeptModeBits : newFileMode()) != 0) {
            fail(target_, posix::errnoText(errno));
        }
        const int closed = ::close(fd_);
        fd_ = -1;
        // On Linux the descriptor is released even when close reports EINTR.
        if (closed != 0 && errno != EINTR) {
            fail(target_, posix::errnoText(errno));
        }
        const SignalsHeld held;
        int error = 0;
        if (mode_ == ReplaceMode::keepExisting) {
            error = renameNoReplace(scratch_.c_str(), destination_.path.c_str());
        } else if (::rename(scratch_.c_str(), destination_.path.c_str()) != 0) {
            error = errno;
        }
        if (error == EEXIST) {
            failExists(target_);
        }
        if (error != 0) {
            fail(target_, posix::errnoText(error));
        }
        unregisterScratch(slot_);
        placed_ = true;
    }

private:
    const std::string& target_;
    ReplaceMode mode_;
    Destination destination_;
    std::string scratch_;
    int fd_ = -1;
    std::size_t slot_ = kNoSlot;
    bool placed_ = false;
};

} // namespace

void writeTargetFile(const std::string& target, std::span<const std::uint8_t> bytes,
                     ReplaceMode mode) {
    ScratchBeside scratch(target, mode);
    scratch.write(bytes);
    scratch.place();
}

void copyFile(const std::string& source, const std::string& target) {
    InputFile in(source);
    ScratchBeside scratch(target, ReplaceMode::replace);
    std::vector<std::uint8_t> buffer(kCopyChunk);
    while (const std::size_t n = in.read(buffer)) {
        scratch.write(std::span(buffer).first(n));
    }
    scratch.place();
}

void removeScratchFilesInProgress() noexcept {
    for (ScratchSlot& slot : scratchSlots) {
        if (slot.state.load(std::memory_order_acquire) == kSlotReady) {
            ::unlink(slot.name.data());
        }
    }
}

} // namespace tessarin
