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
#include <memory>
#include <optional>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace tessarin {

namespace {

constexpr std::size_t kCopyChunk = 64 * 1024;
constexpr mode_t kNewFileMode = 0666;            // before the umask, as for any new file
constexpr mode_t kPrivateMode = 0600;            // while it replaces a file, until it has its mode
constexpr mode_t kKeptModeBits = 07777 & ~06000; // never setuid or setgid on a new content
// Fixed and short, so that a target name of NAME_MAX bytes still has a scratch beside it.
constexpr const char* kScratchPrefix = "/.tessarin-";
constexpr std::size_t kScratchLetters = 6;
constexpr std::string_view kNameLetters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int kCreateAttempts = 100;
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

[[noreturn]] void fail(const std::string& target, const std::string& reason, int error = 0) {
    throw FileError(target, posix::fileMessage("write", target, reason), error);
}

[[noreturn]] void failErrno(const std::string& target, int error) {
    fail(target, posix::errnoText(error), error);
}

[[noreturn]] void failExists(const std::string& target) {
    throw FileError(target, "File \"" + target + "\" already exists", EEXIST);
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
            failErrno(target, errno);
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
            failErrno(target, errno);
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

// mkostemp with a mode of our choosing: a new file named from prefix and random letters,
// tried again under other letters while the name is taken. The descriptor, or -1 with errno.
int createUnique(const std::string& prefix, mode_t mode, std::string* name) {
    thread_local std::minstd_rand letters(std::random_device{}());
    std::uniform_int_distribution<std::size_t> pick(0, kNameLetters.size() - 1);
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        *name = prefix;
        for (std::size_t i = 0; i < kScratchLetters; ++i) {
            *name += kNameLetters[pick(letters)];
        }
        const int fd = ::open(name->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// The scratch file beside a target: removed on destruction unless placed.
class ScratchBeside {
public:
    ScratchBeside(const std::string& target, ReplaceMode mode)
        : target_(target), mode_(mode), destination_(resolve(target, mode)) {
        const std::string directory = directoryOf(destination_.path);
        // A new file gets its mode from the kernel, as from any program: 0666 less the umask.
        const mode_t fileMode = destination_.replaced ? kPrivateMode : kNewFileMode;
        const SignalsHeld held;
        fd_ = createUnique(directory + kScratchPrefix, fileMode, &scratch_);
        if (fd_ < 0) {
            const int error = errno;
            fail(target,
                 "cannot create a file in \"" + directory + "\": " + posix::errnoText(error),
                 error);
        }
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

    void write(std::span<const ByteSpan> pieces) {
        if (const int error = posix::writeFully(fd_, pieces); error != 0) {
            failErrno(target_, error);
        }
    }

    // Gives the content the replaced file's owner (where allowed) and mode, and renames it
    // into place.
    void place() {
        if (const auto& old = destination_.replaced) {
            [[maybe_unused]] const int owned = ::fchown(fd_, old->st_uid, old->st_gid);
            if (::fchmod(fd_, old->st_mode & kKeptModeBits) != 0) {
                failErrno(target_, errno);
            }
        }
        const int closed = ::close(fd_);
        fd_ = -1;
        // On Linux the descriptor is released even when close reports EINTR.
        if (closed != 0 && errno != EINTR) {
            failErrno(target_, errno);
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
            failErrno(target_, error);
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

void writeTargetFile(const std::string& target, ByteSpan bytes, ReplaceMode mode) {
    writeTargetFile(target, std::span(&bytes, 1), mode);
}

void writeTargetFile(const std::string& target, std::span<const ByteSpan> pieces,
                     ReplaceMode mode) {
    ScratchBeside scratch(target, mode);
    scratch.write(pieces);
    scratch.place();
}

void writeTargetFiles(std::span<const TargetBytes> files, ReplaceMode mode) {
    std::vector<std::unique_ptr<ScratchBeside>> scratches;
    for (const TargetBytes& file : files) {
        scratches.push_back(std::make_unique<ScratchBeside>(file.target, mode));
        scratches.back()->write(std::span(&file.bytes, 1));
    }
    for (const auto& scratch : scratches) {
        scratch->place();
    }
}

void refuseInputAsTarget(const std::string& target, std::span<const std::string> inputs) {
    struct stat out {};
    if (::stat(target.c_str(), &out) != 0) {
        return;
    }
    for (const std::string& input : inputs) {
        struct stat in {};
        if (!input.empty() && ::stat(input.c_str(), &in) == 0 && in.st_dev == out.st_dev &&
            in.st_ino == out.st_ino) {
            throw FileError(target,
                            "Output file \"" + target + "\" is the input file \"" + input + "\"");
        }
    }
}

void copyFile(const std::string& source, const std::string& target) {
    InputFile in(source);
    ScratchBeside scratch(target, ReplaceMode::replace);
    std::vector<std::uint8_t> buffer(kCopyChunk);
    while (const std::size_t n = in.read(buffer)) {
        const ByteSpan chunk = std::span(buffer).first(n);
        scratch.write(std::span(&chunk, 1));
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
