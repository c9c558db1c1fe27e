#include "storage/archive_storage.h"

#include "names/file_name_rule.h"
#include "platform/file_error.h"
#include "platform/file_stream.h"
#include "storage/gzip_check.h"
#include "storage/location.h"
#include "storage/packed_storage.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <array>

namespace tessarin {

namespace {

// Bytes read from the archive file at a time; also what the packing ratio allows for
// bytes read ahead of a member, so that a small member packed well is never refused.
constexpr std::size_t kReadBlock = 4096;
// Unpacked members kept for their next read: a few disks and their pictures, or a batch's
// pictures (8,000 screen 5 files) read after the listing went by them.
constexpr std::uint64_t kKeptBytes = 256 * 1024 * 1024;
constexpr std::uint64_t kMiB = 1024 * 1024;
// A member the pass goes by is kept whole up to this size (any screen file), else only its
// first bytes, what a listing looks at (a palette file whole).
constexpr std::uint64_t kPassedWhole = 256 * 1024;
constexpr std::size_t kPassedHead = kMaxPaletteFileSize;
// The character set of LZH members' names where it is not Shift-JIS as MSX archivers wrote
// it (kLzhNames).
constexpr const char* kLzhNamesElse = "ISO-8859-1";

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Whether a folder of path inside an archive is named as a place ("GAME.DSK/PIC.SC5"), where
// a name leads into a disk image or packed file, never into a folder.
bool inFolderNamedAsPlace(const std::string& path) {
    for (std::size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        if (heldNameOf(std::string_view(path).substr(0, slash))) {
            return true;
        }
    }
    return false;
}

} // namespace

// One pass over the archive's entries, from its start: libarchive reads forwards only.
class ArchiveStorage::Reader {
public:
    explicit Reader(const ArchiveStorage& storage)
        : archive_(storage.archive_), owned_(archive_read_new()), handle_(owned_.get()) {
        if (handle_ == nullptr) {
            throw FileError(archive_, "not enough memory to open " + quoted(archive_));
        }
        if (storage.kind_ == Kind::gzip) {
            archive_read_support_filter_gzip(handle_);
            archive_read_support_format_raw(handle_);
        } else {
            archive_read_support_format_zip(handle_);
            archive_read_support_format_7zip(handle_);
            archive_read_support_format_lha(handle_);
            // MSX archivers wrote Shift-JIS names in LZH headers, which say no character set.
            archive_read_set_format_option(handle_, "lha", "hdrcharset", storage.lzhNames_);
        }
        const int opened =
            storage.bytes_
                ? archive_read_open_memory(handle_, storage.bytes_->data(), storage.bytes_->size())
                : archive_read_open_filename(handle_, archive_.c_str(), kReadBlock);
        if (opened != ARCHIVE_OK) {
            throw broken(quoted(archive_));
        }
        // The raw format takes any bytes; a gzip file is one the gzip filter took.
        if (storage.kind_ == Kind::gzip && archive_filter_count(handle_) < 2) {
            throw FileError(archive_, quoted(archive_) + " is no gzip file", Fault::archiveBroken);
        }
    }

    // The next entry's header, nullptr after the last. FileError for one that cannot be
    // read, naming what; Fault::pastUnpackBound when reaching it unpacks past the bounds.
    archive_entry* next(const std::string& what) {
        if (!entryName_.empty() && !entryEnded_ && format() == ARCHIVE_FORMAT_7ZIP) {
            drain();
        }
        archive_entry* entry = nullptr;
        const int result = archive_read_next_header(handle_, &entry);
        if (result == ARCHIVE_EOF) {
            return nullptr;
        }
        if (result != ARCHIVE_OK && result != ARCHIVE_WARN) {
            throw broken(what);
        }
        const char* raw = archive_entry_pathname(entry);
        entryName_ = archive_ + "/" + safeMemberPath(raw != nullptr ? raw : "");
        entryPacked_ = 0;
        entryUnpacked_ = 0;
        entryEnded_ = false;
        return entry;
    }

    // The archive's format (ARCHIVE_FORMAT_*) once a header was read.
    [[nodiscard]] int format() const { return archive_format(handle_); }

    // The archive bytes read so far.
    [[nodiscard]] std::uint64_t position() const {
        return static_cast<std::uint64_t>(
            std::max<la_int64_t>(0, archive_filter_bytes(handle_, -1)));
    }

    // The next bytes of the entry: how many, 0 at its end. FileError naming path, also when
    // it unpacks to more than kMaxPackingRatio times the archive bytes read for it; naming
    // the archive when the pass unpacks more than kMaxPassBytes.
    std::size_t data(std::span<std::uint8_t> out, const std::string& path) {
        const std::uint64_t before = position();
        const la_ssize_t got = archive_read_data(handle_, out.data(), out.size());
        if (got < 0) {
            throw broken(quoted(path));
        }
        // 7z reads its header at the end first, then goes back to its data: bytes read
        // after going back count from the archive's start.
        const std::uint64_t after = position();
        entryPacked_ += after >= before ? after - before : after;
        entryEnded_ = got == 0;
        passUnpacked_ += static_cast<std::uint64_t>(got);
        entryUnpacked_ += static_cast<std::uint64_t>(got);
        if (passUnpacked_ > kMaxPassBytes) {
            throw FileError(archive_,
                            "Cannot read " + quoted(archive_) + " past " + quoted(path) +
                                ": one pass through it unpacks more than " +
                                std::to_string(kMaxPassBytes / kMiB) + " MiB",
                            Fault::pastUnpackBound);
        }
        // Bytes read ahead of the entry are allowed for, so that a small member packed well
        // is never refused.
        if (entryUnpacked_ > kMaxPackingRatio * (entryPacked_ + kReadBlock)) {
            throw FileError(path,
                            "Cannot open file " + quoted(path) + ": it unpacks to more than " +
                                std::to_string(kMaxPackingRatio) +
                                " times its packed size, as no picture or disk does",
                            Fault::ratioTooHigh);
        }
        return static_cast<std::size_t>(got);
    }

private:
    // Reads the rest of the entry, which 7z unpacks anyway to reach the next one in its
    // block: so those bytes count against the bounds. FileError naming the archive.
    void drain() {
        std::array<std::uint8_t, 64 * 1024> scratch{};
        try {
            while (data(scratch, entryName_) != 0) {
            }
        } catch (const FileError& error) {
            if (error.fault() != Fault::ratioTooHigh) {
                throw;
            }
            throw FileError(archive_,
                            "Cannot read the members of " + quoted(archive_) + " after " +
                                quoted(entryName_) + ": it unpacks to more than " +
                                std::to_string(kMaxPackingRatio) + " times its packed size",
                            Fault::pastUnpackBound);
        }
    }

    [[nodiscard]] FileError broken(const std::string& what) const {
        const char* reason = archive_error_string(handle_);
        return FileError(archive_,
                         "Cannot read " + what + ": " +
                             (reason != nullptr ? reason : "the archive is unreadable"),
                         Fault::archiveBroken);
    }

    struct Free {
        void operator()(archive* handle) const { archive_read_free(handle); }
    };

    std::string archive_;
    std::unique_ptr<archive, Free> owned_; // freed however the constructor ends
    archive* handle_;
    std::uint64_t passUnpacked_ = 0;  // bytes unpacked since the pass began
    std::string entryName_;           // the path of the entry the pass stands at
    std::uint64_t entryPacked_ = 0;   // the archive bytes read for its bytes so far
    std::uint64_t entryUnpacked_ = 0; // its bytes unpacked so far
    bool entryEnded_ = false;         // whether they were read to its end
};

std::string safeMemberPath(const std::string& path) {
    std::string safe;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string step = path.substr(start, end - start);
        if (!step.empty() && step != "." && step != "..") {
            safe += (safe.empty() ? "" : "/") + step;
        }
        start = end + 1;
    }
    return safe;
}

ArchiveStorage::ArchiveStorage(const std::string& archive, Kind kind)
    : ArchiveStorage(archive, nullptr, kind) {}

ArchiveStorage::ArchiveStorage(const std::string& archive,
                               std::shared_ptr<const std::vector<std::uint8_t>> bytes, Kind kind)
    : archive_(archive), bytes_(std::move(bytes)), kind_(kind) {
    if (list()) {
        // A name that is no Shift-JIS ends libarchive's listing: then every name is read as
        // Latin-1, which any bytes are, so that no member is lost.
        members_.clear();
        byName_.clear();
        problems_.clear();
        kept_.clear();
        recent_.clear();
        keptBytes_ = 0;
        heads_.clear();
        lzhNames_ = kLzhNamesElse;
        list();
    }
}

bool ArchiveStorage::list() {
    Reader reader(*this);
    try {
        for (std::size_t index = 0; archive_entry* entry = reader.next(quoted(archive_)); ++index) {
            const char* raw = archive_entry_pathname(entry);
            std::string name = kind_ == Kind::gzip ? unpackedName(archive_)
                                                   : safeMemberPath(raw != nullptr ? raw : "");
            if (index == kMaxMembers) {
                throw FileError(archive_,
                                quoted(archive_) + " holds more than " +
                                    std::to_string(kMaxMembers) + " members, " +
                                    quoted(archive_ + "/" + name) + " the first left out",
                                Fault::tooManyEntries);
            }
            if (archive_entry_filetype(entry) != AE_IFREG || name.empty()) {
                continue;
            }
            const std::string place = archive_ + "/" + name;
            if (inFolderNamedAsPlace(name)) {
                problems_.emplace_back(
                    place, place + ": in a folder named as a disk image or archive, not listed",
                    Fault::nameUnreachable);
                continue;
            }
            if (!byName_.try_emplace(name, members_.size()).second) {
                problems_.emplace_back(place, place + ": a second member of this name, not listed",
                                       Fault::sameName);
                continue;
            }
            std::optional<std::uint64_t> size;
            if (archive_entry_size_is_set(entry) != 0) {
                size = static_cast<std::uint64_t>(archive_entry_size(entry));
            }
            members_.push_back({std::move(name), index, size});
            // The listing is the first pass: what a listing and a batch read next is kept.
            keepPassed(reader, members_.back());
        }
    } catch (const FileError& error) {
        // A broken entry, or one past the bounds, ends the listing; what came before it is
        // still the archive's.
        const bool retry = reader.format() == ARCHIVE_FORMAT_LHA && lzhNames_ != kLzhNamesElse;
        const bool ends =
            error.fault() == Fault::archiveBroken || error.fault() == Fault::pastUnpackBound;
        if (!ends || (members_.empty() && !retry)) {
            throw;
        }
        problems_.push_back(error);
        return retry;
    }
    return false;
}

ArchiveStorage::~ArchiveStorage() = default;

std::vector<std::string> ArchiveStorage::names() const {
    std::vector<std::string> names;
    names.reserve(members_.size());
    for (const Member& member : members_) {
        names.push_back(member.name);
    }
    return names;
}

std::optional<std::uint64_t> ArchiveStorage::sizeOf(const std::string& name) const {
    const auto found = byName_.find(name);
    return found == byName_.end() ? std::nullopt : members_[found->second].size;
}

const ArchiveStorage::Member* ArchiveStorage::memberAt(std::size_t index) const {
    const auto at = std::ranges::lower_bound(members_, index, {}, &Member::index);
    return at != members_.end() && at->index == index ? &*at : nullptr;
}

ArchiveStorage::Bytes ArchiveStorage::unpack(const Member& member, const std::string& path,
                                             std::uint64_t upTo) const {
    if (member.index >= reachable_) {
        throw *unreachable_;
    }
    if (!pass_ || passNext_ > member.index) {
        pass_.reset(); // freed before the next one opens
        pass_ = std::make_unique<Reader>(*this);
        passNext_ = 0;
    }
    try {
        while (passNext_ <= member.index) {
            if (pass_->next(quoted(path)) == nullptr) {
                throw FileError(path, "Cannot open file " + quoted(path) + ": the archive changed",
                                Fault::noSuchFile);
            }
            const std::size_t index = passNext_++;
            if (index == member.index) {
                return unpackHere(*pass_, member, path, upTo);
            }
            if (const Member* passed = memberAt(index)) {
                keepPassed(*pass_, *passed);
            }
        }
    } catch (const FileError& error) {
        if (error.fault() == Fault::pastUnpackBound) {
            reachable_ = passNext_;
            unreachable_ = error;
        }
        pass_.reset(); // where it stands is unknown: the next read starts again
        throw;
    }
    pass_.reset();
    throw FileError(path, "Cannot open file " + quoted(path) + ": the archive changed",
                    Fault::noSuchFile);
}

void ArchiveStorage::keepPassed(Reader& reader, const Member& member) const {
    if (kept_.contains(member.name) || heads_.contains(member.name)) {
        return;
    }
    const bool small = member.size && *member.size <= kPassedWhole;
    try {
        // One more byte than kept whole: a header that claims less is found out.
        const Bytes bytes = unpackHere(reader, member, archive_ + "/" + member.name,
                                       small ? kPassedWhole + 1 : kPassedHead);
        const bool whole = small && bytes->size() <= kPassedWhole;
        if (whole || (!small && member.size)) {
            const auto end =
                bytes->begin() + static_cast<std::ptrdiff_t>(std::min(bytes->size(), kPassedHead));
            heads_.emplace(member.name, Head{std::vector(bytes->begin(), end),
                                             whole ? bytes->size() : *member.size});
        }
        if (whole) {
            keep(member.name, bytes);
        }
    } catch (const FileError& error) {
        // Its own read says what is wrong with it; the pass goes on where it can.
        if (error.fault() == Fault::pastUnpackBound) {
            throw;
        }
    }
}

void ArchiveStorage::keep(const std::string& name, const Bytes& bytes) const {
    if (kept_.contains(name) || bytes->size() > kKeptBytes) {
        return;
    }
    while (keptBytes_ + bytes->size() > kKeptBytes) {
        const auto dropped = kept_.find(recent_.back());
        keptBytes_ -= dropped->second.bytes->size();
        kept_.erase(dropped);
        recent_.pop_back();
    }
    recent_.push_front(name);
    kept_.emplace(name, Kept{bytes, recent_.begin()});
    keptBytes_ += bytes->size();
}

ArchiveStorage::Bytes ArchiveStorage::unpackHere(Reader& reader, const Member& member,
                                                 const std::string& path,
                                                 std::uint64_t upTo) const {
    const auto tooLarge = [&] {
        return FileError(path,
                         "Cannot open file " + quoted(path) + ": it unpacks to more than " +
                             std::to_string(kMaxMemberBytes / kMiB) + " MiB",
                         Fault::memberTooLarge);
    };
    if (member.size > kMaxMemberBytes) {
        throw tooLarge();
    }
    auto bytes = std::make_shared<std::vector<std::uint8_t>>();
    std::array<std::uint8_t, 64 * 1024> chunk{};
    while (bytes->size() < upTo) {
        const std::size_t got =
            reader.data(std::span(chunk).first(static_cast<std::size_t>(
                            std::min<std::uint64_t>(chunk.size(), upTo - bytes->size()))),
                        path);
        if (got == 0) {
            if (kind_ == Kind::gzip && !gzipIntact()) {
                throw FileError(archive_,
                                "Cannot read " + quoted(archive_) +
                                    ": its data does not match its checksum (CRC-32)",
                                Fault::archiveBroken);
            }
            break;
        }
        if (bytes->size() + got > kMaxMemberBytes) {
            throw tooLarge();
        }
        bytes->insert(bytes->end(), chunk.begin(),
                      chunk.begin() + static_cast<std::ptrdiff_t>(got));
    }
    return bytes;
}

bool ArchiveStorage::gzipIntact() const {
    if (bytes_) {
        std::size_t offset = 0;
        return gzipChecks(
            [&](std::span<std::uint8_t> out) {
                const std::size_t count = std::min(out.size(), bytes_->size() - offset);
                std::copy_n(bytes_->begin() + static_cast<std::ptrdiff_t>(offset), count,
                            out.begin());
                offset += count;
                return count;
            },
            kMaxMemberBytes);
    }
    InputFile file(archive_);
    return gzipChecks([&](std::span<std::uint8_t> out) { return file.read(out); }, kMaxMemberBytes);
}

InputBytes ArchiveStorage::read(const std::string& name, std::size_t limit,
                                const std::string& path) const {
    const auto found = byName_.find(name);
    if (found == byName_.end()) {
        throw FileError(path, "Cannot open file " + quoted(path) + ": no such file in the archive",
                        Fault::noSuchFile);
    }
    const Member& member = members_[found->second];
    const auto firstBytes = [&](const std::vector<std::uint8_t>& bytes, std::uint64_t size) {
        InputBytes input;
        input.size = size;
        input.bytes.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(
                                                              std::min(limit, bytes.size())));
        return input;
    };
    const std::lock_guard lock(guard_);
    Bytes bytes;
    if (const auto head = heads_.find(name);
        head != heads_.end() &&
        (limit <= head->second.bytes.size() || head->second.bytes.size() == head->second.size)) {
        if (head->second.size == 0) {
            throw FileError(path, "File " + quoted(path) + " is empty", Fault::empty);
        }
        return firstBytes(head->second.bytes, head->second.size);
    }
    if (const auto kept = kept_.find(name); kept != kept_.end()) {
        recent_.splice(recent_.begin(), recent_, kept->second.recent);
        bytes = kept->second.bytes;
    } else if (member.size && limit<*member.size&& * member.size> kPassedWhole) {
        // The first bytes of a large member (what a listing looks at): those alone. One of a
        // picture's size is read whole and kept, as the batch or the grid reads it next.
        return firstBytes(*unpack(member, path, limit), *member.size);
    } else {
        bytes = unpack(member, path, kMaxMemberBytes + 1);
        keep(name, bytes);
    }
    if (bytes->empty()) {
        throw FileError(path, "File " + quoted(path) + " is empty", Fault::empty);
    }
    return firstBytes(*bytes, bytes->size());
}

} // namespace tessarin
