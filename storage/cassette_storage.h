#pragma once

#include "storage/storage.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

// The largest cassette image read: a 90-minute tape at 2400 baud holds well under 2 MB.
inline constexpr std::uint64_t kMaxCassetteBytes = 4 * 1024 * 1024;
// The most files listed and faults told of one tape.
inline constexpr std::size_t kMaxCassetteFiles = 4096;

// A cassette image (.CAS: the bytes the BIOS writes to tape, each block after an 8-byte
// mark on an 8-byte boundary) as a folder of the files it holds, each as a disk would hold
// it: a binary file as a BSAVE file ("TITLE"), a tokenised BASIC program with its FFh
// ("LOADER.BAS"), an ASCII file up to its end-of-file mark ("LIST.ASC"), a block that
// follows no file header by its place ("BLOCK3"). A second file of a name gets "~2" before
// its extension, and so on. Read whole when opened.
class CassetteStorage final : public Storage {
public:
    // The file-system file. FileError naming it when it cannot be read, is larger than
    // kMaxCassetteBytes or does not start with a block mark.
    explicit CassetteStorage(const std::string& cassette);
    // A cassette image's bytes from elsewhere (an archive's member), named cassette in errors.
    CassetteStorage(const std::string& cassette, std::span<const std::uint8_t> bytes);

    [[nodiscard]] std::vector<std::string> names() const override;
    [[nodiscard]] std::optional<std::uint64_t> sizeOf(const std::string& name) const override;
    // Files cut short (a binary file's block shorter than its addresses say, an ASCII file
    // without its end mark, a header without its data) and files past kMaxCassetteFiles,
    // each naming "cassette/name".
    [[nodiscard]] std::vector<FileError> problems() const override { return problems_; }
    [[nodiscard]] InputBytes read(const std::string& name, std::size_t limit,
                                  const std::string& path) const override;

private:
    // Lists the files of the blocks found in bytes.
    void list(std::span<const std::uint8_t> bytes);
    // Adds a file of that name, made distinct from those listed, holding bytes; the name
    // it is listed by.
    std::string add(const std::string& name, const std::string& extension,
                    std::vector<std::uint8_t> bytes);
    void addProblem(const std::string& name, Fault fault, const std::string& reason);

    std::string cassette_;
    std::map<std::string, std::vector<std::uint8_t>> files_;
    std::map<std::string, std::size_t> uses_; // how often each name was met
    std::vector<FileError> problems_;
};

} // namespace tessarin
