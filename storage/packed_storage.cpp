#include "storage/packed_storage.h"

#include "platform/file_error.h"
#include "storage/folder_storage.h"
#include "storage/packed_stream.h"

#include <algorithm>

namespace tessarin {

namespace {

std::vector<std::uint8_t> packedBytes(const std::string& file) {
    InputBytes input = readHostFile(file, kMaxPackedBytes + 1);
    if (input.size > kMaxPackedBytes) {
        throw FileError(file, "\"" + file + "\" is too large for a packed picture",
                        Fault::memberTooLarge);
    }
    return std::move(input.bytes);
}

} // namespace

std::string unpackedName(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    name.erase(std::min(name.size(), name.rfind('.')));
    return name;
}

PackedStorage::PackedStorage(const std::string& file, Unpacker unpack)
    : PackedStorage(file, packedBytes(file), unpack) {}

PackedStorage::PackedStorage(const std::string& file, std::span<const std::uint8_t> packed,
                             Unpacker unpack)
    : name_(unpackedName(file)), bytes_(unpack(packed, file)) {}

InputBytes PackedStorage::read(const std::string& name, std::size_t limit,
                               const std::string& path) const {
    if (name != name_) {
        throw FileError(path, "Cannot open file \"" + path + "\": no such file in the packed file",
                        Fault::noSuchFile);
    }
    if (bytes_.empty()) {
        throw FileError(path, "File \"" + path + "\" is empty", Fault::empty);
    }
    InputBytes input;
    input.size = bytes_.size();
    input.bytes.assign(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(
                                                            std::min(limit, bytes_.size())));
    return input;
}

} // namespace tessarin
