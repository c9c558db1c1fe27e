#pragma once

#include "storage/packed_stream.h"
#include "storage/storage.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessarin {

// No packing worth its name makes a stream much longer than what it unpacks to.
inline constexpr std::size_t kMaxPackedBytes = 2 * kMaxUnpackedBytes;

// What unpacks one packing's stream; FileError naming file when the stream is broken.
using Unpacker = std::vector<std::uint8_t> (*)(std::span<const std::uint8_t> packed,
                                               const std::string& file);

// A packed file as a folder of one file: "X.SR8.zx0" holds "X.SR8", whose name then
// decides as any file's does. Unpacked once, when opened; a new packing is one Unpacker
// and one row of kPackings (packings.h).
class PackedStorage final : public Storage {
public:
    // The file-system file, read and unpacked. FileError naming it when it cannot be read,
    // is larger than any packed picture or does not unpack.
    PackedStorage(const std::string& file, Unpacker unpack);
    // The packed bytes of file from elsewhere (an archive's member).
    PackedStorage(const std::string& file, std::span<const std::uint8_t> packed, Unpacker unpack);

    [[nodiscard]] std::vector<std::string> names() const override { return {name_}; }
    [[nodiscard]] std::optional<std::uint64_t> sizeOf(const std::string& name) const override {
        return name == name_ ? std::optional<std::uint64_t>(bytes_.size()) : std::nullopt;
    }
    [[nodiscard]] InputBytes read(const std::string& name, std::size_t limit,
                                  const std::string& path) const override;

private:
    std::string name_;
    std::vector<std::uint8_t> bytes_;
};

// The name a packed file holds: its own without its last extension ("X.SR8" of
// "dir/X.SR8.zx0").
[[nodiscard]] std::string unpackedName(const std::string& file);

} // namespace tessarin
