#pragma once

#include "storage/storage.h"

#include <string>

namespace tessarin {

// A folder of the file system. Only regular files are listed and read, without blocking.
class FolderStorage final : public Storage {
public:
    explicit FolderStorage(std::string folder) : folder_(std::move(folder)) {}

    [[nodiscard]] std::vector<std::string> names() const override;
    [[nodiscard]] std::optional<std::uint64_t> sizeOf(const std::string& name) const override;
    [[nodiscard]] InputBytes read(const std::string& name, std::size_t limit,
                                  const std::string& path) const override;
    // The names of the folders in it (links to folders followed), in directory order.
    [[nodiscard]] std::vector<std::string> subfolders() const;

private:
    std::string folder_;
};

// At most limit bytes from the start of the file-system file path, and its size. FileError
// naming path when it cannot be opened (only regular files are) or read, or is empty.
[[nodiscard]] InputBytes readHostFile(const std::string& path, std::size_t limit);

} // namespace tessarin
