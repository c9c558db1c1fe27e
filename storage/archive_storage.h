#pragma once

#include "storage/storage.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tessarin {

// The bounds on what an archive may make us unpack, whatever its headers claim.
inline constexpr std::uint64_t kMaxMemberBytes = 32 * 1024 * 1024;
inline constexpr std::size_t kMaxMembers = 65536;
inline constexpr std::uint64_t kMaxPackingRatio = 1000;
// What one pass through an archive may unpack, the members it hands out and those it unpacks
// only to reach a later one (in a solid 7z block) alike: past it, no later member is read.
inline constexpr std::uint64_t kMaxPassBytes = std::uint64_t{1} << 30;
// The character set LZH names are read in (iconv's name of Shift-JIS as MSX archivers wrote it).
inline constexpr const char* kLzhNames = "CP932";

// An archive read through libarchive: ZIP, LZH/LHA and 7z by their bytes, or a gzip file
// holding one file. Its regular files are listed once when it is opened, by their paths
// inside it. Members are read in one pass through the archive that stays open between
// reads: a read of a member at or past where the pass stands goes on from there, one
// before it starts a new pass. On its way the pass keeps the members it goes by, whole
// when they are of a picture's size and their first bytes otherwise, so that a listing's
// look at every member and a batch over all of them cost one pass in whatever order they
// come; what is kept is bounded in bytes, the least recently used dropped first. A look at a
// member's first bytes whose header gives its size unpacks only those. A member nobody asked
// for is skipped as the format allows: by its packed size in ZIP and LZH, by unpacking it in
// 7z, where those bytes count against kMaxPassBytes and kMaxPackingRatio.
class ArchiveStorage final : public Storage {
public:
    enum class Kind : std::uint8_t { members, gzip };

    // The archive file of the file system. FileError naming it when it cannot be opened,
    // is no archive of the kind or holds more than kMaxMembers members.
    ArchiveStorage(const std::string& archive, Kind kind);
    // An archive held in memory, named archive in errors.
    ArchiveStorage(const std::string& archive,
                   std::shared_ptr<const std::vector<std::uint8_t>> bytes, Kind kind);
    ~ArchiveStorage() override;
    ArchiveStorage(const ArchiveStorage&) = delete;
    ArchiveStorage& operator=(const ArchiveStorage&) = delete;

    [[nodiscard]] std::vector<std::string> names() const override;
    [[nodiscard]] std::optional<std::uint64_t> sizeOf(const std::string& name) const override;
    [[nodiscard]] std::vector<FileError> problems() const override { return problems_; }
    // FileError naming path when the member cannot be unpacked, holds nothing, unpacks to
    // more than kMaxMemberBytes or to more than kMaxPackingRatio times the archive bytes
    // read for it; FileError naming the archive (Fault::pastUnpackBound) when reaching it
    // would unpack past kMaxPassBytes or a member before it past kMaxPackingRatio.
    [[nodiscard]] InputBytes read(const std::string& name, std::size_t limit,
                                  const std::string& path) const override;

private:
    struct Member {
        std::string name;                  // its path inside, made safe (no "..", no leading "/")
        std::size_t index = 0;             // its place among the archive's entries
        std::optional<std::uint64_t> size; // unpacked, as its header claims
    };
    class Reader;
    using Bytes = std::shared_ptr<const std::vector<std::uint8_t>>;
    struct Kept {
        Bytes bytes;
        std::list<std::string>::iterator recent; // its place in recent_
    };
    struct Head {
        std::vector<std::uint8_t> bytes; // at most a listing's look
        std::uint64_t size = 0;          // of the whole member
    };
    // At most upTo bytes of member, from the pass brought to it (guard_ held). FileError
    // naming path.
    [[nodiscard]] Bytes unpack(const Member& member, const std::string& path,
                               std::uint64_t upTo) const;
    // The bytes of the entry the reader stands at, at most upTo, within the bounds.
    [[nodiscard]] Bytes unpackHere(Reader& reader, const Member& member, const std::string& path,
                                   std::uint64_t upTo) const;
    // Keeps member, which reader goes by (guard_ held): its first bytes, and the whole when of
    // a picture's size. One that cannot be unpacked is left for its own read to report.
    void keepPassed(Reader& reader, const Member& member) const;
    // Keeps bytes, the whole of the member name, dropping the least recently used when the
    // bound is reached (guard_ held).
    void keep(const std::string& name, const Bytes& bytes) const;
    // The member that entry index is; nothing for an entry not listed.
    [[nodiscard]] const Member* memberAt(std::size_t index) const;
    // Lists the members into members_ and byName_, what is wrong into problems_; true when
    // an LZH header broke the listing before its names were read as Latin-1.
    bool list();
    // Whether a gzip file's checksums and lengths match its data (read again by zlib).
    [[nodiscard]] bool gzipIntact() const;

    std::string archive_;
    std::shared_ptr<const std::vector<std::uint8_t>> bytes_; // null for a file
    Kind kind_;
    std::vector<Member> members_;
    std::map<std::string, std::size_t> byName_;
    std::vector<FileError> problems_;
    const char* lzhNames_ = kLzhNames; // the character set of LZH names

    // The pass and what it kept, shared by the threads that read.
    mutable std::mutex guard_;
    mutable std::unique_ptr<Reader> pass_;
    mutable std::size_t passNext_ = 0; // the entry the pass reads next
    mutable std::map<std::string, Kept> kept_;
    mutable std::list<std::string> recent_; // the names kept_ holds, the last used first
    mutable std::uint64_t keptBytes_ = 0;
    mutable std::map<std::string, Head> heads_;
    // Entries from this one on lie past a bound, which unreachable_ says.
    mutable std::size_t reachable_ = std::numeric_limits<std::size_t>::max();
    mutable std::optional<FileError> unreachable_;
};

// path made fit to name a file inside a place: "", "." and ".." steps and leading slashes
// dropped, so that no name reaches outside its archive ("../x" is "x"); empty for none.
[[nodiscard]] std::string safeMemberPath(const std::string& path);

} // namespace tessarin
