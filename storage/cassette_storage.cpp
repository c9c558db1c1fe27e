#include "storage/cassette_storage.h"

#include "platform/file_error.h"
#include "storage/folder_storage.h"

#include <algorithm>
#include <array>

namespace tessarin {

namespace {

using Bytes = std::span<const std::uint8_t>;

// What starts every block: the tape's lead-in as the BIOS's tape calls leave it, only on an
// offset that is a multiple of its size.
constexpr std::array<std::uint8_t, 8> kBlockMark{0x1F, 0xA6, 0xDE, 0xBA, 0xCC, 0x13, 0x7D, 0x74};

// A file header block: offsets 0..9 the file's type byte ten times, 10..15 its name.
constexpr std::size_t kTypeBytes = 10;
constexpr std::size_t kNameBytes = 6;
constexpr std::uint8_t kBinaryFile = 0xD0; // BSAVE: one data block follows
constexpr std::uint8_t kBasicFile = 0xD3;  // CSAVE: one data block of tokenised BASIC
constexpr std::uint8_t kAsciiFile = 0xEA;  // SAVE ,A: data blocks up to the end-of-file mark

// A binary file's data block: offsets 0..1 start, 2..3 end, 4..5 execution address (u16
// LE), then the bytes from start to end. As a disk file it is a BSAVE: FEh, then the same.
constexpr std::size_t kAddressBytes = 6;
constexpr std::uint8_t kBsaveId = 0xFE;
constexpr std::uint8_t kTokenisedBasicId = 0xFF; // what a disk's tokenised BASIC starts with
constexpr std::uint8_t kEndOfFile = 0x1A;

bool isMarkAt(Bytes bytes, std::size_t at) {
    return at + kBlockMark.size() <= bytes.size() &&
           std::ranges::equal(bytes.subspan(at, kBlockMark.size()), kBlockMark);
}

// The blocks of the tape, each the bytes between its mark and the next (or the end).
std::vector<Bytes> blocksOf(Bytes bytes) {
    std::vector<std::size_t> marks;
    for (std::size_t at = 0; at < bytes.size(); at += kBlockMark.size()) {
        if (isMarkAt(bytes, at)) {
            marks.push_back(at);
        }
    }
    std::vector<Bytes> blocks;
    blocks.reserve(marks.size());
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const std::size_t from = marks[i] + kBlockMark.size();
        const std::size_t to = i + 1 < marks.size() ? marks[i + 1] : bytes.size();
        blocks.push_back(bytes.subspan(from, to - from));
    }
    return blocks;
}

// The type of a file header block; 0 for a block that is none.
std::uint8_t fileTypeOf(Bytes block) {
    if (block.size() < kTypeBytes + kNameBytes) {
        return 0;
    }
    const std::uint8_t type = block[0];
    const bool known = type == kBinaryFile || type == kBasicFile || type == kAsciiFile;
    const bool repeated =
        std::ranges::all_of(block.first(kTypeBytes), [type](std::uint8_t b) { return b == type; });
    return known && repeated ? type : 0;
}

// What a file without a name of its own is called: by its block's place on the tape.
std::string blockName(std::size_t index) {
    return "BLOCK" + std::to_string(index + 1);
}

// The name in the header of block index, made fit to name a file in a folder: trailing
// spaces and NULs dropped, control characters and '/' made '_', a name of dots alone too;
// a blank one the block's name.
std::string nameOf(Bytes header, std::size_t index) {
    std::string name(header.begin() + kTypeBytes, header.begin() + kTypeBytes + kNameBytes);
    name.erase(name.find_last_not_of(std::string_view(" \0", 2)) + 1);
    constexpr unsigned char kFirstPrintable = 0x20;
    constexpr unsigned char kDelete = 0x7F;
    for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < kFirstPrintable || u == kDelete || c == '/') {
            c = '_';
        }
    }
    if (name.empty()) {
        return blockName(index);
    }
    if (name.find_first_not_of('.') == std::string::npos) {
        std::ranges::fill(name, '_');
    }
    return name;
}

std::uint16_t wordAt(Bytes bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::vector<std::uint8_t> prefixed(std::uint8_t id, Bytes bytes) {
    std::vector<std::uint8_t> file{id};
    file.insert(file.end(), bytes.begin(), bytes.end());
    return file;
}

// Reading one byte past the bound tells a file that is too large.
std::vector<std::uint8_t> hostBytes(const std::string& cassette) {
    return std::move(readHostFile(cassette, kMaxCassetteBytes + 1).bytes);
}

} // namespace

CassetteStorage::CassetteStorage(const std::string& cassette)
    : CassetteStorage(cassette, hostBytes(cassette)) {}

CassetteStorage::CassetteStorage(const std::string& cassette, std::span<const std::uint8_t> bytes)
    : cassette_(cassette) {
    if (bytes.size() > kMaxCassetteBytes) {
        throw FileError(cassette, "\"" + cassette + "\" is too large for a cassette image",
                        Fault::memberTooLarge);
    }
    list(bytes);
}

void CassetteStorage::list(std::span<const std::uint8_t> bytes) {
    if (!isMarkAt(bytes, 0)) {
        throw FileError(cassette_,
                        "\"" + cassette_ +
                            "\" is no cassette image: it does not start with a "
                            "block mark",
                        Fault::notCassette);
    }
    const std::vector<Bytes> blocks = blocksOf(bytes);
    const auto dataAfter = [&](std::size_t i) {
        return i + 1 < blocks.size() && fileTypeOf(blocks[i + 1]) == 0;
    };
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (files_.size() + problems_.size() == kMaxCassetteFiles) {
            addProblem("", Fault::tooManyEntries,
                       "more than " + std::to_string(kMaxCassetteFiles) +
                           " files; the rest are not listed");
            return;
        }
        const Bytes block = blocks[i];
        const std::uint8_t type = fileTypeOf(block);
        if (type == 0) {
            if (!block.empty()) {
                add(blockName(i), "", {block.begin(), block.end()});
            }
            continue;
        }
        const std::string name = nameOf(block, i);
        if (!dataAfter(i)) {
            addProblem(name, Fault::tapeFileBroken, "a file header without its data block");
            continue;
        }
        const Bytes data = blocks[++i];
        if (type == kBasicFile) {
            add(name, ".BAS", prefixed(kTokenisedBasicId, data));
        } else if (type == kBinaryFile) {
            if (data.size() < kAddressBytes || wordAt(data, 2) < wordAt(data, 0)) {
                addProblem(name, Fault::tapeFileBroken,
                           "a binary file without its start and end addresses");
                continue;
            }
            const std::size_t claimed =
                kAddressBytes + std::size_t{wordAt(data, 2)} - wordAt(data, 0) + 1;
            const std::string listed =
                add(name, "", prefixed(kBsaveId, data.first(std::min(claimed, data.size()))));
            if (data.size() < claimed) {
                addProblem(listed, Fault::tapeFileBroken,
                           "a binary file cut short: " + std::to_string(data.size()) + " of " +
                               std::to_string(claimed) + " bytes");
            }
        } else {
            std::vector<std::uint8_t> text;
            bool ended = false;
            for (Bytes part = data;; part = blocks[++i]) {
                const auto end = std::ranges::find(part, kEndOfFile);
                ended = end != part.end();
                text.insert(text.end(), part.begin(), ended ? end + 1 : end);
                if (ended || !dataAfter(i)) {
                    break;
                }
            }
            const std::string listed = add(name, ".ASC", std::move(text));
            if (!ended) {
                addProblem(listed, Fault::tapeFileBroken,
                           "an ASCII file cut short before its end-of-file mark");
            }
        }
    }
}

std::string CassetteStorage::add(const std::string& name, const std::string& extension,
                                 std::vector<std::uint8_t> bytes) {
    std::string unique = name + extension;
    // Counted per name, so that a tape of one name many times is not searched over again.
    for (std::size_t n = ++uses_[unique]; files_.contains(unique); ++n) {
        unique = name + "~" + std::to_string(n) + extension;
    }
    files_.emplace(unique, std::move(bytes));
    return unique;
}

void CassetteStorage::addProblem(const std::string& name, Fault fault, const std::string& reason) {
    const std::string path = name.empty() ? cassette_ : cassette_ + "/" + name;
    problems_.emplace_back(path, "\"" + path + "\": " + reason, fault);
}

std::vector<std::string> CassetteStorage::names() const {
    std::vector<std::string> names;
    names.reserve(files_.size());
    for (const auto& file : files_) {
        names.push_back(file.first);
    }
    return names;
}

std::optional<std::uint64_t> CassetteStorage::sizeOf(const std::string& name) const {
    const auto file = files_.find(name);
    return file == files_.end() ? std::nullopt : std::optional<std::uint64_t>(file->second.size());
}

InputBytes CassetteStorage::read(const std::string& name, std::size_t limit,
                                 const std::string& path) const {
    const auto file = files_.find(name);
    if (file == files_.end()) {
        throw FileError(path, "Cannot open file \"" + path + "\": no such file on the tape",
                        Fault::noSuchFile);
    }
    const std::vector<std::uint8_t>& bytes = file->second;
    if (bytes.empty()) {
        throw FileError(path, "File \"" + path + "\" is empty", Fault::empty);
    }
    InputBytes input;
    input.size = bytes.size();
    input.bytes.assign(bytes.begin(),
                       bytes.begin() + static_cast<std::ptrdiff_t>(std::min(limit, bytes.size())));
    return input;
}

} // namespace tessarin
